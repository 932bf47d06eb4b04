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
