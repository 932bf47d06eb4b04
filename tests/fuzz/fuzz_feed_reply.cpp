// libFuzzer target: a search reply of the intensity database, as wolt-feed
// reads it. A reply that is refused says why and gives no event; an accepted
// one gives only events whose records have a real date and time, a
// magnitude of at most 9.9 (or none) and a known intensity class.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/catalogue/search_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    std::vector<SearchEvent> events;
    std::string message;
    const int result = ParseSearchReply(body, &events, &message);
    if (result != REPLY_OK) {
        if (!events.empty() || message.empty()) std::abort();
        return 0;
    }
    for (const SearchEvent& event : events) {
        const QuakeRecord& r = event.parsed.rec;
        if (r.year < kFirstYear || r.month < 1 || r.month > 12 || r.day < 1 || r.day > 31 || r.hour > 23 ||
            r.minute > 59 || r.magnitude10 > 99 || r.intensity > 9)
            std::abort();
    }
    return 0;
}
