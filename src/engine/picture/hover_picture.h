// The hover panel: the region summary of the map pick under the cursor.
#pragma once

struct PanelPicture;

// The panel for this tick's map pick (controls/map_pick.h).
void BuildHoverPicture(PanelPicture* out);
