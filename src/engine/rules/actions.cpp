#include "engine/rules/actions.h"

#include <cstdint>

#include "engine/analysis/alert.h"
#include "engine/analysis/region_stats.h"
#include "engine/analysis/reports.h"
#include "engine/catalogue/model.h"
#include "engine/catalogue/real_record.h"
#include "engine/rules/date_rules.h"
#include "engine/rules/hit_test.h"
#include "engine/rules/settings.h"
#include "engine/selection/selection.h"
#include "platform/platform.h"

int gButtonDown;
int gStartTimer, gEndTimer, gFilterTimer;
int gStartTicks, gStartRepeats, gStartStep = 1;
int gEndTicks, gEndRepeats, gEndStep = 1;
int gMagTicks, gIntTicks;
int gDepthTicks, gDepthRepeats, gDepthStep = 1;

// The conditions as the last change check saw them; the dates as 16-bit copies.
static int16_t sPreviousDates[10];
static int32_t sPreviousFilters[6];

enum {
    kRepeatTicks = 11,   // ticks (40 ms each) from one repeated step to the next
    kHoldTimer = 10,
    kMaxDateStep = 10,
    kMaxDepthStep = 200,
};

static void CountDownHoldTimers() {
    if (gStartTimer > 0) gStartTimer--;
    if (gEndTimer > 0) gEndTimer--;
    if (gFilterTimer > 0) gFilterTimer--;
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
    gFilterTimer = kHoldTimer;
    return 1;
}

// Depth: as the dates, the step growing by 10 after each six repeats.
static int DepthRepeat() {
    if (++gDepthTicks < kRepeatTicks) return 0;
    gDepthTicks = 0;
    if (++gDepthRepeats > 5) {
        gDepthRepeats = 0;
        gDepthStep += 10;
        if (gDepthStep > kMaxDepthStep) gDepthStep = kMaxDepthStep;
    }
    gFilterTimer = kHoldTimer;
    return gDepthStep;
}

// --- the period start and end --------------------------------------------------

// Hour and minute wrap round: below 0 to `top`, above `top` to 0.
static void StepClock(int32_t* value, int plus, int step, int top) {
    if (plus) {
        *value += step;
        if (*value > top) *value = 0;
    } else {
        *value -= step;
        if (*value < 0) *value = top;
    }
}

void StepPeriodStart(int field, int direction, int step) {
    SettingsBlock& a = AppSettings;
    const DateTime& f = gDataFirst;
    const DateTime& l = gDataLast;
    const int plus = direction == ARROW_PLUS;
    switch (field) {
    case 0: {
        int y = a.startYear + (plus ? step : -step);
        if (!plus && y < f.year) y = f.year;
        if (plus && y > l.year) y = l.year;
        if (plus && y > a.endYear) y = a.endYear;
        a.startYear = y;
        break;
    }
    case 1: {
        int m = a.startMonth + (plus ? step : -step);
        if (plus) {
            if (m > 12) m = 1;
            if (a.startYear <= f.year && m < f.month) m = f.month;
            if (a.startYear == a.endYear && m > a.endMonth) m = 1;
        } else {
            if (m < 1) m = 12;
            if (a.startYear <= f.year && m < f.month) m = 12;
            if (a.startYear == a.endYear && m > a.endMonth) m = a.endMonth;
        }
        a.startMonth = m;
        break;
    }
    case 2: {
        const int dim = DaysInMonth(a.startMonth, a.startYear);
        const bool firstMonth = a.startYear <= f.year && a.startMonth <= f.month;
        const bool endMonth = a.startYear == a.endYear && a.startMonth == a.endMonth;
        int d = a.startDay + (plus ? step : -step);
        if (plus) {
            if (d > dim) d = 1;
            if (firstMonth && d < f.day) d = f.day;
            if (a.startYear == l.year && a.startMonth == l.month && d > l.day) d = 1;
            if (endMonth && d > a.endDay) d = 1;
        } else {
            if (d < 1) d = dim;
            if (firstMonth && d < f.day) d = dim;
            if (endMonth && d > a.endDay) d = a.endDay;
        }
        a.startDay = d;
        break;
    }
    case 3: StepClock(&a.startHour, plus, step, 23); break;
    case 4: StepClock(&a.startMinute, plus, step, 59); break;
    default: break;
    }
}

void StepPeriodEnd(int field, int direction, int step, int endRules) {
    SettingsBlock& a = AppSettings;
    const DateTime& f = gDataFirst;
    const DateTime& l = gDataLast;
    const int plus = direction == ARROW_PLUS;
    switch (field) {
    case 0: {
        int y = a.endYear + (plus ? step : -step);
        if (plus) {
            if (y > l.year) y = l.year;
        } else {
            if (y < f.year) y = f.year;
            if (y < a.startYear) y = a.startYear;
        }
        a.endYear = y;
        break;
    }
    case 1: {
        int m = a.endMonth + (plus ? step : -step);
        if (plus) {
            if (m > 12) m = 1;
            if (a.endYear == l.year && m > l.month) m = 1;
        } else {
            if (m < 1) m = 12;
            if (a.endYear == l.year) {
                if (m > l.month) m = l.month;
                // A one-year catalogue: the start moves up to the first month.
                if (a.endYear == f.year && m < f.month) a.startMonth = f.month;
            }
        }
        if (a.endYear == a.startYear && m < a.startMonth) m = a.startMonth;
        a.endMonth = m;
        break;
    }
    case 2: {
        const int dim = DaysInMonth(a.endMonth, a.endYear);
        const bool startMonth = a.endYear == a.startYear && a.endMonth == a.startMonth;
        const bool lastMonth = a.endYear == l.year && a.endMonth == l.month;
        int d = a.endDay + (plus ? step : -step);
        if (plus) {
            if (d > dim) d = 1;
            if (startMonth && d < a.startDay) d = a.startDay;
            if (a.endYear == f.year && a.endMonth == f.month && d < f.day) d = dim;
            if (lastMonth && d > l.day) {
                d = 1;
                if (startMonth && a.startDay > 1) d = a.startDay;
            }
        } else {
            if (d < 1) d = dim;
            if (startMonth && d < a.startDay) d = a.endYear == f.year ? l.day : dim;
            const int yearOfRule = endRules == END_RULES_CLICK ? f.year : l.year;
            if (a.endYear == yearOfRule && a.endMonth == f.month && d < f.day) d = dim;
            if (lastMonth && d > l.day) d = l.day;
        }
        a.endDay = d;
        break;
    }
    case 3: StepClock(&a.endHour, plus, step, 23); break;
    case 4: StepClock(&a.endMinute, plus, step, 59); break;
    default: break;
    }
}

// --- the filter values ---------------------------------------------------------

// One step of filter value `field` by `button`; returns 1 when a depth
// value ends on one of its bounds.
static int StepFilterValue(int field, int button, int step) {
    SettingsBlock& a = AppSettings;
    const int plus = button == ARROW_PLUS;
    const int reset = button == ARROW_RESET;
    if (button != ARROW_MINUS && !plus && !reset) return 0;
    switch (field) {
    case FIELD_MAG_MIN:
        if (reset) a.magMin = 1;
        else if (plus) a.magMin = a.magMin + 1 >= a.magMax ? a.magMax : a.magMin + 1;
        else a.magMin = a.magMin - 1 < 1 ? 1 : a.magMin - 1;
        return 0;
    case FIELD_INT_MIN:
        if (reset) a.intMin = 1;
        else if (plus) a.intMin = a.intMin + 1 >= a.intMax ? a.intMax : a.intMin + 1;
        else a.intMin = a.intMin - 1 < 1 ? 1 : a.intMin - 1;
        return 0;
    case FIELD_MAG_MAX:
        if (reset) a.magMax = 9;
        else if (plus) a.magMax = a.magMax + 1 > 9 ? 9 : a.magMax + 1;
        else a.magMax = a.magMax - 1 <= a.magMin ? a.magMin : a.magMax - 1;
        return 0;
    case FIELD_INT_MAX:
        if (reset) a.intMax = 9;
        else if (plus) a.intMax = a.intMax + 1 > 9 ? 9 : a.intMax + 1;
        else a.intMax = a.intMax - 1 <= a.intMin ? a.intMin : a.intMax - 1;
        return 0;
    case FIELD_DEPTH_MIN:
        if (reset) {
            a.depthMin = 0;
            return 0;
        }
        if (plus) {
            a.depthMin = a.depthMin + step >= a.depthMax ? a.depthMax : a.depthMin + step;
            return a.depthMin == a.depthMax;
        }
        a.depthMin = a.depthMin - step < 0 ? 0 : a.depthMin - step;
        return a.depthMin == 0;
    case FIELD_DEPTH_MAX:
        if (reset) {
            a.depthMax = 999;
            return 0;
        }
        if (plus) {
            a.depthMax = a.depthMax + step > 999 ? 999 : a.depthMax + step;
            return a.depthMax == 999;
        }
        a.depthMax = a.depthMax - step <= a.depthMin ? a.depthMin : a.depthMax - step;
        return a.depthMax == a.depthMin;
    default: return 0;
    }
}

void FilterClick() {
    StepFilterValue(gFilterField, gFilterButton, 1);
}

void FilterHold() {
    const int button = gFilterButton;
    if (button == ARROW_RESET) {
        StepFilterValue(gFilterField, button, 1);
        return;
    }
    if (button != ARROW_MINUS && button != ARROW_PLUS) return;
    const bool depth = gFilterField == FIELD_DEPTH_MIN || gFilterField == FIELD_DEPTH_MAX;
    int step;
    if (depth) step = DepthRepeat();
    else if (gFilterField == FIELD_INT_MIN || gFilterField == FIELD_INT_MAX) step = UnitRepeat(&gIntTicks);
    else step = UnitRepeat(&gMagTicks);
    if (step == 0) return;
    // At a bound the depth step drops to 0; it grows again after six repeats.
    if (StepFilterValue(gFilterField, button, step) && depth) gDepthStep = 0;
}

// --- press, hold, release, wheel -----------------------------------------------

static bool IsArrow(int arrow) {
    return arrow == ARROW_MINUS || arrow == ARROW_PLUS;
}

// A picked record becomes the current one and the selection of the map.
static void MakeCurrent(int record) {
    if (!IsDataRecord(record)) return;   // a pick left over from before a reload
    SelectRecord(record, SELECT_PICK);
}

void PanelPress(int windowWasActive, int pointerY) {
    gPressedControl = gHoverControl;
    gButtonDown = windowWasActive ? 1 : 0;
    if (gHoverControl >= CONTROL_MAG_MIN && gHoverControl <= CONTROL_INT_MAX)
        gFilterField = gHoverControl - 12;
    gBottomPressed = gBottomButton;
    gResetPressed = gResetHover;
    gUpdatePressed = gUpdateHover;
    if (gTabHover == 1) gReportPage = 0;
    if (gTabHover == 2) gReportPage = 1;
    int alertRecord;
    if (PickAlertRow(pointerY, &alertRecord)) SelectRecord(alertRecord, SELECT_PICK);
    if (gStatsPick && gStatsPickRecord >= 0) MakeCurrent(gStatsPickRecord);
    if (gClassPick && gClassPickRecord >= 0) MakeCurrent(gClassPickRecord);
}

int HoldStep() {
    int requests = 0;
    // The close button acts while it is still held.
    if (gBottomButton == 2) requests |= PANEL_REQUEST_CLOSE;
    const int id = gHoverControl;
    if (id >= CONTROL_START_YEAR && id < CONTROL_START_YEAR + 5) gStartField = id - CONTROL_START_YEAR;
    if (id >= CONTROL_END_YEAR && id < CONTROL_END_YEAR + 5) gEndField = id - CONTROL_END_YEAR;
    if (id == CONTROL_FILTER_BUTTONS) FilterHold();
    if (IsArrow(gStartArrow)) {
        int step = DateRepeat(&gStartTicks, &gStartRepeats, &gStartStep, &gStartTimer);
        if (step) StepPeriodStart(gStartField, gStartArrow, step);
    }
    if (IsArrow(gEndArrow)) {
        int step = DateRepeat(&gEndTicks, &gEndRepeats, &gEndStep, &gEndTimer);
        if (step) StepPeriodEnd(gEndField, gEndArrow, step, END_RULES_HOLD);
    }
    return requests;
}

static void ClampStart() {
    SettingsBlock& a = AppSettings;
    ClampDate(&a.startYear, &a.startMonth, &a.startDay, &a.startHour, &a.startMinute);
}

static void ClampEnd() {
    SettingsBlock& a = AppSettings;
    ClampDate(&a.endYear, &a.endMonth, &a.endDay, &a.endHour, &a.endMinute);
}

static void SetStart(int year, int month, int day, int hour, int minute) {
    SettingsBlock& a = AppSettings;
    a.startYear = year;
    a.startMonth = month;
    a.startDay = day;
    a.startHour = hour;
    a.startMinute = minute;
}

static void SetEnd(int year, int month, int day, int hour, int minute) {
    SettingsBlock& a = AppSettings;
    a.endYear = year;
    a.endMonth = month;
    a.endDay = day;
    a.endHour = hour;
    a.endMinute = minute;
}

// The release over the panel's own controls (the window is active).
static int ReleaseControls() {
    int requests = 0;
    gButtonDown = 0;
    gStartTicks = gStartRepeats = gEndTicks = gEndRepeats = 0;
    gMagTicks = gIntTicks = gDepthTicks = gDepthRepeats = 0;
    gStartStep = gEndStep = gDepthStep = 1;

    if (gStartTimer == 0 && IsArrow(gStartArrow)) StepPeriodStart(gStartField, gStartArrow, 1);
    if (gStartArrow == ARROW_RESET) SetStart(1970, 1, 1, 0, 0);
    if (gEndArrow == ARROW_RESET) {
        SetEnd(gDataLast.year, gDataLast.month, gDataLast.day, 23, 59);
        ClampEnd();
    }
    ClampStart();
    if (gEndTimer == 0 && IsArrow(gEndArrow))
        StepPeriodEnd(gEndField, gEndArrow, 1, END_RULES_CLICK);
    ClampEnd();

    if (gHoverControl == gPressedControl) {
        if (gHoverControl == CONTROL_START_LABEL || gHoverControl == CONTROL_END_LABEL)
            requests |= PANEL_REQUEST_PERIOD_DIALOG;
        if (gHoverControl == CONTROL_FILTER_BUTTONS && gFilterTimer == 0) FilterClick();
    }
    if (gSelectedRecordA >= 0) SelectRecord(gSelectedRecordA, SELECT_MAP);
    // The bottom buttons act on the button under the cursor, wherever the press was.
    if (gBottomButton == 1) {
        if ((gReportPage == 0 ? WriteRegionReport() : WriteAlertReport()) != 0) ShowMessage(kSaveFailedText);
    }
    if (gBottomButton == 2) requests |= PANEL_REQUEST_CLOSE;
    if (gResetHover == 1 && gResetPressed == 1) {
        SettingsBlock& a = AppSettings;
        a.magMin = 1;
        a.depthMin = 0;
        a.intMin = 1;
        a.magMax = 9;
        a.depthMax = 999;
        a.intMax = 9;
    }
    // One download a day: the day of the month of the last catalogue load.
    // The national record in place of the sample is offered, resumed or
    // cancelled whenever the button is pressed.
    if (gUpdateHover == 1 && gUpdatePressed == 1) {
        if (RealRecordOffered()) {
            requests |= PANEL_REQUEST_START_UPDATE;
        } else if (AppSettings.lastUpdateDay != gTodayDay) {
            requests |= PANEL_REQUEST_START_UPDATE;
            AppSettings.lastUpdateDay = gTodayDay;
        }
    }
    return requests;
}

int PanelRelease(int windowActive) {
    int requests = windowActive ? ReleaseControls() : 0;
    gResetPressed = 0;
    gUpdatePressed = 0;
    gBottomPressed = 0;
    return requests;
}

void PanelWheel(int delta) {
    const int direction = delta > 0 ? ARROW_MINUS : ARROW_PLUS;
    const int id = gHoverControl;
    if (id >= CONTROL_START_YEAR && id < CONTROL_START_YEAR + 5)
        StepPeriodStart(id - CONTROL_START_YEAR, direction, 1);
    else if (id >= CONTROL_END_YEAR && id < CONTROL_END_YEAR + 5)
        StepPeriodEnd(id - CONTROL_END_YEAR, direction, 1, END_RULES_HOLD);
    else if (id >= CONTROL_MAG_MIN && id <= CONTROL_INT_MAX) {
        const int field = id - 12;
        const bool depth = field == FIELD_DEPTH_MIN || field == FIELD_DEPTH_MAX;
        if (StepFilterValue(field, direction, 1) && depth) gDepthStep = 0;
    }
}

// --- the change check ----------------------------------------------------------

int ChangeCheck() {
    SettingsBlock& a = AppSettings;
    int32_t* const dates[10] = {&a.startYear, &a.startMonth, &a.startDay, &a.startHour,
                                &a.startMinute, &a.endYear, &a.endMonth, &a.endDay,
                                &a.endHour, &a.endMinute};
    int32_t* const filters[6] = {&a.magMin, &a.depthMin, &a.intMin,
                                 &a.magMax, &a.depthMax, &a.intMax};
    int changes = 0;
    for (int i = 0; i < 10; i++) changes += *dates[i] != sPreviousDates[i];
    for (int i = 0; i < 6; i++) changes += *filters[i] != sPreviousFilters[i];
    if (changes) {
        ClampStart();
        ClampEnd();
    }
    for (int i = 0; i < 10; i++) sPreviousDates[i] = int16_t(*dates[i]);
    for (int i = 0; i < 6; i++) sPreviousFilters[i] = *filters[i];
    return changes;
}

// --- the period dialog -----------------------------------------------------------

void ApplyPeriodTexts(const char* startText, const char* endText) {
    int v[5];
    if (ParsePeriodText(startText, v) == 5) {
        ClampDate(&v[0], &v[1], &v[2], &v[3], &v[4]);
        SetStart(v[0], v[1], v[2], v[3], v[4]);
    } else {
        SetStart(1970, 1, 1, 0, 0);
    }
    if (ParsePeriodText(endText, v) == 5) {
        ClampDate(&v[0], &v[1], &v[2], &v[3], &v[4]);
        SetEnd(v[0], v[1], v[2], v[3], v[4]);
    } else {
        LocalTime now;
        GetLocalNow(&now);
        SetEnd(now.year, now.month, now.day, now.hour, now.minute);
    }
}

void SetDefaultPeriod() {
    const DateTime& f = gDataFirst;
    const DateTime& l = gDataLast;
    SetStart(f.year, f.month, f.day, f.hour, f.minute);
    SetEnd(l.year, l.month, l.day, l.hour, l.minute);
}

int PanelHoverTick(int x, int y, int leftButtonDown) {
    CountDownHoldTimers();
    HitTestPanel(x, y);
    return leftButtonDown ? HoldStep() : 0;
}
