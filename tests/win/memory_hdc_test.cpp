// The memory bitmaps under Wine: creation and release, the drawing pattern
// of a panel, the marker sprite's rings, the hatch stripes, the result codes.
#include "mapview/memory_hdc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"

static std::vector<std::string> sMessages;
static void Record(const char* text) { sMessages.push_back(text); }

class MemoryBitmaps : public ::testing::Test {
protected:
    void SetUp() override {
        sMessages.clear();
        SetMessageHandler(Record);
        ASSERT_EQ(CreateMemoryHDC(), 0);
    }
    void TearDown() override {
        ReleaseMemoryHDC();
        SetMessageHandler(nullptr);
    }
};

struct Bgr {
    int b, g, r;
};

static Bgr PixelAt(const unsigned char* pixels, int width, int x, int y) {
    const unsigned char* p = pixels + (size_t(y) * width + x) * 3;
    return Bgr{p[0], p[1], p[2]};
}

static int CircleLevel(int x, int y) {
    Bgr p = PixelAt(gCircleSpritePixels, kCircleSize, x, y);
    EXPECT_TRUE(p.b == p.g && p.g == p.r) << x << "," << y;
    return p.r;
}

TEST_F(MemoryBitmaps, CreatedOnceWithBlackBuffers) {
    const int sizes[PANEL_COUNT][2] = {{192, 268}, {336, 534}, {192, 60},
                                       {512, 230}, {864, 246}, {128, 128}};
    EXPECT_TRUE(sMessages.empty());
    ASSERT_NE(gMemoryDC, nullptr);
    ASSERT_NE(gCircleSpritePixels, nullptr);
    for (int i = 0; i < PANEL_COUNT; i++) {
        const PanelBitmap& p = gPanels[i];
        EXPECT_EQ(p.width, sizes[i][0]) << i;
        EXPECT_EQ(p.height, sizes[i][1]) << i;
        ASSERT_NE(p.bitmap, nullptr) << i;
        ASSERT_NE(p.pixels, nullptr) << i;
        EXPECT_EQ(p.displaced, nullptr) << i;
        long sum = 0;
        for (size_t k = 0; k < size_t(p.width) * p.height * 3; k++) sum += p.pixels[k];
        EXPECT_EQ(sum, 0) << "panel " << i << " starts black";
    }
    HDC dc = gMemoryDC;
    unsigned char* recent = gPanels[PANEL_RECENT].pixels;
    EXPECT_EQ(CreateMemoryHDC(), 1);   // a second call does nothing
    EXPECT_EQ(gMemoryDC, dc);
    EXPECT_EQ(gPanels[PANEL_RECENT].pixels, recent);
    EXPECT_TRUE(sMessages.empty());
}

TEST_F(MemoryBitmaps, PanelDrawingIsReadBackTopDown) {
    ASSERT_EQ(BeginPanelDraw(PANEL_BOTTOM), 0);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));   // nearly black, still a colour
    RECT r = {10, 5, 20, 8};
    FillRect(gMemoryDC, &r, brush);
    DeleteObject(brush);
    EndPanelDraw(PANEL_BOTTOM);
    EXPECT_EQ(gPanels[PANEL_BOTTOM].displaced, nullptr);

    const unsigned char* pixels = gPanels[PANEL_BOTTOM].pixels;
    const int width = gPanels[PANEL_BOTTOM].width;
    struct Probe {
        int x, y;
        bool painted;
    } probes[] = {{10, 5, true}, {19, 7, true}, {15, 6, true}, {9, 5, false},
                  {20, 5, false}, {10, 4, false}, {10, 8, false}, {10, 245 - 5, false}};
    for (const Probe& p : probes) {
        Bgr c = PixelAt(pixels, width, p.x, p.y);
        if (p.painted) {
            EXPECT_EQ(c.r, 1) << p.x << "," << p.y;
            EXPECT_EQ(c.g, 2) << p.x << "," << p.y;
            EXPECT_EQ(c.b, 3) << p.x << "," << p.y;
        } else {
            EXPECT_EQ(c.r + c.g + c.b, 0) << p.x << "," << p.y;
        }
    }
}

TEST_F(MemoryBitmaps, CircleSpriteRisesInRingsFromRimToCentre) {
    // Corners and the outermost row and column stay black.
    for (int i = 0; i < kCircleSize; i++) {
        EXPECT_EQ(CircleLevel(i, 0), 0) << i;
        EXPECT_EQ(CircleLevel(0, i), 0) << i;
    }
    for (int x = 0; x < 6; x++) EXPECT_EQ(CircleLevel(x, x), 0) << x;
    // Along the middle row ring k (level 8(k+1)) starts at column k+1.
    for (int k = 0; k <= 30; k++) {
        EXPECT_EQ(CircleLevel(1 + k, 32), 8 * (k + 1)) << "ring " << k;
        EXPECT_EQ(CircleLevel(32, 1 + k), 8 * (k + 1)) << "ring " << k;
    }
    EXPECT_EQ(CircleLevel(31, 31), 248);
    EXPECT_EQ(CircleLevel(32, 32), 248);
    // The disc is symmetric and never gets darker towards the centre.
    for (int y = 0; y < kCircleSize; y++) {
        for (int x = 0; x < kCircleSize; x++) {
            int level = CircleLevel(x, y);
            EXPECT_EQ(level % 8, 0);
            EXPECT_EQ(level, CircleLevel(63 - x, y)) << x << "," << y;
            EXPECT_EQ(level, CircleLevel(x, 63 - y)) << x << "," << y;
            EXPECT_EQ(level, CircleLevel(y, x)) << x << "," << y;
            if (x > 0 && x <= 31) {
                EXPECT_GE(level, CircleLevel(x - 1, y)) << x << "," << y;
            }
        }
    }
}

TEST_F(MemoryBitmaps, HatchPatternHasWhiteStripesOnRed) {
    ASSERT_EQ(UpdateMemoryHDC(), 0);
    const PanelBitmap& hatch = gPanels[PANEL_HATCH];
    int white = 0, red = 0;
    for (int y = 0; y < hatch.height; y++) {
        for (int x = 0; x < hatch.width; x++) {
            Bgr c = PixelAt(hatch.pixels, hatch.width, x, y);
            bool isWhite = c.r == 255 && c.g == 255 && c.b == 255;
            bool isRed = c.r == 255 && c.g == 0 && c.b == 0;
            ASSERT_TRUE(isWhite || isRed) << x << "," << y;
            white += isWhite;
            red += isRed;
            // Stripes run along x + y = const, 4 pixels wide, every 16; the
            // last one ends at x + y = 196, beyond which all is red.
            int diagonal = x + y;
            int phase = diagonal % 16;
            if (diagonal < 190 && (phase == 1 || phase == 2)) {
                EXPECT_TRUE(isWhite) << x << "," << y;
            }
            if ((phase >= 6 && phase <= 13) || diagonal >= 200) {
                EXPECT_TRUE(isRed) << x << "," << y;
            }
        }
    }
    EXPECT_GT(white, 128 * 128 / 8);
    EXPECT_GT(red, white);
}

TEST_F(MemoryBitmaps, HatchPatternIsPaintedOnlyOnce) {
    ASSERT_EQ(UpdateMemoryHDC(), 0);
    unsigned char* pixels = gPanels[PANEL_HATCH].pixels;
    pixels[0] = 7;   // a mark that a repaint would overwrite
    ASSERT_EQ(UpdateMemoryHDC(), 0);
    EXPECT_EQ(pixels[0], 7);
    ReleaseMemoryHDC();
    ASSERT_EQ(CreateMemoryHDC(), 0);
    ASSERT_EQ(UpdateMemoryHDC(), 0);   // new bitmaps are painted again
    Bgr first = PixelAt(gPanels[PANEL_HATCH].pixels, 128, 0, 0);
    EXPECT_EQ(first.r, 255);
}

TEST_F(MemoryBitmaps, UpdateReportsTheFirstMissingObject) {
    struct Case {
        int panel;
        bool dropPixels, dropBitmap;
        int panel2;   // a second panel losing its pixels, or -1
        int code;
    } cases[] = {
        {PANEL_RECENT, true, false, -1, 2},
        {PANEL_HATCH, false, true, -1, 3},
        {PANEL_CONTROL, true, true, -1, 2},              // the buffer is checked first
        {PANEL_RECENT, false, true, PANEL_HOVER, 3},     // panel by panel, in order
        {PANEL_BOTTOM, true, false, PANEL_REGION, 2},
    };
    for (const Case& c : cases) {
        PanelBitmap saved[PANEL_COUNT];
        for (int i = 0; i < PANEL_COUNT; i++) saved[i] = gPanels[i];
        if (c.dropPixels) gPanels[c.panel].pixels = nullptr;
        if (c.dropBitmap) gPanels[c.panel].bitmap = nullptr;
        if (c.panel2 >= 0) gPanels[c.panel2].pixels = nullptr;
        EXPECT_EQ(UpdateMemoryHDC(), c.code) << "panel " << c.panel;
        for (int i = 0; i < PANEL_COUNT; i++) gPanels[i] = saved[i];
    }
    EXPECT_EQ(UpdateMemoryHDC(), 0);
}

TEST_F(MemoryBitmaps, ReleaseClearsEverythingAndIsRepeatable) {
    ReleaseMemoryHDC();
    EXPECT_EQ(gMemoryDC, nullptr);
    EXPECT_EQ(gCircleSpritePixels, nullptr);
    for (const PanelBitmap& p : gPanels) {
        EXPECT_EQ(p.bitmap, nullptr);
        EXPECT_EQ(p.pixels, nullptr);
    }
    EXPECT_EQ(UpdateMemoryHDC(), 1);
    ReleaseMemoryHDC();   // a second release finds nothing to free
    EXPECT_EQ(CreateMemoryHDC(), 0);
    EXPECT_NE(gMemoryDC, nullptr);
    EXPECT_TRUE(sMessages.empty());
}

// Counts the lit pixels of one 16 x 16 cell of the recent panel after
// drawing `text` there with the panel font.
static int LitPixels(const wchar_t* text, int cellX) {
    EXPECT_EQ(BeginPanelDraw(PANEL_RECENT), 0);
    HFONT font = CreatePanelFont();
    HGDIOBJ old = SelectObject(gMemoryDC, font);
    RECT cell = {cellX, 0, cellX + 16, 16};
    DrawTextW(gMemoryDC, text, -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    SelectObject(gMemoryDC, old);
    DeleteObject(font);
    EndPanelDraw(PANEL_RECENT);
    int lit = 0;
    for (int y = 0; y < 16; y++)
        for (int x = cellX; x < cellX + 16; x++) {
            Bgr c = PixelAt(gPanels[PANEL_RECENT].pixels, gPanels[PANEL_RECENT].width, x, y);
            lit += c.r + c.g + c.b > 0;
        }
    return lit;
}

TEST_F(MemoryBitmaps, PanelFontDrawsJapanese) {
    HFONT font = CreatePanelFont();
    ASSERT_NE(font, nullptr);
    HGDIOBJ old = SelectObject(gMemoryDC, font);
    TEXTMETRICW metrics;
    ASSERT_TRUE(GetTextMetricsW(gMemoryDC, &metrics));
    wchar_t face[64] = {};
    GetTextFaceW(gMemoryDC, 64, face);
    SelectObject(gMemoryDC, old);
    DeleteObject(font);
    EXPECT_EQ(metrics.tmCharSet, SHIFTJIS_CHARSET) << "face " << std::wstring(face).size();
    EXPECT_EQ(metrics.tmHeight, 16);
    EXPECT_EQ(metrics.tmWeight, FW_NORMAL);
    // A font without these glyphs draws the same empty box for both
    // characters; with them the two kanji differ.
    int first = LitPixels(L"\u8b66", 0);    // 警
    int second = LitPixels(L"\u4e00", 32);  // 一
    EXPECT_GT(first, 20);
    EXPECT_GT(second, 0);
    EXPECT_GT(first, second * 2) << "both kanji drew alike: no Japanese glyphs";
}
