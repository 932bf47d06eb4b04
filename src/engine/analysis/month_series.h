// Day-by-day totals of the newest month and the M6+ day intervals of the
// whole catalogue, in calendar days.
#pragma once

#include <cstdint>

struct DayTotals {
    int32_t count;
    int32_t m6Count;
    float magnitudeSum;
};

extern DayTotals MonthDayTable[31];
extern int gGraphMonthRecord;
extern int gM6DaysBeforeMonth;
extern int gM6MeanDayGap;
extern float gM6DuePercent;

int BuildMonthSeries();
