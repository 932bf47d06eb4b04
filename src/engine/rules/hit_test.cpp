#include "engine/rules/hit_test.h"

#include "engine/analysis/region_stats.h"

int gHoverControl;
int gStartArrow;
int gEndArrow;
int gFilterButton;
int gResetHover;
int gUpdateHover;
int gTabHover;
int gBottomButton;
int gPressedControl, gResetPressed, gUpdatePressed, gBottomPressed;
int gStartField;
int gEndField;
int gFilterField = FIELD_MAG_MIN;
int gReportPage;
int gStatsPick, gStatsPickRecord;
int gClassPick, gClassPickRecord;

struct HitRect {
    int left, right, top, bottom;   // [left, right) x [top, bottom)
};

// The panel's controls in test order (id = position + 1). The filter
// button group is inclusive on all sides and tested apart.
static const HitRect kControls[18] = {
    {524, 565, 28, 53},  {564, 621, 28, 53},  {620, 658, 28, 53},  {660, 698, 28, 53},
    {700, 724, 28, 53},  {740, 764, 28, 53},  {524, 565, 52, 77},  {564, 621, 52, 77},
    {620, 658, 52, 77},  {660, 698, 52, 77},  {700, 724, 52, 77},  {740, 764, 52, 77},
    {533, 674, 76, 101}, {533, 674, 100, 125}, {533, 674, 124, 149},
    {674, 764, 76, 101}, {674, 764, 100, 125}, {674, 764, 124, 149},
};

static bool Inside(const HitRect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

static bool InsideClosed(int x, int y, int left, int right, int top, int bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

int ControlAt(int x, int y) {
    int id = CONTROL_NONE;
    for (int i = 0; i < 18; i++)
        if (Inside(kControls[i], x, y)) id = i + 1;
    if (InsideClosed(x, y, 774, 838, 100, 124)) id = CONTROL_FILTER_BUTTONS;
    return id;
}

// The minus, plus and "R" buttons of a date row whose buttons span [top, bottom).
static int RowArrowAt(int x, int y, int top, int bottom) {
    if (y < top || y >= bottom) return ARROW_NONE;
    if (x >= 769 && x < 787) return ARROW_MINUS;
    if (x >= 792 && x < 810) return ARROW_PLUS;
    if (x >= 815 && x < 833) return ARROW_RESET;
    return ARROW_NONE;
}

static int FilterButtonAt(int x, int y) {
    if (y < 102 || y > 120) return ARROW_NONE;
    if (x < 793) return ARROW_MINUS;
    if (x >= 797 && x < 816) return ARROW_PLUS;
    if (x >= 820) return ARROW_RESET;
    return ARROW_NONE;
}

void HitTestPanel(int x, int y) {
    gHoverControl = ControlAt(x, y);
    gStartArrow = RowArrowAt(x, y, 30, 49);
    gEndArrow = RowArrowAt(x, y, 54, 73);
    gFilterButton = gHoverControl == CONTROL_FILTER_BUTTONS ? FilterButtonAt(x, y) : ARROW_NONE;
    gResetHover = InsideClosed(x, y, 774, 838, 124, 148) ? 1 : 0;
    if (!gResetHover) gResetPressed = 0;
    gUpdateHover = InsideClosed(x, y, 753, 844, 506, 530) ? 1 : 0;
    if (!gUpdateHover) gUpdatePressed = 0;
}

void HitTestBottom(int x, int y) {
    gTabHover = 0;
    if (y >= 518 && y < 541) {
        if (x >= 3 && x < 268) gTabHover = 1;
        if (x >= 299 && x < 444) gTabHover = 2;
    }
    gBottomButton = 0;
    if (x >= 621 && x < 712 && y >= 733 && y < 758) gBottomButton = 1;
    if (InsideClosed(x, y, 758, 848, 735, 759)) gBottomButton = 2;
    if (gBottomButton == 0) gBottomPressed = 0;
}

int StatsRowPick(int x, int y) {
    gStatsPick = 0;
    if (x < 521 || x >= 848 || y < 234 || y >= 395) return -1;
    int r = (y - 198) / 18 * 18;
    int n = r / 18;
    if (n >= 2 && n <= 10) {
        int count, since, mean, latest;
        ClassStatsByMagnitude(-1, n - 1, &count, &since, &mean, &latest);
        gStatsPick = 1;
        gStatsPickRecord = latest >= 0 ? latest : -1;
    }
    return r + 212;
}
