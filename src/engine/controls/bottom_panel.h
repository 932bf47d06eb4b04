// The bottom panel's interaction: its two tabs (region data, alert ranking),
// its save and close buttons, the class-row pick of the region page and the
// ranking-row pick of the alert page. Its state is one struct, written here
// only; the geometry of its buttons (drawn boxes and mouse areas) is one table.
#pragma once

#include "engine/controls/layout.h"

struct BottomPanelState {
    int tabHover;         // 1 region data, 2 alert ranking, 0 none
    int button;           // button under the cursor: 1 save, 2 close, 0 none
    int pressed;          // the button under the cursor when the left button went down
    int reportPage;       // 0 region data, 1 alert ranking
    int alertRow;         // last clicked ranking row 0..8, -1 before the first (and after a reload)
    // The picks of this tick (both 0 on the other page): the ranking rows
    // under the cursor, and the class row with the newest matching record of
    // its magnitude class (-1 when it has none); each with the panel y of its
    // underline, -1 for none.
    int alertHover, alertUnderlineY;
    int classPick, classPickRecord, classUnderlineY;
};
extern const BottomPanelState& gBottomPanel;

// The save (1) and close (2) buttons: box and text box (panel pixels) and
// where they take the mouse (window pixels, every edge inside).
extern const PanelButton kBottomButtons[2];

// The hover step of the tick (while a window of the program is active): a
// held close button closes; then what lies under the cursor. Returns requests.
int BottomPanelTick(int x, int y, int leftButtonDown);
// The picks for the cursor at (x, y), every tick, before the panel is drawn.
void BottomPanelPick(int x, int y);
// Left button down at window y `pointerY`: a tab picks its page, a picked
// ranking or class row's record becomes current.
void BottomPanelPress(int pointerY);
// Left button up: the save button writes the page's report, the close button
// asks to close. With `windowActive` 0 only the pressed copy is cleared.
// Returns requests.
int BottomPanelRelease(int windowActive);
void SetReportPage(int page);
// The window began a drag: no button counts as pressed.
void CancelBottomPress();
// A move or size loop of the window ended: nothing is hovered or pressed.
void ForgetBottomHover();
// The initial state; the tests start from it.
void ResetBottomPanel();

// The ranking row 0..8 under window y `pointerY`, or -1.
int AlertRowAtY(int pointerY);
// The row mark of the last clicked ranking row: 0 and the rectangle, 1 when there is none.
int AlertRowMark(PanelRect* out);
