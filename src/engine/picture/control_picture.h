// The control panel on the right: the condition and statistics boxes, the
// hover and selection highlights, the row buttons, the statistics-row pick,
// "Reset", "更新" and the update status line.
#pragma once

struct PanelPicture;

// The panel for its state (gControlPanel, the picks of this tick included)
// and the update stage `updateStatus`.
void BuildControlPicture(int updateStatus, PanelPicture* out);
