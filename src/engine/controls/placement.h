// The arithmetic of the main window's place on screen: keeping a dragged
// rectangle inside the work area, the placement correction at start, the
// cursor relative to the window, and the opacity fade. Portable.
#pragma once

#include "engine/model/settings.h"

struct ScreenRect {
    int left, top, right, bottom;
};

// Shifts `rect` (keeping its size) so that its left edge is not left of the
// work area, then its right edge not right of it, then the same for top and
// bottom. A rectangle larger than the area ends flush with its right/bottom.
void KeepInsideWorkArea(ScreenRect* rect, const WorkArea& area);

// The placement correction of the main window. `normalLeft`/`normalTop`
// are the window placement's normal position (relative to the work area).
// Writes the screen position that keeps a `width` x `height` window inside
// the area into *x, *y; returns 1 when that differs from the placement's
// own position (the window must be moved), else 0.
int PlaceInWorkArea(int normalLeft, int normalTop, int width, int height, const WorkArea& area,
                    int* x, int* y);

// The cursor in window pixels, with the window's corner taken from its
// placement (relative to the work area) as PlaceInWorkArea does.
void CursorInWindow(int cursorX, int cursorY, int normalLeft, int normalTop, const WorkArea& area,
                    int* windowX, int* windowY);

enum { kFadeStep = 8, kFullOpacity = 255 };

// One tick of the opacity: while one of the program's windows is active it
// rises by 8 up to 255; with every window inactive it is fully opaque.
int FadeStep(int opacity, int anyWindowActive);
