// The selected-region panel (512 x 230 over the lower map): the box of the
// current record's region, the depth legend and the credit lines. Win32 only.
#pragma once

// The panel's step of UpdateMemoryHDC: only when the current record has
// changed (UpdateRegionPanelSummary runs), repaints the box, the legend and
// the texts over the last picture and reads it back.
void DrawRegionPanel();
