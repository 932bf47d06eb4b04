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

}  // namespace
