// The memory bitmaps of the overlay panels, their 24-bit pixel buffers, the
// marker sprite and the hatch pattern. Win32 only.
#pragma once

#include <windows.h>

#include "engine/picture/markers.h"

// One bitmap per PanelId, of its kPanelSizes size.
struct PanelBitmap {
    HBITMAP bitmap;
    unsigned char* pixels;   // top-down rows of blue, green, red
    HGDIOBJ displaced;       // what the bitmap displaced while selected
};

enum { kCircleSize = 64 };

// Written only here, by CreateMemoryHDC, UpdateMemoryHDC and ReleaseMemoryHDC.
extern const HDC& gMemoryDC;
extern const PanelBitmap (&gPanels)[PANEL_COUNT];
extern unsigned char* const& gCircleSpritePixels;   // 64 x 64 x 3, top-down BGR

enum CreateHdcResult {
    CREATE_HDC_OK = 0,
    CREATE_HDC_EXISTS = 1,   // an object already exists: nothing done
    CREATE_HDC_FAILED = 2,   // shown in a message box; nothing made is kept
};
int CreateMemoryHDC();
enum UpdateHdcResult {
    UPDATE_HDC_OK = 0,         // every panel's picture built and painted
    UPDATE_HDC_NO_DC = 1,      // no memory device context
    UPDATE_HDC_NO_PIXELS = 2,  // a panel's pixel buffer is missing
    UPDATE_HDC_NO_BITMAP = 3,  // a panel's bitmap is missing
};
// Builds every panel's picture and paints it into the panel's bitmap.
int UpdateMemoryHDC();
void ReleaseMemoryHDC();
