// The region summaries of the region panel (whole catalogue) and the region
// page (matching window), their keys, the window's day count and the class
// table's row arithmetic.
#include <gtest/gtest.h>

#include <vector>

#include "analysis/region_stats.h"
#include "analysis/region_summary.h"
#include "analysis_fixture.h"

namespace {

// Region 4: records 1, 3, 5, 6, 8; the depth condition drops 1 and 8.
void LoadRegions() {
    LoadCatalogue({DayRec(0, 2, 30, 10), DayRec(1, 4, 25, 500), DayRec(2, 2, 40, 10),
                   DayRec(3, 4, 52, 30, 5), DayRec(4, 2, 33, 10), DayRec(5, 4, 47, 70),
                   DayRec(6, 4, 58, 20), DayRec(7, 2, 35, 10), DayRec(8, 4, 61, 600),
                   DayRec(9, 2, 20, 900)});
    OpenConditions();
    AppSettings.depthMax = 100;
    ApplyConditions();
}

TEST(RegionPanelSummary, CoversTheWholeCatalogue) {
    LoadRegions();
    gCurrentRecord = 3;
    EXPECT_EQ(UpdateRegionPanelSummary(), 1);
    EXPECT_EQ(gRegionSummaryKey, 3);
    EXPECT_EQ(std::vector<int>({gRegionCount, gRegionMinMag10, gRegionMaxMag10, gRegionMeanMag10,
                                gRegionPointX, gRegionPointY}),
              std::vector<int>({5, 25, 61, (25 + 52 + 47 + 58 + 61) / 5, 300, 100}));
    EXPECT_EQ(UpdateRegionPanelSummary(), 0);    // the same record again
    gRegionSummaryKey = kSummaryKeyReset;
    EXPECT_EQ(UpdateRegionPanelSummary(), 1);
    gCurrentRecord = -1;
    EXPECT_EQ(UpdateRegionPanelSummary(), 0);
}

TEST(RegionPageSummary, CoversTheMatchingWindow) {
    LoadRegions();
    // The window runs from 0 to 7 (record 8 and 9 fail the depth condition);
    // record 1 lies inside it and counts although it does not match.
    ASSERT_EQ(AppSettings.selFirstIndex, 0);
    ASSERT_EQ(AppSettings.selLastIndex, 7);
    gCurrentRecord = 5;
    EXPECT_EQ(UpdateRegionPageSummary(), 1);
    EXPECT_EQ(gRegionSummaryKey2, 5);
    struct Field {
        const char* name;
        int actual, expected;
    } fields[] = {
        {"count", gRegionCount, 4},
        {"max magnitude", gRegionMaxMag10, 58},
        {"mean magnitude", gRegionMeanMag10, (25 + 52 + 47 + 58) / 4},
        {"min depth", gRegionMinDepth, 20},
        {"max depth", gRegionMaxDepth, 500},
        {"mean depth", gRegionMeanDepth, (500 + 30 + 70 + 20) / 4},
        {"M5+ count", gRegionStrongCount, 2},
        {"M5+ gap", gRegionStrongGap, 3},
        {"since M5+", gRegionSinceStrong, 3},
        {"point x", gRegionPointX, 300},
        {"days", gRegionDays, 8},
    };
    for (const Field& f : fields) EXPECT_EQ(f.actual, f.expected) << f.name;
    EXPECT_EQ(UpdateRegionPageSummary(), 0);
}

TEST(RegionPageSummary, StrongRecordCases) {
    struct Case {
        const char* what;
        std::vector<QuakeRecord> records;
        int current, strong, gap, since;
    } cases[] = {
        {"one M5+ record: no gap", {DayRec(0, 3, 30), DayRec(1, 3, 30), DayRec(2, 3, 55)}, 0, 1, 0, 2},
        {"newest record is M5+: nothing since", {DayRec(0, 3, 50), DayRec(1, 3, 30), DayRec(2, 3, 55), DayRec(6, 3, 59)}, 1, 3, 1, 0},
        {"no M5+ record", {DayRec(0, 3, 30), DayRec(1, 3, 40)}, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        LoadCatalogue(c.records);
        OpenConditions();
        ApplyConditions();
        gCurrentRecord = c.current;
        UpdateRegionPageSummary();
        EXPECT_EQ(gRegionStrongCount, c.strong) << c.what;
        EXPECT_EQ(gRegionStrongGap, c.gap) << c.what;
        EXPECT_EQ(gRegionSinceStrong, c.since) << c.what;
    }
}

TEST(RegionDays, DaysOfTheMatchingWindow) {
    struct Case {
        const char* what;
        std::vector<QuakeRecord> records;
        int magMin;
        int days;
    } cases[] = {
        {"one day", {DayRec(0, 1, 30), DayRec(0, 1, 30)}, 0, 1},
        {"ten days", {DayRec(0, 1, 30), DayRec(5, 1, 30), DayRec(9, 1, 30)}, 0, 10},
        {"window of the matches", {DayRec(0, 1, 10), DayRec(3, 1, 30), DayRec(6, 1, 30), DayRec(9, 1, 10)}, 2, 4},
        {"across a leap day", {Rec(2024, 3, 1, 0, 0, 300, 100, 10, 1, 30, 1), Rec(2024, 2, 28, 0, 0, 300, 100, 10, 1, 30, 1)}, 0, 3},
        {"empty catalogue", {}, 0, 0},
    };
    for (const Case& c : cases) {
        LoadCatalogue(c.records);
        OpenConditions();
        AppSettings.magMin = c.magMin;
        gRegionDays = -1;
        ApplyConditions();
        EXPECT_EQ(gRegionDays, c.days) << c.what;
    }
}

}  // namespace
