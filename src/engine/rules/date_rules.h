// The calendar rules of the period controls: month lengths and the clamp that
// keeps a period date inside the loaded catalogue.
#pragma once

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
