// Day-by-day totals of the newest month and the M6+ day intervals of the
// whole catalogue, in calendar days.
#pragma once

#include <cstdint>

struct DayTotals {
    int32_t count;
    int32_t m6Count;
    float magnitudeSum;
};

// The series of the last BuildMonthSeries, for reading.
extern const DayTotals (&MonthDayTable)[31];
extern const int& gGraphMonthRecord;
extern const int& gM6DaysBeforeMonth;
extern const int& gM6MeanDayGap;
extern const float& gM6DuePercent;

int BuildMonthSeries();
