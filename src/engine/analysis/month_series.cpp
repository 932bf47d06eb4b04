#include "engine/analysis/month_series.h"

#include <cstring>

#include "engine/model/records.h"
#include "engine/model/settings.h"

static DayTotals sDayTable[31];
static int sMonthRecord, sM6DaysBeforeMonth, sM6MeanDayGap;
static float sM6DuePercent;
const DayTotals (&MonthDayTable)[31] = sDayTable;
const int& gGraphMonthRecord = sMonthRecord;
const int& gM6DaysBeforeMonth = sM6DaysBeforeMonth;
const int& gM6MeanDayGap = sM6MeanDayGap;
const float& gM6DuePercent = sM6DuePercent;

static bool IsM6(const QuakeRecord& r) { return r.magnitude10 >= 60; }

// The records the series covers: the loaded ones, but never past the end of
// the data, which hides everything behind it from every consumer.
static int SeriesLength() {
    int n = AppSettings.recordCount;
    if (n < 0) n = 0;
    int end = DataEnd();
    return n < end ? n : end;
}

int BuildMonthSeries() {
    sMonthRecord = 0;
    std::memset(sDayTable, 0, sizeof sDayTable);
    sM6DaysBeforeMonth = 0;
    sM6MeanDayGap = 0;
    sM6DuePercent = 0;
    const int n = SeriesLength();
    if (n == 0) return 0;
    const QuakeRecord& newest = gpEQ[0];

    // The newest month, day by day.
    int m = 0;
    while (m < n && gpEQ[m].year == newest.year && gpEQ[m].month == newest.month) {
        const QuakeRecord& r = gpEQ[m];
        if (r.day >= 1 && r.day <= 31) {
            DayTotals& d = sDayTable[r.day - 1];
            d.count++;
            d.magnitudeSum += float(r.magnitude10 * 0.1);
            if (IsM6(r)) d.m6Count++;
        }
        m++;
    }

    // Days from the newest M6+ earthquake before the month (or, without one,
    // from the oldest record) to the oldest record of the month.
    int p = m;
    while (p < n && !IsM6(gpEQ[p])) p++;
    if (p == n) p = n - 1;
    sM6DaysBeforeMonth = DaysBetweenRecords(gpEQ[p], gpEQ[m - 1]);

    int m6Days = 0;
    const QuakeRecord* lastCounted = nullptr;
    for (int i = 0; i < n; i++) {
        const QuakeRecord& r = gpEQ[i];
        if (!IsM6(r) || (lastCounted && SameDay(r, *lastCounted))) continue;
        m6Days++;
        lastCounted = &r;
    }
    int catalogueDays = DaysBetween(1970, 1, 1, newest.year, newest.month, newest.day) + 1;
    if (m6Days > 0) sM6MeanDayGap = catalogueDays / m6Days;

    // Days since the last M6+ day as of the newest day; an M6+ day restarts
    // the count from the following day on.
    int lastDay = newest.day < 31 ? newest.day : 31;
    int since = sM6DaysBeforeMonth;
    for (int d = 2; d <= lastDay; d++) {
        since++;
        if (d < lastDay && sDayTable[d - 1].m6Count != 0) since = 0;
    }
    if (sM6MeanDayGap != 0) sM6DuePercent = float(double(since) / sM6MeanDayGap * 100.0);
    return 0;
}
