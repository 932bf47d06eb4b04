#include "win/windows/window_surface.h"

int CreateWindowSurface(HWND window, WindowSurface* out) {
    RECT r;
    if (!GetWindowRect(window, &r)) {
        *out = WindowSurface{};
        return 1;
    }
    return CreateSizedSurface(window, r.right - r.left, r.bottom - r.top, out);
}

int CreateSizedSurface(HWND window, int width, int height, WindowSurface* out) {
    *out = WindowSurface{};
    HDC windowDC = GetDC(window);
    if (!windowDC) return 1;
    WindowSurface s = {};
    s.width = width;
    s.height = height;
    s.dc = CreateCompatibleDC(windowDC);
    if (s.dc) s.bitmap = CreateCompatibleBitmap(windowDC, s.width, s.height);
    ReleaseDC(window, windowDC);
    if (s.bitmap) s.displaced = SelectObject(s.dc, s.bitmap);
    if (!s.displaced || s.displaced == HGDI_ERROR) {
        if (s.bitmap) DeleteObject(s.bitmap);
        if (s.dc) DeleteDC(s.dc);
        return 1;
    }
    SetBkMode(s.dc, TRANSPARENT);
    SetTextColor(s.dc, RGB(255, 255, 255));
    *out = s;
    return 0;
}

void ReleaseWindowSurface(WindowSurface* surface) {
    if (surface->dc) {
        SelectObject(surface->dc, surface->displaced);
        DeleteDC(surface->dc);
    }
    if (surface->bitmap) DeleteObject(surface->bitmap);
    *surface = WindowSurface{};
}

void CopyWindowSurface(const WindowSurface& surface, HDC dc) {
    if (surface.dc) BitBlt(dc, 0, 0, surface.width, surface.height, surface.dc, 0, 0, SRCCOPY);
}
