// The control panel's picture: the settings box with the period, the filter
// values and their buttons, and the statistics box with the selection
// summary, the per-magnitude table, the update button and its status line.
// Win32 only; the numbers and texts come from panel/layout.
#pragma once

#include <windows.h>

// Paints the panel into `dc`, which holds a 336 x 534 bitmap, for the
// cursor at window pixel (mouseX, mouseY) (the statistics-row pick) and the
// data update status `updateStatus`. Nothing outside the two boxes is
// touched, so it stays as it was (black, transparent on the view).
void PaintControlPanel(HDC dc, int mouseX, int mouseY, int updateStatus);

// The panel's step of UpdateMemoryHDC: selects the ControlPanel bitmap into
// the memory device context, paints it for the current cursor and status,
// and reads it back into the panel's pixel buffer. Nothing is drawn when
// the bitmap cannot be selected.
void DrawControlPanel();
