// The memory bitmaps under Wine: the result codes of an update with an
// object missing, and a release that clears everything and can be repeated.
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
