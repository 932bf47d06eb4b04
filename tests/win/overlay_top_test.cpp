// The panels over the map, drawn off screen under Wine: the recent-events
// panel (frame, bands, both curves, boxes and texts, the transparent gaps),
// the hover panel (box, transparent notch, texts, the pick it publishes) and
// the selected-region panel (box with its step, legend bars, texts, redrawn
// only for a new current record); no GDI object left behind by any panel.
#include "mapview/bottom_panel.h"
#include "mapview/hover_panel.h"
#include "mapview/recent_panel.h"
#include "mapview/region_panel.h"

#include "analysis/region_stats.h"
#include "mapview/markers.h"
#include "overlay_fixture.h"

namespace {

const Rgb kGrey = {128, 128, 128}, kBoxFill = {32, 32, 32};
const Rgb kCyan = {0, 255, 255}, kGreen = {0, 255, 0};

// 200 earthquakes one minute apart (the interval curve lies on 73), all
// M1.0 (the magnitude curve at 73 - 7.5 = 65), the newest M6.3.
std::vector<QuakeRecord> MinuteApart() {
    std::vector<QuakeRecord> r;
    for (int i = 0; i < 200; i++)
        r.push_back(OverlayRecord(2024, 6, 20, (760 - i) / 60, (760 - i) % 60, 300, 200, 30, 3, 10, 2));
    r[0].magnitude10 = 63;
    r[0].intensity = 9;
    return r;
}

using RecentPanel = OverlayTest;

TEST_F(RecentPanel, FrameBandsCurvesAndBoxes) {
    Load(MinuteApart());
    AppSettings.selStrongRecent = 10;   // tab fill (62, 32, 88)
    DrawRecentPanel();
    const PanelId p = PANEL_RECENT;
    struct Probe {
        int x, y;
        Rgb color;
        const char* what;
    } probes[] = {
        {100, 2, kBlack, "above the graph"},
        {160, 5, kGrey, "graph frame, top"},
        {0, 40, kGrey, "graph frame, left"},
        {191, 40, kGrey, "graph frame, right"},
        {170, 10, {78, 32, 32}, "top band"},
        {170, 20, {68, 32, 32}, "second band"},
        {170, 40, {58, 32, 32}, "third band"},
        {170, 50, {48, 32, 32}, "bottom band"},
        {170, 62, kBoxFill, "below the bands"},
        {100, 65, kGreen, "magnitude curve"},
        {100, 73, kCyan, "interval curve"},
        {100, 74, kGrey, "counts box, top"},
        {3, 85, kBoxFill, "counts box"},
        {191, 100, kGrey, "counts box, right"},
        {3, 113, {62, 32, 88}, "strong tab"},
        {100, 114, kBlack, "beside the tab's step"},
        {180, 130, {62, 32, 88}, "strong tab, right part"},
        {100, 151, kGrey, "strong tab, bottom"},
        {100, 153, kBlack, "between tab and card"},
        {100, 156, kWhite, "card, top"},
        {0, 220, kWhite, "card, left"},
        {191, 220, kWhite, "card, right"},
        {2, 230, {95, 32, 2}, "card fill for M6.3"},
        {2, 267, {95, 32, 2}, "card fill, last row (its bottom edge lies below)"},
    };
    for (const Probe& pr : probes) EXPECT_EQ(At(p, pr.x, pr.y), pr.color) << pr.what;

    // The curves: the newest interval (one minute: 73 - 0) and magnitude
    // (M6.3: 73 - 47.25) are the first points at x 190; x 190 is the end of
    // the line and is not drawn.
    EXPECT_EQ(At(p, 189, 73), kCyan);
    EXPECT_EQ(At(p, 1, 73), kCyan);
    EXPECT_NE(At(p, 190, 25), kGreen);
    EXPECT_GT(Count(p, 180, 25, 191, 66, kGreen), 20) << "the rise from M1.0 to M6.3";

    // Texts: the grey title over the top band, the counts, the tab and six card lines.
    EXPECT_GT(Count(p, 4, 7, 144, 23, Rgb{168, 168, 168}), 15);
    EXPECT_GT(Inked(p, 6, 77, 190, 93, kBoxFill), 60);
    EXPECT_GT(Inked(p, 6, 95, 190, 111, kBoxFill), 60);
    EXPECT_GT(Inked(p, 6, 116, 106, 128, Rgb{62, 32, 88}), 40);
    EXPECT_GT(Inked(p, 6, 134, 190, 150, Rgb{62, 32, 88}), 60);
    for (int line = 0; line < 6; line++)
        EXPECT_GT(Inked(p, 4, 159 + 18 * line, 188, 175 + 18 * line, Rgb{95, 32, 2}), 40) << "card line " << line;
}

TEST_F(RecentPanel, RepaintedCompletelyEveryTick) {
    Load(MinuteApart());
    DrawRecentPanel();
    MarkBitmap(PANEL_RECENT, 100, 2, RGB(9, 9, 9));
    DrawRecentPanel();
    EXPECT_EQ(At(PANEL_RECENT, 100, 2), kBlack);
    // Without a loaded selection the card is drawn without lines.
    AppSettings.selFirst = 200;
    DrawRecentPanel();
    EXPECT_EQ(Inked(PANEL_RECENT, 4, 159, 188, 267, Rgb{32, 32, 128}), 0);
    EXPECT_EQ(At(PANEL_RECENT, 2, 230), (Rgb{32, 32, 128}));
}

using HoverPanel = OverlayTest;

TEST_F(HoverPanel, BoxNotchTextsAndThePick) {
    Load({OverlayRecord(2024, 6, 20, 12, 0, 300, 200, 30, 4, 45, 2),
          OverlayRecord(2024, 6, 19, 12, 0, 400, 100, 30, 5, 38, 2)});
    const PanelId p = PANEL_HOVER;
    const Rgb outline = {128, 192, 255}, fill = {32, 64, 96};
    for (int pass = 0; pass < 2; pass++) {
        gMouseX = pass == 0 ? 5 : GridToPixelXi(400) + 2;
        gMouseY = pass == 0 ? 5 : GridToPixelYi(100) + 2;
        DrawHoverPanel();
        EXPECT_EQ(gSelectedRecordA, pass == 0 ? -1 : 1);
        EXPECT_EQ(gSelectedRecordB, pass == 0 ? -1 : 1);
        struct Probe {
            int x, y;
            Rgb color;
            const char* what;
        } probes[] = {
            {0, 0, kBlack, "notch corner"},     {8, 6, kBlack, "notch"},
            {15, 11, kBlack, "notch, inner corner"}, {20, 4, kBlack, "notch, above the slope"},
            {0, 12, outline, "left edge top"},  {8, 12, outline, "notch floor"},
            {24, 6, outline, "slope"},          {100, 0, outline, "top edge"},
            {0, 40, outline, "left edge"},      {5, 40, fill, "box"},
            {191, 30, fill, "right column (the edge lies outside)"}, {30, 59, fill, "bottom row"},
        };
        for (const Probe& pr : probes) EXPECT_EQ(At(p, pr.x, pr.y), pr.color) << pr.what << " pass " << pass;
        for (int line = 0; line < 3; line++)
            EXPECT_GT(Inked(p, 34, 18 * line + 4, 188, 20 + 18 * line, fill), 20) << "line " << line;
    }
    // The first line names the region in the pass over record 1; the dashes
    // leave the other pixels.
    std::vector<Rgb> named;
    for (int x = 34; x < 188; x++) named.push_back(At(p, x, 12));
    gMouseX = gMouseY = 5;
    DrawHoverPanel();
    std::vector<Rgb> dashes;
    for (int x = 34; x < 188; x++) dashes.push_back(At(p, x, 12));
    EXPECT_NE(named, dashes);
}

using RegionPanel = OverlayTest;

TEST_F(RegionPanel, BoxLegendAndTexts) {
    Load({OverlayRecord(2024, 6, 20, 12, 0, 300, 200, 30, 4, 45, 2)});
    gRegionSummaryKey = kSummaryKeyReset;
    DrawRegionPanel();
    const PanelId p = PANEL_REGION;
    const Rgb box = {32, 80, 96};
    struct Probe {
        int x, y;
        Rgb color;
        const char* what;
    } probes[] = {
        {315, 126, box, "box, left of the text"}, {313, 160, box, "box, left edge"},
        {504, 160, box, "box, right edge"},       {400, 202, box, "box, bottom edge"},
        {430, 128, kBlack, "above the box's step"}, {312, 160, kBlack, "left of the box"},
        {501, 36, {255, 0, 0}, "first legend bar"}, {505, 41, {255, 0, 0}, "first bar, last pixel"},
        {503, 42, {255, 64, 0}, "second bar"},     {503, 80, {192, 255, 0}, "eighth bar"},
        {503, 125, {0, 0, 255}, "last bar"},        {503, 126, kBlack, "below the legend"},
        {500, 60, kBlack, "left of the legend"},   {506, 60, kBlack, "right of the legend"},
        {10, 10, kBlack, "the map shows through"},
    };
    for (const Probe& pr : probes) EXPECT_EQ(At(p, pr.x, pr.y), pr.color) << pr.what;
    for (int line = 0; line < 4; line++)
        EXPECT_GT(Inked(p, 318, 128 + 18 * line, 499, 144 + 18 * line, box), 40) << "box line " << line;
    EXPECT_GT(Inked(p, 150, 8, 500, 32, kBlack), 40) << "深さ(km)";
    for (int k = 0; k < 4; k++) EXPECT_GT(Inked(p, 460, 30 + 28 * k, 494, 54 + 28 * k, kBlack), 10) << k;
    EXPECT_GT(Inked(p, 96, 180, 302, 204, kBlack), 100) << "site line";
    EXPECT_GT(Inked(p, 4, 204, 501, 228, kBlack), 300) << "credit line";
    EXPECT_EQ(Inked(p, 0, 0, 312, 180, kBlack), 0);
}

TEST_F(RegionPanel, RedrawnOnlyForANewCurrentRecord) {
    Load({OverlayRecord(2024, 6, 20, 12, 0, 300, 200, 30, 4, 45, 2),
          OverlayRecord(2024, 6, 19, 12, 0, 300, 200, 30, 5, 45, 2)});
    gRegionSummaryKey = kSummaryKeyReset;
    DrawRegionPanel();
    MarkBitmap(PANEL_REGION, 320, 190, RGB(1, 2, 3));
    DrawRegionPanel();   // the same record: nothing repainted
    EXPECT_EQ(At(PANEL_REGION, 320, 190), (Rgb{1, 2, 3}));
    gCurrentRecord = 1;
    DrawRegionPanel();
    EXPECT_EQ(At(PANEL_REGION, 320, 190), (Rgb{32, 80, 96}));
    EXPECT_EQ(gRegionPointX, 300);
    // No current record: nothing at all.
    MarkBitmap(PANEL_REGION, 320, 190, RGB(1, 2, 3));
    gCurrentRecord = -1;
    DrawRegionPanel();
    EXPECT_EQ(At(PANEL_REGION, 320, 190), (Rgb{1, 2, 3}));
}

}  // namespace

namespace {

using OverlayObjects = OverlayTest;

// With the GDI handle table filled up to a reserve, a hundred rounds of all
// four panels (both bottom pages, the cursor moving over the map and the
// rows, a new current record now and then) leave the reserve as it was.
TEST_F(OverlayObjects, NoGdiObjectLeftBehind) {
    Load(MinuteApart());
    std::vector<HPEN> filler;
    while (HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3))) filler.push_back(pen);
    ASSERT_GT(filler.size(), 1000u);
    const int reserve = 60;
    for (int i = 0; i < reserve; i++) {
        DeleteObject(filler.back());
        filler.pop_back();
    }
    for (int i = 0; i < 100; i++) {
        gReportPage = i / 10 % 2;
        gMouseX = i % 2 ? 300 : 700;
        gMouseY = i % 2 ? 300 : 580 + i;
        if (i % 7 == 0) gCurrentRecord = i;
        DrawRecentPanel();
        DrawHoverPanel();
        DrawRegionPanel();
        DrawBottomPanel();
    }
    std::vector<HPEN> probe;
    while (HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3))) probe.push_back(pen);
    for (HPEN pen : probe) DeleteObject(pen);
    for (HPEN pen : filler) DeleteObject(pen);
    EXPECT_EQ(int(probe.size()), reserve);
}

}  // namespace
