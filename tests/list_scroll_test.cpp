// The list windows' arithmetic: keys and wheel, the thumb, arrow auto-repeat
// and thumb dragging, header clicks, row picking and the texts drawn.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "analysis_fixture.h"
#include "platform/platform.h"
#include "windows/list_scroll.h"

namespace {

// n records of region 1 (or the regions given in turn), newest first, all matching.
void LoadList(int n, const std::vector<int>& regions = {1}) {
    std::vector<QuakeRecord> records;
    for (int i = 0; i < n; i++)
        records.push_back(Rec(2024, 6, 20 - i / 100, 23 - i / 10 % 10, 59 - i % 10 * 5, 300, 100, 10 + i % 7 * 10,
                              regions[i % regions.size()], 30 + i % 40, 1 + i % 5));
    LoadCatalogue(records);
    OpenConditions();
    ApplyConditions();
}

ListControls MouseAt(const ListLayout& layout, int x, int y) {
    ListControls c{};
    MoveMouse(&c, layout, x, y);
    return c;
}

std::vector<int> DisplayOrder(const RecordList& list) {
    std::vector<int> out;
    for (int p = list.first; p < list.end; p++) out.push_back(list.entries[p].displayIndex);
    return out;
}

TEST(ListScroll, KeysWheelAndCounter) {
    const ListLayout *one = &kConditionListLayout, *two = &kRegionListLayout;
    struct Case {
        const ListLayout* layout;
        int count, topRow;
        std::vector<int> keys;   // ListKey, or 100 + wheel delta / 120
        int expectTop;
        const char* counter;
    } cases[] = {
        {one, 30, 0, {LIST_KEY_PAGE_DOWN, LIST_KEY_DOWN}, 6, "該当件数:  30 [    7 -   30 ]"},
        {two, 50, 0, {LIST_KEY_PAGE_DOWN}, 12, "  50 [   13 -   50 ]"},
        {one, 0, 0, {LIST_KEY_PAGE_DOWN}, 0, "該当件数:   0 [    1 -   24 ]"},
        {one, 1000, 0, {LIST_KEY_PAGE_DOWN, LIST_KEY_PAGE_DOWN, LIST_KEY_UP, LIST_KEY_PAGE_UP, LIST_KEY_DOWN}, 24,
         "該当件数:1000 [   25 -   48 ]"},
        {one, 1000, 10, {LIST_KEY_PAGE_UP, LIST_KEY_UP}, 0, "該当件数:1000 [    1 -   24 ]"},
        {one, 1000, 10, {101, 101, 99, 100, 100, 100}, 12, "該当件数:1000 [   13 -   36 ]"},   // 0 counts as down
    };
    for (const Case& c : cases) {
        LoadList(c.count);
        RecordList* list = LayoutList(*c.layout);
        list->topRow = c.topRow;
        for (int key : c.keys) {
            if (key >= 90)
                ScrollByWheel(*c.layout, list, (key - 100) * 120);
            else
                ScrollByKey(*c.layout, list, ListKey(key));
        }
        EXPECT_EQ(list->topRow, c.expectTop) << c.counter;
        char counter[64];
        FormatCounter(*c.layout, *list, counter, sizeof counter);
        EXPECT_EQ(std::string(counter), c.counter);
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

TEST(ListScrollBar, HeldArrowsAndTheDraggedThumb) {
    LoadList(1);
    RecordList* list = &gConditionList;
    list->count = 200000;   // only the count matters to the scroll arithmetic
    ListControls c = MouseAt(kConditionListLayout, 470, 440);
    const int checks[][2] = {{5, 0}, {6, 1}, {12, 3}, {18, 6}, {24, 10}, {1200, 20100}, {1206, 20300}};
    int call = 0;
    for (const auto& check : checks) {
        while (call < check[0]) {
            ScrollBarStep(&c, kConditionListLayout, list, 1);
            call++;
        }
        EXPECT_EQ(list->topRow, check[1]) << "call " << call;
    }
    StepScrollArrow(&c, kConditionListLayout, list, 470, 440);   // released over the arrow: one more row
    EXPECT_EQ(list->topRow, 20301);
    // The up arrow stops at the top.
    LoadList(300);
    gRegionList.topRow = 4;
    c = MouseAt(kRegionListLayout, 280, 10);
    for (int i = 0; i < 18; i++) ScrollBarStep(&c, kRegionListLayout, &gRegionList, 1);
    EXPECT_EQ(gRegionList.topRow, 0);
    // Dragging the thumb of 1000 entries: 41 positions of 24 rows.
    LoadList(1000);
    ListControls drag{};
    const int moves[][3] = {{470, 216, 480}, {300, 25, 0}, {300, 26, 24}, {300, 1000, 976}, {-50, -400, 0}};
    for (const auto& m : moves) {
        MoveMouse(&drag, kConditionListLayout, m[0], m[1]);
        ScrollBarStep(&drag, kConditionListLayout, &gConditionList, 1);
        EXPECT_EQ(drag.scrollHover, SCROLL_TRACK);
        EXPECT_EQ(gConditionList.topRow, m[2]) << m[0] << "," << m[1];
    }
}

TEST(ListHeader, CellsAndClicks) {
    const int cells[][4] = {{0, 131, 19, 1}, {0, 132, 10, 0}, {0, 133, 10, 2}, {0, 462, 10, 5}, {0, 10, 20, 0},
                            {1, 178, 10, 2}, {1, 179, 10, 0}, {1, 227, 10, 4}};   // list, x, y, cell
    for (const auto& c : cells)
        EXPECT_EQ(HeaderCellAt(c[0] ? kRegionListLayout : kConditionListLayout, c[1], c[2]), c[3]) << c[1] << "," << c[2];
    // The depth header three times in either window: deepest first, shallowest first, as built.
    for (const ListLayout* layout : {&kConditionListLayout, &kRegionListLayout}) {
        LoadCatalogue({DayRec(0, 1, 40, 30), DayRec(1, 1, 40, 50), DayRec(2, 1, 40, 10), DayRec(3, 1, 40, 50),
                       DayRec(4, 1, 40, 30)});
        OpenConditions();
        ApplyConditions();
        RecordList* list = LayoutList(*layout);
        const int depthX = layout->headerHitX[layout->regionList ? 1 : 2].low + 2;
        for (const std::vector<int>& order : {std::vector<int>{1, 3, 0, 4, 2}, {2, 0, 4, 1, 3}, {0, 1, 2, 3, 4}}) {
            ListControls c = MouseAt(*layout, depthX, 10);
            TrackHeader(&c, *layout, list, HEADER_PRESS);
            TrackHeader(&c, *layout, list, HEADER_RELEASE);
            EXPECT_EQ(DisplayOrder(*list), order) << layout->page;
        }
        // Pressed on the depth cell, released on the magnitude cell: nothing.
        ListControls c = MouseAt(*layout, depthX, 10);
        TrackHeader(&c, *layout, list, HEADER_PRESS);
        MoveMouse(&c, *layout, layout->headerHitX[layout->regionList ? 2 : 3].low + 2, 10);
        TrackHeader(&c, *layout, list, HEADER_HOVER);
        TrackHeader(&c, *layout, list, HEADER_RELEASE);
        EXPECT_EQ(DisplayOrder(*list), std::vector<int>({0, 1, 2, 3, 4}));
    }
}

TEST(ListRows, PickingARow) {
    struct Case {
        const ListLayout* layout;
        int count, topRow, y, record;   // -1 nothing
    } cases[] = {
        {&kConditionListLayout, 5, 0, 25, 0},  {&kConditionListLayout, 5, 0, 20 + 5 * 18 + 1, -1},
        {&kConditionListLayout, 5, 0, 19, -1}, {&kConditionListLayout, 100, 40, 20 + 3 * 18, 43},
        {&kConditionListLayout, 100, 0, 451, 23}, {&kConditionListLayout, 100, 0, 452, -1},
        {&kConditionListLayout, 30, 29, 25, 6},   // a stale topRow is clamped as drawn
        {&kRegionListLayout, 50, 12, 20 + 37 * 18, 49},
    };
    for (const Case& c : cases) {
        LoadList(c.count);
        RecordList* list = LayoutList(*c.layout);
        list->topRow = c.topRow;
        EXPECT_EQ(RecordAtRow(*c.layout, *list, c.y), c.record) << c.count << " " << c.topRow << " " << c.y;
    }
}

std::string sTitle;
void RecordTitle(const char* sjis) { sTitle = sjis; }

TEST(ListRows, ClicksMoveTheSelectionBetweenTheLists) {
    LoadList(60, {1, 2, 3});   // record 4 lies in region 2
    std::string name, suffix;
    ASSERT_EQ(Utf8ToSjis("能登半島沖", &name) + Utf8ToSjis(" 設定条件地震一覧", &suffix), 0);
    std::memcpy(RegionTable[2].name, name.c_str(), name.size() + 1);
    gRegionListTitleHook = RecordTitle;
    gConditionList.topRow = 2;
    ListControls c = MouseAt(kConditionListLayout, 100, 20 + 2 * 18 + 5);   // position 4
    EXPECT_EQ(SelectRowAt(&c, kConditionListLayout, &gConditionList, 0), -1);   // inactive window
    EXPECT_EQ(SelectRowAt(&c, kConditionListLayout, &gConditionList, 1), 4);
    EXPECT_EQ(std::vector<int>({gCurrentRecord, AppSettings.selFirst, gConditionList.highlight, gRegionList.count,
                                gRegionList.entries[0].displayIndex, gRegionList.highlight, gRegionList.topRow}),
              std::vector<int>({4, 4, 4, 20, 1, 4, 1}));
    EXPECT_EQ(sTitle, name + suffix);
    gRegionListTitleHook = nullptr;
    // A row of the second list: located in the first, the second is not rebuilt.
    c = MouseAt(kRegionListLayout, 100, 20 + 5 * 18 + 3);   // position 5 of region 2: record 16
    EXPECT_EQ(SelectRowAt(&c, kRegionListLayout, &gRegionList, 1), 16);
    EXPECT_EQ(std::vector<int>({gCurrentRecord, gRegionList.highlight, gConditionList.highlight,
                                gConditionList.topRow, gRegionList.count}),
              std::vector<int>({16, 16, 16, 16, 20}));
}

TEST(ListRows, RowsToDrawAndTheirTexts) {
    LoadList(30);
    AppSettings.depthMin = AppSettings.depthMax = 20;   // refills only the first entries
    ApplyConditions();
    gConditionList.topRow = 3;
    int records[kMaxListPage];
    ASSERT_EQ(RowsToDraw(kConditionListLayout, &gConditionList, records), 5);
    EXPECT_EQ(gConditionList.topRow, 0);   // clamped and kept
    for (int i = 0; i < 5; i++) EXPECT_EQ(records[i], 1 + 7 * i);

    LoadCatalogue({Rec(2024, 3, 5, 7, 9, 300, 100, 10, 2, 60, 4), Rec(1970, 1, 1, 0, 0, 300, 100, 650, 3, 5, 1)});
    std::string noto;
    ASSERT_EQ(Utf8ToSjis("能登半島沖", &noto), 0);
    std::memcpy(RegionTable[2].name, noto.c_str(), noto.size() + 1);
    char text[128];
    FormatListRow(kConditionListLayout, gpEQ[0], text, sizeof text);
    EXPECT_EQ(std::string(text), "2024/03/05 07:09 " + std::string(10, ' ') + noto + "    10  6.0");
    FormatListRow(kConditionListLayout, gpEQ[1], text, sizeof text);
    EXPECT_EQ(std::string(text), "1970/01/01 00:00                   R3   650  0.5");
    FormatListRow(kRegionListLayout, gpEQ[0], text, sizeof text);
    EXPECT_EQ(std::string(text), "2024/03/05 07:09    10  6.0");
}

}  // namespace
