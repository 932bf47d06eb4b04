#include "win/mapview/hover_panel.h"

#include "win/app/shell.h"
#include "win/mapview/memory_hdc.h"
#include "win/mapview/overlay_gdi.h"

void DrawHoverPanel() {
    HoverSummary summary;
    HoverPick(gMouseX, gMouseY, &summary);
    if (BeginPanelDraw(PANEL_HOVER) != 0) return;
    HDC dc = gMemoryDC;
    // A box with a notch cut from its top-left corner; the notch is never
    // painted, so it stays black (transparent on the map). The box covers
    // every pixel a text is drawn on, so the panel needs no clearing.
    static const POINT kBox[6] = {{0, 12}, {16, 12}, {32, 0}, {192, 0}, {192, 60}, {0, 60}};
    OverlayPolygon(dc, PanelColor{128, 192, 255}, PanelColor{32, 64, 96}, kBox, 6);
    HFONT font = CreatePanelFont();
    if (font) {
        HGDIOBJ old = SelectObject(dc, font);
        OverlayText texts[3];
        OverlayTexts(dc, texts, HoverPanelTexts(summary, texts));
        SelectObject(dc, old);
        DeleteObject(font);
    }
    EndPanelDraw(PANEL_HOVER);
}
