// Per-region magnitude and intensity class statistics on the record clock
// (intervals counted in catalogue records, the present being the newest
// matching record).
#pragma once

// The record-clock statistics of one class: the matching records of magnitude
// class `magClass` (magnitude10 / 10) or intensity class `intensityClass` in
// the region of `record` (or the whole catalogue for a negative record),
// within the matching window. Returns the count. A record that is not part of
// the data gives a count of 0 and latestIndex -1.
int ClassStatsByMagnitude(int record, int magClass, int* count, int* sinceLatest,
                          int* meanInterval, int* latestIndex);
int ClassStatsByIntensity(int record, int intensityClass, int* count, int* sinceLatest,
                          int* meanInterval, int* latestIndex);
// The panels' row of magnitude class `magClass`: "M5     123 2024/01/02      45/     67"
// (count, date of the newest, records since it / mean interval), ASCII.
void MagnitudeClassRow(int record, int magClass, char* out, int size);
// Due and share ratios (per cent, at most 999.99) of recurrence band `band`
// (0: M5.0+, 1..5: the M5..M9 classes, other: every record) in the region of
// `record`; both 0 with fewer than two events or without a record.
void ClassRecurrence(int record, int band, float* dueRatio, float* shareRatio);
