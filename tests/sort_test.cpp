// Sorting the lists by a header click: the hand-checked orders of every
// column, and the fast sort against the literal stable selection.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "analysis_fixture.h"
#include "literal_lists.h"
#include "random_catalogue.h"

namespace {

std::vector<int> Display(const RecordList& list) {
    std::vector<int> out;
    for (int p = list.first; p < list.end; p++) out.push_back(list.entries[p].displayIndex);
    return out;
}

// Seven records, newest first: region, magnitude, depth, intensity.
void LoadSeven() {
    LoadCatalogue({DayRec(0, 7, 45, 30, 3), DayRec(1, 3, 52, 10, 1), DayRec(2, 3, 45, 30, 4),
                   DayRec(3, 7, 60, 50, 3), DayRec(4, 9, 52, 10, 1), DayRec(5, 9, 38, 70, 4),
                   DayRec(6, 3, 45, 30, 2)});
    OpenConditions();
    ApplyConditions();
}

TEST(SortList, ClicksGiveTheHandCheckedOrders) {
    struct Case {
        const char* what;
        std::vector<int> clicks;
        std::vector<int> display;
    } cases[] = {
        {"date once: oldest first", {SORT_DATE}, {6, 5, 4, 3, 2, 1, 0}},
        {"date twice: as built", {SORT_DATE, SORT_DATE}, {0, 1, 2, 3, 4, 5, 6}},
        {"depth once: deepest first, ties newest first", {SORT_DEPTH}, {5, 3, 0, 2, 6, 1, 4}},
        {"depth twice: shallowest first, ties newest first", {SORT_DEPTH, SORT_DEPTH},
         {1, 4, 0, 2, 6, 3, 5}},
        {"depth three times: as built", {SORT_DEPTH, SORT_DEPTH, SORT_DEPTH}, {0, 1, 2, 3, 4, 5, 6}},
        {"magnitude once", {SORT_MAGNITUDE}, {3, 1, 4, 0, 2, 6, 5}},
        {"magnitude twice", {SORT_MAGNITUDE, SORT_MAGNITUDE}, {5, 0, 2, 6, 1, 4, 3}},
        {"intensity once", {SORT_INTENSITY}, {2, 5, 0, 3, 6, 1, 4}},
        {"intensity twice", {SORT_INTENSITY, SORT_INTENSITY}, {1, 4, 6, 0, 3, 2, 5}},
        // Region 3 has three records; 7 and 9 two each, 7 appearing first.
        {"region once: most frequent first", {SORT_REGION}, {1, 2, 6, 0, 3, 4, 5}},
        {"region twice: least frequent first", {SORT_REGION, SORT_REGION}, {0, 3, 4, 5, 1, 2, 6}},
        {"only the clicked column decides", {SORT_DEPTH, SORT_MAGNITUDE}, {3, 1, 4, 0, 2, 6, 5}},
        {"states advance separately", {SORT_DEPTH, SORT_MAGNITUDE, SORT_DEPTH},
         {1, 4, 0, 2, 6, 3, 5}},
    };
    for (const Case& c : cases) {
        LoadSeven();
        for (int column : c.clicks) SortList(&gConditionList, column);
        EXPECT_EQ(Display(gConditionList), c.display) << c.what;
    }
}

TEST(SortList, HighlightedRecordBecomesTheTopRow) {
    LoadSeven();
    gConditionList.highlight = 2;
    SortList(&gConditionList, SORT_DEPTH);      // 5 3 0 2 6 1 4
    EXPECT_EQ(gConditionList.topRow, 3);
    SortList(&gConditionList, SORT_DATE);       // 6 5 4 3 2 1 0
    EXPECT_EQ(gConditionList.topRow, 4);
    gConditionList.highlight = 99;              // not listed: the scroll stays
    SortList(&gConditionList, SORT_MAGNITUDE);
    EXPECT_EQ(gConditionList.topRow, 4);
}

TEST(SortList, EmptyAndSingleLists) {
    for (int column = SORT_DATE; column <= SORT_INTENSITY; column++) {
        LoadSeven();
        AppSettings.magMin = 9;
        ApplyConditions();
        gConditionList.topRow = 6;
        for (int click = 0; click < 3; click++) SortList(&gConditionList, column);
        EXPECT_EQ(gConditionList.topRow, 6) << column;
        EXPECT_EQ(gConditionList.count, 0);

        LoadSeven();
        AppSettings.magMin = 6;   // record 3 only
        ApplyConditions();
        for (int click = 0; click < 3; click++) {
            SortList(&gConditionList, column);
            EXPECT_EQ(Display(gConditionList), std::vector<int>({3})) << column;
            EXPECT_EQ(gConditionList.topRow, 0);
        }
    }
}

TEST(SortList, UnknownColumnsChangeNothing) {
    LoadSeven();
    SortList(&gConditionList, SORT_DEPTH);
    for (int column : {0, 6, -1}) {
        SortList(&gConditionList, column);
        EXPECT_EQ(Display(gConditionList), std::vector<int>({5, 3, 0, 2, 6, 1, 4}));
    }
    EXPECT_EQ(gConditionList.depthOrder, 1);
}

TEST(SortList, RefreshResetsEveryState) {
    LoadSeven();
    for (int column = SORT_DATE; column <= SORT_INTENSITY; column++) SortList(&gConditionList, column);
    RefreshConditionList();
    const RecordList& l = gConditionList;
    EXPECT_EQ(l.dateOrder + l.regionOrder + l.depthOrder + l.magOrder + l.intensityOrder, 0);
    EXPECT_EQ(Display(l), std::vector<int>({0, 1, 2, 3, 4, 5, 6}));
}

// Runs the same clicks on the list and on a copy sorted by the literal
// algorithm, comparing everything the sort writes after every click.
void CompareWithLiteral(RecordList* list, const std::vector<int>& clicks, const char* label) {
    std::vector<ListEntry> copy(list->entries, list->entries + std::max(list->end + 1, 1));
    RecordList literal = *list;
    literal.entries = copy.data();
    for (size_t k = 0; k < clicks.size(); k++) {
        SortList(list, clicks[k]);
        LiteralSortList(&literal, clicks[k]);
        ASSERT_EQ(Display(*list), Display(literal)) << label << " click " << k << " column " << clicks[k];
        for (int p = list->first; p < list->end; p++)
            ASSERT_EQ(list->entries[p].placed, literal.entries[p].placed) << label << " position " << p;
        ASSERT_EQ(list->topRow, literal.topRow) << label;
        ASSERT_EQ(std::vector<int>({list->dateOrder, list->regionOrder, list->depthOrder,
                                    list->magOrder, list->intensityOrder}),
                  std::vector<int>({literal.dateOrder, literal.regionOrder, literal.depthOrder,
                                    literal.magOrder, literal.intensityOrder}));
    }
}

TEST(SortList, MatchesTheLiteralSelectionOnRandomLists) {
    std::mt19937 random(2024);
    for (int round = 0; round < 40; round++) {
        int n = round < 2 ? round : int(random() % 4000);   // empty and one-record catalogues too
        int regions = 1 + int(random() % (round % 5 == 0 ? 3 : 287));
        LoadCatalogue(RandomCatalogue(random, n, regions, 1 + int(random() % 4000)));
        OpenConditions();
        AppSettings.magMin = int(random() % 3);
        AppSettings.depthMax = 100 + int(random() % 200);
        gCurrentRecord = n > 0 ? int(random() % n) : 0;
        ApplyConditions();
        gConditionList.highlight = n > 0 ? int(random() % n) : 0;
        gConditionList.topRow = int(random() % 50);

        std::vector<int> clicks;
        for (int k = 0; k < 14; k++) {
            int column = 1 + int(random() % 5);
            int repeat = 1 + int(random() % 3);   // repeated clicks walk through the states
            for (int r = 0; r < repeat; r++) clicks.push_back(column);
        }
        CompareWithLiteral(&gConditionList, clicks, "condition list");
        std::vector<int> regionClicks;
        for (int column : clicks)
            if (column != SORT_REGION) regionClicks.push_back(column);
        CompareWithLiteral(&gRegionList, regionClicks, "region list");
    }
}

TEST(SortList, RegionColumnWithMoreRegionsThanSlots) {
    // 320 regions: the table holds the first 300, the rest take no position,
    // exactly as in the literal selection.
    std::vector<QuakeRecord> records;
    for (int i = 0; i < 900; i++) records.push_back(DayRec(i % 20, (i * 7) % 320, 30 + i % 5));
    LoadCatalogue(records);
    OpenConditions();
    ApplyConditions();
    ASSERT_EQ(gConditionList.regionsUsed, 300);
    CompareWithLiteral(&gConditionList, {SORT_REGION, SORT_REGION, SORT_REGION, SORT_REGION},
                       "320 regions");
}

}  // namespace
