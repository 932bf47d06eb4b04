// The national seismic intensity database's search service, as wolt-feed
// uses it. The service is unofficial and undocumented: every fact about it
// (the endpoint, the form, the reply's shape, the 1,000-event cut) lives in
// this module and in docs/data.md, nowhere else.
#pragma once

#include <string>
#include <vector>

#include "engine/catalogue/event_text.h"

extern const char* const kJmaEndpoint;

enum {
    kReplyEventLimit = 1000,   // a reply holds at most this many events and does not say it was cut
    kSourceLagDays = 2,        // the database reaches to about two days ago
};

// A point in Japan time, to the minute.
struct JstMinute {
    int year, month, day, hour, minute;
};

// The application/x-www-form-urlencoded body of a search for every
// earthquake from `from` to `to` (both in Japan time), any magnitude, depth
// and maximum intensity 1 or more.
std::string SearchForm(const JstMinute& from, const JstMinute& to);

enum ReplyResult {
    REPLY_OK = 0,
    REPLY_HTML = 1,          // an HTML page instead of JSON (an error page, a maintenance notice)
    REPLY_BAD_JSON = 2,      // not JSON, or truncated
    REPLY_MESSAGE = 3,       // "res" is a string: the search failed and says why
    REPLY_BAD_SHAPE = 4,     // JSON without a "res" list of objects
    REPLY_BAD_EVENT = 5,     // an event whose fields cannot be read
};

// One event of a reply: as the service wrote it and as the shared mapping read it.
struct SearchEvent {
    EventText text;
    ParsedEvent parsed;
};

// The events of a search reply. On failure `events` is empty and `message`
// says what was wrong (the service's own text for REPLY_MESSAGE, the
// event's id and reason for REPLY_BAD_EVENT).
int ParseSearchReply(const std::string& body, std::vector<SearchEvent>* events, std::string* message);
