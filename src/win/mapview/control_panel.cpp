#include "win/mapview/control_panel.h"

#include "win/app/shell.h"
#include "win/mapview/memory_hdc.h"
#include "engine/rules/actions.h"
#include "engine/rules/hit_test.h"
#include "engine/rules/layout.h"

static COLORREF Color(const PanelColor& c) {
    return RGB(c.r, c.g, c.b);
}

static const PanelColor kWhite = {255, 255, 255};
static const PanelColor kSelectedPen = {255, 168, 128};

// A polygon or a rectangle with its own pen and brush, both deleted right after.
static void FillShape(HDC dc, const PanelColor& pen, const PanelColor& fill, const POINT* points,
                      int count, const PanelRect* rect) {
    HPEN p = CreatePen(PS_SOLID, 1, Color(pen));
    HBRUSH b = CreateSolidBrush(Color(fill));
    HGDIOBJ oldPen = SelectObject(dc, p);
    HGDIOBJ oldBrush = SelectObject(dc, b);
    if (rect)
        Rectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
    else
        Polygon(dc, points, count);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(p);
    DeleteObject(b);
}

static void FillRectangle(HDC dc, const PanelColor& pen, const PanelColor& fill, const PanelRect& r) {
    FillShape(dc, pen, fill, nullptr, 0, &r);
}

static void StrokeLine(HDC dc, const PanelColor& color, const POINT* points, int count) {
    HPEN p = CreatePen(PS_SOLID, 1, Color(color));
    HGDIOBJ old = SelectObject(dc, p);
    Polyline(dc, points, count);
    SelectObject(dc, old);
    DeleteObject(p);
}

// Single line, vertically centred, with an ellipsis when too long; the
// UTF-8 text goes to the wide API.
static void Text(HDC dc, const char* utf8, const PanelRect& r, int align, const PanelColor& color) {
    wchar_t wide[160];
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 160) == 0) return;
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    flags |= align == ALIGN_RIGHT ? DT_RIGHT : align == ALIGN_CENTER ? DT_CENTER : DT_LEFT;
    RECT box = {r.left, r.top, r.right, r.bottom};
    SetTextColor(dc, Color(color));
    DrawTextW(dc, wide, -1, &box, flags);
}

static void DrawBoxes(HDC dc) {
    static const POINT kSettings[6] = {{6, 1}, {69, 1}, {84, 23}, {334, 23}, {334, 152}, {6, 152}};
    static const POINT kStatistics[6] = {{6, 156}, {238, 156}, {254, 178}, {334, 178}, {334, 533}, {6, 533}};
    FillShape(dc, kWhite, PanelColor{48, 48, 48}, kSettings, 6, nullptr);
    FillShape(dc, kWhite, PanelColor{32, 32, 96}, kStatistics, 6, nullptr);
}

static void DrawPanelHighlights(HDC dc) {
    PanelRect r;
    if (ControlRect(gHoverControl, &r) == 0)
        FillRectangle(dc, PanelColor{128, 255, 168}, PanelColor{16, 32, 16}, r);
    const PanelColor selectedFill = {64, 64, 64};
    FillRectangle(dc, kSelectedPen, selectedFill, FieldRect(0, gStartField));
    FillRectangle(dc, kSelectedPen, selectedFill, FieldRect(1, gEndField));
    if (gFilterField >= FIELD_MAG_MIN && gFilterField <= FIELD_INT_MAX && ControlRect(12 + gFilterField, &r) == 0)
        FillRectangle(dc, kSelectedPen, selectedFill, r);
}

// The minus, plus and "R" buttons of one row, their top at `top`; `hovered`
// is the row's button under the cursor (0 none, 1..3).
static void DrawRowButtons(HDC dc, int top, int hovered) {
    static const int kLeft[3] = {257, 280, 303};
    for (int i = 0; i < 3; i++) {
        ButtonColors c = SmallButtonColors(hovered == i + 1, gButtonDown);
        FillRectangle(dc, c.outline, c.fill, PanelRect{kLeft[i], top, kLeft[i] + 18, top + 18});
        if (i == 0) {
            POINT left[3] = {{267, top + 3}, {261, top + 9}, {268, top + 16}};
            StrokeLine(dc, c.mark, left, 3);
        } else if (i == 1) {
            POINT right[3] = {{287, top + 3}, {293, top + 9}, {286, top + 16}};
            StrokeLine(dc, c.mark, right, 3);
        } else {
            Text(dc, "R", PanelRect{305, top + 2, 321, top + 18}, ALIGN_CENTER, c.mark);
        }
    }
}

static void DrawStatsPick(HDC dc, int mouseX, int mouseY) {
    int y = StatsRowPick(mouseX, mouseY);
    if (y < 0) return;
    POINT line[2] = {{18, y}, {332, y}};
    StrokeLine(dc, kSelectedPen, line, 2);
}

static void DrawLargeButton(HDC dc, const PanelRect& box, const PanelRect& textBox, const char* label,
                            int hovered, int pressed) {
    ButtonColors c = LargeButtonColors(hovered, pressed);
    FillRectangle(dc, c.outline, c.fill, box);
    Text(dc, label, textBox, ALIGN_CENTER, kWhite);
}

void PaintControlPanel(HDC dc, int mouseX, int mouseY, int updateStatus) {
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = GetTextColor(dc);
    HFONT font = CreatePanelFont();
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;

    DrawBoxes(dc);
    DrawPanelHighlights(dc);
    DrawRowButtons(dc, 102, gFilterButton);
    DrawRowButtons(dc, 30, gStartArrow);
    DrawRowButtons(dc, 54, gEndArrow);
    DrawStatsPick(dc, mouseX, mouseY);
    PanelText texts[kPanelTextCapacity];
    int count = ControlPanelTexts(texts);
    for (int i = 0; i < count; i++) Text(dc, texts[i].text, texts[i].rect, texts[i].align, kWhite);
    DrawLargeButton(dc, PanelRect{257, 124, 321, 146}, PanelRect{257, 126, 321, 146}, "Reset",
                    gResetHover, gResetPressed);
    DrawLargeButton(dc, PanelRect{238, 506, 328, 528}, PanelRect{238, 508, 328, 526}, "更新",
                    gUpdateHover, gUpdatePressed);
    Text(dc, UpdateStatusText(updateStatus), PanelRect{4, 508, 232, 526}, ALIGN_RIGHT, kWhite);

    if (oldFont) SelectObject(dc, oldFont);
    if (font) DeleteObject(font);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

void DrawControlPanel() {
    if (BeginPanelDraw(PANEL_CONTROL) != 0) return;
    PaintControlPanel(gMemoryDC, gMouseX, gMouseY, gUpdateStatus);
    EndPanelDraw(PANEL_CONTROL);
}
