#include "win/mapview/region_panel.h"

#include "engine/analysis/region_summary.h"
#include "win/app/shell.h"
#include "win/mapview/memory_hdc.h"
#include "win/mapview/overlay_gdi.h"

void DrawRegionPanel() {
    if (!UpdateRegionPanelSummary()) return;
    if (BeginPanelDraw(PANEL_REGION) != 0) return;
    HDC dc = gMemoryDC;
    // Not cleared: every redraw paints the same shapes and fixed texts, and
    // the box covers the texts that change. Its top edge steps down at x 417
    // to 436, as the frame the map view draws around it.
    const PanelColor box = {32, 80, 96};
    static const POINT kBox[6] = {{313, 123}, {417, 123}, {436, 141}, {504, 141}, {504, 202}, {313, 202}};
    OverlayPolygon(dc, box, box, kBox, 6);
    for (int k = 0; k < kDepthLegendBars; k++) OverlayFill(dc, DepthLegendColor(k), DepthLegendBar(k));

    HFONT font = CreatePanelFont();
    if (font) {
        HGDIOBJ old = SelectObject(dc, font);
        char title[100];
        if (WideCharToMultiByte(932, 0, gAppTitle, -1, title, sizeof title, nullptr, nullptr) == 0) title[0] = 0;
        OverlayText texts[kRegionPanelTexts];
        OverlayTexts(dc, texts, RegionPanelTexts(title, texts));
        SelectObject(dc, old);
        DeleteObject(font);
    }
    EndPanelDraw(PANEL_REGION);
}
