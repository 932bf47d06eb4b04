#include "engine/picture/region_picture.h"

#include "engine/analysis/region_summary.h"
#include "engine/selection/current_record.h"
#include "engine/picture/panel_data.h"
#include "engine/picture/panel_picture.h"

void BuildRegionPicture(const char* appTitle, PanelPicture* out) {
    ClearPicture(out);
    if (!UpdateRegionPanelSummary(gCurrentRecord)) {
        out->paint = 0;
        return;
    }
    // Not cleared: every redraw paints the same shapes and fixed texts, and
    // the box covers the texts that change. Its top edge steps down at x 417
    // to 436, as the frame the map view draws around it.
    const PanelColor box = {32, 80, 96};
    static const OverlayPoint kBox[6] = {{313, 123}, {417, 123}, {436, 141}, {504, 141}, {504, 202}, {313, 202}};
    AddPolygon(out, box, box, kBox, 6);
    for (int k = 0; k < kDepthLegendBars; k++) AddFill(out, DepthLegendColor(k), DepthLegendBar(k));
    const PanelColor transparent = {0, 0, 0};
    AddFill(out, transparent, kRegionSiteLine);
    AddFill(out, transparent, kRegionCreditLine);
    OverlayText texts[kRegionPanelTexts];
    AddTexts(out, texts, RegionPanelTexts(appTitle, texts));
}
