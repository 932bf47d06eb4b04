// The monthly series: the day table of the newest month and the M6+ day
// statistics of the whole catalogue, in calendar days.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/month_series.h"
#include "analysis_fixture.h"
#include "random_catalogue.h"

namespace {

struct Day {
    int year, month, day, mag10;
};

void LoadDays(const std::vector<Day>& days) {
    std::vector<QuakeRecord> records;
    for (const Day& d : days) records.push_back(Rec(d.year, d.month, d.day, 12, 0, 300, 100, 10, 1, d.mag10, 1));
    LoadCatalogue(records);
}

TEST(BuildMonthSeries, DayTableOfTheNewestMonth) {
    LoadDays({{2024, 3, 5, 45}, {2024, 3, 5, 30}, {2024, 3, 2, 62}, {2024, 3, 1, 40},
              {2024, 2, 20, 61}, {2024, 2, 10, 30}});
    EXPECT_EQ(BuildMonthSeries(), 0);
    EXPECT_EQ(gGraphMonthRecord, 0);
    float day5 = 0;
    day5 += float(45 * 0.1);
    day5 += float(30 * 0.1);
    struct Case {
        int day, count, m6Count;
        float sum;
    } cases[] = {{1, 1, 0, float(40 * 0.1)}, {2, 1, 1, float(62 * 0.1)}, {3, 0, 0, 0},
                 {4, 0, 0, 0},               {5, 2, 0, day5},             {20, 0, 0, 0}};
    for (const Case& c : cases) {
        const DayTotals& t = MonthDayTable[c.day - 1];
        EXPECT_EQ(t.count, c.count) << c.day;
        EXPECT_EQ(t.m6Count, c.m6Count) << c.day;
        EXPECT_EQ(t.magnitudeSum, c.sum) << c.day;
    }
    int total = 0;
    for (const DayTotals& t : MonthDayTable) total += t.count;
    EXPECT_EQ(total, 4);
}

TEST(BuildMonthSeries, DaysSinceTheLastM6Day) {
    struct Case {
        const char* what;
        std::vector<Day> days;
        int daysBefore, since, m6Days;
    } cases[] = {
        {"an M6+ day restarts the count", {{2024, 3, 5, 30}, {2024, 3, 3, 61}, {2024, 3, 1, 30}, {2024, 2, 20, 62}}, 10, 2, 2},
        {"none in the month yet", {{2024, 3, 5, 30}, {2024, 3, 4, 20}, {2024, 3, 1, 30}, {2024, 2, 20, 65}}, 10, 14, 1},
        {"day 1 and the newest day do not restart", {{2024, 3, 5, 60}, {2024, 3, 1, 60}, {2024, 2, 20, 60}}, 10, 14, 3},
        {"three on one day are one M6+ day", {{2024, 3, 5, 30}, {2024, 3, 2, 61}, {2024, 3, 2, 62}, {2024, 3, 2, 63}, {2024, 3, 1, 30}, {2024, 2, 20, 60}}, 10, 3, 2},
        {"nothing before the month: from the oldest record", {{2024, 3, 5, 30}, {2024, 3, 3, 61}, {2024, 3, 1, 30}, {2024, 1, 10, 30}}, 51, 2, 1},
        {"no M6+ day at all", {{2024, 3, 5, 30}, {2024, 2, 10, 40}}, 24, 28, 0},
        {"only the newest month", {{2024, 3, 5, 30}, {2024, 3, 2, 30}}, 0, 4, 0},
        {"newest on day 1", {{2024, 3, 1, 30}, {2024, 2, 20, 61}}, 10, 10, 1},
        {"across the new year", {{2024, 1, 3, 30}, {2023, 12, 31, 60}}, 3, 5, 1},
        {"before 1970 the mean gap comes to 0", {{1969, 3, 5, 61}, {1969, 3, 1, 62}}, 0, 4, 2},
        {"behind the end of the data", {{2024, 3, 5, 30}, {2024, 3, 4, 0}, {2024, 3, 3, 61}, {2024, 2, 20, 62}}, 0, 4, 0},
    };
    for (const Case& c : cases) {
        LoadDays(c.days);
        BuildMonthSeries();
        const Day& newest = c.days[0];
        int catalogueDays = DaysBetween(1970, 1, 1, newest.year, newest.month, newest.day) + 1;
        int gap = c.m6Days > 0 ? catalogueDays / c.m6Days : 0;
        EXPECT_EQ(gM6DaysBeforeMonth, c.daysBefore) << c.what;
        EXPECT_EQ(gM6MeanDayGap, gap) << c.what;
        EXPECT_EQ(gM6DuePercent, gap > 0 ? float(double(c.since) / gap * 100.0) : 0.0f) << c.what;
    }
}

}  // namespace
