#include "engine/analysis/replay.h"

#include <algorithm>
#include <numeric>

#include "engine/model/records.h"

double MinuteOf(int year, int month, int day, int hour, int minute) {
    return double(DayNumber(year, month, day)) * 1440.0 + hour * 60 + minute;
}

double RecordMinute(const QuakeRecord& r) { return MinuteOf(r.year, r.month, r.day, r.hour, r.minute); }

void BuildReplayTimeline(const QuakeRecord* records, int count, double startMinute, double endMinute,
                         ReplayTimeline* out) {
    std::vector<int> chosen;
    for (int i = count - 1; i >= 0; i--)
        if (records[i].inFilter) chosen.push_back(i);
    std::vector<double> minutes(chosen.size());
    for (size_t k = 0; k < chosen.size(); k++) minutes[k] = RecordMinute(records[chosen[k]]);
    // The store is newest first, so this is usually in order already; a
    // stable sort keeps the order of the same minute.
    std::vector<size_t> order(chosen.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return minutes[a] < minutes[b]; });
    out->records.resize(chosen.size());
    out->minutes.resize(chosen.size());
    for (size_t k = 0; k < order.size(); k++) {
        out->records[k] = chosen[order[k]];
        out->minutes[k] = minutes[order[k]];
    }
    out->startMinute = startMinute;
    out->endMinute = std::max(startMinute, endMinute);
}

int ReplayVisibleCount(const ReplayTimeline& timeline, double clockMinute) {
    return int(std::upper_bound(timeline.minutes.begin(), timeline.minutes.end(), clockMinute) -
               timeline.minutes.begin());
}

double ReplayMinutes(double daysPerSecond, double seconds) { return daysPerSecond * 1440.0 * seconds; }

double ReplayClockAfter(const ReplayTimeline& timeline, double clockMinute, double daysPerSecond, double seconds) {
    return std::min(timeline.endMinute, clockMinute + ReplayMinutes(daysPerSecond, seconds));
}
