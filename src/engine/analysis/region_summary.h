// The numbers behind the selected-region panel and the region data page of
// the bottom panel: the summaries of a record's region. Both summaries write
// the same figures (the one that ran last shows), read through these names.
#pragma once

extern const int& gRegionCount;
extern const int &gRegionMinMag10, &gRegionMaxMag10, &gRegionMeanMag10;
extern const int &gRegionMinDepth, &gRegionMaxDepth, &gRegionMeanDepth;
extern const int &gRegionStrongCount, &gRegionStrongGap, &gRegionSinceStrong;
extern const int &gRegionPointX, &gRegionPointY;
extern const int& gRegionDays;   // days of the matching window, both ends counted

enum { kSummaryKeyReset = -99999 };

// Forces both summaries (or the page's) to run again on their next call.
void ResetRegionSummaries();
void ResetRegionPageSummary();

// The region panel's summary of `record`'s region over the whole catalogue;
// runs only when record >= 0 and differs from the record it last ran for.
// Returns 1 when it ran.
int UpdateRegionPanelSummary(int record);
// The region page's summary over the matching window, likewise.
int UpdateRegionPageSummary(int record);
// gRegionDays from selLastIndex and selFirstIndex (every filter run); 0 when
// either index is not a loaded record (an empty catalogue).
void UpdateRegionDays();

