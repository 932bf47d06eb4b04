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
