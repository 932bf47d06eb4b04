#include "win/mapview/bottom_panel.h"

#include "engine/analysis/alert.h"
#include "engine/analysis/region_summary.h"
#include "win/app/shell.h"
#include "win/mapview/memory_hdc.h"
#include "win/mapview/overlay_gdi.h"
#include "engine/rules/hit_test.h"

#include "engine/selection/current_record.h"
static const PanelColor kWhite = {255, 255, 255};
static const PanelColor kBody = {32, 64, 96};
static const PanelColor kInactiveTab = {16, 32, 48};
static const PanelColor kUnderline = {255, 168, 128};

// The hover underline last drawn on page 0, erased by overdrawing it in the
// body colour: the page itself is not repainted every tick.
static int sUnderlineSaved;
static POINT sUnderline[2];

static void Line(HDC dc, PanelColor color, POINT from, POINT to) {
    const OverlayPoint points[2] = {{from.x, from.y}, {to.x, to.y}};
    OverlayPolyline(dc, color, points, 2);
}

// Paints with the panel font; nothing without it.
template <typename Paint>
static void WithFont(HDC dc, Paint paint) {
    HFONT font = CreatePanelFont();
    if (!font) return;
    HGDIOBJ old = SelectObject(dc, font);
    paint();
    SelectObject(dc, old);
    DeleteObject(font);
}

static void DrawButtons(HDC dc) {
    OverlayText labels[2];
    for (int button = 1; button <= 2; button++) {
        const BottomButton b = BottomButtonAt(button);
        OverlayBox(dc, b.colors.outline, b.colors.fill, b.box);
        SetOverlayText(&labels[button - 1], b.textBox, ALIGN_CENTER, kWhite, "%s", b.label);
    }
    WithFont(dc, [&] { OverlayTexts(dc, labels, 2); });
}

static void PaintRegionPage(HDC dc) {
    static const POINT kBodyShape[8] = {{0, 0},     {264, 0},   {280, 23}, {846, 23},
                                        {846, 212}, {750, 212}, {734, 243}, {0, 243}};
    OverlayPolygon(dc, kWhite, kBody, kBodyShape, 8);
    static const POINT kOtherTab[5] = {{280, 23}, {296, 0}, {440, 0}, {456, 23}, {280, 23}};
    OverlayPolygon(dc, kWhite, kInactiveTab, kOtherTab, 5);

    static const POINT kGraph[4] = {{8, 140}, {514, 140}, {514, 236}, {8, 236}};
    OverlayPolygon(dc, PanelColor{128, 128, 128}, PanelColor{32, 32, 64}, kGraph, 4);
    static RegionGraph graph;
    BuildRegionGraph(&graph);
    OverlayPolyline(dc, PanelColor{0, 255, 0}, graph.magnitude, graph.magnitudeCount);
    OverlayPolyline(dc, PanelColor{0, 255, 255}, graph.interval, graph.intervalCount);

    WithFont(dc, [dc] {
        static OverlayText texts[kRegionPageTexts];
        OverlayTexts(dc, texts, RegionPageTexts(texts));
    });
}

static void PaintRegionOverlay(HDC dc) {
    if (sUnderlineSaved) Line(dc, kBody, sUnderline[0], sUnderline[1]);
    const int y = ClassRowPick(gMouseX, gMouseY);
    if (y >= 0) {
        sUnderline[0] = POINT{530, y};
        sUnderline[1] = POINT{844, y};
        sUnderlineSaved = 1;
        Line(dc, kUnderline, sUnderline[0], sUnderline[1]);
    }
    DrawButtons(dc);
}

static void PaintAlertPage(HDC dc) {
    static const POINT kOtherTab[4] = {{0, 0}, {264, 0}, {280, 23}, {0, 23}};
    OverlayPolygon(dc, kWhite, kInactiveTab, kOtherTab, 4);
    static const POINT kBodyShape[10] = {{0, 23},    {280, 23},  {296, 0},   {440, 0},  {456, 23},
                                         {846, 23},  {846, 212}, {750, 212}, {734, 243}, {0, 243}};
    OverlayPolygon(dc, kWhite, kBody, kBodyShape, 10);
    DrawButtons(dc);

    PanelRect mark;
    if (AlertRowMark(&mark) == 0) OverlayBox(dc, PanelColor{64, 128, 255}, PanelColor{48, 80, 112}, mark);
    const int y = AlertRowHover(gMouseX, gMouseY);
    if (y >= 0) Line(dc, kUnderline, POINT{4, y}, POINT{842, y});

    WithFont(dc, [dc] {
        static OverlayText texts[kAlertPageTexts];
        OverlayTexts(dc, texts, AlertPageTexts(texts));
    });
}

void DrawBottomPanel() {
    // A pick belongs to the page shown: neither survives on the other page.
    gClassPick = 0;
    if (gReportPage == 0) {
        gAlertHover = 0;
        const int changed = UpdateRegionPageSummary();
        if (gCurrentRecord < 0 || BeginPanelDraw(PANEL_BOTTOM) != 0) return;
        if (changed) PaintRegionPage(gMemoryDC);
        PaintRegionOverlay(gMemoryDC);
        EndPanelDraw(PANEL_BOTTOM);
        return;
    }
    if (BeginPanelDraw(PANEL_BOTTOM) == 0) {
        PaintAlertPage(gMemoryDC);
        EndPanelDraw(PANEL_BOTTOM);
    }
    gRegionSummaryKey2 = kSummaryKeyReset;
}
