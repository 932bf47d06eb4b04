// The conditions as the user edits them: the period start and end field by
// field within the catalogue's dates, the magnitude, depth and intensity
// ranges, the period dialog's texts, and the change check that makes the tick
// re-filter. Every change is stored through StoreConditions.
#pragma once

// Directions of a step, and the buttons of a row (minus, plus, "R").
enum { ARROW_NONE = 0, ARROW_MINUS = 1, ARROW_PLUS = 2, ARROW_RESET = 3 };

// The filter values, in the control panel's order (magnitude, depth,
// intensity minimum, then the maxima).
enum FilterField {
    FIELD_MAG_MIN = 1,
    FIELD_DEPTH_MIN = 2,
    FIELD_INT_MIN = 3,
    FIELD_MAG_MAX = 4,
    FIELD_DEPTH_MAX = 5,
    FIELD_INT_MAX = 6,
};

// Which end-day minus rule applies: a click, or the hold and the wheel.
enum { END_RULES_CLICK = 0, END_RULES_HOLD = 1 };
enum { PERIOD_START = 1, PERIOD_END = 2 };

// Days of `month` in `year` on the Gregorian calendar (31 for a month outside
// 1..12, as for the long months).
int DaysInMonth(int month, int year);

// Brings a period date (year, month, day, hour, minute) into the catalogue's
// range gDataFirst .. gDataLast and onto a real calendar day, in place. The
// fields are full ints so that any number a dialog parses comes into range.
void ClampDate(int* year, int* month, int* day, int* hour, int* minute);

// Reads a typed period date the way the C format "%d/%d/%d %d:%d" does
// (each number after optional white space and a sign; "/" and ":" exactly;
// the blank matches any white space or none) into fields[0..4]: year,
// month, day, hour, minute. Returns how many numbers were read before the
// first mismatch. A number too large for an int is kept at INT_MAX (INT_MIN
// when negative), so ClampDate can bring it into range.
int ParsePeriodText(const char* text, int fields[5]);

// "%04d/%02d/%02d %02d:%02d": the period dialog's text of a date.
void FormatPeriodText(char* out, int size, int year, int month, int day, int hour, int minute);

// One step of a field (0 year .. 4 minute) of the period start or end,
// `direction` ARROW_MINUS or ARROW_PLUS, by `step`, with the rules that keep
// it inside the catalogue and the other end. `endRules` picks the end-day
// minus variant.
void StepPeriodStart(int field, int direction, int step);
void StepPeriodEnd(int field, int direction, int step, int endRules);
// One step of filter value `field` by `button` (minus, plus or reset);
// returns 1 when a depth value ends on one of its bounds.
int StepFilterValue(int field, int button, int step);

// ClampDate on the start and/or the end (PERIOD_START | PERIOD_END).
void ClampPeriod(int ends);
void SetPeriodStart(int year, int month, int day, int hour, int minute);
void SetPeriodEnd(int year, int month, int day, int hour, int minute);
// "Reset": every filter value to its default.
void ResetFilters();

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
