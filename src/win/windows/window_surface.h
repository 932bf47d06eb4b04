// A window's memory bitmap: painted off screen, copied to the window on
// WM_PAINT. Win32 only.
#pragma once

#include <windows.h>

struct WindowSurface {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ displaced;   // what the bitmap displaced in dc
    int width, height;   // the window's outer size when it was made
};

// A surface the size of `window`'s outer rectangle, with a transparent text
// background and white text. 0 on success; on failure nothing is kept and
// `out` is left empty.
int CreateWindowSurface(HWND window, WindowSurface* out);
// The same with the given size.
int CreateSizedSurface(HWND window, int width, int height, WindowSurface* out);
// Frees the surface (an empty one too) and leaves it empty.
void ReleaseWindowSurface(WindowSurface* surface);
// Copies the surface to `dc` (a WM_PAINT's); nothing when it is empty.
void CopyWindowSurface(const WindowSurface& surface, HDC dc);
