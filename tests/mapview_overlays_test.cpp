// Map view overlays: the hover quad and its tooltip frame on both sides of the
// cursor, the region panel pointer, and the blinking alert boxes with their
// outlines.
#include "mapview/markers.h"

#include <gtest/gtest.h>

#include <cstring>

#include "analysis/alert.h"
#include "literal_links.h"

TEST(MapViewOverlays, HoverQuadFollowsTheCursor) {
    struct Case {
        int mouseX, mouseY;
        float x, y;
    } cases[] = {
        {100, 200, 128, 200}, {100, 255, 128, 255},   // upper half: level with the cursor
        {100, 256, 128, 184}, {0, 511, 28, 439},       // lower half: 72 pixels higher
        {-5, -5, 23, -5},
    };
    for (const Case& c : cases) {
        TexturedScreenVertex q[4];
        BuildHoverQuad(c.mouseX, c.mouseY, q);
        const float corner[4][4] = {{c.x, c.y, 0, 0}, {c.x + 192.5f, c.y, 1, 0},
                                    {c.x, c.y + 60.5f, 0, 1}, {c.x + 192.5f, c.y + 60.5f, 1, 1}};
        for (int i = 0; i < 4; i++) {
            EXPECT_EQ(q[i].x, corner[i][0]) << c.mouseX << "," << c.mouseY << " corner " << i;
            EXPECT_EQ(q[i].y, corner[i][1]) << c.mouseX << "," << c.mouseY << " corner " << i;
            EXPECT_EQ(q[i].u, corner[i][2]);
            EXPECT_EQ(q[i].v, corner[i][3]);
            EXPECT_EQ(q[i].diffuse, 0xBFFFFFFFu);
            EXPECT_EQ(q[i].z * q[i].rhw, 1.0f);
        }
    }
}

TEST(MapViewOverlays, TooltipFrameOnBothSides) {
    struct Case {
        int mouseX, mouseY;
        float at[9][2];
    } cases[] = {
        {100, 200,
         {{128, 212}, {144, 212}, {160, 200}, {320, 200}, {320, 260}, {128, 260}, {128, 212},
          {116, 200}, {100, 200}}},
        {100, 300,
         {{128, 288}, {128, 240}, {144, 240}, {160, 228}, {320, 228}, {320, 288}, {128, 288},
          {116, 300}, {100, 300}}},
    };
    for (const Case& c : cases) {
        ColoredScreenVertex v[kTooltipFrameVertices];
        BuildTooltipFrame(c.mouseX, c.mouseY, v);
        for (int i = 0; i < kTooltipFrameVertices; i++) {
            EXPECT_EQ(v[i].x, c.at[i][0]) << c.mouseY << " vertex " << i;
            EXPECT_EQ(v[i].y, c.at[i][1]) << c.mouseY << " vertex " << i;
            EXPECT_EQ(v[i].diffuse, i < 7 ? 0xFFAACCFFu : (i == 7 ? 0xDFAACCFFu : 0xAFAACCFFu)) << i;
        }
    }
}

TEST(MapViewOverlays, RegionPanelFramePointsAtTheRegion) {
    const float outline[7][2] = {{315, 406}, {419, 406}, {437, 424}, {506, 424},
                                 {506, 486}, {315, 486}, {315, 406}};
    const int grid[][2] = {{203, 25}, {0, 0}, {600, 400}};
    for (const auto& g : grid) {
        ColoredScreenVertex v[kRegionPanelFrameVertices];
        BuildRegionPanelFrame(g[0], g[1], v);
        for (int i = 0; i < 7; i++) {
            EXPECT_EQ(v[i].x, outline[i][0]) << i;
            EXPECT_EQ(v[i].y, outline[i][1]) << i;
            EXPECT_EQ(v[i].diffuse, 0xFFAAFFFFu) << i;
        }
        EXPECT_EQ(v[7].x, LiteralPixel(g[0] - 178)) << g[0];
        EXPECT_EQ(v[7].y, LiteralPixel(g[1])) << g[1];
        EXPECT_EQ(v[7].diffuse, 0x8FAAFFFFu);
    }
}

TEST(MapViewOverlays, InitialAlertBoxesAndLines) {
    TexturedScreenVertex boxes[kAlertBoxVertices];
    InitAlertBoxes(boxes);
    for (int k = 0; k < 10; k++) {
        const TexturedScreenVertex* q = boxes + 4 * k;
        EXPECT_EQ(q[0].x + q[0].y + q[1].y + q[2].x, 0.0f) << k;
        EXPECT_EQ(q[3].x, 64.0f) << k;
        EXPECT_EQ(q[3].y, 64.0f) << k;
        EXPECT_EQ(q[1].u, 1.0f) << k;
        EXPECT_EQ(q[2].u, 0.0f) << k;
        EXPECT_FLOAT_EQ(q[0].v, 0.1f * k) << k;
        EXPECT_FLOAT_EQ(q[3].v, 0.1f * k + 0.1f) << k;
        for (int c = 0; c < 4; c++) EXPECT_EQ(q[c].diffuse, 0xEFFFFFFFu) << k;
    }
    ColoredScreenVertex lines[kLinkVertices];
    std::memset(lines, 0x7F, sizeof lines);
    InitTransparentVertices(lines, kLinkVertices);
    for (const ColoredScreenVertex& v : lines) {
        ASSERT_EQ(v.x + v.y, 0.0f);
        ASSERT_EQ(v.diffuse, 0u);
        ASSERT_EQ(v.z * v.rhw, 1.0f);
    }
}

static AlertEntry Box(int minX, int minY, int maxX, int maxY, int boxOnMap) {
    AlertEntry e;
    std::memset(&e, 0, sizeof e);
    e.minX = minX;
    e.minY = minY;
    e.maxX = maxX;
    e.maxY = maxY;
    e.boxOnMap = boxOnMap;
    return e;
}

TEST(MapViewOverlays, AlertBoxGeometryClampsToTheMapButOutlinesDoNot) {
    struct Case {
        AlertEntry entry;
        float x1, y1, x2, y2, u2, v2;   // the hatched quad
    } cases[] = {
        {Box(200, 50, 300, 150, 1), LiteralPixel(22), LiteralPixel(50), LiteralPixel(122),
         LiteralPixel(150), 1.1875f, 1.1875f},
        {Box(170, 0, 520, 340, 1), 1, 1, 511, 511, 4.15625f, 4.0375f},
        {Box(179, 1, 514, 336, 1), LiteralPixel(1), LiteralPixel(1), LiteralPixel(336),
         LiteralPixel(336), 3.978125f, 3.978125f},
        {Box(200, 50, 300, 150, 0), LiteralPixel(22), LiteralPixel(50), LiteralPixel(122),
         LiteralPixel(150), 1.1875f, 1.1875f},
    };
    AlertEntry entries[10];
    for (int k = 0; k < 10; k++) entries[k] = cases[k % 4].entry;
    TexturedScreenVertex boxes[kAlertBoxVertices];
    ColoredScreenVertex outlines[kAlertOutlineVertices];
    std::memset(outlines, 0x7F, sizeof outlines);
    BuildAlertBoxes(entries, boxes);
    BuildAlertBoxOutlines(entries, outlines);
    for (int k = 0; k < kAlertBoxes; k++) {
        const Case& c = cases[k % 4];
        const TexturedScreenVertex* q = boxes + 4 * k;
        const float corner[4][4] = {{c.x1, c.y1, 0, 0}, {c.x2, c.y1, c.u2, 0},
                                    {c.x1, c.y2, 0, c.v2}, {c.x2, c.y2, c.u2, c.v2}};
        uint32_t color = c.entry.boxOnMap ? 0x01FFFFFFu : 0;   // first blink step: alpha 1
        for (int i = 0; i < 4; i++) {
            EXPECT_EQ(q[i].x, corner[i][0]) << "box " << k << " corner " << i;
            EXPECT_EQ(q[i].y, corner[i][1]) << "box " << k << " corner " << i;
            EXPECT_FLOAT_EQ(q[i].u, corner[i][2]) << "box " << k << " corner " << i;
            EXPECT_FLOAT_EQ(q[i].v, corner[i][3]) << "box " << k << " corner " << i;
            EXPECT_EQ(q[i].diffuse, color) << "box " << k;
        }
        const AlertEntry& e = c.entry;
        const int strip[5][2] = {{e.minX, e.minY}, {e.maxX, e.minY}, {e.maxX, e.maxY},
                                 {e.minX, e.maxY}, {e.minX, e.minY}};
        for (int i = 0; i < 5; i++) {
            const ColoredScreenVertex& v = outlines[5 * k + i];
            EXPECT_EQ(v.x, LiteralPixel(strip[i][0] - 178)) << "outline " << k << " vertex " << i;
            EXPECT_EQ(v.y, LiteralPixel(strip[i][1])) << "outline " << k << " vertex " << i;
            EXPECT_EQ(v.diffuse, e.boxOnMap ? 0xFFFF0000u : 0u) << "outline " << k;
        }
    }
    // The tenth box is never drawn: it keeps its initial quad, its outline is empty.
    TexturedScreenVertex initial[kAlertBoxVertices];
    InitAlertBoxes(initial);
    EXPECT_EQ(std::memcmp(boxes + 36, initial + 36, 4 * sizeof(TexturedScreenVertex)), 0);
    for (int i = 45; i < 50; i++) EXPECT_EQ(outlines[i].diffuse, 0u) << i;
    EXPECT_EQ(entries[9].pulseAlpha, 0);
}

TEST(MapViewOverlays, AlertBoxesBlinkBetween31And129) {
    AlertEntry entries[10];
    for (int k = 0; k < 10; k++) entries[k] = Box(200, 50, 300, 150, k != 4);
    struct Step {
        int tick, alpha, dir;
    } steps[] = {
        {1, 1, 0},     {128, 128, 0}, {129, 129, 1}, {130, 128, 1}, {227, 31, 0},
        {228, 32, 0},  {325, 129, 1}, {423, 31, 0},
    };
    TexturedScreenVertex boxes[kAlertBoxVertices];
    int tick = 0, low = 255, high = 0;
    for (const Step& s : steps) {
        while (tick < s.tick) {
            BuildAlertBoxes(entries, boxes);
            tick++;
            if (tick > 129) {
                low = entries[0].pulseAlpha < low ? entries[0].pulseAlpha : low;
                high = entries[0].pulseAlpha > high ? entries[0].pulseAlpha : high;
            }
        }
        for (int k = 0; k < kAlertBoxes; k++) {
            EXPECT_EQ(entries[k].pulseAlpha, s.alpha) << "tick " << tick << " box " << k;
            EXPECT_EQ(entries[k].pulseDir, s.dir) << "tick " << tick << " box " << k;
            // A box off the map keeps blinking but stays transparent.
            uint32_t color = k == 4 ? 0 : uint32_t(s.alpha) << 24 | 0xFFFFFFu;
            EXPECT_EQ(boxes[4 * k + 3].diffuse, color) << "tick " << tick << " box " << k;
        }
    }
    EXPECT_EQ(low, 31);
    EXPECT_EQ(high, 129);
    EXPECT_EQ(entries[9].pulseAlpha, 0);   // only the nine drawn boxes blink
}
