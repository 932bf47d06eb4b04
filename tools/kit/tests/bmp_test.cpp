// BMP files: the format the map loader expects, and the committed map.
#include <gtest/gtest.h>

#include "kit/bmp.h"
#include "kit_test_util.h"
#include "mapview/geometry.h"

static uint32_t Le(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; i++) v |= uint32_t(uint8_t(b[at + i])) << (8 * i);
    return v;
}

TEST(Bmp, EncodesAnUncompressedBottomUp24BitFile) {
    for (int width : {1, 2, 3, 5, 512}) {
        RgbImage image;
        InitImage(&image, width, 3, 0x102030);
        SetPixel(&image, 0, 0, 0xFF0000);            // top-left red
        SetPixel(&image, width - 1, 2, 0x0000FF);    // bottom-right blue
        std::string b = EncodeBmp(image);
        uint32_t stride = (uint32_t(width) * 3 + 3) / 4 * 4;
        ASSERT_EQ(b.size(), 54 + stride * 3);
        EXPECT_EQ(b.substr(0, 2), "BM");
        EXPECT_EQ(Le(b, 2, 4), b.size());
        EXPECT_EQ(Le(b, 10, 4), 54u);
        EXPECT_EQ(Le(b, 14, 4), 40u);
        EXPECT_EQ(Le(b, 18, 4), uint32_t(width));
        EXPECT_EQ(Le(b, 22, 4), 3u);   // positive height: bottom-up
        EXPECT_EQ(Le(b, 28, 2), 24u);
        EXPECT_EQ(Le(b, 30, 4), 0u);   // no compression
        // The last stored row is the top one; pixels are blue, green, red.
        size_t top = 54 + stride * 2;
        EXPECT_EQ(uint8_t(b[top]), 0x00);
        EXPECT_EQ(uint8_t(b[top + 2]), 0xFF);
        size_t bottomRight = 54 + size_t(width - 1) * 3;
        EXPECT_EQ(uint8_t(b[bottomRight]), 0xFF);
        RgbImage back;
        ASSERT_EQ(DecodeBmp(b, &back), 0);
        EXPECT_EQ(back.width, width);
        EXPECT_EQ(back.rgb, image.rgb);
    }
}

TEST(Bmp, RejectsWhatIsNotA24BitBmp) {
    RgbImage image;
    InitImage(&image, 4, 4, 0x123456);
    std::string good = EncodeBmp(image);
    struct Case {
        const char* what;
        size_t at;
        char value;
    } cases[] = {{"magic", 0, 'X'}, {"bit depth", 28, 32}, {"compression", 30, 1}, {"header size", 14, 12},
                 {"width", 21, char(0x80)}};
    for (const Case& c : cases) {
        std::string bad = good;
        bad[c.at] = c.value;
        RgbImage out;
        EXPECT_EQ(DecodeBmp(bad, &out), 1) << c.what;
        EXPECT_EQ(out.width, 0) << c.what;
    }
    RgbImage out;
    EXPECT_EQ(DecodeBmp(good.substr(0, good.size() - 1), &out), 1);   // truncated pixels
    EXPECT_EQ(DecodeBmp("BM", &out), 1);
}

TEST(Bmp, CommittedMapIsA512SquareDarkMapOfJapan) {
    std::string bytes = FileBytes(std::string(WOLT_SOURCE_DIR) + "/data/MAP01_512.bmp");
    ASSERT_EQ(bytes.size(), 54u + 512 * 512 * 3);
    EXPECT_EQ(Le(bytes, 22, 4), 512u);
    RgbImage map;
    ASSERT_EQ(DecodeBmp(bytes, &map), 0);
    ASSERT_EQ(map.width, 512);
    long long sum = 0;
    for (uint8_t v : map.rgb) sum += v;
    EXPECT_LT(double(sum) / map.rgb.size(), 60.0);   // dark: markers are added on top
    struct Place {
        const char* name;
        double lat, lon;
        bool land;
    } places[] = {
        {"Nagano", 36.3, 138.0, true},   {"Sapporo area", 43.2, 141.8, true}, {"Kyushu", 32.6, 130.9, true},
        {"Shikoku", 33.7, 133.4, true},  {"Pacific", 33.0, 145.0, false},     {"Japan Sea", 40.0, 135.0, false},
        {"Philippine Sea", 28.0, 135.0, false}, {"Okhotsk", 45.5, 146.5, false},
    };
    for (const Place& p : places) {
        double gx, gy, px, py;
        GeoToGrid(p.lat, p.lon, &gx, &gy);
        GridToPixel(gx, gy, &px, &py);
        uint32_t c = GetPixel(map, int(px), int(py));
        int red = int(c >> 16), blue = int(c & 0xFF);
        if (p.land) {
            EXPECT_TRUE(red >= 0x28 && blue - red < 8) << p.name;
        } else {
            EXPECT_TRUE(red < 0x20 && blue > red + 0x10) << p.name;
        }
    }
}
