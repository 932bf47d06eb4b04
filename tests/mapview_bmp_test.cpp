// The map image reader on hand-made bitmaps: row orders, bit depths, row
// padding, and every kind of broken header or truncated file.
#include "mapview/bmp_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "test_util.h"

// The test picture: blue, green and red of pixel (x, y), y counted from the top.
static unsigned char Blue(int x, int y) { return uint8_t(x * 10 + y); }
static unsigned char Green(int x, int) { return uint8_t(100 + x); }
static unsigned char Red(int, int y) { return uint8_t(200 + y); }

static void Put16(std::string* s, size_t at, uint32_t v) {
    (*s)[at] = char(v & 0xFF);
    (*s)[at + 1] = char(v >> 8 & 0xFF);
}
static void Put32(std::string* s, size_t at, uint32_t v) {
    Put16(s, at, v & 0xFFFF);
    Put16(s, at + 2, v >> 16);
}

// A bitmap file of the test picture; a negative height stores it top-down.
// Bitfield files carry the three masks right after the 40-byte header.
// Below 24 bits only the header is meaningful.
static std::string MakeBmp(int width, int height, int bits, uint32_t compression = 0,
                           uint32_t redMask = 0x00FF0000) {
    int rows = height < 0 ? -height : height;
    size_t stride = (size_t(width) * bits + 31) / 32 * 4;
    size_t offset = 54 + (compression == 3 ? 12 : 0);
    std::string s(offset + stride * rows, '\0');
    s[0] = 'B';
    s[1] = 'M';
    Put32(&s, 2, uint32_t(s.size()));
    Put32(&s, 10, uint32_t(offset));
    Put32(&s, 14, 40);
    Put32(&s, 18, uint32_t(width));
    Put32(&s, 22, uint32_t(height));
    Put16(&s, 26, 1);
    Put16(&s, 28, uint32_t(bits));
    Put32(&s, 30, compression);
    if (compression == 3) {
        Put32(&s, 54, redMask);
        Put32(&s, 58, 0x0000FF00);
        Put32(&s, 62, 0x000000FF);
    }
    for (int y = 0; y < rows && bits >= 24; y++) {
        size_t row = offset + stride * size_t(height < 0 ? y : rows - 1 - y);
        for (int x = 0; x < width; x++) {
            size_t p = row + size_t(x) * (bits / 8);
            s[p] = char(Blue(x, y));
            s[p + 1] = char(Green(x, y));
            s[p + 2] = char(Red(x, y));
            if (bits == 32) s[p + 3] = 0;   // unused byte
        }
    }
    return s;
}

static int Decode(const std::string& s, BmpImage* out) {
    return DecodeBmp(reinterpret_cast<const unsigned char*>(s.data()), s.size(), out);
}

static void ExpectPicture(const BmpImage& image, int width, int height, const char* what) {
    ASSERT_EQ(image.width, width) << what;
    ASSERT_EQ(image.height, height) << what;
    ASSERT_NE(image.pixels, nullptr) << what;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const unsigned char* p = image.pixels + 4 * (size_t(y) * width + x);
            ASSERT_EQ(p[0], Blue(x, y)) << what << " " << x << "," << y;
            ASSERT_EQ(p[1], Green(x, y)) << what << " " << x << "," << y;
            ASSERT_EQ(p[2], Red(x, y)) << what << " " << x << "," << y;
            ASSERT_EQ(p[3], 255) << what << " " << x << "," << y;
        }
}

TEST(BmpReader, ReadsTopDownBgraFromEveryLayout) {
    struct Case {
        const char* what;
        int width, height, bits;
        uint32_t compression;
    } cases[] = {
        {"24-bit bottom-up, padded rows", 3, 2, 24, 0},
        {"24-bit top-down", 3, 2, 24, 0},
        {"24-bit, no padding", 4, 5, 24, 0},
        {"24-bit, one pixel", 1, 1, 24, 0},
        {"24-bit, 512 x 512", 512, 512, 24, 0},
        {"32-bit", 5, 3, 32, 0},
        {"32-bit top-down", 5, 3, 32, 0},
        {"32-bit with plain masks", 2, 2, 32, 3},
    };
    for (const Case& c : cases) {
        bool topDown = std::string(c.what).find("top-down") != std::string::npos;
        BmpImage image = {};
        ASSERT_EQ(Decode(MakeBmp(c.width, topDown ? -c.height : c.height, c.bits, c.compression), &image),
                  BMP_OK)
            << c.what;
        ExpectPicture(image, c.width, c.height, c.what);
        FreeBmp(&image);
        EXPECT_EQ(image.pixels, nullptr);
        EXPECT_EQ(image.width, 0);
    }
}

TEST(BmpReader, RefusesBadFilesAndLeavesTheImageUntouched) {
    const std::string good = MakeBmp(3, 2, 24);
    struct Case {
        const char* what;
        std::string bytes;
        int result;
    } cases[] = {
        {"empty", "", BMP_BAD_HEADER},
        {"headers cut short", good.substr(0, 53), BMP_BAD_HEADER},
        {"wrong magic", "BN" + good.substr(2), BMP_BAD_HEADER},
        {"last pixel byte missing", good.substr(0, good.size() - 4), BMP_TRUNCATED},
        {"a whole row missing", good.substr(0, good.size() - 12), BMP_TRUNCATED},
        {"8-bit palette", MakeBmp(3, 2, 8), BMP_UNSUPPORTED},
        {"16-bit", MakeBmp(3, 2, 16), BMP_UNSUPPORTED},
        {"32-bit with other masks", MakeBmp(2, 2, 32, 3, 0x0000FF00), BMP_UNSUPPORTED},
        {"24-bit with masks", MakeBmp(2, 2, 24, 3), BMP_UNSUPPORTED},
        {"huge width", MakeBmp(1, 1, 24), BMP_TOO_LARGE},
        {"huge top-down height", MakeBmp(1, 1, 24), BMP_TOO_LARGE},
        {"largest side with no pixels", MakeBmp(1, 1, 24), BMP_TRUNCATED},
    };
    Put32(&cases[9].bytes, 18, 100000);
    Put32(&cases[10].bytes, 22, uint32_t(-100000));
    Put32(&cases[11].bytes, 18, kBmpMaxSide);
    Put32(&cases[11].bytes, 22, kBmpMaxSide);

    // Single header fields broken in an otherwise good file.
    struct Field {
        const char* what;
        size_t at, bytes;
        uint32_t value;
        int result;
    } fields[] = {
        {"OS/2 core header", 14, 4, 12, BMP_UNSUPPORTED},
        {"header size 39", 14, 4, 39, BMP_BAD_HEADER},
        {"header longer than the file", 14, 4, 400, BMP_BAD_HEADER},
        {"header size 0xFFFFFFFF", 14, 4, 0xFFFFFFFF, BMP_BAD_HEADER},
        {"width 0", 18, 4, 0, BMP_BAD_HEADER},
        {"negative width", 18, 4, uint32_t(-3), BMP_BAD_HEADER},
        {"height 0", 22, 4, 0, BMP_BAD_HEADER},
        {"height INT32_MIN", 22, 4, 0x80000000, BMP_BAD_HEADER},
        {"two planes", 26, 2, 2, BMP_BAD_HEADER},
        {"run-length compressed", 30, 4, 1, BMP_UNSUPPORTED},
        {"pixels inside the header", 10, 4, 40, BMP_BAD_HEADER},
        {"pixels past the end", 10, 4, 1000, BMP_TRUNCATED},
        {"pixels at 0xFFFFFFFF", 10, 4, 0xFFFFFFFF, BMP_TRUNCATED},
        {"pixels four bytes later", 10, 4, 58, BMP_TRUNCATED},
    };
    for (const Field& f : fields) {
        std::string bytes = good;
        if (f.bytes == 2)
            Put16(&bytes, f.at, f.value);
        else
            Put32(&bytes, f.at, f.value);
        EXPECT_NE(bytes, good) << f.what;
        BmpImage image = {77, 88, reinterpret_cast<unsigned char*>(&image)};
        EXPECT_EQ(Decode(bytes, &image), f.result) << f.what;
        EXPECT_EQ(image.width, 77) << f.what;
        EXPECT_EQ(image.height, 88) << f.what;
        EXPECT_EQ(image.pixels, reinterpret_cast<unsigned char*>(&image)) << f.what;
    }
    for (const Case& c : cases) {
        BmpImage image = {77, 88, reinterpret_cast<unsigned char*>(&image)};
        EXPECT_EQ(Decode(c.bytes, &image), c.result) << c.what;
        EXPECT_EQ(image.width, 77) << c.what;
        EXPECT_EQ(image.height, 88) << c.what;
        EXPECT_EQ(image.pixels, reinterpret_cast<unsigned char*>(&image)) << c.what;
    }
}
