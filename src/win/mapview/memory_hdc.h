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

enum { kCircleSize = 64 };

extern HDC gMemoryDC;
extern PanelBitmap gPanels[PANEL_COUNT];
extern unsigned char* gCircleSpritePixels;   // 64 x 64 x 3, top-down BGR

// 1 when any of the objects already exists (nothing done), else 0 — also
// after a failure, which it reports in a message box.
int CreateMemoryHDC();
// 0 after redrawing the panels; 1 without the device context, 2 when a
// panel's pixel buffer is missing, 3 when its bitmap is missing.
int UpdateMemoryHDC();
void ReleaseMemoryHDC();

// The text font of the panels and windows: 16 pixels, normal weight, proof
// quality, fixed pitch, no face name. The Shift-JIS charset makes every
// system pick a font with Japanese glyphs (the default charset does not
// outside a Japanese locale). Created for one drawing step, then deleted.
HFONT CreatePanelFont();

// The drawing pattern of every panel: BeginPanelDraw selects the panel's
// bitmap into gMemoryDC (0; 1 when that fails: leave the panel as it was),
// the panel paints through gMemoryDC, EndPanelDraw reads the bitmap back
// into the pixel buffer and puts the displaced object back.
int BeginPanelDraw(PanelId panel);
void EndPanelDraw(PanelId panel);
