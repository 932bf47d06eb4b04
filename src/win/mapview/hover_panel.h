// The hover panel (192 x 60) that follows the cursor over the map: the
// region of the matching earthquake under the cursor and its summary. Its
// search is the map's picking (gSelectedRecordA, gSelectedRecordB). Win32 only.
#pragma once

// The panel's step of UpdateMemoryHDC: picks at the cursor (gMouseX,
// gMouseY), then paints the box and reads it back. The pick is made also
// when the bitmap cannot be selected; the picture then stays as it was.
void DrawHoverPanel();
