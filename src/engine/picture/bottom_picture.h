// The bottom panel: page 0, the current region's data (summary, class
// table, graph, recurrence rows), or page 1, the alert ranking; the save
// and close buttons on both.
#pragma once

struct PanelPicture;

// For the cursor at window (mouseX, mouseY): the pick of the page shown
// (neither page's pick survives on the other), the page's summary, and the
// picture. Page 0 is painted in full only when its summary ran; otherwise
// only the hover underline and the buttons change.
void BuildBottomPicture(int mouseX, int mouseY, PanelPicture* out);
