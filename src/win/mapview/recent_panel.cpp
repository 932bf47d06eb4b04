#include "win/mapview/recent_panel.h"

#include "win/mapview/memory_hdc.h"
#include "win/mapview/overlay_gdi.h"
#include "engine/picture/recent_data.h"

static const PanelColor kGrey = {128, 128, 128};
static const PanelColor kBoxFill = {32, 32, 32};
static const PanelColor kWhite = {255, 255, 255};

static void DrawGraphFrame(HDC dc) {
    static const POINT kFrame[4] = {{0, 5}, {191, 5}, {191, 74}, {0, 74}};
    OverlayPolygon(dc, kGrey, kBoxFill, kFrame, 4);
    // Background bands, each 14 pixels higher than the last, the top one cut at 6.
    static const PanelRect kBands[4] = {{1, 45, 191, 59}, {1, 31, 191, 45}, {1, 17, 191, 31}, {1, 6, 191, 17}};
    for (int k = 0; k < 4; k++) OverlayFill(dc, PanelColor{48 + 10 * k, 32, 32}, kBands[k]);
}

// The title, in a font of its own: without it only the title is missing.
static void DrawTitle(HDC dc, const RecentPanelData& data) {
    HFONT font = CreatePanelFont();
    if (!font) return;
    HGDIOBJ old = SelectObject(dc, font);
    OverlayTexts(dc, &data.title, 1);
    SelectObject(dc, old);
    DeleteObject(font);
}

// Counts box, strong-events tab and card with their texts; none of it is
// drawn without the font.
static void DrawBoxes(HDC dc, const RecentPanelData& data) {
    HFONT font = CreatePanelFont();
    if (!font) return;
    HGDIOBJ old = SelectObject(dc, font);
    static const POINT kCounts[4] = {{0, 74}, {191, 74}, {191, 112}, {0, 112}};
    OverlayPolygon(dc, kGrey, kBoxFill, kCounts, 4);
    OverlayTexts(dc, data.counts, 2);
    static const POINT kTab[6] = {{0, 112}, {90, 112}, {106, 128}, {191, 128}, {191, 151}, {0, 151}};
    OverlayPolygon(dc, kGrey, data.strongFill, kTab, 6);
    OverlayTexts(dc, data.strong, 2);
    static const POINT kCard[4] = {{0, 156}, {191, 156}, {191, 269}, {0, 269}};
    OverlayPolygon(dc, kWhite, data.cardFill, kCard, 4);
    OverlayTexts(dc, data.card, data.cardLines);
    SelectObject(dc, old);
    DeleteObject(font);
}

void DrawRecentPanel() {
    if (BeginPanelDraw(PANEL_RECENT) != 0) return;
    static RecentPanelData data;
    BuildRecentPanel(&data);
    HDC dc = gMemoryDC;
    const PanelBitmap& panel = gPanels[PANEL_RECENT];
    OverlayFill(dc, PanelColor{0, 0, 0}, PanelRect{0, 0, panel.width, panel.height});
    DrawGraphFrame(dc);
    DrawTitle(dc, data);
    OverlayPolyline(dc, PanelColor{0, 255, 255}, data.interval.points, data.interval.count);
    OverlayPolyline(dc, PanelColor{0, 255, 0}, data.magnitude.points, data.magnitude.count);
    DrawBoxes(dc, data);
    EndPanelDraw(PANEL_RECENT);
}
