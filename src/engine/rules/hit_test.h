// Which control of the right-hand panel and of the bottom strip lies under
// the cursor: fixed rectangles in main-window pixels, tested every tick while
// one of the program's windows is active. The results are the hover
// variables that the button logic (panel/actions) and the drawing read.
#pragma once

// Controls of the panel (values of gHoverControl); 0 is none.
enum PanelControl {
    CONTROL_NONE = 0,
    CONTROL_START_LABEL = 1,    // "開始": opens the period dialog
    CONTROL_START_YEAR = 2,     // .. 6: start year, month, day, hour, minute
    CONTROL_END_LABEL = 7,      // "終了"
    CONTROL_END_YEAR = 8,       // .. 12: end year, month, day, hour, minute
    CONTROL_MAG_MIN = 13,       // 13..15 the minima, 16..18 the maxima
    CONTROL_DEPTH_MIN = 14,
    CONTROL_INT_MIN = 15,
    CONTROL_MAG_MAX = 16,
    CONTROL_DEPTH_MAX = 17,
    CONTROL_INT_MAX = 18,
    CONTROL_FILTER_BUTTONS = 19,
};

// The small buttons of a row (gStartArrow, gEndArrow, gFilterButton).
enum { ARROW_NONE = 0, ARROW_MINUS = 1, ARROW_PLUS = 2, ARROW_RESET = 3 };

// Selected filter values (gFilterField): the control id minus 12.
enum FilterField {
    FIELD_MAG_MIN = 1,
    FIELD_DEPTH_MIN = 2,
    FIELD_INT_MIN = 3,
    FIELD_MAG_MAX = 4,
    FIELD_DEPTH_MAX = 5,
    FIELD_INT_MAX = 6,
};

extern int gHoverControl;    // PanelControl under the cursor
extern int gStartArrow;      // start-row button under the cursor
extern int gEndArrow;        // end-row button under the cursor
extern int gFilterButton;    // filter button under the cursor
extern int gResetHover;      // 1 over "Reset"
extern int gUpdateHover;     // 1 over "更新"
extern int gTabHover;        // bottom tabs: 1 region data, 2 alert ranking
extern int gBottomButton;    // bottom buttons: 1 save, 2 close
// Copies taken when the left button goes down.
extern int gPressedControl, gResetPressed, gUpdatePressed, gBottomPressed;
extern int gStartField;      // selected field of the start: 0 year .. 4 minute
extern int gEndField;        // selected field of the end
extern int gFilterField;     // FilterField, 1 at start
extern int gReportPage;      // page of the bottom panel: 0 region data, 1 alert ranking
// The statistics row under the cursor (set while the panel draws) and the
// newest matching record of its magnitude class, -1 when it has none.
extern int gStatsPick, gStatsPickRecord;
// The same pick for the class rows of the bottom panel's region page; the
// bottom panel sets both while it draws.
extern int gClassPick, gClassPickRecord;

// The control whose rectangle holds window pixel (x, y); on shared borders
// the later control of the table wins.
int ControlAt(int x, int y);

// Sets the hover variables for the cursor at (x, y) and clears the pressed
// copies of buttons no longer under the cursor.
void HitTestPanel(int x, int y);

// Sets gTabHover and gBottomButton; with neither button under the cursor
// gBottomPressed is cleared.
void HitTestBottom(int x, int y);

// The statistics-row pick, run while the panel draws: sets gStatsPick (and
// gStatsPickRecord when a row is picked) and returns the panel y of the
// underline to draw, or -1 when the cursor is not over the rows.
int StatsRowPick(int x, int y);
