#include "engine/controls/control_panel.h"

#include "engine/analysis/region_stats.h"
#include "engine/catalogue/real_record.h"
#include "engine/controls/layout.h"
#include "engine/controls/period.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "engine/pipeline/pipeline.h"
#include "engine/selection/selection.h"

// Nothing hovered or pressed, the first fields selected, no pick.
static const ControlPanelState kInitialPanel = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, FIELD_MAG_MIN, 0, 0, -1, -1};
static ControlPanelState sPanel = kInitialPanel;
const ControlPanelState& gControlPanel = sPanel;

enum {
    kRepeatTicks = 11,   // ticks (40 ms each) from one repeated step to the next
    kHoldTimer = 10,
    kMaxDateStep = 10,
    kMaxDepthStep = 200,
};

// Hold timers: kHoldTimer when a repeated step fired, counted down each
// tick; a release adds its own step only while its timer is 0.
static int sStartTimer, sEndTimer, sFilterTimer;
// The repeat counts and growing steps of each held button.
static int sStartTicks, sStartRepeats, sStartStep = 1;
static int sEndTicks, sEndRepeats, sEndStep = 1;
static int sMagTicks, sIntTicks;
static int sDepthTicks, sDepthRepeats, sDepthStep = 1;
// The catalogue the statistics row was picked in: after a reload its record names another.
static int sPickGeneration;

static void ResetRepeats() {
    sStartTicks = sStartRepeats = sEndTicks = sEndRepeats = 0;
    sMagTicks = sIntTicks = sDepthTicks = sDepthRepeats = 0;
    sStartStep = sEndStep = sDepthStep = 1;
}

void ResetControlPanel() {
    sPanel = kInitialPanel;
    sStartTimer = sEndTimer = sFilterTimer = 0;
    ResetRepeats();
}

// --- repeat timing: one call per tick while a button is held; a step fires
// when the call returns a non-zero step ---------------------------------------

// Dates: every 11th tick, the step growing by 1 after each four repeats.
static int DateRepeat(int* ticks, int* repeats, int* step, int* timer) {
    if (++*ticks < kRepeatTicks) return 0;
    *ticks = 0;
    if (++*repeats > 3) {
        *repeats = 0;
        if (++*step > kMaxDateStep) *step = kMaxDateStep;
    }
    *timer = kHoldTimer;
    return *step;
}

// Magnitude and intensity: a step of 1 every 11th tick.
static int UnitRepeat(int* ticks) {
    if (++*ticks < kRepeatTicks) return 0;
    *ticks = 0;
    sFilterTimer = kHoldTimer;
    return 1;
}

// Depth: as the dates, the step growing by 10 after each six repeats.
static int DepthRepeat() {
    if (++sDepthTicks < kRepeatTicks) return 0;
    sDepthTicks = 0;
    if (++sDepthRepeats > 5) {
        sDepthRepeats = 0;
        sDepthStep += 10;
        if (sDepthStep > kMaxDepthStep) sDepthStep = kMaxDepthStep;
    }
    sFilterTimer = kHoldTimer;
    return sDepthStep;
}

static bool IsArrow(int arrow) { return arrow == ARROW_MINUS || arrow == ARROW_PLUS; }

static bool IsDepth(int field) { return field == FIELD_DEPTH_MIN || field == FIELD_DEPTH_MAX; }

// One tick of a held filter button.
static void FilterHold() {
    const int button = sPanel.filterButton, field = sPanel.filterField;
    if (button == ARROW_RESET) {
        StepFilterValue(field, button, 1);
        return;
    }
    if (!IsArrow(button)) return;
    int step;
    if (IsDepth(field)) step = DepthRepeat();
    else if (field == FIELD_INT_MIN || field == FIELD_INT_MAX) step = UnitRepeat(&sIntTicks);
    else step = UnitRepeat(&sMagTicks);
    if (step == 0) return;
    // At a bound the depth step drops to 0; it grows again after six repeats.
    if (StepFilterValue(field, button, step) && IsDepth(field)) sDepthStep = 0;
}

// One tick with the left button held.
static void HoldStep() {
    const int id = sPanel.hoverControl;
    if (id >= CONTROL_START_YEAR && id < CONTROL_START_YEAR + 5) sPanel.startField = id - CONTROL_START_YEAR;
    if (id >= CONTROL_END_YEAR && id < CONTROL_END_YEAR + 5) sPanel.endField = id - CONTROL_END_YEAR;
    if (id == CONTROL_FILTER_BUTTONS) FilterHold();
    if (IsArrow(sPanel.startArrow)) {
        const int step = DateRepeat(&sStartTicks, &sStartRepeats, &sStartStep, &sStartTimer);
        if (step) StepPeriodStart(sPanel.startField, sPanel.startArrow, step);
    }
    if (IsArrow(sPanel.endArrow)) {
        const int step = DateRepeat(&sEndTicks, &sEndRepeats, &sEndStep, &sEndTimer);
        if (step) StepPeriodEnd(sPanel.endField, sPanel.endArrow, step, END_RULES_HOLD);
    }
}

int PanelHoverTick(int x, int y, int leftButtonDown) {
    if (sStartTimer > 0) sStartTimer--;
    if (sEndTimer > 0) sEndTimer--;
    if (sFilterTimer > 0) sFilterTimer--;
    ControlPanelState& p = sPanel;
    p.hoverControl = ControlAt(x, y);
    p.startArrow = RowButtonAt(x, y, kDateRowButtonTop[0]);
    p.endArrow = RowButtonAt(x, y, kDateRowButtonTop[1]);
    p.filterButton = p.hoverControl == CONTROL_FILTER_BUTTONS ? FilterButtonAt(x, y) : ARROW_NONE;
    p.resetHover = InsideButton(kResetButton, x, y) ? 1 : 0;
    if (!p.resetHover) p.resetPressed = 0;
    p.updateHover = InsideButton(kUpdateButton, x, y) ? 1 : 0;
    if (!p.updateHover) p.updatePressed = 0;
    if (leftButtonDown) HoldStep();
    return 0;
}

void ControlPanelPick(int x, int y) {
    sPanel.statsPick = 0;
    sPanel.statsUnderlineY = -1;
    if (x < 521 || x >= 848 || y < 234 || y >= 395) return;
    const int r = (y - 198) / 18 * 18, n = r / 18;
    if (n >= 2 && n <= 10) {
        int count, since, mean, latest;
        ClassStatsByMagnitude(-1, n - 1, &count, &since, &mean, &latest);
        sPanel.statsPick = 1;
        sPanel.statsPickRecord = latest >= 0 ? latest : -1;
        sPickGeneration = CatalogueGeneration();
    }
    sPanel.statsUnderlineY = r + 212;
}

void ControlPanelPress(int windowWasActive) {
    ControlPanelState& p = sPanel;
    p.pressedControl = p.hoverControl;
    p.buttonDown = windowWasActive ? 1 : 0;
    if (p.hoverControl >= CONTROL_MAG_MIN && p.hoverControl <= CONTROL_INT_MAX) p.filterField = p.hoverControl - 12;
    p.resetPressed = p.resetHover;
    p.updatePressed = p.updateHover;
    if (p.statsPick && sPickGeneration == CatalogueGeneration() && IsDataRecord(p.statsPickRecord))
        SelectRecord(p.statsPickRecord, SELECT_PICK);
}

// The release over the panel's own controls (the window is active).
static int ReleaseControls() {
    ControlPanelState& p = sPanel;
    int requests = 0;
    p.buttonDown = 0;
    ResetRepeats();
    if (sStartTimer == 0 && IsArrow(p.startArrow)) StepPeriodStart(p.startField, p.startArrow, 1);
    if (p.startArrow == ARROW_RESET) SetPeriodStart(1970, 1, 1, 0, 0);
    if (p.endArrow == ARROW_RESET) {
        SetPeriodEnd(gDataLast.year, gDataLast.month, gDataLast.day, 23, 59);
        ClampPeriod(PERIOD_END);
    }
    ClampPeriod(PERIOD_START);
    if (sEndTimer == 0 && IsArrow(p.endArrow)) StepPeriodEnd(p.endField, p.endArrow, 1, END_RULES_CLICK);
    ClampPeriod(PERIOD_END);

    if (p.hoverControl == p.pressedControl) {
        if (p.hoverControl == CONTROL_START_LABEL || p.hoverControl == CONTROL_END_LABEL)
            requests |= PANEL_REQUEST_PERIOD_DIALOG;
        if (p.hoverControl == CONTROL_FILTER_BUTTONS && sFilterTimer == 0) StepFilterValue(p.filterField, p.filterButton, 1);
    }
    if (p.resetHover == 1 && p.resetPressed == 1) ResetFilters();
    // One download a day: the day of the month of the last catalogue load.
    // The national record in place of the sample is offered, resumed or
    // cancelled whenever the button is pressed.
    if (p.updateHover == 1 && p.updatePressed == 1) {
        if (RealRecordOffered()) {
            requests |= PANEL_REQUEST_START_UPDATE;
        } else if (AppSettings.lastUpdateDay != gTodayDay) {
            requests |= PANEL_REQUEST_START_UPDATE;
            StoreLastUpdateDay(gTodayDay);
        }
    }
    return requests;
}

int ControlPanelRelease(int windowActive) {
    const int requests = windowActive ? ReleaseControls() : 0;
    sPanel.resetPressed = sPanel.updatePressed = 0;
    return requests;
}

void PanelWheel(int delta) {
    const int direction = delta > 0 ? ARROW_MINUS : ARROW_PLUS;
    const int id = sPanel.hoverControl;
    if (id >= CONTROL_START_YEAR && id < CONTROL_START_YEAR + 5) {
        StepPeriodStart(id - CONTROL_START_YEAR, direction, 1);
    } else if (id >= CONTROL_END_YEAR && id < CONTROL_END_YEAR + 5) {
        StepPeriodEnd(id - CONTROL_END_YEAR, direction, 1, END_RULES_HOLD);
    } else if (id >= CONTROL_MAG_MIN && id <= CONTROL_INT_MAX) {
        const int field = id - 12;
        if (StepFilterValue(field, direction, 1) && IsDepth(field)) sDepthStep = 0;
    }
}

void CancelPanelPress() { sPanel.pressedControl = sPanel.resetPressed = sPanel.updatePressed = 0; }

void PanelButtonUp() { sPanel.buttonDown = 0; }

void ForgetPanelHover() {
    sPanel.buttonDown = 0;
    sPanel.resetHover = sPanel.updateHover = 0;
    sPanel.resetPressed = sPanel.updatePressed = 0;
}
