// The recent-events panel (192 x 268, top left of the map): the graph of the
// 192 newest matching earthquakes, the counts, the strong-events tab and the
// card of the selected earthquake. Win32 only.
#pragma once

// The panel's step of UpdateMemoryHDC: repaints the RecentPanel bitmap
// completely from the current data and reads it back. Nothing changes when
// the bitmap cannot be selected.
void DrawRecentPanel();
