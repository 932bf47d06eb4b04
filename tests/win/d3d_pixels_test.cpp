// The 24-to-32-bit conversions behind the panel textures and the marker
// sprite: alpha rules, row pitch, the area written.
#include "mapview/d3d_scene.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Bgra {
    int b, g, r, a;
};

Bgra At(const std::vector<unsigned char>& surface, int pitch, int x, int y) {
    const unsigned char* p = surface.data() + size_t(y) * pitch + size_t(x) * 4;
    return Bgra{p[0], p[1], p[2], p[3]};
}

}  // namespace

TEST(PanelPixels, OnlyPureBlackBecomesTransparent) {
    struct Case {
        unsigned char b, g, r;
        int alpha;
    };
    const Case cases[] = {
        {0, 0, 0, 0},       {0, 0, 1, 255},     {1, 0, 0, 255},   {0, 1, 0, 255},
        {128, 0, 0, 255},   {0, 0, 128, 255},   {255, 255, 255, 255},
        {12, 34, 56, 255},
    };
    const int n = int(sizeof cases / sizeof cases[0]);
    std::vector<unsigned char> bgr;
    for (const Case& c : cases) bgr.insert(bgr.end(), {c.b, c.g, c.r});
    std::vector<unsigned char> surface(size_t(n) * 4, 0xAA);
    ConvertPanelPixels(bgr.data(), n, n, 1, surface.data(), n * 4);
    for (int i = 0; i < n; i++) {
        Bgra p = At(surface, n * 4, i, 0);
        EXPECT_EQ(p.b, cases[i].b) << i;
        EXPECT_EQ(p.g, cases[i].g) << i;
        EXPECT_EQ(p.r, cases[i].r) << i;
        EXPECT_EQ(p.a, cases[i].alpha) << i;
    }
}

TEST(SpritePixels, AlphaIsTheMeanOfTheChannelsRoundedDown) {
    struct Case {
        unsigned char b, g, r;
        int alpha;
    };
    const Case cases[] = {
        {0, 0, 0, 0},       {1, 1, 0, 0},       {1, 1, 1, 1},       {2, 2, 1, 1},
        {8, 8, 8, 8},       {248, 248, 248, 248}, {255, 255, 254, 254},
        {255, 255, 255, 255}, {255, 0, 0, 85},  {0, 0, 200, 66},
    };
    const int n = int(sizeof cases / sizeof cases[0]);
    std::vector<unsigned char> bgr;
    for (const Case& c : cases) bgr.insert(bgr.end(), {c.b, c.g, c.r});
    const int pitch = n * 4 + 8;
    std::vector<unsigned char> surface(size_t(pitch), 0xAA);
    ConvertSpritePixels(bgr.data(), n, 1, surface.data(), pitch);
    for (int i = 0; i < n; i++) {
        Bgra p = At(surface, pitch, i, 0);
        EXPECT_EQ(p.b, cases[i].b) << i;
        EXPECT_EQ(p.g, cases[i].g) << i;
        EXPECT_EQ(p.r, cases[i].r) << i;
        EXPECT_EQ(p.a, cases[i].alpha) << i;
    }
    for (int k = n * 4; k < pitch; k++) EXPECT_EQ(surface[size_t(k)], 0xAA);
}
