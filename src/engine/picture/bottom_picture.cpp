#include "engine/picture/bottom_picture.h"

#include "engine/analysis/alert.h"
#include "engine/analysis/region_summary.h"
#include "engine/picture/panel_picture.h"
#include "engine/controls/bottom_panel.h"
#include "engine/selection/current_record.h"

static const PanelColor kWhite = {255, 255, 255};
static const PanelColor kBody = {32, 64, 96};
static const PanelColor kInactiveTab = {16, 32, 48};
static const PanelColor kUnderline = {255, 168, 128};

// The hover underline last drawn on page 0, erased by overdrawing it in the
// body colour: the page itself is not repainted every tick.
static int sUnderlineSaved;
static OverlayPoint sUnderline[2];

static void AddButtons(PanelPicture* out) {
    OverlayText labels[2];
    for (int button = 1; button <= 2; button++) {
        const BottomButton b = BottomButtonAt(button);
        AddBox(out, b.colors.outline, b.colors.fill, b.box);
        SetOverlayText(&labels[button - 1], b.textBox, ALIGN_CENTER, kWhite, "%s", b.label);
    }
    AddTexts(out, labels, 2);
}

static void AddRegionPage(PanelPicture* out) {
    static const OverlayPoint kBodyShape[8] = {{0, 0},     {264, 0},   {280, 23}, {846, 23},
                                               {846, 212}, {750, 212}, {734, 243}, {0, 243}};
    AddPolygon(out, kWhite, kBody, kBodyShape, 8);
    static const OverlayPoint kOtherTab[5] = {{280, 23}, {296, 0}, {440, 0}, {456, 23}, {280, 23}};
    AddPolygon(out, kWhite, kInactiveTab, kOtherTab, 5);

    static const OverlayPoint kGraph[4] = {{8, 140}, {514, 140}, {514, 236}, {8, 236}};
    AddPolygon(out, PanelColor{128, 128, 128}, PanelColor{32, 32, 64}, kGraph, 4);
    static RegionGraph graph;
    BuildRegionGraph(&graph);
    AddPolyline(out, PanelColor{0, 255, 0}, graph.magnitude, graph.magnitudeCount);
    AddPolyline(out, PanelColor{0, 255, 255}, graph.interval, graph.intervalCount);

    static OverlayText texts[kRegionPageTexts];
    AddTexts(out, texts, RegionPageTexts(texts));
}

static void AddRegionOverlay(PanelPicture* out) {
    if (sUnderlineSaved) AddLine(out, kBody, sUnderline[0], sUnderline[1]);
    const int y = gBottomPanel.classUnderlineY;
    if (y >= 0) {
        sUnderline[0] = OverlayPoint{530, y};
        sUnderline[1] = OverlayPoint{844, y};
        sUnderlineSaved = 1;
        AddLine(out, kUnderline, sUnderline[0], sUnderline[1]);
    }
    AddButtons(out);
}

static void AddAlertPage(PanelPicture* out) {
    static const OverlayPoint kOtherTab[4] = {{0, 0}, {264, 0}, {280, 23}, {0, 23}};
    AddPolygon(out, kWhite, kInactiveTab, kOtherTab, 4);
    static const OverlayPoint kBodyShape[10] = {{0, 23},   {280, 23},  {296, 0},   {440, 0},   {456, 23},
                                                {846, 23}, {846, 212}, {750, 212}, {734, 243}, {0, 243}};
    AddPolygon(out, kWhite, kBody, kBodyShape, 10);
    AddButtons(out);

    PanelRect mark;
    if (AlertRowMark(&mark) == 0) AddBox(out, PanelColor{64, 128, 255}, PanelColor{48, 80, 112}, mark);
    const int y = gBottomPanel.alertUnderlineY;
    if (y >= 0) AddLine(out, kUnderline, OverlayPoint{4, y}, OverlayPoint{842, y});

    static OverlayText texts[kAlertPageTexts];
    AddTexts(out, texts, AlertPageTexts(texts));
}

void BuildBottomPicture(PanelPicture* out) {
    ClearPicture(out);
    if (gBottomPanel.reportPage == 0) {
        const int changed = UpdateRegionPageSummary(gCurrentRecord);
        if (gCurrentRecord < 0) {
            out->paint = 0;
            return;
        }
        if (changed) AddRegionPage(out);
        AddRegionOverlay(out);
        return;
    }
    AddAlertPage(out);
    ResetRegionPageSummary();
}
