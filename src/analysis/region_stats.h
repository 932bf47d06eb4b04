// Per-region magnitude and intensity class statistics on the record clock
// (intervals counted in catalogue records, the present being the newest
// matching record).
#pragma once

int ClassStatsByMagnitude(int record, int magClass, int* count, int* sinceLatest,
                          int* meanInterval, int* latestIndex);
int ClassStatsByIntensity(int record, int intensityClass, int* count, int* sinceLatest,
                          int* meanInterval, int* latestIndex);
void ClassRecurrence(int band, float* dueRatio, float* shareRatio);
int FirstInRegion(int record);

extern int gSelectedRecordA;
extern int gSelectedRecordB;
