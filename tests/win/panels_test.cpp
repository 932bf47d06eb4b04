// The panels' memory bitmaps under Wine: a release that can be repeated,
// the panel font's Japanese glyphs (not empty boxes), and no GDI object
// left behind by any panel's redraw.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/analysis/stats_cache.h"
#include "engine/controls/bottom_panel.h"
#include "engine/controls/control_panel.h"
#include "engine/controls/panels.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "engine/picture/panel_picture.h"
#include "engine/pipeline/pipeline.h"
#include "engine/selection/conditions.h"
#include "engine/selection/lists.h"
#include "engine/selection/selection.h"
#include "platform/platform.h"
#include "win/app/main_window.h"
#include "win/app/shell.h"
#include "win/mapview/memory_hdc.h"
#include "win/mapview/picture_gdi.h"

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
    EXPECT_EQ(UpdateMemoryHDC(), UPDATE_HDC_NO_DC);
    ReleaseMemoryHDC();   // a second release finds nothing to free
    EXPECT_EQ(CreateMemoryHDC(), 0);
    EXPECT_NE(gMemoryDC, nullptr);
    EXPECT_TRUE(sMessages.empty());
}

// A font without Japanese glyphs draws the same empty box for 警 and 一;
// the painter's panel font draws the many strokes of one and the single
// stroke of the other.
TEST(PanelPicture, TextsDrawJapaneseGlyphs) {
    static PanelPicture picture;
    ClearPicture(&picture);
    const PanelColor white = {255, 255, 255};
    AddUtf8Text(&picture, "警", PanelRect{0, 0, 16, 16}, ALIGN_LEFT, white);
    AddUtf8Text(&picture, "一", PanelRect{32, 0, 48, 16}, ALIGN_LEFT, white);
    const int width = 64, height = 16;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PaintPicture(dc, picture);
    GdiFlush();
    const unsigned char* pixels = static_cast<const unsigned char*>(bits);
    auto lit = [pixels](int left) {
        int n = 0;
        for (int y = 0; y < height; y++)
            for (int x = left; x < left + 16; x++) n += pixels[size_t(y) * width * 3 + size_t(x) * 3] != 0;
        return n;
    };
    EXPECT_GT(lit(0), 20);
    EXPECT_GT(lit(32), 0);
    EXPECT_GT(lit(0), 2 * lit(32)) << "both kanji drew alike: no Japanese glyphs";
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
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
    SetDefaultSettings();
    StoreCatalogueValues(200, 0, 0, 0);
    SettingsBlock s = AppSettings;
    s.magMin = 0, s.magMax = 25, s.depthMin = 0, s.depthMax = 999, s.intMin = 0, s.intMax = 9;
    s.startYear = 1970, s.startMonth = 1, s.startDay = 1;
    s.endYear = 2100, s.endMonth = 12, s.endDay = 31, s.endHour = 23, s.endMinute = 59;
    StoreConditions(s);
    InvalidateStatsCache();
    RunConditionChange();

    std::vector<HPEN> filler;
    while (HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3))) filler.push_back(pen);
    ASSERT_GT(filler.size(), 1000u);
    const int reserve = 60;
    for (int i = 0; i < reserve; i++) {
        DeleteObject(filler.back());
        filler.pop_back();
    }
    for (int i = 0; i < 100; i++) {
        SetReportPage(i / 10 % 2);
        PanelsPick(i % 2 ? 300 : 700, i % 2 ? 300 : 280 + 3 * i);
        if (i % 7 == 0) SelectRecord(i, SELECT_AFTER_FILTER);
        EXPECT_EQ(UpdateMemoryHDC(), UPDATE_HDC_OK);
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
