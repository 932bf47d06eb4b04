// One earthquake as a catalogue source writes it (a CSV export's row, the
// intensity database's search reply) turned into a catalogue record: the
// one mapping the importer and the feed share, so that both give the same
// bytes for the same events.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "engine/model/records.h"

struct EventText {          // UTF-8, as the source wrote it
    std::string date;       // "2024/01/01", or with the time: "2024/01/01 16:10:09.5"
    std::string time;       // "16:10:09.5", "14:30", "時分不明データ"; empty when the date carries the time
    std::string region;     // epicentre region name
    std::string lat, lon;   // decimal degrees or degrees and minutes, "不明" when unknown
    std::string depth;      // "24 km", "ごく浅い", "不明"
    std::string magnitude;  // "7.6", "M6.8", anything else unknown
    std::string intensity;  // "震度５弱", "5-", "7"
};

struct ParsedEvent {
    QuakeRecord rec;        // every field but regionIndex; magnitude10 0: no magnitude
    double seconds;         // of the minute, orders earthquakes within one minute
    double lat, lon;        // valid unless latUnknown / lonUnknown
    bool latUnknown, lonUnknown;
    bool offMap;            // the position lay beyond the storable grid and was clamped
    bool timeUnknown;       // the source knows the day only: stored at 00:00
};

// nullptr and the event, or the reason it cannot be read ("unreadable date",
// "no region name", ...). A missing magnitude is not a reason: magnitude10 is 0.
const char* ParseEvent(const EventText& text, ParsedEvent* out);

// 1 when `raw` reads as a date (with or without a time): tells a header row from data.
bool ReadsAsDate(const std::string& raw);

// `s` without leading and trailing blanks.
std::string TrimText(const std::string& s);
// Full-width ASCII letters, digits and signs (Ａ, １, ．) as half-width.
std::string HalfWidthAscii(const std::string& utf8);

// Sorts records with their seconds ({QuakeRecord rec; double seconds;})
// newest first, earthquakes of one minute by their seconds; stable.
template <typename Timed>
void SortNewestFirst(std::vector<Timed>* events) {
    std::stable_sort(events->begin(), events->end(), [](const Timed& a, const Timed& b) {
        const QuakeRecord &x = a.rec, &y = b.rec;
        if (x.year != y.year) return x.year > y.year;
        if (x.month != y.month) return x.month > y.month;
        if (x.day != y.day) return x.day > y.day;
        if (x.hour != y.hour) return x.hour > y.hour;
        if (x.minute != y.minute) return x.minute > y.minute;
        return a.seconds > b.seconds;
    });
}
