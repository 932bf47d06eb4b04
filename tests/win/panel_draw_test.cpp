// The control panel drawn off screen under Wine: box fills and outlines,
// the transparent (black) outside, highlight rectangles, the small and
// large buttons in every state, the statistics underline, Japanese glyphs
// rather than empty boxes, and no GDI object left behind.
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

const Rgb kBlack = {0, 0, 0}, kWhite = {255, 255, 255};
const Rgb kSettingsFill = {48, 48, 48}, kStatsFill = {32, 32, 96};

TEST_F(PanelDraw, BoxesOutlinesAndTheTransparentOutside) {
    Draw();
    struct Probe {
        int x, y;
        Rgb color;
        const char* what;
    } probes[] = {
        {60, 5, kSettingsFill, "settings tab"},
        {200, 5, kBlack, "right of the tab"},
        {100, 150, kSettingsFill, "settings box, bottom"},
        {6, 100, kWhite, "settings box, left outline"},
        {334, 100, kWhite, "settings box, right outline"},
        {200, 23, kWhite, "settings box, top outline beside the tab"},
        {200, 152, kWhite, "settings box, bottom outline"},
        {200, 154, kBlack, "between the boxes"},
        {2, 300, kBlack, "left of the boxes"},
        {335, 300, kBlack, "right of the boxes"},
        {10, 520, kStatsFill, "statistics box, bottom-left"},
        {20, 157, kStatsFill, "statistics tab"},
        {300, 168, kBlack, "right of the statistics tab"},
        {6, 400, kWhite, "statistics box, left outline"},
        {200, 533, kWhite, "statistics box, bottom outline"},
        {300, 178, kWhite, "statistics box, top outline beside the tab"},
        {200, 156, kWhite, "statistics tab, top outline"},
    };
    for (const Probe& p : probes) EXPECT_EQ(At(p.x, p.y), p.color) << p.what;
    // Inside the boxes nothing is pure black: it would turn transparent.
    for (const Rgb& c : Block(7, 24, 334, 152)) ASSERT_FALSE(c == kBlack);
    for (const Rgb& c : Block(7, 179, 334, 533)) ASSERT_FALSE(c == kBlack);
}

TEST_F(PanelDraw, HoverAndSelectionHighlights) {
    gHoverControl = CONTROL_MAG_MIN;
    gFilterField = FIELD_MAG_MAX;
    gStartField = 2;   // day
    gEndField = 4;     // minute
    Draw();
    const Rgb hoverPen = {128, 255, 168}, hoverFill = {16, 32, 16};
    const Rgb selectedPen = {255, 168, 128}, selectedFill = {64, 64, 64};
    struct Probe {
        int x, y;
        Rgb color;
        const char* what;
    } probes[] = {
        {12, 90, hoverPen, "hovered magnitude minimum, left edge"},
        {161, 90, hoverPen, "hovered, right edge"},
        {158, 97, hoverPen, "hovered, bottom edge"},
        {14, 80, hoverFill, "hovered, inside"},
        {162, 90, kSettingsFill, "the rectangle ends before x 162"},
        {163, 90, selectedPen, "selected magnitude maximum, left edge"},
        {170, 78, selectedFill, "selected maximum, inside"},
        {148, 40, selectedPen, "selected start day, left edge"},
        {184, 29, selectedPen, "selected start day, right edge"},
        {150, 30, selectedFill, "selected start day, inside"},
        {150, 28, selectedPen, "selected start day, top edge"},
        {228, 60, selectedPen, "selected end minute, left edge"},
        {240, 53, selectedFill, "selected end minute, inside"},
        {52, 30, kSettingsFill, "start year: neither hovered nor selected"},
    };
    for (const Probe& p : probes) EXPECT_EQ(At(p.x, p.y), p.color) << p.what;

    // The selection is drawn over the hover.
    gHoverControl = CONTROL_MAG_MAX;
    Draw();
    EXPECT_EQ(At(163, 90), selectedPen);
    EXPECT_EQ(At(14, 80), kSettingsFill) << "no hover left on the minimum";
    // The filter-button group highlights nothing.
    gHoverControl = CONTROL_FILTER_BUTTONS;
    gFilterField = 0;
    Draw();
    EXPECT_EQ(At(14, 80), kSettingsFill);
    EXPECT_EQ(At(170, 78), kSettingsFill);
}

TEST_F(PanelDraw, SmallButtonsAtRestHoveredAndHeld) {
    struct Case {
        int hoveredStart, buttonDown;
        Rgb fill[3], outline[3];
        int mark[3];
        const char* what;
    } cases[] = {
        {0, 0, {{64, 16, 16}, {64, 16, 16}, {64, 16, 16}}, {{255, 168, 128}, {255, 168, 128}, {255, 168, 128}},
         {190, 190, 190}, "all at rest"},
        {1, 0, {{128, 80, 80}, {64, 16, 16}, {64, 16, 16}}, {{255, 232, 192}, {255, 168, 128}, {255, 168, 128}},
         {254, 190, 190}, "minus hovered"},
        {2, 1, {{64, 16, 16}, {192, 80, 80}, {64, 16, 16}}, {{255, 168, 128}, {255, 232, 192}, {255, 168, 128}},
         {190, 254, 190}, "plus held"},
        {3, 0, {{64, 16, 16}, {64, 16, 16}, {128, 80, 80}}, {{255, 168, 128}, {255, 168, 128}, {255, 232, 192}},
         {190, 190, 254}, "R hovered"},
    };
    const int left[3] = {257, 280, 303};
    for (const Case& c : cases) {
        gStartArrow = c.hoveredStart;
        gButtonDown = c.buttonDown;
        Draw();
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(At(left[i] + 1, 31), c.fill[i]) << c.what << ", button " << i;
            EXPECT_EQ(At(left[i] + 16, 46), c.fill[i]) << c.what << ", button " << i;
            EXPECT_EQ(At(left[i], 40), c.outline[i]) << c.what << ", button " << i;
            EXPECT_EQ(At(left[i] + 17, 40), c.outline[i]) << c.what << ", button " << i;
            EXPECT_EQ(At(left[i] + 8, 47), c.outline[i]) << c.what << ", button " << i;
            // The end row and the filter row stay at rest.
            EXPECT_EQ(At(left[i] + 1, 55).r, 64) << c.what << ", end row";
            EXPECT_EQ(At(left[i] + 1, 103).r, 64) << c.what << ", filter row";
        }
        const int mark[3] = {c.mark[0], c.mark[1], c.mark[2]};
        EXPECT_EQ(At(267, 33), (Rgb{mark[0], mark[0], mark[0]})) << c.what << ", left chevron";
        EXPECT_EQ(At(261, 39), (Rgb{mark[0], mark[0], mark[0]})) << c.what << ", left chevron tip";
        EXPECT_EQ(At(293, 39), (Rgb{mark[1], mark[1], mark[1]})) << c.what << ", right chevron tip";
        int markPixels = 0;
        for (const Rgb& p : Block(306, 32, 320, 48)) markPixels += p == Rgb{mark[2], mark[2], mark[2]};
        EXPECT_GT(markPixels, 8) << c.what << ", the R";
    }
    gStartArrow = 0;
    gFilterButton = 2;
    gEndArrow = 1;
    Draw();
    EXPECT_EQ(At(281, 103), (Rgb{128, 80, 80})) << "filter plus hovered";
    EXPECT_EQ(At(258, 55), (Rgb{128, 80, 80})) << "end minus hovered";
    EXPECT_EQ(At(258, 31), (Rgb{64, 16, 16})) << "start minus at rest";
}

TEST_F(PanelDraw, LargeButtonsAtRestHoveredAndPressed) {
    struct Case {
        int hover, pressed;
        Rgb outline, fill;
        const char* what;
    } cases[] = {
        {0, 0, {160, 160, 160}, {64, 64, 64}, "at rest"},
        {1, 0, {255, 255, 255}, {160, 96, 64}, "hovered"},
        {1, 1, {255, 192, 128}, {128, 64, 32}, "hovered and pressed"},
        {0, 1, {160, 160, 160}, {64, 64, 64}, "pressed, cursor gone"},
    };
    for (const Case& c : cases) {
        gResetHover = gUpdateHover = c.hover;
        gResetPressed = gUpdatePressed = c.pressed;
        Draw();
        EXPECT_EQ(At(257, 135), c.outline) << "Reset " << c.what;
        EXPECT_EQ(At(300, 145), c.outline) << "Reset " << c.what;
        EXPECT_EQ(At(259, 127), c.fill) << "Reset " << c.what;
        EXPECT_EQ(At(238, 517), c.outline) << "更新 " << c.what;
        EXPECT_EQ(At(327, 517), c.outline) << "更新 " << c.what;
        EXPECT_EQ(At(241, 509), c.fill) << "更新 " << c.what;
        EXPECT_GT(WhiteIn(258, 125, 320, 145), 20) << "the text Reset";
        EXPECT_GT(WhiteIn(239, 507, 327, 527), 20) << "the text 更新";
    }
}

TEST_F(PanelDraw, StatisticsUnderlineFollowsTheCursor) {
    const Rgb pen = {255, 168, 128};
    Draw(600, 330);   // row M6: underline at panel y 338
    EXPECT_EQ(At(18, 338), pen);
    EXPECT_EQ(At(20, 338), pen);
    EXPECT_EQ(At(331, 338), pen);
    EXPECT_EQ(At(20, 337), kStatsFill);
    EXPECT_EQ(gStatsPick, 1);
    Draw(600, 233);   // header row: no underline, and the old one is painted over
    EXPECT_EQ(At(20, 338), kStatsFill);
    EXPECT_EQ(gStatsPick, 0);
}

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

// Every pen, brush and font of a redraw is deleted again: with the GDI
// handle table filled up to a small reserve, a hundred redraws must leave
// the whole reserve free (a single object kept per redraw would use it up).
TEST_F(PanelDraw, NoGdiObjectLeftBehind) {
    Draw(600, 300);
    std::vector<HPEN> filler;
    while (HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3))) filler.push_back(pen);
    ASSERT_GT(filler.size(), 1000u);
    const int reserve = 60;
    for (int i = 0; i < reserve; i++) {
        DeleteObject(filler.back());
        filler.pop_back();
    }
    for (int i = 0; i < 100; i++) Draw(600, 300 + i % 20, i % 21);
    std::vector<HPEN> probe;
    while (HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3))) probe.push_back(pen);
    for (HPEN pen : probe) DeleteObject(pen);
    for (HPEN pen : filler) DeleteObject(pen);
    EXPECT_EQ(int(probe.size()), reserve);
}

}  // namespace
