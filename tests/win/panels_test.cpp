// The panels' memory bitmaps and painter under Wine.
#include <gtest/gtest.h>

#include <vector>

#include "engine/controls/bottom_panel.h"
#include "engine/controls/panels.h"
#include "engine/picture/panel_picture.h"
#include "engine/pipeline/pipeline.h"
#include "engine/selection/selection.h"
#include "test_util.h"
#include "win/app/main_window.h"
#include "win/mapview/memory_hdc.h"
#include "win/mapview/picture_gdi.h"

TEST(MemoryBitmaps, ReleaseClearsEverythingAndIsRepeatable) {
    MessageRecorder messages;
    ASSERT_EQ(CreateMemoryHDC(), 0);
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
    EXPECT_TRUE(messages.messages.empty());
    ReleaseMemoryHDC();
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
    // 200 earthquakes a minute apart in four regions, the newest M6.3.
    std::vector<QuakeRecord> records;
    for (int i = 0; i < 200; i++)
        records.push_back(Rec(2024, 6, 20, (760 - i) / 60, (760 - i) % 60, 300, 200, 30, i % 4, i ? 10 : 63, i ? 2 : 9));
    LoadCatalogue(records);
    OpenConditions();
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
    ReleaseMemoryHDC();
}
