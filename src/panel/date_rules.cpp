#include "panel/date_rules.h"

#include "catalogue/model.h"

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
