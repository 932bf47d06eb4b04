// The recent-events panel: the graph of the newest matches, the counts, the
// strong-events tab and the selected earthquake's card.
#pragma once

struct PanelPicture;

// The whole panel, cleared to black first; `width` x `height` is its size.
void BuildRecentPicture(int width, int height, PanelPicture* out);
