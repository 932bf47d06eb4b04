// The bottom panel: page 0, the current region's data (summary, class
// table, graph, recurrence rows), or page 1, the alert ranking; the save
// and close buttons on both.
#pragma once

struct PanelPicture;

// The page shown (gBottomPanel, this tick's picks included): its summary
// runs here, and page 0 is painted in full only when it ran; otherwise only
// the hover underline and the buttons change.
void BuildBottomPicture(PanelPicture* out);
