// The bottom panel (864 x 246 under the map) with its two pages: the region
// data of the current record's region and the alert ranking, the tabs, and
// the save and close buttons. Win32 only.
#pragma once

// The panel's step of UpdateMemoryHDC. Page 0 is painted in full only when
// the current record has changed (or after page 1 was shown); every tick
// then refreshes its hover underline (the class-row pick) and the buttons.
// Page 1 is painted in full every tick (its hover state for SelectAlertRow).
void DrawBottomPanel();
