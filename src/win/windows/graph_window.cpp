// The monthly graph window: creation, its window procedure, the refresh on
// every frame and the paint of the series that graph_data computes.
#include "win/windows/graph_window.h"

#include <cwchar>
#include <string>

#include "engine/picture/graph_data.h"
#include "engine/controls/placement.h"
#include "engine/model/commands.h"
#include "engine/model/settings.h"
#include "resources/resource.h"
#include "win/app/panel_font.h"
#include "win/app/shell.h"
#include "platform/wide_text.h"
#include "win/windows/window_class.h"
#include "win/windows/window_surface.h"

enum {
    kGraphWidth = 508,
    kGraphHeight = 256,
    kGraphSlot = 2,        // element of AppSettings.winX / winY
    kFrameRight = 497,
    kFrameBottom = 222,
    kTextLeft = 1,
    kTextRight = 468,
    kTextTop = 4,
    kTextPitch = 16,
};

static HWND sWindow;
static WindowSurface sSurface;
static int sOpacity;

// The GDI calls' results are not checked one by one: a pen, brush or font
// that cannot be made leaves the memory bitmap's current one in place, a
// failed drawing call leaves that shape out of this paint only, and every
// object made here is deleted again.
static void DrawSeries(HDC dc, const GraphPoint* points, int count, COLORREF colour) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    POINT line[kGraphDays];
    for (int i = 0; i < count; i++) line[i] = POINT{points[i].x, points[i].y};
    if (count >= 2) ::Polyline(dc, line, count);
    SelectObject(dc, old);
    DeleteObject(pen);
}

static void MeanLine(HDC dc, int y) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(128, 255, 128));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, kGraphMeanLeft, y, nullptr);
    LineTo(dc, kGraphMeanRight + 1, y);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void PaintGraph(HDC dc) {
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    RECT all = {0, 0, kGraphWidth, kGraphHeight};
    FillRect(dc, &all, black);
    HPEN grey = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HGDIOBJ oldPen = SelectObject(dc, grey);
    HGDIOBJ oldBrush = SelectObject(dc, black);
    POINT frame[4] = {{0, 0}, {kFrameRight, 0}, {kFrameRight, kFrameBottom}, {0, kFrameBottom}};
    Polygon(dc, frame, 4);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(grey);
    DeleteObject(black);

    HFONT font = CreatePanelFont();
    if (!font) return;
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);

    GraphPlot plot;
    BuildGraphPlot(&plot);
    DrawSeries(dc, plot.counts, plot.days, RGB(255, 255, 255));
    DrawSeries(dc, plot.magnitudes, plot.days, RGB(255, 255, 128));
    DrawSeries(dc, plot.intervals, plot.days, RGB(128, 255, 255));
    MeanLine(dc, plot.meanY);

    static const COLORREF kLineColours[kGraphTextLines] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 128),
        RGB(128, 255, 255), RGB(128, 255, 128), RGB(255, 180, 112),
    };
    char lines[kGraphTextLines][kGraphTextBytes];
    FormatGraphLines(plot, lines);
    for (int i = 0; i < kGraphTextLines; i++) {
        const std::wstring text = ToWide(lines[i]);
        if (text.empty()) continue;
        RECT r = {kTextLeft, kTextTop + kTextPitch * i, kTextRight, kTextTop + kTextPitch * (i + 1)};
        SetTextColor(dc, kLineColours[i]);
        DrawTextW(dc, text.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

static void RefreshTick() {
    RECT r;
    if (GetWindowRect(sWindow, &r)) {
        StoreWindowPlace(kGraphSlot, r.left, r.top);
    }
    sOpacity = FadeStep(sOpacity, gMainActive || gGraphActive);
    SetLayeredWindowAttributes(sWindow, 0, BYTE(sOpacity), LWA_ALPHA);
    InvalidateRect(sWindow, nullptr, FALSE);
}

LRESULT CALLBACK GraphWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        sWindow = window;
        sOpacity = 255;
        return 0;
    case WM_DESTROY:
        ReleaseWindowSurface(&sSurface);
        gGraphActive = 0;
        sWindow = nullptr;
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            gGraphActive = 0;
        else if (LOWORD(wParam) == WA_CLICKACTIVE || GetForegroundWindow() == window)
            gGraphActive = 1;
        return DefWindowProcW(window, message, wParam, lParam);   // the keyboard focus
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (sSurface.dc) {
            PaintGraph(sSurface.dc);
            CopyWindowSurface(sSurface, dc);
        }
        EndPaint(window, &ps);
        return 0;
    }
    // Esc and a close request end the whole program in order.
    case WM_CLOSE: PostMessageW(gMainWindow, WM_COMMAND, CMD_EXIT, 0); return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == CMD_EXIT) {
            PostMessageW(gMainWindow, WM_COMMAND, CMD_EXIT, 0);
            return 0;
        }
        if (LOWORD(wParam) == CMD_GRAPH_REFRESH) {
            RefreshTick();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_LBUTTONDOWN: gGraphActive = 1; return 0;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONUP:
    case WM_KEYDOWN: return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND CreateMGVWindow() {
    std::wstring title = std::wstring(gAppTitle) + L" 地震回数・合計規模グラフ";
    wchar_t className[100];
    if (LoadStringW(gInstance, IDS_GRAPH_CLASS, className, 100) <= 0) wcscpy(className, L"wolt_MGV");

    RegisterOwnedWindowClass(className, GraphWndProc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));

    HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, className,
                                  title.substr(0, 255).c_str(), WS_POPUP | WS_VISIBLE | WS_CAPTION,
                                  AppSettings.winX[kGraphSlot], AppSettings.winY[kGraphSlot], kGraphWidth,
                                  kGraphHeight, gMainWindow, nullptr, gInstance, nullptr);
    if (!window) return nullptr;
    sOpacity = 0;
    SetLayeredWindowAttributes(window, 0, 0, LWA_ALPHA);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetWindowPos(window, gMainWindow, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER);
    if (CreateWindowSurface(window, &sSurface) != 0) {
        DestroyWindow(window);
        return nullptr;
    }
    return window;
}
