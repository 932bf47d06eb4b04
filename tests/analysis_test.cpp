// The alert ranking, the cached class statistics against the literal walks,
// and the newest month's day table.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/pipeline/pipeline.h"
#include "engine/analysis/alert.h"
#include "engine/analysis/month_series.h"
#include "engine/analysis/region_stats.h"
#include "engine/analysis/region_summary.h"
#include "engine/analysis/stats_cache.h"
#include "engine/selection/selection.h"
#include "literal_stats.h"
#include "random_catalogue.h"
#include "test_util.h"

namespace {

// `total` small records of region 99, with M6+ events placed over them.
struct M6Event {
    int index, region, mag10;
    int mapX = 300, mapY = 100;
};

void LoadEvents(int total, const std::vector<M6Event>& events) {
    std::vector<QuakeRecord> records;
    for (int i = 0; i < total; i++) records.push_back(Rec(2024, 1, 1, 0, 0, 300, 100, 10, 99, 30, 1));
    for (const M6Event& e : events) records[e.index] = Rec(2024, 1, 1, 0, 0, e.mapX, e.mapY, 10, e.region, e.mag10, 1);
    LoadCatalogue(records);
    OpenConditions();
}

const AlertEntry* EntryOf(int region) {
    for (const AlertEntry& e : AlertTable)
        if (e.eventCount != 0 && e.regionIndex == region) return &e;
    return nullptr;
}

TEST(RankAlertRegions, LevelOfOneRegion) {
    LoadEvents(1000, {{40, 5, 61}, {400, 5, 65}});
    RunConditionChange();
    const AlertEntry* e = EntryOf(5);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(std::vector<int>({int(e - AlertTable), e->m6Count, e->eventCount, e->latestIndex, e->meanInterval, e->elapsed}),
              std::vector<int>({0, 2, 2, 40, 500, 40}));
    EXPECT_EQ(std::vector<float>({e->dueRatio, e->shareRatio}), std::vector<float>({8.0f, float(2.0 / 1000 * 100)}));
    EXPECT_FLOAT_EQ(e->alertLevel, 1.6f);
    // Records elapsed count from the newest matching record.
    for (int k = 0; k < 10; k++) gpEQ[k].intensity = 0;
    SetSetting(&SettingsBlock::intMin, 1);
    RunConditionChange();
    EXPECT_EQ(EntryOf(5)->elapsed, 30);
}

TEST(RankAlertRegions, ExchangeSortFixesTheOrderOfEqualLevels) {
    // First appearance Z(5), A(1), B(2), C(3), D(4) with levels 0, 2, 1, 2, 3:
    // the exchange sort gives D, C, A, B, Z (a stable sort would give D, A, C,
    // B, Z; swapping equal levels too would move Z behind the unused entries).
    LoadEvents(1000, {{0, 5, 60}, {50, 1, 60}, {100, 2, 60}, {200, 3, 60}, {300, 4, 60}, {600, 1, 60}});
    RunConditionChange();
    ASSERT_TRUE(EntryOf(1) && EntryOf(3)) << "the M6.0 events make regions 1 and 3 entries";
    EXPECT_EQ(EntryOf(1)->alertLevel, EntryOf(3)->alertLevel);
    std::vector<int> order;
    for (int i = 0; i < 5; i++) order.push_back(AlertTable[i].regionIndex * (AlertTable[i].eventCount != 0));
    EXPECT_EQ(order, std::vector<int>({4, 3, 1, 2, 5}));
}

TEST(AddM6Event, BoxesOnAndOffTheMap) {
    struct Case {
        const char* what;
        int x1, y1, x2, y2;   // the two epicentres (x2 < 0: a single event)
        int boxOnMap, minX, minY, maxX, maxY;
    } cases[] = {
        {"single event: no box", 300, 100, -1, 0, 0, 300, 100, 300, 100},
        {"left of the map", 150, 100, 150, 100, 0, 179, 100, 150, 100},
        {"top edge limited", 300, 0, 300, 10, 1, 300, 1, 300, 10},
        {"right of the map", 520, 100, 530, 100, 0, 520, 100, 514, 100},
        {"across the map", 170, 100, 520, 120, 1, 179, 100, 514, 120},
        {"bottom edge limited", 300, 300, 300, 340, 1, 300, 300, 300, 336},
        {"below the map", 300, 337, 300, 337, 0, 300, 337, 300, 336},
        {"grid x 178 lies off", 178, 50, 178, 60, 0, 179, 50, 178, 60},
        {"grid x 179 lies on", 179, 50, 179, 60, 1, 179, 50, 179, 60},
        {"grid x 514 lies on", 514, 50, 514, 60, 1, 514, 50, 514, 60},
        {"older event north-west", 320, 120, 310, 90, 1, 310, 90, 320, 120},
    };
    for (const Case& c : cases) {
        std::vector<M6Event> events = {{1, 5, 60, c.x1, c.y1}};
        if (c.x2 >= 0) events.push_back({2, 5, 61, c.x2, c.y2});
        LoadEvents(10, events);
        RunConditionChange();
        const AlertEntry* e = EntryOf(5);
        ASSERT_NE(e, nullptr) << c.what;
        EXPECT_EQ(std::vector<int>({e->boxOnMap, e->minX, e->minY, e->maxX, e->maxY}),
                  std::vector<int>({c.boxOnMap, c.minX, c.minY, c.maxX, c.maxY}))
            << c.what;
    }
}

TEST(RegionAlertFor, MeasuresFromTheNewestRecord) {
    // Region 5: M6+ at 1 and 2 on one day, at 6 on an earlier day; ten records.
    std::vector<QuakeRecord> records;
    for (int i = 0; i < 10; i++) records.push_back(DayRec(i, 99, 30));
    records[2] = DayRec(1, 5, 66);
    records[1] = DayRec(1, 5, 62);
    records[6] = DayRec(6, 5, 70);
    LoadCatalogue(records);
    OpenConditions();
    SetSetting(&SettingsBlock::magMax, 6);   // the filter is not consulted
    RunConditionChange();
    AlertEntry e;
    RegionAlertFor(7, &e);   // any record of another region names region 99
    EXPECT_EQ(e.m6Count, 0);
    RegionAlertFor(2, &e);
    EXPECT_EQ(std::vector<int>({e.regionIndex, e.m6Count, e.latestIndex, e.previousIndex, e.elapsed, e.meanInterval}),
              std::vector<int>({5, 3, 1, 6, 1, 3}));
    const float due = float(1.0 / 3 * 100), share = float(double(3.0f / 10.0f) * 100.0);   // the total as a float
    EXPECT_EQ(std::vector<float>({e.dueRatio, e.shareRatio, e.alertLevel, e.previousLevel}),
              std::vector<float>({due, share, due * share, float(6.0 / 5 * 100) * float(double(2.0f / 10.0f) * 100.0)}));
    EXPECT_NE(e.shareRatio, 30.0f);
}

// The flags a filter run changes are all the cache cannot see: the newest and
// oldest matches and the store stay, the M4 between them drops out.
TEST(StatsCache, EveryFilterRunGathersAgain) {
    LoadCatalogue({DayRec(0, 1, 30), DayRec(1, 1, 40), DayRec(2, 1, 30)});
    OpenConditions();
    RunConditionChange();
    ASSERT_EQ(CachedClassCell(-1, STATS_MAGNITUDE, 4).count, 1);
    SetSetting(&SettingsBlock::magMax, 3);
    RunConditionChange();
    EXPECT_EQ(CachedClassCell(-1, STATS_MAGNITUDE, 4).count, 0);
}

// {count, since, mean, latest} of the cached answer and of the literal walk.
std::vector<int> Fast(int record, bool byIntensity, int cls) {
    int v[4] = {-7, -7, -7, -7};
    const int count = (byIntensity ? ClassStatsByIntensity : ClassStatsByMagnitude)(record, cls, &v[0], &v[1], &v[2], &v[3]);
    EXPECT_EQ(count, v[0]);
    return {v, v + 4};
}

std::vector<int> Literal(int record, bool byIntensity, int cls) {
    int v[4] = {-7, -7, -7, -7};
    LiteralClassStats(record, byIntensity, cls, &v[0], &v[1], &v[2], &v[3]);
    return {v, v + 4};
}

// Every class and band, after random filters and with the window moved by hand.
TEST(StatsCache, MatchesTheLiteralWalksOnRandomCatalogues) {
    std::mt19937 random(99);
    for (int round = 0; round < 30; round++) {
        int n = 1 + int(random() % 3000);
        LoadCatalogue(RandomCatalogue(random, n, 1 + int(random() % 120), 1 + int(random() % 2000)));
        OpenConditions();
        SetSetting(&SettingsBlock::magMin, int(random() % 4));
        SetSetting(&SettingsBlock::depthMax, int(random() % 300));
        SetSetting(&SettingsBlock::intMin, int(random() % 3));
        RunConditionChange();
        for (int step = 0; step < 6; step++) {
            if (step == 3 && AppSettings.selLastIndex > AppSettings.selFirstIndex)
                SetSetting(&SettingsBlock::selFirstIndex, AppSettings.selFirstIndex + 1);   // the window moves without a filter run
            SelectRecord(int(random() % n), SELECT_AFTER_FILTER);
            UpdateRegionPanelSummary(gCurrentRecord);
            int records[] = {-1, gCurrentRecord, int(random() % n)};
            for (int record : records)
                for (int cls = 0; cls <= 10; cls++)
                    for (bool byIntensity : {false, true})
                        ASSERT_EQ(Fast(record, byIntensity, cls), Literal(record, byIntensity, cls))
                            << "round " << round << " record " << record << (byIntensity ? " I" : " M") << cls;
            for (int band = -1; band <= 7; band++) {
                float due, share, literalDue, literalShare;
                ClassRecurrence(gCurrentRecord, band, &due, &share);
                LiteralClassRecurrence(band, &literalDue, &literalShare);
                ASSERT_EQ(due, literalDue) << "round " << round << " band " << band;
                ASSERT_EQ(share, literalShare) << "round " << round << " band " << band;
            }
        }
    }
}

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
    const float day5 = float(45 * 0.1) + float(30 * 0.1);
    struct Case {
        int day, count, m6Count;
        float sum;
    } cases[] = {{1, 1, 0, float(40 * 0.1)}, {2, 1, 1, float(62 * 0.1)}, {3, 0, 0, 0},
                 {4, 0, 0, 0},               {5, 2, 0, day5},             {20, 0, 0, 0}};
    for (const Case& c : cases) {
        const DayTotals& t = MonthDayTable[c.day - 1];
        EXPECT_EQ(std::vector<float>({float(t.count), float(t.m6Count), t.magnitudeSum}),
                  std::vector<float>({float(c.count), float(c.m6Count), c.sum})) << c.day;
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
