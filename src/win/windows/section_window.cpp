// The cross-section window: created on demand beside the list window, it
// repaints the section's events into a base bitmap only when the section
// changes (line, width, selection) and on every frame copies that base and
// draws the pointer's event, the save button and the last save's note.
//
// The results of the drawing calls into the memory bitmaps (FillRect,
// Ellipse, DrawTextW, BitBlt, the selections of stock objects, the DC colours)
// are not checked: a failed one leaves part of one frame unpainted, and the
// next frame paints it again. Creation, the surfaces and the files are checked.
#include "win/windows/section_window.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "engine/analysis/reports.h"
#include "engine/catalogue/data_files.h"
#include "engine/picture/section_picture.h"
#include "engine/model/commands.h"
#include "engine/controls/placement.h"
#include "engine/controls/section_controls.h"
#include "engine/model/settings.h"
#include "platform/platform.h"
#include "win/app/panel_font.h"
#include "win/app/placement.h"
#include "win/app/shell.h"
#include "platform/wide_text.h"
#include "win/windows/window_class.h"
#include "win/windows/window_surface.h"

enum { kNoteTicks = 125 };   // a save's note stays about five seconds

static HWND sWindow;
static WindowSurface sFrame, sBase;     // what is shown; the events without the pointer's marks
static int sOpacity;
static SectionPlot sPlot;
static int sPlotGeneration = -1;
static int sHover = -1;           // dot under the pointer
static int sSaveHover, sSavePressed;
static std::string sNote;         // UTF-8, the last save's files
static int sNoteTicks;

static COLORREF Rgb(uint32_t color) { return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF); }

static RECT ToRect(const PanelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

static void DrawUtf8(HDC dc, const std::string& text, const PanelRect& r, UINT flags, COLORREF color) {
    const std::wstring wide = ToWide(text.c_str());
    RECT box = ToRect(r);
    SetTextColor(dc, color);
    DrawTextW(dc, wide.c_str(), int(wide.size()), &box, flags | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// The stock DC pen and brush take a colour without a new object per dot.
static void SetDcColors(HDC dc, COLORREF pen, COLORREF brush) {
    SetDCPenColor(dc, pen);
    SetDCBrushColor(dc, brush);
}

static void PaintBase(HDC dc) {
    RECT all = {0, 0, sPlot.width, sPlot.height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
    const PanelRect& f = sPlot.frame;
    SetDcColors(dc, RGB(128, 128, 128), RGB(0, 0, 0));
    Rectangle(dc, f.left, f.top, f.right + 1, f.bottom + 1);
    for (const SectionMark& m : sPlot.distanceMarks) {
        MoveToEx(dc, m.position, f.bottom, nullptr);
        LineTo(dc, m.position, f.bottom + 5);
    }
    for (const SectionMark& m : sPlot.depthMarks) {
        MoveToEx(dc, f.left - 5, m.position, nullptr);
        LineTo(dc, f.left, m.position);
    }
    for (const SectionDot& d : sPlot.dots) {
        SetDcColors(dc, Rgb(d.color), Rgb(d.color));
        Ellipse(dc, d.x - d.radius, d.y - d.radius, d.x + d.radius + 1, d.y + d.radius + 1);
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);

    HFONT font = CreatePanelFont();
    if (!font) return;   // the dots without their texts
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const COLORREF white = RGB(255, 255, 255), grey = RGB(192, 192, 192);
    DrawUtf8(dc, sPlot.heading, PanelRect{8, 4, sPlot.width - 8, 22}, DT_LEFT, white);
    DrawUtf8(dc, sPlot.ends, PanelRect{8, 22, sPlot.width - 160, 40}, DT_LEFT, grey);
    DrawUtf8(dc, sPlot.scale, PanelRect{sPlot.width - 160, 22, sPlot.width - 16, 40}, DT_RIGHT, grey);
    for (const SectionMark& m : sPlot.distanceMarks)
        DrawUtf8(dc, m.label, PanelRect{m.position - 30, f.bottom + 6, m.position + 30, f.bottom + 22}, DT_CENTER, grey);
    for (const SectionMark& m : sPlot.depthMarks)
        DrawUtf8(dc, m.label, PanelRect{0, m.position - 8, f.left - 8, m.position + 8}, DT_RIGHT, grey);
    DrawUtf8(dc, sPlot.distanceTitle, PanelRect{f.left, f.bottom + 22, f.right, f.bottom + 40}, DT_CENTER, white);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

static void PaintFrame() {
    BitBlt(sFrame.dc, 0, 0, sPlot.width, sPlot.height, sBase.dc, 0, 0, SRCCOPY);
    HDC dc = sFrame.dc;
    if (sHover >= 0 && sHover < int(sPlot.dots.size())) {
        const SectionDot& d = sPlot.dots[size_t(sHover)];
        const int reach = d.radius + 3;
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        SetDCPenColor(dc, RGB(255, 255, 255));
        Ellipse(dc, d.x - reach, d.y - reach, d.x + reach + 1, d.y + reach + 1);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    }
    const PanelRect button = SectionSaveButton(sPlot.width, sPlot.height);
    const COLORREF pen = sSavePressed ? RGB(255, 192, 128) : sSaveHover ? RGB(255, 255, 255) : RGB(160, 160, 160);
    const COLORREF fill = sSavePressed ? RGB(128, 64, 32) : sSaveHover ? RGB(160, 96, 64) : RGB(64, 64, 64);
    HPEN p = CreatePen(PS_SOLID, 1, pen);
    HBRUSH b = CreateSolidBrush(fill);
    if (p && b) {
        HGDIOBJ oldPen = SelectObject(dc, p);
        HGDIOBJ oldBrush = SelectObject(dc, b);
        Rectangle(dc, button.left, button.top, button.right, button.bottom);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    }
    if (p) DeleteObject(p);
    if (b) DeleteObject(b);
    HFONT font = CreatePanelFont();
    if (!font) return;
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    DrawUtf8(dc, "保存", button, DT_CENTER, RGB(255, 255, 255));
    const Section* section = CurrentSection();
    const std::string line = sNoteTicks > 0 ? sNote
                             : section && sHover >= 0 ? SectionEventText(*section, sPlot.dots[size_t(sHover)].event)
                                                      : "";
    DrawUtf8(dc, line, SectionHoverLine(sPlot.width, sPlot.height), DT_LEFT | DT_END_ELLIPSIS,
             sNoteTicks > 0 ? RGB(128, 255, 128) : RGB(255, 255, 160));
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

// The section changed: lay it out and paint the base again.
static void Relayout() {
    const Section* section = CurrentSection();
    sPlotGeneration = SectionGeneration();
    sHover = -1;
    if (!section) return;
    LayoutSectionPlot(*section, kSectionWidth, kSectionHeight, &sPlot);
    PaintBase(sBase.dc);
}

// The SVG and the text list under one time stamp.
static void Save() {
    const Section* section = CurrentSection();
    if (!section) return;
    const std::string stem = SectionFilePath("");
    if (!IsDirectory("text")) MakeFolder("text");
    if (WriteFileReplacing(stem + ".svg", SectionSvg(sPlot)) != 0 || SaveSectionText(*section, (stem + ".txt").c_str()) != 0) {
        ShowMessage(kSaveFailedText);
        return;
    }
    sNote = "保存しました: " + stem.substr(stem.find('/') + 1) + ".svg, .txt";
    sNoteTicks = kNoteTicks;
}

static void RefreshTick() {
    RECT r;
    if (GetWindowRect(sWindow, &r)) StoreWindowPlace(kSectionWindowSlot, r.left, r.top);
    sOpacity = FadeStep(sOpacity, gMainActive || GetForegroundWindow() == sWindow);
    // A failure leaves the window as it was for this frame; the next frame tries again.
    SetLayeredWindowAttributes(sWindow, 0, BYTE(sOpacity), LWA_ALPHA);
    if (sNoteTicks > 0) sNoteTicks--;
    if (sPlotGeneration != SectionGeneration()) Relayout();
    InvalidateRect(sWindow, nullptr, FALSE);   // fails only without a window: then nothing is shown anyway
}

static void OnMouseMove(int x, int y) {
    sHover = SectionDotAt(sPlot, x, y);
    const PanelRect b = SectionSaveButton(sPlot.width, sPlot.height);
    sSaveHover = x >= b.left && x < b.right && y >= b.top && y < b.bottom;
    if (!sSaveHover) sSavePressed = 0;
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, sWindow, 0};
    TrackMouseEvent(&track);   // without it the pointer's marks only go at the next move
}

LRESULT CALLBACK SectionWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        sWindow = window;
        sOpacity = 255;
        return 0;
    case WM_DESTROY:
        ReleaseWindowSurface(&sFrame);
        ReleaseWindowSurface(&sBase);
        sWindow = nullptr;
        sPlotGeneration = -1;
        CloseSection();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (dc && sFrame.dc && CurrentSection()) {
            PaintFrame();
            CopyWindowSurface(sFrame, dc);
        }
        EndPaint(window, &ps);
        return 0;
    }
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_COMMAND:
        // Esc arrives as CMD_EXIT while this window has the keyboard: it closes this window only.
        if (LOWORD(wParam) == CMD_EXIT) {
            DestroyWindow(window);
            return 0;
        }
        if (LOWORD(wParam) == CMD_SECTION_REFRESH) {
            RefreshTick();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_MOUSEMOVE: OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_MOUSELEAVE:
        sHover = -1;
        sSaveHover = sSavePressed = 0;
        return 0;
    case WM_LBUTTONDOWN: sSavePressed = sSaveHover; return 0;
    case WM_LBUTTONUP:
        if (sSavePressed && sSaveHover) Save();
        sSavePressed = 0;
        return 0;
    case WM_MOUSEWHEEL: ChangeStripWidth(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? 1 : -1); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

static HWND CreateSectionWindow() {
    static const wchar_t kClass[] = L"wolt_SECTION";
    RegisterOwnedWindowClass(kClass, SectionWndProc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU, exStyle = WS_EX_LAYERED | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE;
    RECT outer = {0, 0, kSectionWidth, kSectionHeight};
    if (!AdjustWindowRectEx(&outer, style, FALSE, exStyle)) return nullptr;
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    int x, y;
    SectionWindowPosition(DesktopWorkArea(), width, height, &x, &y);
    const std::wstring title = std::wstring(gAppTitle) + L" 断面図";
    HWND window = CreateWindowExW(exStyle, kClass, title.c_str(), style, x, y, width, height, gMainWindow, nullptr,
                                  gInstance, nullptr);
    if (!window) return nullptr;
    if (CreateSizedSurface(window, kSectionWidth, kSectionHeight, &sFrame) != 0 ||
        CreateSizedSurface(window, kSectionWidth, kSectionHeight, &sBase) != 0) {
        ReleaseWindowSurface(&sFrame);
        DestroyWindow(window);
        return nullptr;
    }
    sOpacity = 0;
    // Shown at once where layering is refused.
    SetLayeredWindowAttributes(window, 0, 0, LWA_ALPHA);
    ShowWindow(window, SW_SHOW);   // returns the previous visibility, not a failure
    return window;
}

int ShowSectionWindow() {
    if (!sWindow && !CreateSectionWindow()) return 1;
    Relayout();
    InvalidateRect(sWindow, nullptr, FALSE);   // the next frame's refresh repaints in any case
    // Brought forward for the new line; a refusal only leaves it where it stands.
    SetWindowPos(sWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    return 0;
}

void PostSectionRefresh() {
    // A refresh lost to a full queue is made up by the next frame's.
    if (sWindow) PostMessageW(sWindow, WM_COMMAND, CMD_SECTION_REFRESH, 0);
}
