#include "engine/picture/hover_picture.h"

#include "engine/controls/map_pick.h"
#include "engine/picture/panel_picture.h"

void BuildHoverPicture(PanelPicture* out) {
    const HoverSummary& summary = MapHoverSummary();
    ClearPicture(out);
    // A box with a notch cut from its top-left corner; the notch is never
    // painted, so it stays black (transparent on the map). The box covers
    // every pixel a text is drawn on, so the panel needs no clearing.
    static const OverlayPoint kBox[6] = {{0, 12}, {16, 12}, {32, 0}, {192, 0}, {192, 60}, {0, 60}};
    AddPolygon(out, PanelColor{128, 192, 255}, PanelColor{32, 64, 96}, kBox, 6);
    OverlayText texts[3];
    AddTexts(out, texts, HoverPanelTexts(summary, texts));
}
