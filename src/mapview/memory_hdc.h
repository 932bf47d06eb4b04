// The memory bitmaps of the overlay panels, their 24-bit pixel buffers, the
// marker sprite and the hatch pattern. Win32 only.
#pragma once

#include <windows.h>

enum PanelId {
    PANEL_RECENT = 0,
    PANEL_CONTROL,
    PANEL_HOVER,
    PANEL_REGION,
    PANEL_BOTTOM,
    PANEL_HATCH,
    PANEL_COUNT
};

struct PanelBitmap {
    int width, height;
    HBITMAP bitmap;
    unsigned char* pixels;   // top-down rows of blue, green, red
    HGDIOBJ displaced;       // what the bitmap displaced while selected
};

extern HDC gMemoryDC;
extern PanelBitmap gPanels[PANEL_COUNT];
extern unsigned char* gCircleSpritePixels;   // 64 x 64 x 3, top-down BGR

int CreateMemoryHDC();
int UpdateMemoryHDC();
void ReleaseMemoryHDC();
