#include "engine/catalogue/update_rules.h"

#include <cstring>

#include "engine/catalogue/data_files.h"
#include "engine/model/records.h"

std::string UpdateUrl(const char* host, int port, int year) {
    const std::string at = port == 443 ? host : std::string(host) + ":" + std::to_string(port);
    return "https://" + at + "/wolt/data/" + YearFileName(year);
}

ReplyRead ReadReply(ReplyReader read, void* context, unsigned char* buffer) {
    ReplyRead result = {0, 0, 0};
    for (;;) {
        size_t room = kUpdateBufferBytes - result.bytes;
        size_t got = 0;
        if (read(context, buffer + result.bytes, room, &got) != 0 || got > room) {
            result.broken = 1;
            return result;
        }
        if (got == 0) return result;
        if (result.bytes + got >= size_t(kUpdateBufferBytes)) {
            result.overflow = 1;
            return result;
        }
        result.bytes += got;
    }
}

bool LooksLikeHtml(const unsigned char* body, size_t bytes) {
    static const char kMarker[] = "<!--";
    const size_t n = sizeof kMarker - 1;
    const void* zero = std::memchr(body, 0, bytes);
    size_t text = zero ? size_t(static_cast<const unsigned char*>(zero) - body) : bytes;
    for (size_t i = 0; i + n <= text; i++)
        if (std::memcmp(body + i, kMarker, n) == 0) return true;
    return false;
}

// A record of the year that also names a known region and a magnitude of at least 0.1.
static bool IsRecordOfYear(const unsigned char* bytes, int year) {
    const CmpRecord r = ReadCmpRecord(bytes);
    return IsCmpRecordOfYear(r, year) && r.event / 1000 <= kMaxRegionIndex && r.event % 1000 / 10 > 0;
}

int CheckYearlyRecords(const unsigned char* body, size_t bytes, int year) {
    if (bytes % kCmpRecordBytes != 0) return 1;
    for (size_t at = 0; at < bytes; at += kCmpRecordBytes)
        if (!IsRecordOfYear(body + at, year)) return 1;
    return 0;
}

int DecideUpdateReply(const UpdateReply& reply) {
    if (reply.earlyFailure != 0) return reply.earlyFailure;
    const ReplyRead& read = reply.read;
    if (read.broken) return UPDATE_BAD_REPLY;
    if (read.bytes == 0 && !read.overflow) return UPDATE_UP_TO_DATE;
    if (read.bytes == size_t(kBusyReplyBytes) && !read.overflow) return UPDATE_BUSY;
    if (reply.httpStatus == 404) return UPDATE_UP_TO_DATE;
    if (reply.httpStatus != 200) return UPDATE_BAD_REPLY;
    if (read.overflow) return UPDATE_BAD_REPLY;
    if (reply.announcedBytes >= 0 && (long long)read.bytes != reply.announcedBytes) return UPDATE_BAD_REPLY;
    if (LooksLikeHtml(reply.body, read.bytes)) return UPDATE_BAD_REPLY;
    if (CheckYearlyRecords(reply.body, read.bytes, reply.year) != 0) return UPDATE_BAD_REPLY;
    return UPDATE_OK;
}

