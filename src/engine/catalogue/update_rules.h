// The data server's download rules that need no Windows: the address of a
// yearly file, the reading of a reply into the receive buffer, the verdict
// on a complete reply, and the program's record check of a yearly file.
// The WinINet worker (update.cpp) only moves bytes and follows these rules.
#pragma once

#include <cstddef>
#include <string>

enum {
    kUpdateBufferBytes = 262144,   // receive buffer; a reply must stay below it
    kBusyReplyBytes = 589,         // the server's "busy" answer, whatever its status
    kUrlAttempts = 10,
    kUrlRetryMs = 1000,
    kUpdateStartPauseMs = 100,
    kUpdateStagePauseMs = 20,
};

// Final codes (CMD_UPDATE_FAILED) and stages (CMD_UPDATE_PROGRESS); the
// control panel has a status text for each.
enum {
    UPDATE_OK = 0,
    UPDATE_NO_CONNECTION = 1,   // InternetAttemptConnect failed
    UPDATE_NO_MEMORY = 2,       // no receive buffer
    UPDATE_NO_SESSION = 3,      // InternetOpen failed
    UPDATE_NO_URL = 4,          // the URL did not open in kUrlAttempts attempts
    UPDATE_BAD_REPLY = 5,       // refused: error status, too long, HTML, broken, not records
    UPDATE_WRITE_FAILED = 6,    // the yearly file could not be written; the old one stays
    UPDATE_UP_TO_DATE = 7,      // nothing new on the server
    UPDATE_BUSY = 9,            // the server's busy answer
    UPDATE_STAGE_STARTED = 11,
    UPDATE_STAGE_CONNECTED = 12,
    UPDATE_STAGE_READING = 13,
    UPDATE_STAGE_SAVING = 14,
    UPDATE_STAGE_SAVED = 15,
    UPDATE_STATUS_DONE = 20,    // set by the main window before the reload
    // The national record in place of the sample (the search service):
    UPDATE_STATUS_FETCHING = 30,       // progress: months, events, time left
    UPDATE_STATUS_FETCH_PAUSED = 31,   // cancelled or stopped; the update button resumes it
    UPDATE_STATUS_SAMPLE = 32,         // the sample is shown; the update button offers the record
    UPDATE_STATUS_CHECKING = 33,       // the whole record fetched: checked and swapped in
};

// "https://HOST/wolt/data/cmp_YYYY.dat", with ":PORT" after the host unless
// the port is 443.
std::string UpdateUrl(const char* host, int port, int year);
// One read from the connection: at most `room` bytes into `into`. Returns 0
// on success with *got bytes (0 at the end of the reply), non-zero when the
// read failed (a broken or timed-out connection).
typedef int (*ReplyReader)(void* context, unsigned char* into, size_t room, size_t* got);

struct ReplyRead {
    size_t bytes;    // received and kept, always below kUpdateBufferBytes
    int overflow;    // a read would have made the reply kUpdateBufferBytes or longer
    int broken;      // a read failed before the end of the reply
};
// Reads the reply into `buffer` (kUpdateBufferBytes) until a read of 0
// bytes. A reply that would reach the buffer's size is refused and the
// bytes of that read are not counted; a failed read ends the reply at once,
// so a connection that breaks in mid-reply cannot keep the worker reading.
ReplyRead ReadReply(ReplyReader read, void* context, unsigned char* buffer);

// True when the bytes, read as text up to the first zero byte, contain "<!--".
bool LooksLikeHtml(const unsigned char* body, size_t bytes);

// 0 when `bytes` is a whole number of 16-byte records, each a record the
// loader takes for the file of `year` (its date in that year, a valid
// month, day and time, non-negative words, a region index of at most 286)
// and with a magnitude (0 would end the catalogue for every reader);
// otherwise 1.
int CheckYearlyRecords(const unsigned char* body, size_t bytes, int year);

struct UpdateReply {
    int earlyFailure;          // UPDATE_NO_CONNECTION .. UPDATE_NO_URL, or 0 when the URL opened
    int httpStatus;            // 0 when unknown
    long long announcedBytes;  // Content-Length, -1 when none was sent
    ReplyRead read;
    const unsigned char* body;
    int year;
};
// The final code of a download, decided in this order: a failure before any
// reply keeps its own code; a reply that broke off is refused (5); nothing
// received is "up to date" (7); exactly 589 bytes is the busy answer (9);
// status 404 (no file for the year yet) is "up to date" (7); any other
// status but 200 is refused (5); then a reply that was too long, is shorter
// than announced, looks like HTML or is not records of the year is refused
// (5). UPDATE_OK means: write the body as the yearly file.
int DecideUpdateReply(const UpdateReply& reply);

