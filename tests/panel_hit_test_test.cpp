// Hover hit testing of the control panel and the bottom strip: the control
// table with its shared borders, the row buttons, the filter group with its
// gaps, Reset and 更新, the tabs and bottom buttons, the statistics-row pick.
#include <gtest/gtest.h>

#include "analysis_fixture.h"
#include "panel/actions.h"
#include "panel/hit_test.h"

namespace {

void ClearHover() {
    gHoverControl = gStartArrow = gEndArrow = gFilterButton = 0;
    gResetHover = gUpdateHover = gTabHover = gBottomButton = 0;
    gPressedControl = gResetPressed = gUpdatePressed = gBottomPressed = 0;
    gStartTimer = gEndTimer = gFilterTimer = 0;
    gStatsPick = 0;
    gStatsPickRecord = -5;
}

TEST(ControlAt, EveryControlAndItsBorders) {
    struct Case {
        int x, y, id;
        const char* what;
    } cases[] = {
        {523, 40, 0, "left of the start label"},
        {524, 28, 1, "start label, top-left corner"},
        {563, 52, 7, "y 52 belongs to the end row"},
        {564, 40, 2, "x 564: the year wins over the label"},
        {620, 40, 3, "x 620: the month wins over the year"},
        {658, 40, 0, "gap between month and day"},
        {659, 40, 0, "gap between month and day"},
        {660, 28, 4, "start day"},
        {698, 40, 0, "gap between day and hour"},
        {700, 40, 5, "start hour"},
        {724, 40, 0, "gap between hour and minute"},
        {739, 40, 0, "gap between hour and minute"},
        {740, 40, 6, "start minute"},
        {763, 40, 6, "start minute, right edge"},
        {764, 40, 0, "right of the minute"},
        {524, 27, 0, "above the start row"},
        {540, 52, 7, "end label at the shared border"},
        {600, 60, 8, "end year"},
        {640, 76, 13, "y 76: the magnitude minimum wins over the end month"},
        {650, 70, 9, "end month"},
        {680, 76, 16, "end day's x, y 76: magnitude maximum"},
        {690, 60, 10, "end day"},
        {710, 60, 11, "end hour"},
        {750, 76, 16, "y 76 over the minute: the magnitude maximum wins"},
        {750, 75, 12, "end minute"},
        {533, 76, 13, "magnitude minimum"},
        {532, 90, 0, "left of the magnitude minimum"},
        {673, 90, 13, "magnitude minimum, right edge"},
        {674, 90, 16, "x 674: a maximum"},
        {674, 100, 17, "x 674, y 100: depth maximum"},
        {600, 100, 14, "y 100: depth minimum wins"},
        {600, 124, 15, "y 124: intensity minimum wins"},
        {600, 148, 15, "intensity minimum, bottom edge"},
        {600, 149, 0, "below the filter values"},
        {700, 148, 18, "intensity maximum"},
        {764, 110, 0, "right of the maxima"},
        {773, 110, 0, "left of the filter buttons"},
        {774, 100, 19, "filter group, top-left corner (inclusive)"},
        {838, 124, 19, "filter group, bottom-right corner (inclusive)"},
        {839, 110, 0, "right of the filter group"},
        {800, 99, 0, "above the filter group"},
        {800, 125, 0, "below the filter group"},
    };
    for (const Case& c : cases) EXPECT_EQ(ControlAt(c.x, c.y), c.id) << c.what << " (" << c.x << ", " << c.y << ")";
}

TEST(HitTestPanel, RowButtonsFilterButtonsResetAndUpdate) {
    struct Case {
        int x, y;
        int control, start, end, filter, reset, update;
        const char* what;
    } cases[] = {
        {769, 30, 0, 1, 0, 0, 0, 0, "start minus, top-left"},
        {786, 48, 0, 1, 0, 0, 0, 0, "start minus, bottom-right"},
        {787, 40, 0, 0, 0, 0, 0, 0, "between start minus and plus"},
        {792, 40, 0, 2, 0, 0, 0, 0, "start plus"},
        {815, 40, 0, 3, 0, 0, 0, 0, "start R"},
        {833, 40, 0, 0, 0, 0, 0, 0, "right of start R"},
        {800, 29, 0, 0, 0, 0, 0, 0, "above the start buttons"},
        {800, 49, 0, 0, 0, 0, 0, 0, "between the rows"},
        {800, 54, 0, 0, 2, 0, 0, 0, "end plus"},
        {770, 72, 0, 0, 1, 0, 0, 0, "end minus, bottom row"},
        {820, 73, 0, 0, 0, 0, 0, 0, "below end R"},
        {768, 40, 0, 0, 0, 0, 0, 0, "left of start minus"},
        {780, 110, 19, 0, 0, 1, 0, 0, "filter minus"},
        {793, 110, 19, 0, 0, 0, 0, 0, "gap after minus"},
        {796, 110, 19, 0, 0, 0, 0, 0, "gap after minus"},
        {797, 102, 19, 0, 0, 2, 0, 0, "filter plus, top"},
        {815, 120, 19, 0, 0, 2, 0, 0, "filter plus, bottom"},
        {816, 110, 19, 0, 0, 0, 0, 0, "gap after plus"},
        {820, 110, 19, 0, 0, 3, 0, 0, "filter R"},
        {838, 110, 19, 0, 0, 3, 0, 0, "filter R, right edge"},
        {800, 101, 19, 0, 0, 0, 0, 0, "group, above the buttons"},
        {800, 121, 19, 0, 0, 0, 0, 0, "group, below the buttons"},
        {800, 124, 19, 0, 0, 0, 1, 0, "shared edge of the group and Reset"},
        {774, 148, 0, 0, 0, 0, 1, 0, "Reset, bottom-left"},
        {839, 130, 0, 0, 0, 0, 0, 0, "right of Reset"},
        {800, 149, 0, 0, 0, 0, 0, 0, "below Reset"},
        {753, 506, 0, 0, 0, 0, 0, 1, "更新, top-left"},
        {844, 530, 0, 0, 0, 0, 0, 1, "更新, bottom-right"},
        {845, 520, 0, 0, 0, 0, 0, 0, "right of 更新"},
        {800, 505, 0, 0, 0, 0, 0, 0, "above 更新"},
    };
    for (const Case& c : cases) {
        ClearHover();
        EXPECT_EQ(HitTestPanel(c.x, c.y, 0), 0) << c.what;
        EXPECT_EQ(gHoverControl, c.control) << c.what;
        EXPECT_EQ(gStartArrow, c.start) << c.what;
        EXPECT_EQ(gEndArrow, c.end) << c.what;
        EXPECT_EQ(gFilterButton, c.filter) << c.what;
        EXPECT_EQ(gResetHover, c.reset) << c.what;
        EXPECT_EQ(gUpdateHover, c.update) << c.what;
    }
}

TEST(HitTestBottom, TabsAndButtons) {
    struct Case {
        int x, y, tab, button;
        const char* what;
    } cases[] = {
        {3, 518, 1, 0, "first tab, top-left"},
        {267, 540, 1, 0, "first tab, bottom-right"},
        {268, 530, 0, 0, "between the tabs"},
        {299, 530, 2, 0, "second tab"},
        {443, 518, 2, 0, "second tab, right edge"},
        {444, 530, 0, 0, "right of the second tab"},
        {100, 541, 0, 0, "below the tabs"},
        {2, 530, 0, 0, "left of the first tab"},
        {621, 733, 0, 1, "save, top-left"},
        {711, 757, 0, 1, "save, bottom-right"},
        {712, 745, 0, 0, "right of save"},
        {650, 758, 0, 0, "below save"},
        {758, 735, 0, 2, "close, top-left"},
        {848, 759, 0, 2, "close, bottom-right (inclusive)"},
        {849, 745, 0, 0, "right of close"},
        {800, 734, 0, 0, "above close"},
    };
    for (const Case& c : cases) {
        ClearHover();
        HitTestBottom(c.x, c.y);
        EXPECT_EQ(gTabHover, c.tab) << c.what;
        EXPECT_EQ(gBottomButton, c.button) << c.what;
    }
    ClearHover();
    gBottomPressed = 1;
    HitTestBottom(650, 745);
    EXPECT_EQ(gBottomPressed, 1) << "kept over a button";
    HitTestBottom(500, 745);
    EXPECT_EQ(gBottomPressed, 0) << "cleared away from both buttons";
}

TEST(StatsRowPick, RowsUnderlinesAndRecords) {
    // Newest first: M6.1 at 0, M2.5 at 1, M6.8 at 2, M9.0 at 3; no M1, M3..M5, M7, M8.
    LoadCatalogue({DayRec(0, 1, 61), DayRec(1, 2, 25), DayRec(2, 3, 68), DayRec(3, 4, 90)});
    OpenConditions();
    ApplyConditions();
    struct Case {
        int x, y;
        int underline, pick, record;
        const char* what;
    } cases[] = {
        {600, 233, -1, 0, -5, "header row: nothing"},
        {600, 234, 248, 1, -1, "first row: M1, none"},
        {600, 251, 248, 1, -1, "M1 row, last pixel"},
        {600, 252, 266, 1, 1, "M2 row"},
        {521, 330, 338, 1, 0, "M6 row, left edge: the newest M6"},
        {600, 342, 356, 1, -1, "M7 row: none"},
        {847, 394, 392, 1, 3, "M9 row, right edge, last pixel"},
        {600, 395, -1, 0, -5, "below the rows"},
        {520, 300, -1, 0, -5, "left of the rows"},
        {848, 300, -1, 0, -5, "right of the rows"},
    };
    for (const Case& c : cases) {
        ClearHover();
        EXPECT_EQ(StatsRowPick(c.x, c.y), c.underline) << c.what;
        EXPECT_EQ(gStatsPick, c.pick) << c.what;
        EXPECT_EQ(gStatsPickRecord, c.record) << c.what;
    }
    // Off the rows the pick is cleared but the record keeps its value.
    gStatsPick = 1;
    gStatsPickRecord = 3;
    StatsRowPick(0, 0);
    EXPECT_EQ(gStatsPick, 0);
    EXPECT_EQ(gStatsPickRecord, 3);
}

}  // namespace
