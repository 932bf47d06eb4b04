// The alert ranking: levels and their float rounding, the exchange sort, the
// M6+ boxes, the stand-alone entry and the ranking page's row arithmetic.
#include <gtest/gtest.h>

#include <vector>

#include "analysis/alert.h"
#include "analysis/region_stats.h"
#include "analysis_fixture.h"

namespace {

// `total` small records of region 99, with M6+ events placed over them.
struct M6Event {
    int index, region, mag10;
    int mapX = 300, mapY = 100;
};

void LoadEvents(int total, const std::vector<M6Event>& events) {
    std::vector<QuakeRecord> records;
    for (int i = 0; i < total; i++) records.push_back(Rec(2024, 1, 1, 0, 0, 300, 100, 10, 99, 30, 1));
    for (const M6Event& e : events) {
        records[e.index].regionIndex = uint16_t(e.region);
        records[e.index].magnitude10 = uint8_t(e.mag10);
        records[e.index].mapX = uint16_t(e.mapX);
        records[e.index].mapY = uint16_t(e.mapY);
    }
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
    ApplyConditions();
    const AlertEntry* e = EntryOf(5);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e - AlertTable, 0);
    EXPECT_EQ(e->m6Count, 2);
    EXPECT_EQ(e->eventCount, 2);
    EXPECT_EQ(e->latestIndex, 40);
    EXPECT_EQ(e->meanInterval, 500);
    EXPECT_EQ(e->elapsed, 40);
    EXPECT_EQ(e->dueRatio, 8.0f);
    EXPECT_EQ(e->shareRatio, float(2.0 / 1000 * 100));
    EXPECT_EQ(e->alertLevel, 8.0f * float(2.0 / 1000 * 100));
    EXPECT_FLOAT_EQ(e->alertLevel, 1.6f);
}

TEST(RankAlertRegions, NegativeLevelSortsBehindUnusedEntries) {
    // The conditions exclude the newest hundred records.
    LoadEvents(1000, {{40, 5, 61}, {400, 5, 65}});
    for (int i = 0; i < 100; i++) gpEQ[i].depthKm = 900;
    AppSettings.depthMax = 100;
    ApplyConditions();
    ASSERT_EQ(AppSettings.selFirstIndex, 100);
    const AlertEntry* e = EntryOf(5);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->elapsed, -60);
    EXPECT_LT(e->alertLevel, 0.0f);
    EXPECT_EQ(e - AlertTable, kAlertEntries - 1);
}

TEST(RankAlertRegions, ExchangeSortFixesTheOrderOfEqualLevels) {
    // First appearance A(1), B(2), C(3), D(4) with levels 2, 1, 2, 3: the
    // exchange sort gives D, C, A, B (a stable sort would give D, A, C, B).
    LoadEvents(1000, {{50, 1, 60}, {100, 2, 60}, {200, 3, 60}, {300, 4, 60}, {600, 1, 60}});
    ApplyConditions();
    EXPECT_EQ(EntryOf(1)->alertLevel, EntryOf(3)->alertLevel);
    std::vector<int> order;
    for (int i = 0; i < 5; i++) order.push_back(AlertTable[i].regionIndex);
    EXPECT_EQ(order, std::vector<int>({4, 3, 1, 2, 0}));
    EXPECT_EQ(AlertTable[4].eventCount, 0);
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
    };
    for (const Case& c : cases) {
        std::vector<M6Event> events = {{1, 5, 60, c.x1, c.y1}};
        if (c.x2 >= 0) events.push_back({2, 5, 61, c.x2, c.y2});
        LoadEvents(10, events);
        ApplyConditions();
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
    AppSettings.magMax = 6;   // the filter is not consulted
    ApplyConditions();
    AlertEntry e;
    RegionAlertFor(7, &e);   // any record of another region names region 99
    EXPECT_EQ(e.m6Count, 0);
    RegionAlertFor(2, &e);
    EXPECT_EQ(e.regionIndex, 5);
    EXPECT_EQ(e.m6Count, 3);
    EXPECT_EQ(e.latestIndex, 1);
    EXPECT_EQ(e.previousIndex, 6);
    EXPECT_EQ(e.elapsed, 1);
    EXPECT_EQ(e.meanInterval, 3);
    const float due = float(1.0 / 3 * 100);
    const float share = float(double(3.0f / 10.0f) * 100.0);   // the total as a float
    EXPECT_EQ(e.dueRatio, due);
    EXPECT_EQ(e.shareRatio, share);
    EXPECT_NE(e.shareRatio, 30.0f);
    EXPECT_EQ(e.alertLevel, due * share);
    const float previousDue = float(6.0 / 5 * 100);
    const float previousShare = float(double(2.0f / 10.0f) * 100.0);
    EXPECT_EQ(e.previousLevel, previousDue * previousShare);
}

// Levels D 3, C 2, A 2, B 1 print four rows; region 6 (level 0.05) is in
// use but prints nothing.
void LoadRanking() {
    LoadEvents(1000, {{5, 6, 60}, {50, 1, 60}, {100, 2, 60}, {200, 3, 60}, {300, 4, 60},
                      {600, 1, 60}, {310, 4, 30}, {350, 4, 30}});
    ApplyConditions();
}

TEST(AlertRows, PrintedRowsCloseUp) {
    LoadRanking();
    ASSERT_LT(EntryOf(6)->alertLevel, 0.1f);
    ASSERT_GT(EntryOf(6)->alertLevel, 0.0f);
    struct Case {
        int row, entry;
    } cases[] = {{-1, -1}, {0, 0}, {1, 1}, {3, 3}, {4, -1}, {8, -1}, {9, -1}};
    for (const Case& c : cases) EXPECT_EQ(PrintedAlertEntry(c.row), c.entry) << c.row;
}

}  // namespace
