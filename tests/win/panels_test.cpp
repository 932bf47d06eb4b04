// The panels' memory bitmaps under Wine: the result codes of an update with
// an object missing and a release that can be repeated, Japanese glyphs
// rather than empty boxes in the control panel, and no GDI object left
// behind by any panel's redraw.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/stats_cache.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "catalogue/model.h"
#include "mapview/bottom_panel.h"
#include "mapview/hover_panel.h"
#include "mapview/memory_hdc.h"
#include "mapview/recent_panel.h"
#include "mapview/region_panel.h"
#include "panel/actions.h"
#include "panel/draw.h"
#include "panel/hit_test.h"
#include "platform/platform.h"
#include "windows/list_data.h"

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

}  // namespace

// The main window module refers to the program's shutdown, which lives
// beside WinMain in startup.cpp and is not part of this executable. These
// tests never send CMD_EXIT to a main window, so it is never called.
int ShutdownApp() { return 0; }

TEST(GdiObjects, NoneLeftBehindByAnyPanel) {
    ASSERT_EQ(CreateMemoryHDC(), 0);
    ASSERT_EQ(AllocateCatalogue(), 0);
    ASSERT_EQ(AllocateList(&gConditionList), 0);
    ASSERT_EQ(AllocateList(&gRegionList), 0);
    for (int i = 0; i < 20; i++) {
        RegionTable[i].code = 100 + i;
        std::snprintf(RegionTable[i].name, kRegionNameBytes, "Region %d", i);
    }
    // 200 earthquakes a minute apart in four regions, the newest M6.3.
    std::memset(gpEQ, 0, sizeof(QuakeRecord) * kMaxRecords);
    for (int i = 0; i < 200; i++) {
        QuakeRecord& r = gpEQ[i];
        r.year = 2024, r.month = 6, r.day = 20, r.hour = uint16_t((760 - i) / 60), r.minute = uint16_t((760 - i) % 60);
        r.mapX = 300, r.mapY = 200, r.depthKm = 30, r.regionIndex = uint16_t(i % 4);
        r.magnitude10 = i ? 10 : 63, r.intensity = i ? 2 : 9;
    }
    SettingsBlock& s = AppSettings;
    SetDefaultSettings();
    s.recordCount = 200;
    s.magMin = 0, s.magMax = 25, s.depthMin = 0, s.depthMax = 999, s.intMin = 0, s.intMax = 9;
    s.startYear = 1970, s.startMonth = 1, s.startDay = 1;
    s.endYear = 2100, s.endMonth = 12, s.endDay = 31, s.endHour = 23, s.endMinute = 59;
    InvalidateStatsCache();
    ApplyConditions();

    std::vector<HPEN> filler;
    while (HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3))) filler.push_back(pen);
    ASSERT_GT(filler.size(), 1000u);
    const int reserve = 60;
    for (int i = 0; i < reserve; i++) {
        DeleteObject(filler.back());
        filler.pop_back();
    }
    for (int i = 0; i < 100; i++) {
        gReportPage = i / 10 % 2;
        gMouseX = i % 2 ? 300 : 700;
        gMouseY = i % 2 ? 300 : 280 + 3 * i;
        if (i % 7 == 0) gCurrentRecord = i;
        DrawControlPanel();
        DrawRecentPanel();
        DrawHoverPanel();
        DrawRegionPanel();
        DrawBottomPanel();
    }
    std::vector<HPEN> probe;
    while (HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3))) probe.push_back(pen);
    for (HPEN pen : probe) DeleteObject(pen);
    for (HPEN pen : filler) DeleteObject(pen);
    EXPECT_EQ(int(probe.size()), reserve);

    FreeList(&gConditionList);
    FreeList(&gRegionList);
    FreeCatalogue();
    ReleaseMemoryHDC();
}
