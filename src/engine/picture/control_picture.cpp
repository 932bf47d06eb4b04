#include "engine/picture/control_picture.h"

#include "engine/picture/panel_picture.h"
#include "engine/rules/actions.h"
#include "engine/rules/hit_test.h"
#include "engine/rules/layout.h"

static const PanelColor kWhite = {255, 255, 255};
static const PanelColor kSelectedPen = {255, 168, 128};

static void AddBoxes(PanelPicture* out) {
    static const OverlayPoint kSettings[6] = {{6, 1}, {69, 1}, {84, 23}, {334, 23}, {334, 152}, {6, 152}};
    static const OverlayPoint kStatistics[6] = {{6, 156}, {238, 156}, {254, 178}, {334, 178}, {334, 533}, {6, 533}};
    AddPolygon(out, kWhite, PanelColor{48, 48, 48}, kSettings, 6);
    AddPolygon(out, kWhite, PanelColor{32, 32, 96}, kStatistics, 6);
}

static void AddHighlights(PanelPicture* out) {
    PanelRect r;
    if (ControlRect(gHoverControl, &r) == 0) AddRectangle(out, PanelColor{128, 255, 168}, PanelColor{16, 32, 16}, r);
    const PanelColor selectedFill = {64, 64, 64};
    AddRectangle(out, kSelectedPen, selectedFill, FieldRect(0, gStartField));
    AddRectangle(out, kSelectedPen, selectedFill, FieldRect(1, gEndField));
    if (gFilterField >= FIELD_MAG_MIN && gFilterField <= FIELD_INT_MAX && ControlRect(12 + gFilterField, &r) == 0)
        AddRectangle(out, kSelectedPen, selectedFill, r);
}

// The minus, plus and "R" buttons of one row, their top at `top`; `hovered`
// is the row's button under the cursor (0 none, 1..3).
static void AddRowButtons(PanelPicture* out, int top, int hovered) {
    static const int kLeft[3] = {257, 280, 303};
    for (int i = 0; i < 3; i++) {
        ButtonColors c = SmallButtonColors(hovered == i + 1, gButtonDown);
        AddRectangle(out, c.outline, c.fill, PanelRect{kLeft[i], top, kLeft[i] + 18, top + 18});
        if (i == 0) {
            const OverlayPoint left[3] = {{267, top + 3}, {261, top + 9}, {268, top + 16}};
            AddPolyline(out, c.mark, left, 3);
        } else if (i == 1) {
            const OverlayPoint right[3] = {{287, top + 3}, {293, top + 9}, {286, top + 16}};
            AddPolyline(out, c.mark, right, 3);
        } else {
            AddUtf8Text(out, "R", PanelRect{305, top + 2, 321, top + 18}, ALIGN_CENTER, c.mark);
        }
    }
}

static void AddLargeButton(PanelPicture* out, const PanelRect& box, const PanelRect& textBox, const char* label,
                           int hovered, int pressed) {
    ButtonColors c = LargeButtonColors(hovered, pressed);
    AddRectangle(out, c.outline, c.fill, box);
    AddUtf8Text(out, label, textBox, ALIGN_CENTER, kWhite);
}

void BuildControlPicture(int mouseX, int mouseY, int updateStatus, PanelPicture* out) {
    ClearPicture(out);
    AddBoxes(out);
    AddHighlights(out);
    AddRowButtons(out, 102, gFilterButton);
    AddRowButtons(out, 30, gStartArrow);
    AddRowButtons(out, 54, gEndArrow);
    const int y = StatsRowPick(mouseX, mouseY);
    if (y >= 0) AddLine(out, kSelectedPen, OverlayPoint{18, y}, OverlayPoint{332, y});
    PanelText texts[kPanelTextCapacity];
    const int count = ControlPanelTexts(texts);
    for (int i = 0; i < count; i++) AddUtf8Text(out, texts[i].text, texts[i].rect, texts[i].align, kWhite);
    AddLargeButton(out, PanelRect{257, 124, 321, 146}, PanelRect{257, 126, 321, 146}, "Reset", gResetHover,
                   gResetPressed);
    AddLargeButton(out, PanelRect{238, 506, 328, 528}, PanelRect{238, 508, 328, 526}, "更新", gUpdateHover,
                   gUpdatePressed);
    AddUtf8Text(out, UpdateStatusText(updateStatus), PanelRect{4, 508, 232, 526}, ALIGN_RIGHT, kWhite);
}
