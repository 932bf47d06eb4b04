// libFuzzer target: a reply from the data server. The input chooses the
// status, the announced length, how the connection delivers the body (chunk
// size, repetitions, a break at the end) and the body bytes. Whatever
// arrives, the read keeps the delivered bytes in order, refuses a reply
// that would reach the receive buffer's size and reports a break; and a
// reply the rules accept is whole 16-byte records of the requested year,
// received completely with status 200.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/catalogue/update_rules.h"

namespace {

struct Connection {
    const uint8_t* body;
    size_t size, chunk, delivered, total;
    bool breaks;
};

int Deliver(void* context, unsigned char* into, size_t room, size_t* got) {
    Connection* c = static_cast<Connection*>(context);
    if (c->delivered == c->total) {
        if (c->breaks) return 1;
        *got = 0;
        return 0;
    }
    const size_t n = std::min({c->chunk, room, c->total - c->delivered});
    for (size_t done = 0; done < n;) {   // the body over and over, a piece at a time
        const size_t at = (c->delivered + done) % c->size, piece = std::min(n - done, c->size - at);
        std::memcpy(into + done, c->body + at, piece);
        done += piece;
    }
    c->delivered += n;
    *got = n;
    return 0;
}

std::vector<unsigned char> gBuffer(kUpdateBufferBytes);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    static const int kStatuses[] = {200, 200, 200, 404, 503, 500, 0, 301};
    const int year = 2024;
    UpdateReply reply = {};
    reply.httpStatus = kStatuses[data[0] & 7];
    reply.earlyFailure = (data[0] & 0x30) == 0x30 ? UPDATE_NO_URL : 0;
    const uint8_t* body = data + 4;
    Connection c = {body, size - 4, size_t(data[1]) * 16 + 1, 0, 0, (data[2] & 0x80) != 0};
    // 1 to 64 repetitions of the body, or a multiple of 64 up to 4,096:
    // enough to reach the buffer's size.
    const size_t reps = data[2] & 0x7F;
    c.total = c.size * (reps < 64 ? reps + 1 : (reps - 63) * 64);
    if (c.size == 0) c.total = 0, c.size = 1;
    switch (data[3] & 3) {
        case 0: reply.announcedBytes = -1; break;
        case 1: reply.announcedBytes = (long long)c.total; break;
        default: reply.announcedBytes = (long long)(c.total + data[3] / 4) - 32; break;
    }
    reply.read = ReadReply(Deliver, &c, gBuffer.data());
    reply.body = gBuffer.data();
    reply.year = year;

    const ReplyRead& r = reply.read;
    if (r.bytes >= size_t(kUpdateBufferBytes) || r.bytes > c.delivered) std::abort();
    const bool fits = c.total < size_t(kUpdateBufferBytes);
    if (r.overflow != !fits || (fits && (r.bytes != c.total || r.broken != c.breaks))) std::abort();
    for (size_t at = 0; at < r.bytes; at += c.size)
        if (std::memcmp(&gBuffer[at], body, std::min(c.size, r.bytes - at)) != 0) std::abort();

    const int code = DecideUpdateReply(reply);
    switch (code) {
        case UPDATE_OK: case UPDATE_NO_URL: case UPDATE_BAD_REPLY: case UPDATE_UP_TO_DATE: case UPDATE_BUSY: break;
        default: std::abort();
    }
    if (code != UPDATE_OK) return 0;
    if (reply.earlyFailure || reply.httpStatus != 200 || r.broken || r.overflow) std::abort();
    if (r.bytes == 0 || r.bytes % 16 != 0 || r.bytes != c.total) std::abort();
    if (reply.announcedBytes >= 0 && (long long)r.bytes != reply.announcedBytes) std::abort();
    for (size_t at = 0; at < r.bytes; at += 16) {
        int32_t date;
        std::memcpy(&date, &gBuffer[at], 4);
        if (date / 10000 != year) std::abort();
    }
    return 0;
}
