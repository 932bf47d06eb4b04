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

// n records of region 1 (or the regions given), newest first, every one matching.
void LoadList(int n, const std::vector<int>& regions = {}) {
    std::vector<QuakeRecord> records;
    for (int i = 0; i < n; i++) {
        int region = regions.empty() ? 1 : regions[i % regions.size()];
        records.push_back(Rec(2024, 6, 20 - i / 100, 23 - i / 10 % 10, 59 - i % 10 * 5, 300, 100,
                              10 + i % 7 * 10, region, 30 + i % 40, 1 + i % 5));
    }
    LoadCatalogue(records);
    OpenConditions();
    ApplyConditions();
}

ListControls MouseAt(const ListLayout& layout, int x, int y) {
    ListControls c{};
    MoveMouse(&c, layout, x, y);
    return c;
}

std::string Sjis(const char* utf8) {
    std::string out;
    EXPECT_EQ(Utf8ToSjis(utf8, &out), 0) << utf8;
    return out;
}

TEST(ListLayout, RowsFitTheFrameAndHeaderCellsDoNotOverlap) {
    for (const ListLayout* layout : {&kConditionListLayout, &kRegionListLayout}) {
        ListRect text, fill;
        RowBands(*layout, layout->page - 1, &text, &fill);
        EXPECT_LE(fill.bottom, layout->rowFrame.bottom) << layout->page;
        EXPECT_LE(fill.right, layout->rowFrame.right) << layout->page;
        RowBands(*layout, layout->page, &text, &fill);
        EXPECT_GT(fill.bottom, layout->rowFrame.bottom) << "a further row would not fit";
        for (int i = 0; i < layout->columns; i++) {
            const ListSpan& hit = layout->headerHitX[i];
            EXPECT_LE(hit.low, hit.high);
            EXPECT_GE(hit.low, layout->headerTextRects[i].left);
            EXPECT_LE(hit.high, layout->headerTextRects[i].right);
            if (i > 0) {
                EXPECT_GT(hit.low, layout->headerHitX[i - 1].high);
            }
        }
    }
}

TEST(ListScroll, KeysWheelAndCounter) {
    struct Case {
        const char* what;
        const ListLayout* layout;
        int count, topRow;
        std::vector<int> keys;   // ListKey, or 100 + wheel delta / 120
        int expectTop;
        const char* counter;
    } cases[] = {
        {"30 entries: Page Down shows rows 7 to 30", &kConditionListLayout, 30, 0, {LIST_KEY_PAGE_DOWN}, 6,
         "該当件数:  30 [    7 -   30 ]"},
        {"30 entries: a further Down does not move", &kConditionListLayout, 30, 0,
         {LIST_KEY_PAGE_DOWN, LIST_KEY_DOWN}, 6, "該当件数:  30 [    7 -   30 ]"},
        {"second list, 50 entries: Page Down shows rows 13 to 50", &kRegionListLayout, 50, 0,
         {LIST_KEY_PAGE_DOWN}, 12, "  50 [   13 -   50 ]"},
        {"empty list: 0 matches, rows 1 to 24", &kConditionListLayout, 0, 0,
         {LIST_KEY_PAGE_DOWN, LIST_KEY_DOWN}, 0, "該当件数:   0 [    1 -   24 ]"},
        {"empty second list: rows 1 to 38", &kRegionListLayout, 0, 0, {LIST_KEY_DOWN}, 0,
         "   0 [    1 -   38 ]"},
        {"short list stays at the top", &kConditionListLayout, 10, 0, {LIST_KEY_PAGE_DOWN}, 0,
         "該当件数:  10 [    1 -   24 ]"},
        {"pages, rows and back", &kConditionListLayout, 1000, 0,
         {LIST_KEY_PAGE_DOWN, LIST_KEY_PAGE_DOWN, LIST_KEY_UP, LIST_KEY_PAGE_UP, LIST_KEY_DOWN}, 24,
         "該当件数:1000 [   25 -   48 ]"},
        {"Page Up stops at the top", &kConditionListLayout, 1000, 10, {LIST_KEY_PAGE_UP, LIST_KEY_UP}, 0,
         "該当件数:1000 [    1 -   24 ]"},
        {"wheel up, down, and a zero delta counts as down", &kConditionListLayout, 1000, 10,
         {101, 101, 99, 100, 100, 100}, 12, "該当件数:1000 [   13 -   36 ]"},
        {"wheel down at the end", &kRegionListLayout, 50, 12, {99}, 12, "  50 [   13 -   50 ]"},
    };
    for (const Case& c : cases) {
        LoadList(c.count);
        RecordList* list = LayoutList(*c.layout);
        ASSERT_EQ(list->count, c.count) << c.what;
        list->topRow = c.topRow;
        for (int key : c.keys) {
            if (key >= 90)
                ScrollByWheel(*c.layout, list, (key - 100) * 120);
            else
                ScrollByKey(*c.layout, list, ListKey(key));
        }
        EXPECT_EQ(list->topRow, c.expectTop) << c.what;
        char counter[64];
        FormatCounter(*c.layout, *list, counter, sizeof counter);
        EXPECT_EQ(std::string(counter), c.counter) << c.what;
    }
}

TEST(ListScroll, CounterClampsAStaleTopRowAsThePaintDoes) {
    LoadList(30);
    gConditionList.topRow = 500;   // a refresh shortened the list
    ListCounter v = CounterValues(kConditionListLayout, gConditionList);
    EXPECT_EQ(v.firstRow, 7);
    EXPECT_EQ(v.lastRow, 30);
    gConditionList.topRow = -3;
    EXPECT_EQ(CounterValues(kConditionListLayout, gConditionList).firstRow, 1);
}

TEST(ListScroll, ThumbLengthAndPosition) {
    struct Case {
        const char* what;
        const ListLayout* layout;
        int count, topRow;
        ListRect thumb;
    } cases[] = {
        {"empty list: pinned over the whole track", &kConditionListLayout, 0, 0, {465, 22, 484, 432}},
        {"empty second list: pinned", &kRegionListLayout, 0, 0, {277, 22, 296, 687}},
        {"short list", &kConditionListLayout, 10, 0, {465, 22, 484, 432}},
        {"30 entries at the top: not yet pinned", &kConditionListLayout, 30, 0, {465, 21, 484, 431}},
        {"30 entries at the end: pinned", &kConditionListLayout, 30, 6, {465, 22, 484, 432}},
        {"two extra pages: half the track", &kConditionListLayout, 72, 24, {465, 157, 484, 362}},
        {"single precision: 410 * 24 / 82 gives 119, not 120", &kConditionListLayout, 82, 24,
         {465, 140, 484, 345}},
        {"long list: the shortest thumb", &kConditionListLayout, 1000, 500, {465, 226, 484, 236}},
        {"200,000 entries one row before the end", &kConditionListLayout, 200000, 199975,
         {465, 421, 484, 431}},
        {"200,000 entries at the end: pinned", &kConditionListLayout, 200000, 199976, {465, 422, 484, 432}},
        {"second list: 665-pixel track", &kRegionListLayout, 500, 123, {277, 184, 296, 239}},
    };
    for (const Case& c : cases) {
        ListRect r = ThumbRect(*c.layout, c.count, c.topRow);
        EXPECT_EQ(r.left, c.thumb.left) << c.what;
        EXPECT_EQ(r.top, c.thumb.top) << c.what;
        EXPECT_EQ(r.right, c.thumb.right) << c.what;
        EXPECT_EQ(r.bottom, c.thumb.bottom) << c.what;
    }
}

TEST(ListScroll, ThumbLengths) {
    struct Case {
        const ListLayout* layout;
        int count, length, dragLength;
    } cases[] = {
        {&kConditionListLayout, 0, 410, 410},     {&kConditionListLayout, 24, 410, 410},
        {&kConditionListLayout, 25, 410, 10},     {&kConditionListLayout, 47, 410, 10},
        {&kConditionListLayout, 48, 410, 410},    {&kConditionListLayout, 72, 205, 205},
        {&kConditionListLayout, 1000, 10, 10},    {&kConditionListLayout, 200000, 10, 10},
        {&kRegionListLayout, 38, 665, 665},       {&kRegionListLayout, 39, 665, 10},
        {&kRegionListLayout, 76, 665, 665},       {&kRegionListLayout, 500, 55, 55},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ThumbLength(*c.layout, c.count), c.length) << c.count;
        EXPECT_EQ(DragThumbLength(*c.layout, c.count), c.dragLength) << c.count;
    }
}

TEST(ListScrollBar, HoldingTheDownArrowRepeatsWithGrowingSteps) {
    LoadList(1);
    RecordList* list = &gConditionList;
    list->count = 200000;   // only the count matters to the scroll arithmetic
    ListControls c = MouseAt(kConditionListLayout, 470, 440);
    // topRow after call n (1-based; the button-down is call 1).
    struct Check {
        int call, topRow;
    } checks[] = {{1, 0},     {5, 0},     {6, 1},     {11, 1},     {12, 3},     {17, 3},
                  {18, 6},    {24, 10},   {1199, 19900}, {1200, 20100}, {1205, 20100}, {1206, 20300},
                  {1212, 20500}};
    int call = 0;
    for (const Check& check : checks) {
        while (call < check.call) {
            ScrollBarStep(&c, kConditionListLayout, list, 1);
            call++;
            EXPECT_EQ(c.scrollHover, SCROLL_DOWN);
            EXPECT_EQ(c.scrollRepeat, 2);
        }
        EXPECT_EQ(list->topRow, check.topRow) << "call " << call;
    }
    // Released over the arrow: one more row, then the counters start again.
    StepScrollArrow(&c, kConditionListLayout, list, 470, 440);
    EXPECT_EQ(list->topRow, 20501);
    ScrollBarStep(&c, kConditionListLayout, list, 0);
    EXPECT_EQ(c.scrollRepeat, 0);
    EXPECT_EQ(c.downTicks + c.downStep, 0);
    for (int i = 0; i < 6; i++) ScrollBarStep(&c, kConditionListLayout, list, 1);
    EXPECT_EQ(list->topRow, 20502);
}

TEST(ListScrollBar, UpArrowStopsAtTheTopAndLeavingTheArrowStops) {
    LoadList(300);
    RecordList* list = &gRegionList;
    ASSERT_EQ(list->count, 300);
    list->topRow = 4;
    ListControls c = MouseAt(kRegionListLayout, 280, 10);
    for (int i = 0; i < 18; i++) ScrollBarStep(&c, kRegionListLayout, list, 1);
    EXPECT_EQ(list->topRow, 0) << "4 - 1 - 2 - 3, not below 0";
    EXPECT_EQ(c.scrollRepeat, 1);

    list->topRow = 100;
    c = MouseAt(kRegionListLayout, 280, 10);
    for (int i = 0; i < 5; i++) ScrollBarStep(&c, kRegionListLayout, list, 1);
    MoveMouse(&c, kRegionListLayout, 100, 10);   // off the arrow, button still down
    for (int i = 0; i < 12; i++) ScrollBarStep(&c, kRegionListLayout, list, 1);
    EXPECT_EQ(list->topRow, 100);
    EXPECT_EQ(c.scrollHover, SCROLL_NONE);
    EXPECT_EQ(c.scrollRepeat, 0);
    // A release away from the arrow area steps nothing.
    c = MouseAt(kRegionListLayout, 280, 10);
    ScrollBarStep(&c, kRegionListLayout, list, 1);
    StepScrollArrow(&c, kRegionListLayout, list, 296, 10);
    EXPECT_EQ(list->topRow, 100);
    StepScrollArrow(&c, kRegionListLayout, list, 295, 20);
    EXPECT_EQ(list->topRow, 99);
}

TEST(ListScrollBar, HoverAreas) {
    struct Case {
        const ListLayout* layout;
        int x, y, hover;
    } cases[] = {
        {&kConditionListLayout, 465, 0, SCROLL_UP},     {&kConditionListLayout, 485, 20, SCROLL_UP},
        {&kConditionListLayout, 464, 10, SCROLL_NONE},  {&kConditionListLayout, 486, 10, SCROLL_NONE},
        {&kConditionListLayout, 470, 21, SCROLL_TRACK}, {&kConditionListLayout, 470, 433, SCROLL_TRACK},
        {&kConditionListLayout, 470, 434, SCROLL_DOWN}, {&kConditionListLayout, 470, 454, SCROLL_DOWN},
        {&kConditionListLayout, 470, 455, SCROLL_NONE}, {&kRegionListLayout, 277, 685, SCROLL_TRACK},
        {&kRegionListLayout, 295, 686, SCROLL_DOWN},    {&kRegionListLayout, 296, 686, SCROLL_NONE},
    };
    LoadList(100);
    for (const Case& c : cases) {
        ListControls controls = MouseAt(*c.layout, c.x, c.y);
        ScrollBarStep(&controls, *c.layout, LayoutList(*c.layout), 1);
        EXPECT_EQ(controls.scrollHover, c.hover) << c.x << "," << c.y;
        // The track counts as hovered only while the button is down.
        ScrollBarStep(&controls, *c.layout, LayoutList(*c.layout), 0);
        EXPECT_EQ(controls.scrollHover, c.hover == SCROLL_TRACK ? SCROLL_NONE : c.hover) << c.x << "," << c.y;
    }
}

TEST(ListScrollBar, DraggingTheThumb) {
    struct Move {
        int x, y, topRow;
    };
    struct Case {
        const char* what;
        const ListLayout* layout;
        int count;
        std::vector<Move> moves;   // the first is the press on the track
    } cases[] = {
        {"1000 entries: 41 positions of 24 rows", &kConditionListLayout, 1000,
         {{470, 216, 480}, {300, 16, 0}, {300, 25, 0}, {300, 26, 24}, {300, 226, 504}, {300, 1000, 976},
          {-50, -400, 0}}},
        {"48 entries: one position, the whole track long", &kConditionListLayout, 48,
         {{470, 100, 0}, {470, 425, 0}, {470, 426, 24}}},
        {"30 entries: a 10-pixel thumb but no step", &kConditionListLayout, 30, {{470, 300, 0}}},
        {"second list, 500 entries: 55-pixel thumb, 12 positions of 41 rows", &kRegionListLayout, 500,
         {{280, 182, 123}, {280, 70, 0}, {280, 71, 41}, {10, 700, 462}}},
    };
    for (const Case& c : cases) {
        LoadList(c.count);
        RecordList* list = LayoutList(*c.layout);
        ListControls controls{};
        for (const Move& m : c.moves) {
            MoveMouse(&controls, *c.layout, m.x, m.y);
            ScrollBarStep(&controls, *c.layout, list, 1);
            EXPECT_EQ(controls.scrollHover, SCROLL_TRACK) << c.what << " at " << m.x << "," << m.y;
            EXPECT_EQ(list->topRow, m.topRow) << c.what << " at " << m.x << "," << m.y;
        }
        ScrollBarStep(&controls, *c.layout, list, 0);
        EXPECT_EQ(controls.scrollHover, SCROLL_NONE) << c.what << ": released off the track";
    }
}

TEST(ListHeader, CellsUnderTheMouse) {
    struct Case {
        const ListLayout* layout;
        int x, y, cell;
    } cases[] = {
        {&kConditionListLayout, 1, 1, 1},    {&kConditionListLayout, 131, 19, 1},
        {&kConditionListLayout, 132, 10, 0}, {&kConditionListLayout, 133, 10, 2},
        {&kConditionListLayout, 301, 10, 0}, {&kConditionListLayout, 302, 10, 3},
        {&kConditionListLayout, 394, 10, 4}, {&kConditionListLayout, 462, 10, 5},
        {&kConditionListLayout, 463, 10, 0}, {&kConditionListLayout, 10, 0, 0},
        {&kConditionListLayout, 10, 20, 0},  {&kRegionListLayout, 178, 10, 2},
        {&kRegionListLayout, 179, 10, 0},    {&kRegionListLayout, 226, 10, 0},
        {&kRegionListLayout, 227, 10, 4},    {&kRegionListLayout, 272, 10, 4},
        {&kRegionListLayout, 273, 10, 0},    {&kRegionListLayout, 400, 10, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HeaderCellAt(*c.layout, c.x, c.y), c.cell) << c.layout->page << ": " << c.x << "," << c.y;
}

std::vector<int> DisplayDepths(const RecordList& list) {
    std::vector<int> out;
    for (int p = list.first; p < list.end; p++) out.push_back(gpEQ[list.entries[p].displayIndex].depthKm);
    return out;
}

std::vector<int> DisplayOrder(const RecordList& list) {
    std::vector<int> out;
    for (int p = list.first; p < list.end; p++) out.push_back(list.entries[p].displayIndex);
    return out;
}

TEST(ListHeader, DepthClickedThreeTimesInEitherWindow) {
    for (const ListLayout* layout : {&kConditionListLayout, &kRegionListLayout}) {
        LoadCatalogue({Rec(2024, 6, 5, 0, 0, 300, 100, 30, 1, 40, 1), Rec(2024, 6, 4, 0, 0, 300, 100, 50, 1, 40, 1),
                       Rec(2024, 6, 3, 0, 0, 300, 100, 10, 1, 40, 1), Rec(2024, 6, 2, 0, 0, 300, 100, 50, 1, 40, 1),
                       Rec(2024, 6, 1, 0, 0, 300, 100, 30, 1, 40, 1)});
        OpenConditions();
        ApplyConditions();
        RecordList* list = LayoutList(*layout);
        int depthX = layout->headerHitX[layout->regionList ? 1 : 2].low + 2;
        const std::vector<int> expected[] = {{1, 3, 0, 4, 2}, {2, 0, 4, 1, 3}, {0, 1, 2, 3, 4}};
        for (const std::vector<int>& order : expected) {
            ListControls c = MouseAt(*layout, depthX, 10);
            TrackHeader(&c, *layout, list, HEADER_PRESS);
            EXPECT_EQ(c.pressedColumn, layout->regionList ? 2 : 3);
            TrackHeader(&c, *layout, list, HEADER_RELEASE);
            EXPECT_EQ(c.pressedColumn, 0);
            EXPECT_EQ(DisplayOrder(*list), order) << layout->page;
        }
        EXPECT_EQ(DisplayDepths(*list), (std::vector<int>{30, 50, 10, 50, 30}));
    }
}

TEST(ListHeader, ReleaseOnAnotherCellSortsNothing) {
    LoadList(50);
    RecordList* list = &gConditionList;
    const std::vector<int> asBuilt = DisplayOrder(*list);
    struct Case {
        const char* what;
        int pressX, pressY, releaseX, releaseY;
    } cases[] = {
        {"depth to magnitude", 320, 10, 370, 10},
        {"depth to the gap between cells", 320, 10, 348, 10},
        {"rows to the depth cell", 320, 100, 320, 10},
        {"depth cell to below the header", 320, 10, 320, 21},
    };
    for (const Case& c : cases) {
        ListControls controls = MouseAt(kConditionListLayout, c.pressX, c.pressY);
        TrackHeader(&controls, kConditionListLayout, list, HEADER_PRESS);
        MoveMouse(&controls, kConditionListLayout, c.releaseX, c.releaseY);
        TrackHeader(&controls, kConditionListLayout, list, HEADER_HOVER);
        TrackHeader(&controls, kConditionListLayout, list, HEADER_RELEASE);
        EXPECT_EQ(DisplayOrder(*list), asBuilt) << c.what;
        EXPECT_EQ(list->depthOrder + list->magOrder, 0) << c.what;
        EXPECT_EQ(controls.pressedColumn, 0) << c.what;
    }
}

TEST(ListRows, PickingARow) {
    struct Case {
        const char* what;
        const ListLayout* layout;
        int count, topRow, y;
        int record;   // -1 nothing
    } cases[] = {
        {"first row", &kConditionListLayout, 5, 0, 25, 0},
        {"last row of a short list", &kConditionListLayout, 5, 0, 20 + 4 * 18 + 10, 4},
        {"below the last row of a short list", &kConditionListLayout, 5, 0, 20 + 5 * 18 + 1, -1},
        {"far below", &kConditionListLayout, 5, 0, 440, -1},
        {"header row", &kConditionListLayout, 5, 0, 19, -1},
        {"scrolled", &kConditionListLayout, 100, 40, 20 + 3 * 18, 43},
        {"24th row", &kConditionListLayout, 100, 0, 451, 23},
        {"bottom lines of the 24th band are no 25th row", &kConditionListLayout, 100, 0, 452, -1},
        {"a stale topRow is clamped as drawn", &kConditionListLayout, 30, 29, 25, 6},
        {"second list, 38th row", &kRegionListLayout, 50, 12, 20 + 37 * 18, 49},
        {"second list, below its rows", &kRegionListLayout, 50, 12, 704, -1},
    };
    for (const Case& c : cases) {
        LoadList(c.count);
        RecordList* list = LayoutList(*c.layout);
        list->topRow = c.topRow;
        EXPECT_EQ(RecordAtRow(*c.layout, *list, c.y), c.record) << c.what;
    }
}

std::string sTitle;
void RecordTitle(const char* sjis) { sTitle = sjis; }

TEST(ListRows, ClickInTheFirstListRetitlesAndRefillsTheSecond) {
    // Regions 1, 2, 3 in turn: record 4 lies in region 2.
    LoadList(60, {1, 2, 3});
    std::string name;
    ASSERT_EQ(Utf8ToSjis("能登半島沖", &name), 0);
    std::memcpy(RegionTable[2].name, name.c_str(), name.size() + 1);
    gRegionListTitleHook = RecordTitle;
    gConditionList.topRow = 2;
    ListControls c = MouseAt(kConditionListLayout, 100, 20 + 2 * 18 + 5);   // position 4
    EXPECT_EQ(SelectRowAt(&c, kConditionListLayout, &gConditionList, 0), -1) << "inactive window";
    EXPECT_EQ(SelectRowAt(&c, kConditionListLayout, &gConditionList, 1), 4);
    EXPECT_EQ(gCurrentRecord, 4);
    EXPECT_EQ(AppSettings.selFirst, 4);
    EXPECT_EQ(gConditionList.highlight, 4);
    EXPECT_EQ(gRegionList.count, 20);
    EXPECT_EQ(gRegionList.entries[0].displayIndex, 1) << "region 2, newest first";
    EXPECT_EQ(gRegionList.highlight, 4);
    EXPECT_EQ(gRegionList.topRow, 1);
    EXPECT_EQ(sTitle, name + Sjis(" 設定条件地震一覧"));

    c = MouseAt(kConditionListLayout, 470, 100);   // on the scroll bar, not in the rows
    EXPECT_EQ(SelectRowAt(&c, kConditionListLayout, &gConditionList, 1), -1);
    EXPECT_EQ(gCurrentRecord, 4);
    gRegionListTitleHook = nullptr;
}

TEST(ListRows, ClickInTheSecondListLocatesTheRecordInTheFirst) {
    LoadList(90, {1, 2, 3});
    gCurrentRecord = 1;
    RefreshRegionList();
    ASSERT_EQ(gRegionList.count, 30);
    ListControls c = MouseAt(kRegionListLayout, 100, 20 + 5 * 18 + 3);   // position 5: record 16
    EXPECT_EQ(SelectRowAt(&c, kRegionListLayout, &gRegionList, 1), 16);
    EXPECT_EQ(gCurrentRecord, 16);
    EXPECT_EQ(gRegionList.highlight, 16);
    EXPECT_EQ(gConditionList.highlight, 16);
    EXPECT_EQ(gConditionList.topRow, 16);
    EXPECT_EQ(gRegionList.count, 30) << "the region list is not rebuilt";
}

TEST(ListRows, RowsStopAtTheEndOfTheList) {
    LoadList(30);
    int records[kMaxListPage];
    EXPECT_EQ(RowsToDraw(kConditionListLayout, &gConditionList, records), 24);
    // A narrower filter refills only the first entries; the older ones stay
    // behind the end marker and must not be drawn.
    AppSettings.depthMin = AppSettings.depthMax = 20;
    ApplyConditions();
    ASSERT_EQ(gConditionList.count, 5);
    gConditionList.topRow = 3;
    int n = RowsToDraw(kConditionListLayout, &gConditionList, records);
    EXPECT_EQ(gConditionList.topRow, 0) << "clamped and kept";
    ASSERT_EQ(n, 5);
    for (int i = 0; i < n; i++) EXPECT_EQ(records[i], 1 + 7 * i);

    // Sorted by depth in the second list: the display order is drawn.
    LoadList(100);
    gCurrentRecord = 0;
    RefreshRegionList();
    SortList(&gRegionList, SORT_DEPTH);
    gRegionList.topRow = 80;
    n = RowsToDraw(kRegionListLayout, &gRegionList, records);
    EXPECT_EQ(gRegionList.topRow, 62);
    ASSERT_EQ(n, 38);
    for (int i = 0; i < n; i++) EXPECT_EQ(records[i], gRegionList.entries[62 + i].displayIndex);

    gConditionList.count = gConditionList.end = 0;
    EXPECT_EQ(RowsToDraw(kConditionListLayout, &gConditionList, records), 0);
}

TEST(ListRows, BandsHoverLineAndTint) {
    ListRect text, fill;
    RowBands(kConditionListLayout, 0, &text, &fill);
    EXPECT_EQ((std::vector<int>{text.left, text.top, text.right, text.bottom}), (std::vector<int>{4, 22, 462, 38}));
    EXPECT_EQ((std::vector<int>{fill.left, fill.top, fill.right, fill.bottom}), (std::vector<int>{2, 22, 463, 39}));
    RowBands(kRegionListLayout, 37, &text, &fill);
    EXPECT_EQ((std::vector<int>{fill.left, fill.top, fill.right, fill.bottom}), (std::vector<int>{2, 688, 275, 705}));
    ListRect h = HighlightBand(kConditionListLayout, 2);
    EXPECT_EQ((std::vector<int>{h.left, h.top, h.right, h.bottom}), (std::vector<int>{2, 57, 463, 74}));

    struct Line {
        const ListLayout* layout;
        int mouseY, lineY;
    } lines[] = {{&kConditionListLayout, 20, 38}, {&kConditionListLayout, 37, 38}, {&kConditionListLayout, 38, 56},
                 {&kConditionListLayout, 451, 452}, {&kConditionListLayout, 454, 454}, {&kRegionListLayout, 700, 704},
                 {&kRegionListLayout, 706, 706}};
    for (const Line& l : lines) EXPECT_EQ(HoverLineY(*l.layout, l.mouseY), l.lineY) << l.mouseY;

    struct Tint {
        int magnitude10;
        uint32_t rgb;   // 0x00BBGGRR
    } tints[] = {{60, 0x141E78}, {0, 0}, {99, 0x2131C6}, {128, 0x2A4000}, {255, 0x557FFE}};
    for (const Tint& t : tints) EXPECT_EQ(RowTint(t.magnitude10), t.rgb) << t.magnitude10;
}

TEST(ListRows, MouseInRowsAndSaveButton) {
    struct Case {
        const ListLayout* layout;
        int x, y, inRows, onSave;
    } cases[] = {
        {&kConditionListLayout, 2, 20, 1, 0},    {&kConditionListLayout, 464, 454, 1, 0},
        {&kConditionListLayout, 1, 100, 0, 0},   {&kConditionListLayout, 465, 100, 0, 0},
        {&kConditionListLayout, 100, 455, 0, 0}, {&kConditionListLayout, 394, 459, 0, 1},
        {&kConditionListLayout, 484, 481, 0, 1}, {&kConditionListLayout, 485, 470, 0, 0},
        {&kConditionListLayout, 400, 482, 0, 0}, {&kRegionListLayout, 276, 706, 1, 0},
        {&kRegionListLayout, 277, 500, 0, 0},    {&kRegionListLayout, 206, 710, 0, 1},
        {&kRegionListLayout, 296, 732, 0, 1},    {&kRegionListLayout, 205, 720, 0, 0},
    };
    for (const Case& c : cases) {
        ListControls controls = MouseAt(*c.layout, c.x, c.y);
        controls.savePressed = 1;
        EXPECT_EQ(controls.mouseInRows, c.inRows) << c.x << "," << c.y;
        EXPECT_EQ(TrackSaveButton(&controls, *c.layout), c.onSave) << c.x << "," << c.y;
        EXPECT_EQ(controls.saveHover, c.onSave);
        EXPECT_EQ(controls.savePressed, c.onSave) << "leaving the button cancels the press";
    }
}

TEST(ListRows, RowTexts) {
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
