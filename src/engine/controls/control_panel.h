// The control panel's interaction: what lies under the cursor, the pressed
// controls, the selected fields, the hold repeat with its growing steps, the
// statistics-row pick, Reset and the update button's once-a-day rule. Its
// state is one struct, written here only; the tick, the mouse messages and
// the tests drive it through the functions below. Things only the window can
// do (post WM_CLOSE, open the period dialog, post CMD_START_UPDATE) come
// back as PanelRequest bits.
#pragma once

// Controls of the panel (ControlPanelState::hoverControl); 0 is none.
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

enum PanelRequest {
    PANEL_REQUEST_CLOSE = 1,          // post WM_CLOSE to the main window
    PANEL_REQUEST_PERIOD_DIALOG = 2,  // run the period dialog
    PANEL_REQUEST_START_UPDATE = 4,   // post CMD_START_UPDATE
};

struct ControlPanelState {
    int hoverControl;     // PanelControl under the cursor
    int startArrow;       // start row's button under the cursor (ARROW_*)
    int endArrow;         // end row's button under the cursor
    int filterButton;     // filter button under the cursor
    int resetHover;       // 1 over "Reset"
    int updateHover;      // 1 over "更新"
    // Copies taken when the left button went down.
    int pressedControl, resetPressed, updatePressed;
    int startField;       // selected field of the start: 0 year .. 4 minute
    int endField;         // selected field of the end
    int filterField;      // FilterField, FIELD_MAG_MIN at start
    // 1 when the left button went down while the main window was already
    // active; cleared on release and on deactivation.
    int buttonDown;
    // The statistics row under the cursor (every tick), the newest matching
    // record of its magnitude class (-1 when it has none), and the panel y of
    // its underline (-1 when the cursor is not over the rows).
    int statsPick, statsPickRecord, statsUnderlineY;
};
extern const ControlPanelState& gControlPanel;

// The tick's hover step at cursor (x, y) (while a window of the program is
// active): counts the hold timers down, sets what lies under the cursor and,
// while the left button is down, runs the hold step. Returns its requests.
int PanelHoverTick(int x, int y, int leftButtonDown);
// The statistics-row pick for the cursor at (x, y), every tick, before the
// panel is drawn.
void ControlPanelPick(int x, int y);

// Left button down. `windowWasActive` is the main window's active flag
// before the press. A picked statistics row's record becomes current.
void ControlPanelPress(int windowWasActive);
// Left button up. With `windowActive` 0 only the pressed copies are cleared.
// Returns requests.
int ControlPanelRelease(int windowActive);
// A wheel turn over the hovered control: a positive delta steps down.
void PanelWheel(int delta);

// The window began a drag: no button counts as pressed.
void CancelPanelPress();
// The window lost the activation: the button is up for the panel.
void PanelButtonUp();
// A move or size loop of the window ended: nothing is hovered or pressed.
void ForgetPanelHover();
// The initial state (fields, steps, timers); the tests start from it.
void ResetControlPanel();
