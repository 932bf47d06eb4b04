// The time line of a replay: the selected records in the order they
// happened, and the replay clock that walks along it. Times are minutes
// since 1970-01-01 00:00 of the catalogue's clock (Japan Standard Time).
#pragma once

#include <vector>

struct QuakeRecord;

struct ReplayTimeline {
    std::vector<int> records;       // indices into the store, oldest first
    std::vector<double> minutes;    // the time of each, never decreasing
    double startMinute, endMinute;  // the period the clock runs through
};

enum {
    kReplayFlashMs = 500,           // a new earthquake flashes this long (replay time)
};

// The minute of a record, and of a date and time.
double RecordMinute(const QuakeRecord& r);
double MinuteOf(int year, int month, int day, int hour, int minute);

// The records among records[0 .. count-1] (newest first, as stored) whose
// inFilter is set, in time order; records of the same minute keep the
// store's order reversed (older first). The clock runs from `startMinute`
// to `endMinute` (raised to startMinute when earlier).
void BuildReplayTimeline(const QuakeRecord* records, int count, double startMinute, double endMinute,
                         ReplayTimeline* out);

// How many events of the time line have happened at `clockMinute` (their
// minute at or before it).
int ReplayVisibleCount(const ReplayTimeline& timeline, double clockMinute);

// The clock after `seconds` of replay at `daysPerSecond`, never past the end.
double ReplayClockAfter(const ReplayTimeline& timeline, double clockMinute, double daysPerSecond, double seconds);

// Minutes of record shown in `seconds` of replay at `daysPerSecond`.
double ReplayMinutes(double daysPerSecond, double seconds);
