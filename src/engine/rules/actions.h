// What the left button and the wheel do on the control panel: the period
// start and end field by field, the magnitude, depth and intensity ranges,
// the hold repeat with its growing steps, Reset, the update button's
// once-a-day rule, and the change check that makes the tick re-filter.
// Things only the window can do (post WM_CLOSE, open the period dialog,
// post CMD_START_UPDATE) come back as PanelRequest bits.
#pragma once

enum PanelRequest {
    PANEL_REQUEST_CLOSE = 1,          // post WM_CLOSE to the main window
    PANEL_REQUEST_PERIOD_DIALOG = 2,  // run the period dialog
    PANEL_REQUEST_START_UPDATE = 4,   // post CMD_START_UPDATE
};

// Which end-day minus rule applies: a click, or the hold and the wheel.
enum { END_RULES_CLICK = 0, END_RULES_HOLD = 1 };

// The button-down flag: 1 when the left button went down while the main
// window was already active; cleared on release and on deactivation.
extern int gButtonDown;
// Hold timers: 10 when a repeated step fired, counted down each tick; a
// release adds its own step only while its timer is 0.
extern int gStartTimer, gEndTimer, gFilterTimer;
extern int gStartTicks, gStartRepeats, gStartStep;
extern int gEndTicks, gEndRepeats, gEndStep;
extern int gMagTicks, gIntTicks;
extern int gDepthTicks, gDepthRepeats, gDepthStep;

// The hover step of the tick at cursor (x, y): counts the hold timers down,
// sets the hover variables (HitTestPanel) and, while the left button is
// down, runs HoldStep. Returns HoldStep's requests, else 0.
int PanelHoverTick(int x, int y, int leftButtonDown);

// Left button down. `windowWasActive` is the main window's active flag
// before the press (the window sets it afterwards); `pointerY` is the
// cursor's window y for the alert ranking rows.
void PanelPress(int windowWasActive, int pointerY);
// One tick with the left button held (run by PanelHoverTick). Returns requests.
int HoldStep();
// Left button up. With `windowActive` 0 only the pressed copies are
// cleared. Returns requests.
int PanelRelease(int windowActive);
// A wheel turn over the hovered control: a positive delta steps down.
void PanelWheel(int delta);

// One step of the selected filter value (gFilterField) by the button under
// the cursor (gFilterButton): a release, and a hold tick with its repeat timing.
void FilterClick();
void FilterHold();

// One step of a field (0 year .. 4 minute) of the period start or end,
// `direction` ARROW_MINUS or ARROW_PLUS, by `step`, with the rules that keep
// it inside the catalogue and the other end. `endRules` picks the end-day
// minus variant.
void StepPeriodStart(int field, int direction, int step);
void StepPeriodEnd(int field, int direction, int step, int endRules);

// Compares the 10 period fields and 6 filter values with the copies of the
// last check; when any differ, clamps both dates. Stores the copies and
// returns the number of fields that differed (the first call always
// reports a change).
int ChangeCheck();

// The period dialog's OK: a start text with five numbers is clamped and
// stored, otherwise the start becomes 1970/01/01 00:00; an end text with
// five numbers is clamped and stored, otherwise the end becomes the present
// minute. Texts are UTF-8 as typed.
void ApplyPeriodTexts(const char* startText, const char* endText);
// The period dialog's "デフォルト": start and end := the oldest and newest
// record's date and time.
void SetDefaultPeriod();
