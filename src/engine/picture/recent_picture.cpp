#include "engine/picture/recent_picture.h"

#include "engine/picture/panel_picture.h"
#include "engine/picture/recent_data.h"

static const PanelColor kGrey = {128, 128, 128};
static const PanelColor kBoxFill = {32, 32, 32};
static const PanelColor kWhite = {255, 255, 255};

static void AddGraphFrame(PanelPicture* out) {
    static const OverlayPoint kFrame[4] = {{0, 5}, {191, 5}, {191, 74}, {0, 74}};
    AddPolygon(out, kGrey, kBoxFill, kFrame, 4);
    // Background bands, each 14 pixels higher than the last, the top one cut at 6.
    static const PanelRect kBands[4] = {{1, 45, 191, 59}, {1, 31, 191, 45}, {1, 17, 191, 31}, {1, 6, 191, 17}};
    for (int k = 0; k < 4; k++) AddFill(out, PanelColor{48 + 10 * k, 32, 32}, kBands[k]);
}

// Counts box, strong-events tab and card with their texts.
static void AddBoxes(PanelPicture* out, const RecentPanelData& data) {
    static const OverlayPoint kCounts[4] = {{0, 74}, {191, 74}, {191, 112}, {0, 112}};
    AddPolygon(out, kGrey, kBoxFill, kCounts, 4);
    AddTexts(out, data.counts, 2);
    static const OverlayPoint kTab[6] = {{0, 112}, {90, 112}, {106, 128}, {191, 128}, {191, 151}, {0, 151}};
    AddPolygon(out, kGrey, data.strongFill, kTab, 6);
    AddTexts(out, data.strong, 2);
    static const OverlayPoint kCard[4] = {{0, 156}, {191, 156}, {191, 269}, {0, 269}};
    AddPolygon(out, kWhite, data.cardFill, kCard, 4);
    AddTexts(out, data.card, data.cardLines);
}

void BuildRecentPicture(int width, int height, PanelPicture* out) {
    static RecentPanelData data;
    BuildRecentPanel(&data);
    ClearPicture(out);
    AddFill(out, PanelColor{0, 0, 0}, PanelRect{0, 0, width, height});
    AddGraphFrame(out);
    AddTexts(out, &data.title, 1);
    AddPolyline(out, PanelColor{0, 255, 255}, data.interval.points, data.interval.count);
    AddPolyline(out, PanelColor{0, 255, 0}, data.magnitude.points, data.magnitude.count);
    AddBoxes(out, data);
}
