// The map pick: the matching earthquake drawn under the cursor, its region's
// summary for the hover panel, and the two records a click on the map
// selects (the selection's gSelectedRecordA/B). Run every tick, before the
// panels are drawn.
#pragma once

struct HoverSummary {
    int hovered;        // 1 when a matching earthquake lies under the cursor
    int region;         // its region index
    int count;          // matching records of that region in the matching window
    int maxMag10, meanMag10;
};

// The pick for the cursor at window (mouseX, mouseY): the newest matching
// record drawn within 5 pixels left of / above and 1 pixel right of / below
// the cursor. Sets gSelectedRecordA to the newest matching record of its
// region (FirstInRegion) and gSelectedRecordB to the first record the region
// summary takes; both -1 when nothing is picked.
void MapPick(int mouseX, int mouseY);
const HoverSummary& MapHoverSummary();
// The left button went up (the window active): the picked region's newest match becomes current.
void MapRelease();
