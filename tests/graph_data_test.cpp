// The monthly graph's numbers: the clamped points of the three series, the
// interval series and its text value, the totals and the text lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "analysis/month_series.h"
#include "analysis_fixture.h"
#include "random_catalogue.h"
#include "windows/graph_data.h"

namespace {

struct Day {
    int day, count, m6Count;
    float magnitudeSum;
};

// The newest record on `newestDay` of March 2024, and the day table as given.
void SetMonth(int newestDay, const std::vector<Day>& days, int daysBefore, int meanGap = 30) {
    LoadCatalogue({Rec(2024, 3, newestDay, 12, 0, 300, 100, 10, 1, 40, 1)});
    gGraphMonthRecord = 0;
    std::memset(MonthDayTable, 0, sizeof MonthDayTable);
    for (const Day& d : days) MonthDayTable[d.day - 1] = DayTotals{d.count, d.m6Count, d.magnitudeSum};
    gM6DaysBeforeMonth = daysBefore;
    gM6MeanDayGap = meanGap;
    gM6DuePercent = 0;
}

std::vector<int> Ys(const GraphPoint* points, int days) {
    std::vector<int> out;
    for (int d = 0; d < days; d++) {
        EXPECT_EQ(points[d].x, 1 + 16 * d);
        out.push_back(points[d].y);
    }
    return out;
}

TEST(GraphPlot, SeriesClampsAndTotals) {
    struct Case {
        const char* what;
        int newestDay;
        std::vector<Day> days;
        int daysBefore;
        std::vector<int> countY, magnitudeY, intervalY;
        int totalCount, intervalDays;
    } cases[] = {
        {"newest record on the 1st: one point, day 1 totals, the days before", 1,
         {{1, 3, 1, 13.5f}, {2, 9, 0, 9.0f}}, 10, {218}, {208}, {211}, 3, 10},
        {"more than 192 on a day is drawn at 29, and still counted", 2,
         {{1, 192, 0, 1.0f}, {2, 250, 0, 250.9f}}, 0, {29, 29}, {220, 29}, {221, 221}, 442, 1},
        {"an M6+ day drops the interval to 0 the day after", 6,
         {{3, 1, 1, 6.2f}, {6, 2, 0, 7.0f}}, 4, {221, 221, 220, 221, 221, 219},
         {221, 221, 215, 221, 221, 214}, {217, 217, 216, 221, 220, 219}, 3, 3},
        {"an M6+ day on the 1st changes nothing", 4, {{1, 1, 2, 13.0f}}, 4,
         {220, 221, 221, 221}, {208, 221, 221, 221}, {217, 217, 216, 215}, 1, 7},
        {"an M6+ on the newest day counts only after it", 3, {{3, 1, 1, 6.0f}}, 0,
         {221, 221, 220}, {221, 221, 215}, {221, 221, 220}, 1, 2},
        {"a long interval stays at 29", 3, {}, 5000, {221, 221, 221}, {221, 221, 221}, {29, 29, 29}, 0, 5002},
        {"days after the newest day stay empty", 2, {{2, 4, 0, 10.0f}, {10, 7, 1, 30.0f}}, 1,
         {221, 217}, {221, 211}, {220, 220}, 4, 2},
    };
    for (const Case& c : cases) {
        SetMonth(c.newestDay, c.days, c.daysBefore);
        GraphPlot plot;
        BuildGraphPlot(&plot);
        EXPECT_EQ(plot.days, c.newestDay) << c.what;
        EXPECT_EQ(Ys(plot.counts, plot.days), c.countY) << c.what;
        EXPECT_EQ(Ys(plot.magnitudes, plot.days), c.magnitudeY) << c.what;
        EXPECT_EQ(Ys(plot.intervals, plot.days), c.intervalY) << c.what;
        EXPECT_EQ(plot.totalCount, c.totalCount) << c.what;
        EXPECT_EQ(plot.intervalDays, c.intervalDays) << c.what;
        EXPECT_EQ(plot.meanY, 191) << c.what;
    }
}

// The interval in the text is the days-since count of the newest day, from
// which the monthly series derives its percentage.
TEST(GraphPlot, IntervalTextAgreesWithTheMonthlySeries) {
    std::mt19937 random(7);
    int compared = 0;
    for (int round = 0; round < 60; round++) {
        LoadCatalogue(RandomCatalogue(random, 200 + int(random() % 2000), 20, 400 + int(random() % 3000)));
        BuildMonthSeries();
        GraphPlot plot;
        BuildGraphPlot(&plot);
        EXPECT_EQ(plot.days, gpEQ[0].day);
        int total = 0;
        for (int i = 0; gpEQ[i].year == gpEQ[0].year && gpEQ[i].month == gpEQ[0].month; i++) total++;
        EXPECT_EQ(plot.totalCount, total) << round;
        if (gM6MeanDayGap == 0) continue;
        EXPECT_EQ(plot.intervalDays, int(std::lround(double(gM6DuePercent) * gM6MeanDayGap / 100))) << round;
        compared++;
    }
    EXPECT_GT(compared, 40);
}

}  // namespace
