#include "engine/rules/date_rules.h"

#include <climits>
#include <cstdio>

#include "engine/catalogue/model.h"

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
