// The two list windows: creation, the window procedure shared by both, the
// refresh tick that the main window posts after every frame, and the paint
// into the memory bitmap. The arithmetic lives in list_scroll.
#include "win/windows/list_window.h"

#include <windowsx.h>

#include <cwchar>
#include <string>

#include "engine/analysis/exports.h"
#include "engine/analysis/list_export.h"
#include "engine/analysis/reports.h"
#include "engine/controls/layout.h"
#include "engine/controls/list_scroll.h"
#include "engine/controls/placement.h"
#include "engine/model/commands.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "engine/selection/lists.h"
#include "engine/selection/selection.h"
#include "platform/platform.h"
#include "resources/resource.h"
#include "win/app/panel_font.h"
#include "win/app/shell.h"
#include "platform/wide_text.h"
#include "win/windows/window_class.h"
#include "win/windows/window_surface.h"

struct ListWindow {
    const ListLayout* layout;
    int* active;          // the list-active flag the main window reads, or this window's own
    const wchar_t* fallbackClass;
    HWND window;
    WindowSurface surface;
    int opacity;
    ListControls controls;
};

static int sList2Active;
static ListWindow sLists[2] = {
    {&kConditionListLayout, &gListActive, L"wolt_EQLIST", nullptr, {}, 0, {}},
    {&kRegionListLayout, &sList2Active, L"wolt_EQLIST2", nullptr, {}, 0, {}},
};

// The condition list's export: a button left of 保存 opens a menu of the
// formats; the file's name then stands in place of the counter for a while.
static const ListRect kExportButton = {330, 459, 388, 481};
enum { kExportNoteTicks = 125, kExportMenuFirst = 1 };   // menu item ids: kExportMenuFirst + ExportFormat
static int sExportHover, sExportPressed;
static std::string sExportNote;   // UTF-8
static int sExportNoteTicks;

static const COLORREF kWhite = RGB(255, 255, 255);
static const COLORREF kBlack = RGB(0, 0, 0);

static COLORREF Grey(int level) { return RGB(level, level, level); }

static RECT ToRect(const ListRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The GDI calls' results are not checked one by one: a pen, brush or font
// that cannot be made leaves the memory bitmap's current one in place, a
// failed drawing call leaves that shape out of this paint only, and every
// object made here is deleted again.
static void FillSolid(HDC dc, const ListRect& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rect = ToRect(r);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A filled shape whose outline passes through the four corner points.
static void Outline(HDC dc, const ListRect& r, COLORREF pen, COLORREF fill) {
    HPEN p = CreatePen(PS_SOLID, 1, pen);
    HBRUSH b = CreateSolidBrush(fill);
    HGDIOBJ oldPen = SelectObject(dc, p);
    HGDIOBJ oldBrush = SelectObject(dc, b);
    POINT corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    Polygon(dc, corners, 4);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(b);
    DeleteObject(p);
}

static void DrawInCodePage(HDC dc, UINT codePage, const char* text, const ListRect& r, UINT flags) {
    const std::wstring wide = ToWide(text, codePage);
    RECT rect = ToRect(r);
    DrawTextW(dc, wide.c_str(), int(wide.size()), &rect, flags | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

static void DrawListScrollBar(HDC dc, const ListLayout& layout, const RecordList& list,
                              const ListControls& c) {
    for (int arrow = SCROLL_UP; arrow <= SCROLL_DOWN; arrow++) {
        int base = c.scrollHover == arrow ? 96 : 32;
        int red = base, green = base, blue = base;
        if (c.scrollRepeat == arrow) red += 32, green -= 32, blue -= 32;
        Outline(dc, arrow == SCROLL_UP ? layout.upButton : layout.downButton,
                RGB(red + 96, green + 96, blue + 96), RGB(red, green, blue));
    }
    // The arrows use the DC's own font: the list font is not selected yet.
    SetTextColor(dc, RGB(255, 128, 64));
    SetBkMode(dc, TRANSPARENT);
    DrawInCodePage(dc, CP_UTF8, "△", layout.upGlyph, DT_CENTER);
    DrawInCodePage(dc, CP_UTF8, "▽", layout.downGlyph, DT_CENTER);

    bool onTrack = c.scrollHover == SCROLL_TRACK;
    int track = onTrack ? 48 : 32;
    Outline(dc, layout.track, Grey(track + 96), Grey(track));
    FillSolid(dc, ThumbRect(layout, list.count, list.topRow), Grey(onTrack ? 96 : 64));
}

static void DrawRow(HDC dc, const ListLayout& layout, const RecordList& list, int row, int record) {
    const QuakeRecord& r = gpEQ[record];
    ListRect text, fill;
    RowBands(layout, row, &text, &fill);
    FillSolid(dc, fill, RowTint(r.magnitude10));
    if (record == list.highlight) Outline(dc, HighlightBand(layout, row), RGB(64, 128, 255), RGB(32, 64, 96));
    char line[160];
    FormatListRow(layout, r, line, sizeof line);
    DrawInCodePage(dc, 932, line, text, DT_LEFT | DT_END_ELLIPSIS);
    if (r.intensity < 10) {
        ListRect label = {layout.intensityLeft, text.top, layout.intensityRight, text.bottom};
        DrawInCodePage(dc, 932, IntensityLabels[r.intensity], label, DT_RIGHT | DT_END_ELLIPSIS);
    }
}

static void DrawSaveButton(HDC dc, const ListLayout& layout, const ListControls& c) {
    // The control panel's large buttons' colours.
    const ButtonColors b = LargeButtonColors(c.saveHover || c.savePressed, c.savePressed);
    Outline(dc, layout.saveButton, RGB(b.outline.r, b.outline.g, b.outline.b), RGB(b.fill.r, b.fill.g, b.fill.b));
    DrawInCodePage(dc, CP_UTF8, "保存", layout.saveButton, DT_CENTER | DT_END_ELLIPSIS);
}

static int OnExportButton(int x, int y) {
    const ListRect& b = kExportButton;
    return x >= b.left && x <= b.right && y >= b.top && y <= b.bottom;
}

static void DrawExportButton(HDC dc) {
    COLORREF pen = Grey(160), fill = Grey(64);
    if (sExportPressed)
        pen = RGB(255, 192, 128), fill = RGB(128, 64, 32);
    else if (sExportHover)
        pen = kWhite, fill = RGB(160, 96, 64);
    Outline(dc, kExportButton, pen, fill);
    DrawInCodePage(dc, CP_UTF8, "出力", kExportButton, DT_CENTER | DT_END_ELLIPSIS);
}

void PaintList(HDC dc, const ListLayout& layout, RecordList* list, const ListControls& c) {
    // Clamped first, so that the thumb and the counter agree with the rows.
    int records[kMaxListPage];
    int rows = RowsToDraw(layout, list, records);

    FillSolid(dc, ListRect{0, 0, layout.width, layout.height}, kBlack);
    for (int i = 0; i < layout.columns; i++) {
        COLORREF pen = Grey(96), fill = Grey(32);
        if (c.hoverColumn == i + 1) {
            pen = Grey(128), fill = Grey(64);
            if (c.pressedColumn != 0) pen = RGB(192, 160, 144), fill = RGB(128, 96, 80);
        }
        Outline(dc, layout.headerCells[i], pen, fill);
    }
    Outline(dc, layout.rowFrame, RGB(64, 164, 64), kBlack);
    DrawListScrollBar(dc, layout, *list, c);

    HFONT font = CreatePanelFont();
    if (!font) return;
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, kWhite);
    SetBkColor(dc, kBlack);
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < layout.columns; i++)
        DrawInCodePage(dc, CP_UTF8, layout.headerTexts[i], layout.headerTextRects[i], DT_CENTER | DT_END_ELLIPSIS);
    for (int row = 0; row < rows; row++)
        if (records[row] >= 0) DrawRow(dc, layout, *list, row, records[row]);
    if (c.mouseInRows) {
        int y = HoverLineY(layout, c.mouseY);
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 160, 96));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        MoveToEx(dc, 2, y, nullptr);
        LineTo(dc, layout.hoverLineRight + 1, y);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
    char counter[64];
    FormatCounter(layout, *list, counter, sizeof counter);
    const bool note = !layout.regionList && sExportNoteTicks > 0;
    if (note) SetTextColor(dc, RGB(128, 255, 128));
    ListRect counterRect = layout.counter;
    if (!layout.regionList) counterRect.right = kExportButton.left - 4;
    DrawInCodePage(dc, CP_UTF8, note ? sExportNote.c_str() : counter, counterRect, DT_LEFT | DT_END_ELLIPSIS);
    SetTextColor(dc, kWhite);
    DrawSaveButton(dc, layout, c);
    if (!layout.regionList) DrawExportButton(dc);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

static ListWindow* StateOf(HWND window) {
    return reinterpret_cast<ListWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The cursor outside the window rectangle (its edges count as inside).
static int CursorOutsideWindow(HWND window) {
    POINT cursor;
    RECT r;
    if (!GetCursorPos(&cursor) || !GetWindowRect(window, &r)) return 1;
    return cursor.x < r.left || cursor.x > r.right || cursor.y < r.top || cursor.y > r.bottom;
}

// The left button counts as held only for a press that began in this
// window (it holds the capture until the release); a press on another
// window of the program must not drive this scroll bar.
static void TrackScrollBar(ListWindow* w) {
    int held = GetCapture() == w->window && GetKeyState(VK_LBUTTON) < 0;
    ScrollBarStep(&w->controls, *w->layout, LayoutList(*w->layout), held);
}

static void ApplyOpacity(ListWindow* w) {
    SetLayeredWindowAttributes(w->window, 0, BYTE(w->opacity), LWA_ALPHA);
}

// The formats' menu under the button; the chosen export is written at once.
static void ExportList(ListWindow* w) {
    static const wchar_t* const kFormats[] = {L"CSV (UTF-8)", L"GeoJSON", L"KML"};
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    for (int f = EXPORT_CSV; f <= EXPORT_KML; f++)
        if (!AppendMenuW(menu, MF_STRING, UINT_PTR(kExportMenuFirst + f), kFormats[f])) {
            DestroyMenu(menu);
            return;
        }
    POINT corner = {kExportButton.left, kExportButton.bottom};
    // Client to screen cannot fail for a window that exists.
    ClientToScreen(w->window, &corner);
    const int chosen = int(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY, corner.x, corner.y, w->window, nullptr));
    DestroyMenu(menu);   // a menu of ours: destroyed once, nothing to report
    if (chosen < kExportMenuFirst) return;   // no choice
    std::string path;
    if (SaveListExport(LayoutList(*w->layout), false, gCurrentRecord, chosen - kExportMenuFirst, &path) != 0) {
        ShowMessage(kSaveFailedText);
        return;
    }
    sExportNote = "保存 " + path.substr(path.find('/') + 1);
    sExportNoteTicks = kExportNoteTicks;
}

static void RefreshTick(ListWindow* w) {
    // The window rectangle is in screen coordinates, as the stored position.
    RECT r;
    if (GetWindowRect(w->window, &r)) {
        StoreWindowPlace(w->layout->settingsSlot, r.left, r.top);
    }
    w->opacity = FadeStep(w->opacity, gMainActive || *w->active);
    ApplyOpacity(w);
    if (CursorOutsideWindow(w->window)) w->controls.mouseInRows = 0;
    RecordList* list = LayoutList(*w->layout);
    TrackScrollBar(w);
    TrackHeader(&w->controls, *w->layout, list, HEADER_HOVER);
    TrackSaveButton(&w->controls, *w->layout);
    if (!w->layout->regionList && sExportNoteTicks > 0) sExportNoteTicks--;
    InvalidateRect(w->window, nullptr, FALSE);
}

static void OnButtonDown(ListWindow* w, int x, int y) {
    RecordList* list = LayoutList(*w->layout);
    ListControls* c = &w->controls;
    *w->active = 1;
    SetCapture(w->window);
    MoveMouse(c, *w->layout, x, y);
    TrackHeader(c, *w->layout, list, HEADER_PRESS);
    TrackScrollBar(w);
    SelectRowAt(c, *w->layout, list, *w->active);
    if (c->saveHover) c->savePressed = 1;
    if (!w->layout->regionList) sExportPressed = OnExportButton(x, y);
}

static void OnButtonUp(ListWindow* w, int x, int y) {
    RecordList* list = LayoutList(*w->layout);
    ListControls* c = &w->controls;
    MoveMouse(c, *w->layout, x, y);
    TrackHeader(c, *w->layout, list, HEADER_RELEASE);
    StepScrollArrow(c, *w->layout, list, x, y);
    if (TrackSaveButton(c, *w->layout) && SaveListText(list, w->layout->regionList != 0, gCurrentRecord) != 0)
        ShowMessage(kSaveFailedText);
    c->savePressed = 0;
    if (GetCapture() == w->window) ReleaseCapture();
    const bool exporting = !w->layout->regionList && sExportPressed && OnExportButton(x, y);
    sExportPressed = 0;
    if (exporting) ExportList(w);
}

static void OnKey(ListWindow* w, WPARAM key) {
    RecordList* list = LayoutList(*w->layout);
    switch (key) {
    case VK_PRIOR: ScrollByKey(*w->layout, list, LIST_KEY_PAGE_UP); break;
    case VK_NEXT: ScrollByKey(*w->layout, list, LIST_KEY_PAGE_DOWN); break;
    case VK_UP: ScrollByKey(*w->layout, list, LIST_KEY_UP); break;
    case VK_DOWN: ScrollByKey(*w->layout, list, LIST_KEY_DOWN); break;
    default: break;
    }
}

static void OnDestroy(ListWindow* w) {
    ReleaseWindowSurface(&w->surface);
    FreeList(LayoutList(*w->layout));
    if (w->layout->regionList) SetRegionListTitleHook(nullptr);
    *w->active = 0;
    w->window = nullptr;
}

LRESULT CALLBACK ListWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        ListWindow* w = static_cast<ListWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
        w->window = window;
        w->opacity = 255;
        return 0;
    }
    ListWindow* w = StateOf(window);
    if (!w) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        OnDestroy(w);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            *w->active = 0;
        else if (LOWORD(wParam) == WA_CLICKACTIVE || GetForegroundWindow() == window)
            *w->active = 1;
        // The default processing gives the activated window the keyboard
        // focus, so that the keys and Esc come to it.
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        if (w->surface.dc) {
            PaintList(w->surface.dc, *w->layout, LayoutList(*w->layout), w->controls);
            CopyWindowSurface(w->surface, dc);
        }
        EndPaint(window, &ps);
        return 0;
    }
    // Esc (translated here as CMD_EXIT because this window has the keyboard)
    // and a close request end the whole program in order, settings saved.
    case WM_CLOSE: PostMessageW(gMainWindow, WM_COMMAND, CMD_EXIT, 0); return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == CMD_EXIT) {
            PostMessageW(gMainWindow, WM_COMMAND, CMD_EXIT, 0);
            return 0;
        }
        if (LOWORD(wParam) == w->layout->refreshCommand) {
            RefreshTick(w);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_KEYDOWN: OnKey(w, wParam); return 0;
    case WM_MOUSEMOVE: {
        MoveMouse(&w->controls, *w->layout, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        if (!w->layout->regionList) sExportHover = OnExportButton(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        return 0;
    }
    case WM_LBUTTONDOWN: OnButtonDown(w, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_LBUTTONUP: OnButtonUp(w, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_MOUSEWHEEL:
        if (w->controls.mouseInRows)
            ScrollByWheel(*w->layout, LayoutList(*w->layout), GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_MOUSELEAVE:
        w->controls.mouseInRows = 0;
        if (!w->layout->regionList) sExportHover = 0;
        return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The second list window's title arrives in Shift-JIS from the region list
// refresh.
static void SetRegionListTitle(const char* sjisTitle) {
    const std::wstring title = ToWide(sjisTitle, CODE_PAGE_SJIS);
    if (sLists[1].window && !title.empty()) SetWindowTextW(sLists[1].window, title.substr(0, 255).c_str());
}

static HWND CreateListWindow(ListWindow* w, const std::wstring& title) {
    const ListLayout& layout = *w->layout;
    wchar_t className[100];
    const UINT classNameId = layout.regionList ? IDS_LIST2_CLASS : IDS_LIST_CLASS;
    if (LoadStringW(gInstance, classNameId, className, 100) <= 0) wcscpy(className, w->fallbackClass);

    RegisterOwnedWindowClass(className, ListWndProc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));

    const int slot = layout.settingsSlot;
    HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, className,
                                  title.substr(0, 255).c_str(), WS_POPUP | WS_VISIBLE | WS_CAPTION,
                                  AppSettings.winX[slot], AppSettings.winY[slot], layout.width,
                                  layout.height, gMainWindow, nullptr, gInstance, w);
    if (!window) return nullptr;
    w->opacity = 0;
    ApplyOpacity(w);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetWindowPos(window, gMainWindow, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOOWNERZORDER);
    if (CreateWindowSurface(window, &w->surface) != 0) {
        DestroyWindow(window);
        return nullptr;
    }
    if (AllocateList(LayoutList(layout)) != 0) FatalError(L"ERROR : spSD");
    return window;
}

HWND List_CreateWindow() {
    return CreateListWindow(&sLists[0], std::wstring(gAppTitle) + L" 設定条件地震一覧");
}

HWND List2_CreateWindow() {
    HWND window = CreateListWindow(&sLists[1], L" 設定条件地震一覧");
    if (window) {
        // Titles the window with the current record's region and keeps
        // retitling it on every rebuild of the region list.
        SetRegionListTitleHook(SetRegionListTitle);
        RefreshRegionList();
    }
    return window;
}
