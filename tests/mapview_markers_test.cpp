// Map view numbers: grid-to-pixel rounding, depth colours, marker sizes, the
// distance table, the marker walk, the pulsing selected marker and the leader
// line.
#include "mapview/markers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/settings.h"
#include "test_util.h"

static QuakeRecord At(int mapX, int mapY, int depthKm, int magnitude10, int inFilter = 1) {
    QuakeRecord r = Rec(2020, 1, 1, 0, 0, mapX, mapY, depthKm, 1, magnitude10, 3);
    r.inFilter = uint8_t(inFilter);
    return r;
}

static void ExpectQuad(const TexturedScreenVertex* q, float x1, float y1, float x2, float y2,
                       uint32_t color, const char* what) {
    const float corner[4][4] = {{x1, y1, 0, 0}, {x2, y1, 1, 0}, {x1, y2, 0, 1}, {x2, y2, 1, 1}};
    for (int c = 0; c < 4; c++) {
        EXPECT_EQ(q[c].x, corner[c][0]) << what << " corner " << c;
        EXPECT_EQ(q[c].y, corner[c][1]) << what << " corner " << c;
        EXPECT_EQ(q[c].u, corner[c][2]) << what << " corner " << c;
        EXPECT_EQ(q[c].v, corner[c][3]) << what << " corner " << c;
        EXPECT_EQ(q[c].z, 1.0f) << what;
        EXPECT_EQ(q[c].rhw, 1.0f) << what;
        EXPECT_EQ(q[c].diffuse, color) << what << " corner " << c;
    }
}

TEST(MapViewNumbers, GridToPixelTruncatesTheDoubleProduct) {
    struct Case {
        int gridX, gridY, px, py, onMap;
    } cases[] = {
        {203, 25, 37, 37, 1},      // 25 x k = 37.99999952: 37, not 38
        {178, 0, 0, 0, 1},
        {228, 50, 75, 75, 1},      // 50 x k = 75.9999990
        {514, 336, 510, 510, 1},
        {515, 337, 512, 512, 1},   // 512.24: still on the map
        {516, 337, 513, 512, 0},   // 513.76: off
        {515, 338, 512, 513, 0},
        {0, 0, -270, 0, 1},        // no lower bound; truncation toward zero
        {153, 0, -37, 0, 1},       // -37.99999952
        {65535, 65535, 99342, 99613, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GridToPixelXi(c.gridX), c.px) << c.gridX;
        EXPECT_EQ(GridToPixelYi(c.gridY), c.py) << c.gridY;
        EXPECT_EQ(PixelOnMap(c.px, c.py), c.onMap) << c.gridX << "," << c.gridY;
    }
    // The untruncated vertex position is the product rounded to a float.
    EXPECT_EQ(GridToPixelX(203), 38.0f);
    EXPECT_EQ(GridToPixelY(25), 38.0f);
    EXPECT_EQ(GridToPixelX(179), 1.52f);
    EXPECT_EQ(GridToPixelY(-1), -1.52f);
}

struct MarkerWalk : ::testing::Test {
    TexturedScreenVertex out[kMarkerVertices];
    void SetUp() override { std::memset(out, 0x7F, sizeof out); }
    // Every vertex from quad `from` on is the initial, transparent one.
    void ExpectEmptyFrom(int from) {
        for (int k = from; k < kMarkerQuads; k++) {
            const TexturedScreenVertex* q = out + 4 * k;
            for (int c = 0; c < 4; c++) {
                ASSERT_EQ(q[c].diffuse, 0u) << "quad " << k;
                ASSERT_EQ(q[c].x, 0.0f) << "quad " << k;
                ASSERT_EQ(q[c].y, 0.0f) << "quad " << k;
            }
        }
    }
};

TEST_F(MarkerWalk, QuadGeometryAndColour) {
    SetCatalogue({At(203, 25, 0, 50), At(300, 100, 170, 30), At(400, 300, 90, 70)});
    ASSERT_EQ(BuildMarkerQuads(out), 3);
    ExpectQuad(out, 25, 25, 49, 49, 0xFFFF0000, "M5.0 at pixel (37, 37)");
    ExpectQuad(out + 4, 185 - 2, 151 - 2, 185 + 2, 151 + 2, 0xFF007F80, "M3.0 at (185, 151)");
    ExpectQuad(out + 8, 337 - 36, 455 - 36, 337 + 36, 455 + 36, 0xFFACFF00, "M7.0 at (337, 455)");
    EXPECT_EQ(gpEQ[0].markerColor, 0xFFFF0000u);
    EXPECT_EQ(gpEQ[1].markerColor, 0xFF007F80u);
    EXPECT_EQ(gpEQ[2].markerColor, 0xFFACFF00u);
    ExpectEmptyFrom(3);
}

TEST_F(MarkerWalk, AtMostTheNewestThousand) {
    std::vector<QuakeRecord> records;
    for (int i = 0; i < 1500; i++) records.push_back(At(200 + i % 300, i % 330, i % 250, 30 + i % 40));
    records[500].inFilter = 0;
    SetCatalogue(records);
    ASSERT_EQ(BuildMarkerQuads(out), kMarkerQuads);
    for (int k = 0; k < kMarkerQuads; k++) {
        int i = k < 500 ? k : k + 1;   // record 500 is skipped
        int s = MarkerHalfSize(records[i].magnitude10, 0);
        ASSERT_EQ(out[4 * k].x, float(GridToPixelXi(records[i].mapX) - s)) << k;
        ASSERT_EQ(out[4 * k + 3].y, float(GridToPixelYi(records[i].mapY) + s)) << k;
    }
    EXPECT_NE(gpEQ[1000].markerColor, 0u);
    EXPECT_EQ(gpEQ[1001].markerColor, 0u);   // the 1001st match is not drawn
}

struct SelectedMarker : ::testing::Test {
    TexturedScreenVertex quad[4];
    void SetUp() override {
        gSelectedPulse = 255;
        gSelectedPulseDown = 0;
        std::memset(quad, 0x7F, sizeof quad);
    }
};

TEST_F(SelectedMarker, PulseSequence) {
    SetCatalogue({At(300, 100, 170, 70), At(203, 25, 0, 40)});
    AppSettings.selFirst = 1;
    struct Step {
        int tick;
        uint32_t alpha;
        int level;
    } steps[] = {
        {1, 255, 255}, {2, 255, 247}, {3, 247, 239}, {32, 15, 7}, {33, 7, 0},
        {34, 0, 8},    {35, 8, 16},   {64, 240, 248}, {65, 248, 255}, {66, 255, 247},
    };
    int tick = 0;
    for (const Step& s : steps) {
        while (tick < s.tick) {
            ASSERT_EQ(BuildSelectedQuad(quad), 1);
            tick++;
        }
        EXPECT_EQ(gSelectedPulse, s.level) << "tick " << tick;
        // Depth 0 is pure red: the level lifts green and blue.
        uint32_t color = s.alpha << 24 | 0xFF0000u | uint32_t(s.level) << 8 | uint32_t(s.level);
        ExpectQuad(quad, 37 - 16, 37 - 16, 37 + 16, 37 + 16, color, "selected M4.0");
        EXPECT_EQ(gpEQ[1].markerColor, color) << "tick " << tick;
    }
}
