#include "engine/picture/control_picture.h"

#include "engine/picture/panel_picture.h"
#include "engine/controls/control_panel.h"
#include "engine/controls/layout.h"
#include "engine/controls/period.h"

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
    const ControlPanelState& p = gControlPanel;
    if (ControlRect(p.hoverControl, &r) == 0) AddRectangle(out, PanelColor{128, 255, 168}, PanelColor{16, 32, 16}, r);
    const PanelColor selectedFill = {64, 64, 64};
    AddRectangle(out, kSelectedPen, selectedFill, FieldRect(0, p.startField));
    AddRectangle(out, kSelectedPen, selectedFill, FieldRect(1, p.endField));
    if (p.filterField >= FIELD_MAG_MIN && p.filterField <= FIELD_INT_MAX && ControlRect(12 + p.filterField, &r) == 0)
        AddRectangle(out, kSelectedPen, selectedFill, r);
}

// The minus, plus and "R" buttons of one row, their top at `top`; `hovered`
// is the row's button under the cursor (ARROW_NONE or ARROW_MINUS..ARROW_RESET).
static void AddRowButtons(PanelPicture* out, int top, int hovered) {
    for (int i = 0; i < 3; i++) {
        const int left = kRowButtonLeft[i];
        ButtonColors c = SmallButtonColors(hovered == ARROW_MINUS + i, gControlPanel.buttonDown);
        AddRectangle(out, c.outline, c.fill, PanelRect{left, top, left + 18, top + 18});
        if (i == 0) {
            const OverlayPoint chevron[3] = {{left + 10, top + 3}, {left + 4, top + 9}, {left + 11, top + 16}};
            AddPolyline(out, c.mark, chevron, 3);
        } else if (i == 1) {
            const OverlayPoint chevron[3] = {{left + 7, top + 3}, {left + 13, top + 9}, {left + 6, top + 16}};
            AddPolyline(out, c.mark, chevron, 3);
        } else {
            AddUtf8Text(out, "R", PanelRect{left + 2, top + 2, left + 18, top + 18}, ALIGN_CENTER, c.mark);
        }
    }
}

static void AddLargeButton(PanelPicture* out, const PanelButton& button, const char* label, int hovered, int pressed) {
    ButtonColors c = LargeButtonColors(hovered, pressed);
    AddRectangle(out, c.outline, c.fill, button.box);
    AddUtf8Text(out, label, button.textBox, ALIGN_CENTER, kWhite);
}

void BuildControlPicture(int updateStatus, PanelPicture* out) {
    const ControlPanelState& p = gControlPanel;
    ClearPicture(out);
    AddBoxes(out);
    AddHighlights(out);
    AddRowButtons(out, kFilterButtonTop, p.filterButton);
    AddRowButtons(out, kDateRowButtonTop[0], p.startArrow);
    AddRowButtons(out, kDateRowButtonTop[1], p.endArrow);
    const int y = p.statsUnderlineY;
    if (y >= 0) AddLine(out, kSelectedPen, OverlayPoint{18, y}, OverlayPoint{332, y});
    PanelText texts[kPanelTextCapacity];
    const int count = ControlPanelTexts(texts);
    for (int i = 0; i < count; i++) AddUtf8Text(out, texts[i].text, texts[i].rect, texts[i].align, kWhite);
    AddLargeButton(out, kResetButton, "Reset", p.resetHover, p.resetPressed);
    AddLargeButton(out, kUpdateButton, "更新", p.updateHover, p.updatePressed);
    AddUtf8Text(out, UpdateStatusText(updateStatus), PanelRect{4, 508, 232, 526}, ALIGN_RIGHT, kWhite);
}
