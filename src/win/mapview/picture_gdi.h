// Paints a panel picture with GDI: each pen and brush created for one item
// and deleted right after it, the texts in the panel font through the wide
// API. Win32 only.
#pragma once

#include <windows.h>

struct PanelPicture;

void PaintPicture(HDC dc, const PanelPicture& picture);
