#include "engine/controls/period.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>

#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "platform/platform.h"

int DaysInMonth(int month, int year) {
    if (month == 4 || month == 6 || month == 9 || month == 11) return 30;
    if (month == 2) return (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 29 : 28;
    return 31;
}

static int Clamp(int value, int low, int high) {
    return value < low ? low : value > high ? high : value;
}

void ClampDate(int* year, int* month, int* day, int* hour, int* minute) {
    const DateTime& f = gDataFirst;
    const DateTime& l = gDataLast;
    *year = Clamp(*year, f.year, l.year);
    *month = Clamp(*month, 1, 12);
    if (*year == f.year && *month < f.month) {
        *month = f.month;
        if (*day < f.day) *day = f.day;
    }
    if (*year == l.year) {
        if (*month > l.month) *month = l.month;
        if (*month == l.month && *day > l.day) *day = l.day;
    }
    *day = Clamp(*day, 1, DaysInMonth(*month, *year));
    // Negative times can come from a typed period; they mean the day's start.
    *hour = Clamp(*hour, 0, 23);
    *minute = Clamp(*minute, 0, 59);
}

static bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One "%d": white space, an optional sign, at least one digit. Advances *p
// past what it read; false (nothing consumed that matters) without a digit.
static bool ReadNumber(const char** p, int* value) {
    const char* s = *p;
    while (IsSpace(*s)) s++;
    bool negative = *s == '-';
    if (*s == '-' || *s == '+') s++;
    if (*s < '0' || *s > '9') return false;
    long long magnitude = 0;
    for (; *s >= '0' && *s <= '9'; s++)
        if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (*s - '0');
    if (negative) magnitude = -magnitude;
    *value = magnitude > INT_MAX ? INT_MAX : magnitude < INT_MIN ? INT_MIN : int(magnitude);
    *p = s;
    return true;
}

int ParsePeriodText(const char* text, int fields[5]) {
    // What must come before each number: nothing, '/', '/', white space, ':'.
    static const char kBefore[5] = {0, '/', '/', ' ', ':'};
    const char* p = text;
    for (int i = 0; i < 5; i++) {
        if (kBefore[i] == ' ') {
            while (IsSpace(*p)) p++;
        } else if (kBefore[i] != 0) {
            if (*p != kBefore[i]) return i;
            p++;
        }
        if (!ReadNumber(&p, &fields[i])) return i;
    }
    return 5;
}

void FormatPeriodText(char* out, int size, int year, int month, int day, int hour, int minute) {
    std::snprintf(out, size_t(size), "%04d/%02d/%02d %02d:%02d", year, month, day, hour, minute);
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
    SettingsBlock a = AppSettings;
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
    StoreConditions(a);
}

void StepPeriodEnd(int field, int direction, int step, int endRules) {
    SettingsBlock a = AppSettings;
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
    StoreConditions(a);
}

// --- the filter values ---------------------------------------------------------

// A value moves by one (depth by `step`) inside its range and never past
// the other end of its pair; "R" puts it back on its end of the range.
// Returns 1 when a depth value ends on a bound.
static int StepFilterIn(SettingsBlock& a, int field, int button, int step) {
    if (field < FIELD_MAG_MIN || field > FIELD_INT_MAX) return 0;
    if (button != ARROW_MINUS && button != ARROW_PLUS && button != ARROW_RESET) return 0;
    int32_t* const pairs[3][2] = {{&a.magMin, &a.magMax}, {&a.depthMin, &a.depthMax}, {&a.intMin, &a.intMax}};
    const int kind = (field - FIELD_MAG_MIN) % 3;
    const bool isMin = field <= FIELD_INT_MIN;
    const FilterRange range = kFilterRanges[kind];
    const int32_t low = *pairs[kind][0], high = *pairs[kind][1];
    int32_t& value = *pairs[kind][isMin ? 0 : 1];
    if (button == ARROW_RESET) {
        value = isMin ? range.low : range.high;
        return 0;
    }
    const int by = kind == FILTER_DEPTH ? step : 1;
    const int floor = isMin ? range.low : low, ceiling = isMin ? high : range.high;
    value = button == ARROW_PLUS ? std::min(value + by, ceiling) : std::max(value - by, floor);
    return kind == FILTER_DEPTH && value == (button == ARROW_PLUS ? ceiling : floor);
}

int StepFilterValue(int field, int button, int step) {
    SettingsBlock a = AppSettings;
    const int atBound = StepFilterIn(a, field, button, step);
    StoreConditions(a);
    return atBound;
}

// --- storing, clamping and checking -----------------------------------------------

void ClampPeriod(int ends) {
    SettingsBlock a = AppSettings;
    if (ends & PERIOD_START) ClampDate(&a.startYear, &a.startMonth, &a.startDay, &a.startHour, &a.startMinute);
    if (ends & PERIOD_END) ClampDate(&a.endYear, &a.endMonth, &a.endDay, &a.endHour, &a.endMinute);
    StoreConditions(a);
}

void SetPeriodStart(int year, int month, int day, int hour, int minute) {
    SettingsBlock a = AppSettings;
    a.startYear = year, a.startMonth = month, a.startDay = day, a.startHour = hour, a.startMinute = minute;
    StoreConditions(a);
}

void SetPeriodEnd(int year, int month, int day, int hour, int minute) {
    SettingsBlock a = AppSettings;
    a.endYear = year, a.endMonth = month, a.endDay = day, a.endHour = hour, a.endMinute = minute;
    StoreConditions(a);
}

void ResetFilters() {
    SettingsBlock a = AppSettings;
    SetFullFilterRanges(&a);
    StoreConditions(a);
}


// The conditions as the last change check saw them; the dates as 16-bit copies.
static int16_t sPreviousDates[10];
static int32_t sPreviousFilters[6];

int ChangeCheck() {
    const SettingsBlock& a = AppSettings;
    const int32_t* const dates[10] = {&a.startYear, &a.startMonth, &a.startDay, &a.startHour,
                                &a.startMinute, &a.endYear, &a.endMonth, &a.endDay,
                                &a.endHour, &a.endMinute};
    const int32_t* const filters[6] = {&a.magMin, &a.depthMin, &a.intMin,
                                 &a.magMax, &a.depthMax, &a.intMax};
    int changes = 0;
    for (int i = 0; i < 10; i++) changes += *dates[i] != sPreviousDates[i];
    for (int i = 0; i < 6; i++) changes += *filters[i] != sPreviousFilters[i];
    if (changes) ClampPeriod(PERIOD_START | PERIOD_END);
    for (int i = 0; i < 10; i++) sPreviousDates[i] = int16_t(*dates[i]);
    for (int i = 0; i < 6; i++) sPreviousFilters[i] = *filters[i];
    return changes;
}

// --- the period dialog -----------------------------------------------------------

void ApplyPeriodTexts(const char* startText, const char* endText) {
    int v[5];
    if (ParsePeriodText(startText, v) == 5) {
        ClampDate(&v[0], &v[1], &v[2], &v[3], &v[4]);
        SetPeriodStart(v[0], v[1], v[2], v[3], v[4]);
    } else {
        SetPeriodStart(1970, 1, 1, 0, 0);
    }
    if (ParsePeriodText(endText, v) == 5) {
        ClampDate(&v[0], &v[1], &v[2], &v[3], &v[4]);
        SetPeriodEnd(v[0], v[1], v[2], v[3], v[4]);
    } else {
        LocalTime now;
        GetLocalNow(&now);
        SetPeriodEnd(now.year, now.month, now.day, now.hour, now.minute);
    }
}

void SetDefaultPeriod() {
    const DateTime& f = gDataFirst;
    const DateTime& l = gDataLast;
    SetPeriodStart(f.year, f.month, f.day, f.hour, f.minute);
    SetPeriodEnd(l.year, l.month, l.day, l.hour, l.minute);
}

