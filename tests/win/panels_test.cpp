// The panels' memory bitmaps under Wine: a release that can be repeated,
// the panel font's Japanese glyphs (not empty boxes), and no GDI object
// left behind by any panel's redraw.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/analysis/stats_cache.h"
#include "win/app/shell.h"
#include "win/app/main_window.h"
#include "engine/rules/settings.h"
#include "engine/catalogue/model.h"
#include "win/mapview/bottom_panel.h"
#include "win/mapview/hover_panel.h"
#include "win/mapview/memory_hdc.h"
#include "win/mapview/recent_panel.h"
#include "win/mapview/region_panel.h"
#include "win/mapview/control_panel.h"
#include "engine/rules/hit_test.h"
#include "platform/platform.h"
#include "engine/selection/lists.h"

#include "engine/selection/conditions.h"
#include "engine/selection/selection.h"
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

// A font without Japanese glyphs draws the same empty box for 警 and 一;
// the panel font draws the many strokes of one and the single stroke of
// the other.
TEST_F(MemoryBitmaps, PanelFontDrawsJapaneseGlyphs) {
    ASSERT_EQ(BeginPanelDraw(PANEL_RECENT), 0);
    HFONT font = CreatePanelFont();
    ASSERT_NE(font, nullptr);
    HGDIOBJ old = SelectObject(gMemoryDC, font);
    SetTextColor(gMemoryDC, RGB(255, 255, 255));
    SetBkMode(gMemoryDC, TRANSPARENT);
    TextOutW(gMemoryDC, 0, 0, L"\u8b66", 1);
    TextOutW(gMemoryDC, 32, 0, L"\u4e00", 1);
    SelectObject(gMemoryDC, old);
    DeleteObject(font);
    EndPanelDraw(PANEL_RECENT);
    const PanelBitmap& p = gPanels[PANEL_RECENT];
    auto lit = [&p](int left) {
        int n = 0;
        for (int y = 0; y < 16; y++)
            for (int x = left; x < left + 16; x++) n += p.pixels[(size_t(y) * p.width + x) * 3] != 0;
        return n;
    };
    EXPECT_GT(lit(0), 20);
    EXPECT_GT(lit(32), 0);
    EXPECT_GT(lit(0), 2 * lit(32)) << "both kanji drew alike: no Japanese glyphs";
}

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
        if (i % 7 == 0) SelectRecord(i, SELECT_AFTER_FILTER);
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
