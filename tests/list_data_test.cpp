// The condition filter, the two lists' fills, region tables and locating.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "analysis/month_series.h"
#include "analysis/region_stats.h"
#include "analysis_fixture.h"
#include "literal_lists.h"
#include "platform/platform.h"
#include "random_catalogue.h"

namespace {

void SetPeriod(int y0, int mo0, int d0, int h0, int mi0, int y1, int mo1, int d1, int h1, int mi1) {
    SettingsBlock& s = AppSettings;
    s.startYear = y0, s.startMonth = mo0, s.startDay = d0, s.startHour = h0, s.startMinute = mi0;
    s.endYear = y1, s.endMonth = mo1, s.endDay = d1, s.endHour = h1, s.endMinute = mi1;
}

std::vector<int> Matching() {
    std::vector<int> out;
    for (int i = 0; i < DataEnd(); i++)
        if (gpEQ[i].inFilter) out.push_back(i);
    return out;
}

TEST(IsOutsidePeriod, ComparesTheMinuteStampFieldByField) {
    struct Case {
        int year, month, day, hour, minute;
        int outside;
    } cases[] = {
        {2024, 3, 5, 12, 30, 0},   // exactly the start minute
        {2024, 3, 5, 12, 29, 1},   // one minute before
        {2024, 3, 10, 8, 15, 0},   // exactly the end minute
        {2024, 3, 10, 8, 16, 1},   // one minute after
        {2024, 3, 10, 7, 59, 0},
        {2024, 3, 5, 13, 0, 0},
        {2024, 3, 7, 0, 0, 0},
        {2023, 12, 31, 23, 59, 1},
        {2024, 2, 29, 23, 59, 1},
        {2024, 4, 1, 0, 0, 1},
        {2025, 1, 1, 0, 0, 1},
        {2024, 3, 4, 23, 59, 1},   // later hour, earlier day
    };
    std::vector<QuakeRecord> records;
    for (const Case& c : cases) records.push_back(Rec(c.year, c.month, c.day, c.hour, c.minute, 300, 100, 10, 1, 30, 1));
    LoadCatalogue(records);
    SetPeriod(2024, 3, 5, 12, 30, 2024, 3, 10, 8, 15);
    for (size_t i = 0; i < records.size(); i++)
        EXPECT_EQ(IsOutsidePeriod(int(i)) != 0, cases[i].outside != 0) << "case " << i;
}

TEST(IsOutsidePeriod, SettingsBeyondTheFieldRanges) {
    LoadCatalogue({Rec(2025, 1, 1, 0, 0, 300, 100, 10, 1, 30, 1), Rec(2024, 12, 31, 23, 59, 300, 100, 10, 1, 30, 1),
                   Rec(1970, 1, 1, 0, 0, 300, 100, 10, 1, 30, 1)});
    struct Case {
        const char* what;
        int start[5], end[5];
        int outside[3];
    } cases[] = {
        {"negative start, huge end", {-5, 1, 1, 0, 0}, {70000, 1, 1, 0, 0}, {0, 0, 0}},
        {"month 13 of 2024 lies after December", {2024, 13, 1, 0, 0}, {2025, 1, 1, 0, 0}, {0, 1, 1}},
        {"minute -1 lies before minute 0", {2025, 1, 1, 0, -1}, {2025, 1, 1, 0, -1}, {1, 1, 1}},
        {"hour 99 lies after 23", {1970, 1, 1, 0, 0}, {2024, 12, 31, 99, 0}, {1, 0, 0}},
        {"day 0 lies before day 1", {1970, 1, 0, 0, 0}, {1970, 1, 0, 23, 59}, {1, 1, 1}},
    };
    for (const Case& c : cases) {
        SetPeriod(c.start[0], c.start[1], c.start[2], c.start[3], c.start[4], c.end[0], c.end[1],
                  c.end[2], c.end[3], c.end[4]);
        for (int i = 0; i < 3; i++) EXPECT_EQ(IsOutsidePeriod(i) != 0, c.outside[i] != 0) << c.what << " record " << i;
    }
    EXPECT_NE(IsOutsidePeriod(-1), 0);
    EXPECT_NE(IsOutsidePeriod(kMaxRecords), 0);
}

TEST(ApplyConditions, BoundsAreInclusive) {
    // Ten records, newest first, all in one minute band of the period.
    std::vector<QuakeRecord> records = {
        Rec(2024, 5, 1, 0, 9, 300, 100, 0, 1, 59, 0),     // 0
        Rec(2024, 5, 1, 0, 8, 300, 100, 10, 1, 60, 1),    // 1
        Rec(2024, 5, 1, 0, 7, 300, 100, 20, 1, 61, 2),    // 2
        Rec(2024, 5, 1, 0, 6, 300, 100, 30, 1, 69, 3),    // 3
        Rec(2024, 5, 1, 0, 5, 300, 100, 40, 1, 70, 4),    // 4
        Rec(2024, 5, 1, 0, 4, 300, 100, 50, 1, 71, 5),    // 5
        Rec(2024, 5, 1, 0, 3, 300, 100, 60, 1, 10, 6),    // 6
        Rec(2024, 5, 1, 0, 2, 300, 100, 70, 1, 90, 7),    // 7
        Rec(2024, 5, 1, 0, 1, 300, 100, 80, 1, 95, 8),    // 8
        Rec(2024, 5, 1, 0, 0, 300, 100, 999, 1, 99, 9),   // 9
    };
    struct Case {
        const char* what;
        int magMin, magMax, depthMin, depthMax, intMin, intMax;
        std::vector<int> expected;
    } cases[] = {
        {"magnitude 6 only", 6, 6, 0, 999, 0, 9, {1}},
        {"magnitude 6..7", 6, 7, 0, 999, 0, 9, {1, 2, 3, 4}},
        {"magnitude 9..9", 9, 9, 0, 999, 0, 9, {7}},
        {"depth 10..30", 0, 9, 10, 30, 0, 9, {1, 2, 3}},
        {"depth 999", 0, 9, 999, 999, 0, 9, {}},   // M9.9 lies above magMax 9
        {"depth 999, M up to 10", 0, 10, 999, 999, 0, 9, {9}},
        {"intensity 5..7", 0, 9, 0, 999, 5, 7, {5, 6, 7}},
        {"intensity 0", 0, 9, 0, 999, 0, 0, {0}},
        {"nothing", 0, 9, 0, 999, 10, 9, {}},
    };
    for (const Case& c : cases) {
        LoadCatalogue(records);
        OpenConditions();
        SettingsBlock& s = AppSettings;
        s.magMin = c.magMin, s.magMax = c.magMax, s.depthMin = c.depthMin, s.depthMax = c.depthMax;
        s.intMin = c.intMin, s.intMax = c.intMax;
        ApplyConditions();
        EXPECT_EQ(Matching(), c.expected) << c.what;
        EXPECT_EQ(s.selCount, int(c.expected.size())) << c.what;
    }
}

TEST(ApplyConditions, EndBeforeStartMovesTheStartToTheEnd) {
    LoadCatalogue({Rec(2024, 5, 1, 12, 1, 300, 100, 10, 1, 30, 1),
                   Rec(2024, 5, 1, 12, 0, 300, 100, 10, 1, 30, 1),
                   Rec(2024, 5, 1, 11, 59, 300, 100, 10, 1, 30, 1)});
    OpenConditions();
    SetPeriod(2024, 6, 1, 0, 0, 2024, 5, 1, 12, 0);
    ApplyConditions();
    const SettingsBlock& s = AppSettings;
    EXPECT_EQ(std::vector<int>({s.startYear, s.startMonth, s.startDay, s.startHour, s.startMinute}),
              std::vector<int>({2024, 5, 1, 12, 0}));
    EXPECT_EQ(s.endYear, 2024);
    EXPECT_EQ(Matching(), std::vector<int>({1}));
}

TEST(ApplyConditions, SelectionSummary) {
    // Depth 25.. excludes the two newest records; the matches are 2, 3 and 4.
    LoadCatalogue({DayRec(0, 1, 55, 10), DayRec(1, 1, 30, 20), DayRec(2, 2, 62, 30),
                   DayRec(3, 3, 48, 40), DayRec(4, 2, 50, 51)});
    OpenConditions();
    AppSettings.depthMin = 25;
    ApplyConditions();
    const SettingsBlock& s = AppSettings;
    struct Field {
        const char* name;
        int actual, expected;
    } fields[] = {
        {"selCount", s.selCount, 3},         {"selCount2", s.selCount2, 3},
        {"selMaxMag10", s.selMaxMag10, 62},  {"selMaxMag10b", s.selMaxMag10b, 62},
        {"selMeanMag10", s.selMeanMag10, 53}, {"selMeanMag10b", s.selMeanMag10b, 53},
        {"selMeanDepth", s.selMeanDepth, 40}, {"selMeanDepthB", s.selMeanDepthB, 40},
        {"selStrongRecent", s.selStrongRecent, 2},
        {"selFirst", s.selFirst, 2},         {"selFirstIndex", s.selFirstIndex, 2},
        {"selLastIndex", s.selLastIndex, 4},
    };
    for (const Field& f : fields) EXPECT_EQ(f.actual, f.expected) << f.name;
}

TEST(ApplyConditions, StrongRecentCountsAmongTheHundredNewestMatches) {
    std::vector<QuakeRecord> records;
    // Every even match is M5.5, the 101st match (index 100) among them.
    for (int i = 0; i < 150; i++) records.push_back(Rec(2024, 5, 1, 0, 0, 300, 100, 10, 1, i % 2 ? 30 : 55, 1));
    LoadCatalogue(records);
    OpenConditions();
    ApplyConditions();
    EXPECT_EQ(AppSettings.selStrongRecent, 50);
    EXPECT_EQ(AppSettings.selCount, 150);
}

TEST(ApplyConditions, NoMatchLeavesZerosAndTheChainSafe) {
    LoadCatalogue({DayRec(0, 1, 30), DayRec(1, 2, 40)});
    OpenConditions();
    AppSettings.magMin = 8;
    AppSettings.selFirst = 77;
    ApplyConditions();
    const SettingsBlock& s = AppSettings;
    EXPECT_EQ(std::vector<int>({s.selCount, s.selCount2, s.selMaxMag10, s.selMeanMag10,
                                s.selMeanDepth, s.selStrongRecent, s.selFirst, s.selFirstIndex,
                                s.selLastIndex, s.selMeanMag10b, s.selMeanDepthB}),
              std::vector<int>(11, 0));
    EXPECT_EQ(gConditionList.count, 0);
    EXPECT_EQ(gConditionList.entries[0].recordIndex, -1);
    EXPECT_EQ(gSelectedRecordA, -1);
    EXPECT_EQ(gSelectedRecordB, -1);
}

TEST(ApplyConditions, StopsAtTheEndOfTheData) {
    std::vector<QuakeRecord> records = {DayRec(0, 1, 30), DayRec(1, 1, 30), DayRec(2, 1, 0),
                                        DayRec(3, 1, 30)};
    LoadCatalogue(records);
    gpEQ[3].inFilter = 1;   // behind the end: keeps its flag
    OpenConditions();
    AppSettings.magMin = 5;  // nothing in front of the end matches
    ApplyConditions();
    EXPECT_EQ(gpEQ[0].inFilter, 0);
    EXPECT_EQ(gpEQ[3].inFilter, 1);
    AppSettings.magMin = 0;
    ApplyConditions();
    EXPECT_EQ(AppSettings.selCount, 2);
    EXPECT_EQ(AppSettings.selLastIndex, 1);
}

TEST(ApplyConditions, EmptyCatalogue) {
    LoadCatalogue({});
    OpenConditions();
    gCurrentRecord = 0;
    ApplyConditions();
    const SettingsBlock& s = AppSettings;
    EXPECT_EQ(s.selCount + s.selFirst + s.selFirstIndex + s.selLastIndex + s.selCount2, 0);
    EXPECT_EQ(gConditionList.count, 0);
    EXPECT_EQ(gRegionList.count, 0);
    EXPECT_EQ(gRegionList.entries[0].recordIndex, -1);
    EXPECT_EQ(gRegionDays, 0);
    EXPECT_EQ(gSelectedRecordA, -1);
    EXPECT_EQ(AlertTable[0].eventCount, 0);
    EXPECT_EQ(gM6MeanDayGap, 0);
    int count = -1, since = -1, mean = -1, latest = 0;
    EXPECT_EQ(ClassStatsByMagnitude(gCurrentRecord, 3, &count, &since, &mean, &latest), 0);
    EXPECT_EQ(latest, -1);
    float due = -1, share = -1;
    ClassRecurrence(0, &due, &share);
    EXPECT_EQ(due, 0.0f);
    EXPECT_EQ(share, 0.0f);
}

static std::string gTitle;
static int gTitleCalls;
static void RecordTitle(const char* sjis) {
    gTitle = sjis;
    gTitleCalls++;
}

TEST(ApplyConditions, RunsTheWholeChain) {
    // Region 4 holds records 1 and 3; record 0 (region 2) is filtered out.
    LoadCatalogue({DayRec(0, 2, 20), DayRec(1, 4, 61), DayRec(2, 2, 45), DayRec(3, 4, 35),
                   DayRec(5, 7, 62)});
    OpenConditions();
    AppSettings.magMin = 3;
    gCurrentRecord = 3;
    gRegionListTitleHook = RecordTitle;
    gTitleCalls = 0;
    gDataReady = 0;
    gRegionSummaryKey = gRegionSummaryKey2 = 5;
    ApplyConditions();

    EXPECT_EQ(AppSettings.selFirstIndex, 1);
    EXPECT_EQ(AppSettings.selLastIndex, 4);
    EXPECT_EQ(gConditionList.count, 4);
    EXPECT_EQ(gRegionList.count, 2);               // records 1 and 3 of region 4
    EXPECT_EQ(gRegionList.entries[0].recordIndex, 1);
    EXPECT_EQ(gRegionList.entries[1].recordIndex, 3);
    EXPECT_EQ(gRegionList.highlight, 3);
    EXPECT_EQ(gTitleCalls, 2);                     // from both refreshes
    std::string expected;
    ASSERT_EQ(Utf8ToSjis("R4 設定条件地震一覧", &expected), 0);
    EXPECT_EQ(gTitle, expected);
    EXPECT_EQ(AlertTable[0].m6Count, 1);           // the ranking ran
    EXPECT_EQ(MonthDayTable[19].count, 1);         // and the monthly series
    EXPECT_EQ(gSelectedRecordA, 1);                // newest match of selFirst's region
    EXPECT_EQ(gSelectedRecordB, 1);
    EXPECT_EQ(gRegionSummaryKey, kSummaryKeyReset);
    EXPECT_EQ(gRegionSummaryKey2, kSummaryKeyReset);
    EXPECT_EQ(gRegionDays, 5);                     // 2024-06-15 .. 2024-06-19
    EXPECT_EQ(gDataReady, 1);
}

TEST(ApplyConditions, RefreshesTheStatisticsEveryRun) {
    LoadCatalogue({DayRec(0, 1, 62), DayRec(1, 1, 35), DayRec(2, 2, 64)});
    OpenConditions();
    ApplyConditions();
    int count, since, mean, latest;
    EXPECT_EQ(ClassStatsByMagnitude(-1, 6, &count, &since, &mean, &latest), 2);
    AppSettings.magMax = 5;
    ApplyConditions();
    EXPECT_EQ(ClassStatsByMagnitude(-1, 6, &count, &since, &mean, &latest), 0);
    EXPECT_EQ(ClassStatsByMagnitude(-1, 3, &count, &since, &mean, &latest), 1);
    EXPECT_EQ(mean, 1);
}

TEST(Lists, UnallocatedListsIgnoreEveryCall) {
    LoadCatalogue({DayRec(0, 1, 30), DayRec(1, 1, 30)});
    FreeList(&gConditionList);
    FreeList(&gRegionList);
    EXPECT_EQ(spSD, nullptr);
    gRegionListTitleHook = RecordTitle;
    gTitleCalls = 0;
    OpenConditions();
    ApplyConditions();
    LocateCurrent(&gConditionList);
    SortList(&gConditionList, SORT_DEPTH);
    EXPECT_EQ(gTitleCalls, 0);
    EXPECT_EQ(gConditionList.count, 0);
    EXPECT_EQ(AppSettings.selCount, 2);
    ASSERT_EQ(AllocateList(&gConditionList), 0);
    EXPECT_EQ(spSD, gConditionList.entries);
}

TEST(Lists, FillsMatchTheLiteralFillOnRandomCatalogues) {
    std::mt19937 random(7);
    for (int round = 0; round < 12; round++) {
        int n = round == 0 ? 0 : int(random() % 3000) + 1;
        LoadCatalogue(RandomCatalogue(random, n, 1 + int(random() % 60)));
        OpenConditions();
        AppSettings.magMin = int(random() % 4);
        AppSettings.depthMax = int(random() % 300);
        // A longer list first, so that stale entries lie behind the new end.
        AppSettings.magMin = 0;
        ApplyConditions();
        AppSettings.magMin = int(random() % 4);
        gCurrentRecord = n > 0 ? int(random() % n) : 0;
        ApplyConditions();
        gCurrentRecord = n > 0 ? int(random() % n) : 0;
        RefreshRegionList();

        struct Check {
            const RecordList* list;
            int region;
        } checks[] = {{&gConditionList, -1},
                      {&gRegionList, n > 0 ? gpEQ[gCurrentRecord].regionIndex : 0}};
        for (const Check& c : checks) {
            std::vector<ListEntry> literal;
            int count = LiteralFill(&literal, c.region);
            ASSERT_EQ(c.list->count, count) << "round " << round;
            EXPECT_EQ(c.list->end, count);
            for (int p = 0; p < count; p++) {
                ASSERT_EQ(c.list->entries[p].recordIndex, literal[p].recordIndex) << p;
                ASSERT_EQ(c.list->entries[p].displayIndex, literal[p].displayIndex) << p;
                ASSERT_EQ(c.list->entries[p].placed, 0) << p;
            }
            EXPECT_EQ(c.list->entries[count].recordIndex, -1);
            EXPECT_EQ(c.list->entries[count].displayIndex, -1);
        }
    }
}

TEST(Lists, RegionTablesMatchTheLiteralCount) {
    std::mt19937 random(11);
    for (int round = 0; round < 10; round++) {
        int n = int(random() % 2500);
        auto records = RandomCatalogue(random, n, 1 + int(random() % 287));
        if (round == 9)  // more regions than the table holds
            for (int i = 0; i < n; i++) records[i].regionIndex = uint16_t(i % 400);
        LoadCatalogue(records);
        OpenConditions();
        AppSettings.intMin = int(random() % 3);
        ApplyConditions();
        RecordList literal = gConditionList;
        int used = LiteralCountRegions(&literal);
        EXPECT_EQ(gConditionList.regionsUsed, used) << "round " << round;
        for (int s = 0; s < 300; s++) {
            ASSERT_EQ(gConditionList.regionCounts[s].count, literal.regionCounts[s].count) << s;
            ASSERT_EQ(gConditionList.regionCounts[s].regionIndex, literal.regionCounts[s].regionIndex) << s;
        }
        if (round == 9 && n > 300) {
            EXPECT_EQ(used, 300);
        }
    }
}

TEST(Lists, RegionSlotsStandInOrderOfFirstAppearance) {
    LoadCatalogue({DayRec(0, 7, 30), DayRec(1, 3, 30), DayRec(2, 3, 30), DayRec(3, 7, 30),
                   DayRec(4, 9, 30), DayRec(5, 3, 30)});
    OpenConditions();
    ApplyConditions();
    ASSERT_EQ(gConditionList.regionsUsed, 3);
    const RegionCount* slots = gConditionList.regionCounts;
    EXPECT_EQ(std::vector<int>({slots[0].regionIndex, slots[0].count, slots[1].regionIndex,
                                slots[1].count, slots[2].regionIndex, slots[2].count, slots[3].count}),
              std::vector<int>({7, 2, 3, 3, 9, 1, 0}));
}

TEST(LocateCurrent, ScrollsToTheCurrentRecordOrItsRegion) {
    // Region 3 holds records 1, 4 and 6; record 1 is filtered out (M1.0).
    std::vector<QuakeRecord> records = {DayRec(0, 5, 30), DayRec(1, 3, 10), DayRec(2, 5, 30),
                                        DayRec(3, 5, 30), DayRec(4, 3, 30), DayRec(5, 5, 30),
                                        DayRec(6, 3, 30), DayRec(7, 8, 10)};
    struct Case {
        const char* what;
        int current;
        int expectedCurrent, expectedTopRow, expectedHighlight;
    } cases[] = {
        {"current in the list", 4, 4, 3, 4},
        {"newest of its region replaces it", 1, 4, 3, 4},
        {"nothing of its region: scroll stays", 7, 7, 5, 7},
        {"beyond the data: scroll stays", 50, 50, 5, 50},
        {"negative: scroll stays", -1, -1, 5, -1},
    };
    for (const Case& c : cases) {
        LoadCatalogue(records);
        OpenConditions();
        AppSettings.magMin = 2;
        ApplyConditions();
        gConditionList.topRow = 5;
        gCurrentRecord = c.current;
        LocateCurrent(&gConditionList);
        EXPECT_EQ(gCurrentRecord, c.expectedCurrent) << c.what;
        EXPECT_EQ(gConditionList.topRow, c.expectedTopRow) << c.what;
        EXPECT_EQ(gConditionList.highlight, c.expectedHighlight) << c.what;
    }
}

TEST(LocateCurrent, FollowsTheDisplayOrder) {
    // After a magnitude sort the first record of region 3 in display order is
    // the strongest one, record 6.
    LoadCatalogue({DayRec(0, 5, 30), DayRec(1, 3, 10), DayRec(2, 3, 31), DayRec(3, 5, 30),
                   DayRec(4, 5, 30), DayRec(5, 5, 30), DayRec(6, 3, 55)});
    OpenConditions();
    AppSettings.magMin = 2;
    ApplyConditions();
    SortList(&gConditionList, SORT_MAGNITUDE);
    gCurrentRecord = 1;
    LocateCurrent(&gConditionList);
    EXPECT_EQ(gCurrentRecord, 6);
    EXPECT_EQ(gConditionList.topRow, 0);
}

TEST(LocateCurrent, EmptyListKeepsTheScroll) {
    LoadCatalogue({DayRec(0, 5, 30)});
    OpenConditions();
    AppSettings.magMin = 9;
    ApplyConditions();
    gConditionList.topRow = 3;
    gCurrentRecord = 0;
    LocateCurrent(&gConditionList);
    EXPECT_EQ(gConditionList.topRow, 3);
    EXPECT_EQ(gConditionList.highlight, 0);
    EXPECT_EQ(gCurrentRecord, 0);
}

TEST(RefreshRegionList, CurrentRecordBeyondTheDataGivesAnEmptyList) {
    LoadCatalogue({DayRec(0, 5, 30), DayRec(1, 0, 30)});
    OpenConditions();
    ApplyConditions();
    gRegionListTitleHook = RecordTitle;
    for (int current : {2, 199999, 200000, -5}) {
        gCurrentRecord = current;
        RefreshRegionList();
        EXPECT_EQ(gRegionList.count, 0) << current;
        EXPECT_EQ(gRegionList.entries[0].recordIndex, -1) << current;
        std::string expected;
        ASSERT_EQ(Utf8ToSjis(" 設定条件地震一覧", &expected), 0);
        EXPECT_EQ(gTitle, expected);
    }
}

}  // namespace
