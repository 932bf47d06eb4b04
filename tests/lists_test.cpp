// The filter's bounds, the lists' sorting by hand and against the literal
// twins, and the scroll thumb.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/pipeline/pipeline.h"
#include "engine/controls/list_scroll.h"
#include "engine/selection/conditions.h"
#include "engine/selection/lists.h"
#include "engine/selection/selection.h"
#include "engine/selection/sorting.h"
#include "literal_lists.h"
#include "random_catalogue.h"
#include "test_util.h"

namespace {

std::vector<int> Display(const RecordList& list) {
    std::vector<int> out;
    for (int p = list.first; p < list.end; p++) out.push_back(list.entries[p].displayIndex);
    return out;
}

TEST(Filter, PeriodBoundsAreInclusiveToTheMinute) {
    // Records newest first; the period 2024-03-05 12:30 .. 2024-03-10 08:15.
    LoadCatalogue({Rec(2024, 3, 10, 8, 16, 300, 100, 10, 1, 30, 1), Rec(2024, 3, 10, 8, 15, 300, 100, 10, 1, 30, 1),
                   Rec(2024, 3, 7, 0, 0, 300, 100, 10, 1, 30, 1), Rec(2024, 3, 5, 12, 30, 300, 100, 10, 1, 30, 1),
                   Rec(2024, 3, 5, 12, 29, 300, 100, 10, 1, 30, 1), Rec(2024, 3, 4, 23, 59, 300, 100, 10, 1, 30, 1)});
    SetPeriod({2024, 3, 5, 12, 30}, {2024, 3, 10, 8, 15});
    std::vector<int> outside;
    for (int i = 0; i < 6; i++) outside.push_back(IsOutsidePeriod(i));
    EXPECT_EQ(outside, std::vector<int>({1, 0, 0, 0, 1, 1}));
    // Fields beyond their ranges still compare as numbers: month 13 lies after December.
    SetPeriod({2024, 13, 1, 0, 0}, {2025, 1, 1, 0, 0});
    EXPECT_TRUE(IsOutsidePeriod(0) == 1 && IsOutsidePeriod(-1) != 0 && IsOutsidePeriod(kMaxRecords) != 0);
}

TEST(Filter, RangesAreInclusive) {
    std::vector<QuakeRecord> records;   // magnitude 5.9 .. 7.1 and depth 0 .. 50, one apart
    const int mags[] = {59, 60, 61, 69, 70, 71};
    for (int i = 0; i < 6; i++) records.push_back(Rec(2024, 5, 1, 0, 9 - i, 300, 100, 10 * i, 1 + i % 2, mags[i], i));
    struct Case {
        int magMin, magMax, depthMin, depthMax, intMin, intMax;
        std::vector<int> expected;
    } cases[] = {
        {6, 6, 0, 999, 0, 9, {1}}, {6, 7, 0, 999, 0, 9, {1, 2, 3, 4}}, {0, 9, 10, 30, 0, 9, {1, 2, 3}},
        {0, 9, 0, 999, 2, 3, {2, 3}},    {0, 9, 0, 999, 5, 4, {}},
    };
    for (const Case& c : cases) {
        LoadCatalogue(records);
        SettingsBlock s = AppSettings;
        s.magMin = c.magMin, s.magMax = c.magMax, s.depthMin = c.depthMin, s.depthMax = c.depthMax, s.intMin = c.intMin, s.intMax = c.intMax;
        StoreConditions(s);
        SetPeriod({2000, 1, 1, 0, 0}, {2100, 1, 1, 0, 0});
        RunConditionChange();
        std::vector<int> matching;
        for (int i = 0; i < DataEnd(); i++)
            if (gpEQ[i].inFilter) matching.push_back(i);
        EXPECT_EQ(matching, c.expected) << c.magMin << "-" << c.magMax << " " << c.depthMin << "-" << c.depthMax;
        EXPECT_EQ(AppSettings.selCount, int(c.expected.size()));
    }
}

TEST(Lists, SortClicksGiveTheHandCheckedOrders) {
    // Newest first: region, magnitude, depth, intensity. Region 3 has three
    // records, 7 and 9 two each, 7 appearing first. (Depths clicked twice are
    // wolt-cli's golden list; dates reversed the literal twin's.)
    const std::vector<QuakeRecord> seven = {DayRec(0, 7, 45, 30, 3), DayRec(1, 3, 52, 10, 1), DayRec(2, 3, 45, 30, 4),
                                            DayRec(3, 7, 60, 50, 3), DayRec(4, 9, 52, 10, 1), DayRec(5, 9, 38, 70, 4),
                                            DayRec(6, 3, 45, 30, 2)};
    struct Case {
        std::vector<int> clicks, display;
    } cases[] = {
        {{SORT_DEPTH}, {5, 3, 0, 2, 6, 1, 4}},   // deepest first, ties newest first
        {{SORT_DEPTH, SORT_DEPTH, SORT_DEPTH}, {0, 1, 2, 3, 4, 5, 6}},
        {{SORT_MAGNITUDE}, {3, 1, 4, 0, 2, 6, 5}},
        {{SORT_INTENSITY, SORT_INTENSITY}, {1, 4, 6, 0, 3, 2, 5}},
        {{SORT_REGION}, {1, 2, 6, 0, 3, 4, 5}},   // most frequent first, equal counts by first appearance
        {{SORT_REGION, SORT_REGION}, {0, 3, 4, 5, 1, 2, 6}},
        {{SORT_DEPTH, SORT_MAGNITUDE, SORT_DEPTH}, {1, 4, 0, 2, 6, 3, 5}},   // each column keeps its own state
        {{SORT_DEPTH, 0, 6}, {5, 3, 0, 2, 6, 1, 4}},                          // unknown columns change nothing
    };
    for (const Case& c : cases) {
        LoadCatalogue(seven);
        OpenConditions();
        RunConditionChange();
        gConditionList.highlight = 2;
        for (int column : c.clicks) SortList(&gConditionList, column);
        EXPECT_EQ(Display(gConditionList), c.display) << c.clicks[0] << " x" << c.clicks.size();
        // The highlighted record becomes the top row.
        EXPECT_EQ(gConditionList.topRow, std::find(c.display.begin(), c.display.end(), 2) - c.display.begin());
    }
    for (int column = SORT_DATE; column <= SORT_INTENSITY; column++) SortList(&gConditionList, column);
    RefreshConditionList();   // a refresh shows the stored order: every column's state starts again
    const RecordList& l = gConditionList;
    EXPECT_EQ(std::vector<int>({l.dateOrder, l.regionOrder, l.depthOrder, l.magOrder, l.intensityOrder}),
              std::vector<int>(5, 0));
}

// The same clicks on the list and on a copy sorted by the literal selection.
void CompareSorts(RecordList* list, const std::vector<int>& clicks) {
    std::vector<ListEntry> copy(list->entries, list->entries + std::max(list->end + 1, 1));
    RecordList literal = *list;
    literal.entries = copy.data();
    for (size_t k = 0; k < clicks.size(); k++) {
        SortList(list, clicks[k]);
        LiteralSortList(&literal, clicks[k]);
        ASSERT_EQ(Display(*list), Display(literal)) << "click " << k << " column " << clicks[k];
        for (int p = list->first; p < list->end; p++) ASSERT_EQ(list->entries[p].placed, literal.entries[p].placed);
        ASSERT_EQ(list->topRow, literal.topRow);
    }
}

TEST(Lists, FillsCountsAndSortsMatchTheLiteralTwins) {
    std::mt19937 random(7);
    for (int round = 0; round < 30; round++) {
        int n = round < 2 ? round : int(random() % 3000);
        auto records = RandomCatalogue(random, n, 1 + int(random() % (round % 5 ? 287 : 3)));
        if (round == 29)   // more regions than the table holds: the rest take no slot and no position
            for (int i = 0; i < n; i++) records[i].regionIndex = uint16_t(i * 7 % 320);
        LoadCatalogue(records);
        OpenConditions();
        RunConditionChange();   // a longer list first, so stale entries lie behind the new end
        SetSetting(&SettingsBlock::magMin, int(random() % 4));
        SetSetting(&SettingsBlock::depthMax, 100 + int(random() % 200));
        SelectRecord(n > 0 ? int(random() % n) : 0, SELECT_AFTER_FILTER);
        RunConditionChange();

        for (RecordList* list : {&gConditionList, &gRegionList}) {
            std::vector<ListEntry> fill;
            int count = LiteralFill(&fill, list == &gRegionList && n > 0 ? gpEQ[gCurrentRecord].regionIndex : -1);
            ASSERT_EQ(list->count, count) << "round " << round;
            for (int p = 0; p < count; p++) {
                ASSERT_EQ(list->entries[p].recordIndex, fill[p].recordIndex) << p;
                ASSERT_EQ(list->entries[p].displayIndex, fill[p].displayIndex) << p;
            }
            ASSERT_EQ(list->entries[count].recordIndex, -1);
        }
        RecordList counted = gConditionList;
        ASSERT_EQ(gConditionList.regionsUsed, LiteralCountRegions(&counted));
        for (int s = 0; s < 300; s++) {
            ASSERT_EQ(gConditionList.regionCounts[s].count, counted.regionCounts[s].count) << s;
            ASSERT_EQ(gConditionList.regionCounts[s].regionIndex, counted.regionCounts[s].regionIndex) << s;
        }
        gConditionList.highlight = n > 0 ? int(random() % n) : 0;
        std::vector<int> clicks;
        for (int k = 0; k < 14; k++)
            for (int r = 1 + int(random() % 3), column = 1 + int(random() % 5); r > 0; r--) clicks.push_back(column);
        CompareSorts(&gConditionList, clicks);
        clicks.erase(std::remove(clicks.begin(), clicks.end(), int(SORT_REGION)), clicks.end());
        CompareSorts(&gRegionList, clicks);
    }
}

// The condition list shows 24 rows: keys and the wheel stop with the last record on the last row.
TEST(ListScroll, KeysStopAtTheLastPage) {
    struct Case {
        int count, topRow;
        ListKey key;
        int expected;
    } cases[] = {
        {30, 5, LIST_KEY_DOWN, 6}, {30, 6, LIST_KEY_DOWN, 6},      {30, 0, LIST_KEY_PAGE_DOWN, 6},
        {30, 3, LIST_KEY_PAGE_UP, 0}, {10, 0, LIST_KEY_DOWN, 0},   {0, 0, LIST_KEY_PAGE_DOWN, 0},
    };
    for (const Case& c : cases) {
        RecordList list{};
        list.count = c.count, list.topRow = c.topRow;
        ScrollByKey(kConditionListLayout, &list, c.key);
        EXPECT_EQ(list.topRow, c.expected) << c.count << " at " << c.topRow << " key " << c.key;
    }
}

TEST(ListScroll, ThumbRects) {
    struct Case {
        const ListLayout* layout;
        int count, topRow;
        ListRect thumb;
    } cases[] = {
        {&kConditionListLayout, 0, 0, {465, 22, 484, 432}},      // empty: pinned over the track
        {&kConditionListLayout, 30, 0, {465, 21, 484, 431}},     // not yet pinned
        {&kConditionListLayout, 30, 6, {465, 22, 484, 432}},     // the last page: pinned
        {&kConditionListLayout, 72, 24, {465, 157, 484, 362}},   // two extra pages: half the track
        {&kConditionListLayout, 82, 24, {465, 140, 484, 345}},   // single precision: 119, not 120
        {&kConditionListLayout, 200000, 199975, {465, 421, 484, 431}},
        {&kRegionListLayout, 500, 123, {277, 184, 296, 239}},
    };
    for (const Case& c : cases) {
        ListRect r = ThumbRect(*c.layout, c.count, c.topRow);
        EXPECT_EQ(std::vector<int>({r.left, r.top, r.right, r.bottom}),
                  std::vector<int>({c.thumb.left, c.thumb.top, c.thumb.right, c.thumb.bottom}))
            << c.count << " at " << c.topRow;
    }
}

}  // namespace
