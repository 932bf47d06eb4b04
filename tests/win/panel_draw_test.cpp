// The control panel drawn off screen under Wine: Japanese glyphs rather
// than empty boxes, and nothing drawn when its bitmap cannot be selected.
// Its boxes and buttons are checked on the real program's screen.
#include "panel/draw.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "analysis/stats_cache.h"
#include "app/settings.h"
#include "catalogue/model.h"
#include "mapview/memory_hdc.h"
#include "panel/actions.h"
#include "panel/hit_test.h"
#include "platform/platform.h"
#include "windows/list_data.h"

namespace {

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

const int kWidth = 336, kHeight = 534;

class PanelDraw : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CreateMemoryHDC(), 0);
        ASSERT_EQ(AllocateCatalogue(), 0);
        static const char* const kLabels[10] = {"0", "1", "2", "3", "4", "5弱", "5強", "6弱", "6強", "7"};
        for (int i = 0; i < 10; i++)
            std::snprintf(IntensityLabels[i], sizeof IntensityLabels[i], "%s", SjisText(kLabels[i]));
        SettingsBlock& a = AppSettings;
        SetDefaultSettings();
        a.startYear = 2011, a.startMonth = 3, a.startDay = 11, a.startHour = 14, a.startMinute = 46;
        a.endYear = 2024, a.endMonth = 6, a.endDay = 20, a.endHour = 23, a.endMinute = 59;
        a.magMin = 3, a.depthMin = 20, a.intMin = 5, a.magMax = 8, a.depthMax = 700, a.intMax = 9;
        a.selFirstIndex = 0, a.selLastIndex = -1, a.selCount2 = 0;
        InvalidateStatsCache();
        gHoverControl = gStartArrow = gEndArrow = gFilterButton = 0;
        gResetHover = gResetPressed = gUpdateHover = gUpdatePressed = 0;
        gStartField = gEndField = 0;
        gFilterField = FIELD_MAG_MIN;
        gButtonDown = 0;
    }
    void TearDown() override { ReleaseMemoryHDC(); }

    // Paints into the panel bitmap the way the tick does, cursor at window (mx, my).
    void Draw(int mx = 0, int my = 0, int status = 0) {
        ASSERT_EQ(BeginPanelDraw(PANEL_CONTROL), 0);
        PaintControlPanel(gMemoryDC, mx, my, status);
        EndPanelDraw(PANEL_CONTROL);
    }

    Rgb At(int x, int y) const {
        const unsigned char* p = gPanels[PANEL_CONTROL].pixels + (size_t(y) * kWidth + x) * 3;
        return Rgb{p[2], p[1], p[0]};
    }

    // The pixels of a rectangle, row by row.
    std::vector<Rgb> Block(int left, int top, int right, int bottom) const {
        std::vector<Rgb> block;
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++) block.push_back(At(x, y));
        return block;
    }

    int Inked(int left, int top, int right, int bottom, const Rgb& background) const {
        int n = 0;
        for (const Rgb& c : Block(left, top, right, bottom)) n += !(c == background);
        return n;
    }

    int WhiteIn(int left, int top, int right, int bottom) const {
        int n = 0;
        for (const Rgb& c : Block(left, top, right, bottom)) n += c == Rgb{255, 255, 255};
        return n;
    }
};


TEST_F(PanelDraw, JapaneseTextsAreGlyphsNotBoxes) {
    Draw();
    // "開始" at the left of the start row: two full-width cells of 16 pixels.
    std::vector<Rgb> first = Block(18, 28, 34, 52), second = Block(34, 28, 50, 52);
    EXPECT_GT(WhiteIn(18, 28, 34, 52), 15);
    EXPECT_NE(first, second) << "two different kanji look alike: the font has no Japanese glyphs";
    // "2011" follows in half-width cells of 8 pixels from x 58: "2" and "0" differ,
    // both inked, and "1" twice is the same picture.
    EXPECT_NE(Block(58, 28, 66, 52), Block(66, 28, 74, 52)) << "digits drawn as empty boxes";
    EXPECT_EQ(Block(74, 28, 82, 52), Block(82, 28, 90, 52));
    EXPECT_GT(Inked(58, 28, 66, 52, Rgb{64, 64, 64}), 10);   // on the selected year
    EXPECT_GT(Inked(66, 28, 74, 52, Rgb{64, 64, 64}), 10);
    // The intensity row: "震度" left and "5弱 以上" right in the same rectangle.
    EXPECT_GT(WhiteIn(18, 124, 50, 148), 15);
    EXPECT_GT(WhiteIn(90, 124, 154, 148), 15);
    // The status line changes with the status.
    // (right of the box's white outline at x 6)
    std::vector<Rgb> status0 = Block(8, 508, 232, 526);
    EXPECT_GT(WhiteIn(8, 508, 232, 526), 50);
    Draw(0, 0, 9);
    EXPECT_NE(Block(8, 508, 232, 526), status0);
    Draw(0, 0, 10);
    EXPECT_EQ(WhiteIn(8, 508, 232, 526), 0) << "a code without a text";
}

TEST_F(PanelDraw, NothingWhenTheBitmapCannotBeSelected) {
    Draw();
    std::vector<Rgb> before = Block(0, 0, kWidth, kHeight);
    HBITMAP saved = gPanels[PANEL_CONTROL].bitmap;
    gPanels[PANEL_CONTROL].bitmap = nullptr;
    gStartArrow = 1;
    DrawControlPanel();
    gPanels[PANEL_CONTROL].bitmap = saved;
    EXPECT_EQ(Block(0, 0, kWidth, kHeight), before);
}

}  // namespace
