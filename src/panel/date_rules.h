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
