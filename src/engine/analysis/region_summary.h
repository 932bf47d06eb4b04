// The numbers behind the selected-region panel and the region data page of
// the bottom panel: the summaries of the current record's region.
#pragma once

extern int gRegionSummaryKey;    // record of the last region-panel summary; -99999 forces one
extern int gRegionSummaryKey2;   // record of the last region-page summary; -99999 forces one
extern int gRegionCount;
extern int gRegionMinMag10, gRegionMaxMag10, gRegionMeanMag10;
extern int gRegionMinDepth, gRegionMaxDepth, gRegionMeanDepth;
extern int gRegionStrongCount, gRegionStrongGap, gRegionSinceStrong;
extern int gRegionPointX, gRegionPointY;
extern int gRegionDays;          // days of the matching window, both ends counted

enum { kSummaryKeyReset = -99999 };

// Forces both summaries (or the page's) to run again on their next call.
void ResetRegionSummaries();
void ResetRegionPageSummary();

// The region panel's summary over the whole catalogue; runs only when
// gCurrentRecord >= 0 and differs from gRegionSummaryKey. Returns 1 when it ran.
int UpdateRegionPanelSummary();
// The region page's summary over the matching window; runs only when
// gCurrentRecord >= 0 and differs from gRegionSummaryKey2. Returns 1 when it ran.
int UpdateRegionPageSummary();
// gRegionDays from selLastIndex and selFirstIndex (every filter run); 0 when
// either index is not a loaded record (an empty catalogue).
void UpdateRegionDays();

// The hover underline row r of the region page's class table for a pointer at
// window (mouseX, mouseY): 1..9 while the pointer lies over the table (the
// page underlines at panel y 18r + 44 and picks magnitude class r), else 0.
int ClassRowAt(int mouseX, int mouseY);
