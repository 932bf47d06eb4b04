// The hover panel: the map pick under the cursor and its region's summary.
#pragma once

struct PanelPicture;

// Picks the marker under the cursor at window (mouseX, mouseY) (HoverPick)
// and builds the panel's picture.
void BuildHoverPicture(int mouseX, int mouseY, PanelPicture* out);
