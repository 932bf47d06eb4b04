#include "engine/analysis/counts.h"

#include <cstdio>

#include "engine/model/records.h"

static long long FloorDiv(long long a, long long b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// Day 0 (1970-01-01) was a Thursday: weeks are counted from Monday, day -3.
static const long long kFirstMonday = -3;

// The period holding `day` as a running number (months and years counted from year 0).
static long long PeriodOf(int period, long long day) {
    if (period == COUNT_BY_DAY) return day;
    if (period == COUNT_BY_WEEK) return FloorDiv(day - kFirstMonday, 7);
    int year, month, dayOfMonth;
    CivilFromDays(day, &year, &month, &dayOfMonth);
    return period == COUNT_BY_YEAR ? year : year * 12LL + month - 1;
}

static long long FirstDayOf(int period, long long index) {
    if (period == COUNT_BY_DAY) return index;
    if (period == COUNT_BY_WEEK) return kFirstMonday + index * 7;
    if (period == COUNT_BY_YEAR) return DayNumber(index, 1, 1);
    return DayNumber(FloorDiv(index, 12), index - FloorDiv(index, 12) * 12 + 1, 1);
}

CountTable CountRecords(const QuakeRecord* records, int count, const std::vector<int>& regions, long long fromDay,
                        long long toDay, int period, int classes) {
    CountTable t{period, classes, {}, {}, {}};
    if (toDay < fromDay) return t;
    const long long first = PeriodOf(period, fromDay), rows = PeriodOf(period, toDay) - first + 1;
    t.firstDay.resize(size_t(rows));
    for (long long k = 0; k < rows; k++) t.firstDay[size_t(k)] = FirstDayOf(period, first + k);
    t.cells.assign(size_t(rows * kCountClasses), 0);
    t.totals.assign(size_t(rows), 0);
    std::vector<char> counted(kRegionSlots, regions.empty());
    for (int region : regions)
        if (region >= 0 && region < kRegionSlots) counted[size_t(region)] = 1;
    // Records come day by day (newest first): the period of a day is worked out once.
    long long lastDay = -1, row = -1;
    int lastKey = -1;
    for (int i = 0; i < count; i++) {
        const QuakeRecord& r = records[i];
        if (r.inFilter != 1 || r.regionIndex >= kRegionSlots || !counted[r.regionIndex]) continue;
        const int key = (r.year * 13 + r.month) * 32 + r.day;
        if (key != lastKey) {
            lastKey = key;
            lastDay = DayNumber(r.year, r.month, r.day);
            row = lastDay < fromDay || lastDay > toDay ? -1 : PeriodOf(period, lastDay) - first;
        }
        const int c = classes == COUNT_INTENSITY ? r.intensity : r.magnitude10 / 10;
        if (row < 0 || c < 0 || c >= kCountClasses) continue;
        t.cells[size_t(row * kCountClasses + c)]++;
        t.totals[size_t(row)]++;
    }
    return t;
}

std::string CountPeriodLabel(int period, long long firstDay) {
    int year, month, day;
    CivilFromDays(firstDay, &year, &month, &day);
    char text[32];
    if (period == COUNT_BY_YEAR) std::snprintf(text, sizeof text, "%04d", year);
    else if (period == COUNT_BY_MONTH) std::snprintf(text, sizeof text, "%04d-%02d", year, month);
    else std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}
