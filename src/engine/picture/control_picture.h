// The control panel on the right: the condition and statistics boxes, the
// hover and selection highlights, the row buttons, the statistics-row pick,
// "Reset", "更新" and the update status line.
#pragma once

struct PanelPicture;

// For the cursor at window (mouseX, mouseY) (the statistics-row pick runs
// here) and the update stage `updateStatus`.
void BuildControlPicture(int mouseX, int mouseY, int updateStatus, PanelPicture* out);
