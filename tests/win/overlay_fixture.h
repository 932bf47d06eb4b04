// The overlay panels' Wine tests: the memory bitmaps, a small catalogue run
// through the condition filter, and the pixels of a panel as read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <ostream>
#include <vector>

#include "analysis/alert.h"
#include "analysis/region_summary.h"
#include "analysis/stats_cache.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "catalogue/model.h"
#include "mapview/memory_hdc.h"
#include "panel/hit_test.h"
#include "platform/platform.h"
#include "windows/list_data.h"

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

const Rgb kBlack = {0, 0, 0}, kWhite = {255, 255, 255};

inline QuakeRecord OverlayRecord(int year, int month, int day, int hour, int minute, int mapX, int mapY,
                                 int depthKm, int region, int magnitude10, int intensity) {
    QuakeRecord r{};
    r.year = uint16_t(year), r.month = uint16_t(month), r.day = uint16_t(day);
    r.hour = uint16_t(hour), r.minute = uint16_t(minute);
    r.mapX = uint16_t(mapX), r.mapY = uint16_t(mapY), r.depthKm = uint16_t(depthKm);
    r.regionIndex = uint16_t(region), r.magnitude10 = uint8_t(magnitude10), r.intensity = uint8_t(intensity);
    return r;
}

class OverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CreateMemoryHDC(), 0);
        ASSERT_EQ(AllocateCatalogue(), 0);
        ASSERT_EQ(AllocateList(&gConditionList), 0);
        ASSERT_EQ(AllocateList(&gRegionList), 0);
        static const char* const kLabels[10] = {"0", "1", "2", "3", "4", "5弱", "5強", "6弱", "6強", "7"};
        for (int i = 0; i < 10; i++)
            std::snprintf(IntensityLabels[i], sizeof IntensityLabels[i], "%s", SjisText(kLabels[i]));
        std::memset(RegionTable, 0, sizeof RegionTable);
        for (int i = 0; i < 20; i++) {
            RegionTable[i].code = 100 + i;
            std::snprintf(RegionTable[i].name, kRegionNameBytes, "Region %d", i);
        }
        std::swprintf(gAppTitle, 100, L"wolt 1.45");
        gMouseX = gMouseY = -100;
        gReportPage = 0;
        gBottomButton = gBottomPressed = 0;
        gClassPick = 0;
        gAlertRow = -1;
        gCurrentRecord = 0;
    }
    void TearDown() override {
        ReleaseMemoryHDC();
        FreeList(&gConditionList);
        FreeList(&gRegionList);
    }

    // Loads the records (newest first), lets every one match and filters.
    void Load(const std::vector<QuakeRecord>& records) {
        std::memset(gpEQ, 0, sizeof(QuakeRecord) * kMaxRecords);
        for (size_t i = 0; i < records.size(); i++) gpEQ[i] = records[i];
        SettingsBlock& s = AppSettings;
        SetDefaultSettings();
        s.recordCount = int(records.size());
        s.magMin = 0, s.magMax = 25, s.depthMin = 0, s.depthMax = 999, s.intMin = 0, s.intMax = 9;
        s.startYear = 1970, s.startMonth = 1, s.startDay = 1, s.startHour = 0, s.startMinute = 0;
        s.endYear = 2100, s.endMonth = 12, s.endDay = 31, s.endHour = 23, s.endMinute = 59;
        InvalidateStatsCache();
        ApplyConditions();
        gCurrentRecord = s.selFirstIndex;
    }
};

inline Rgb At(PanelId panel, int x, int y) {
    const PanelBitmap& p = gPanels[panel];
    const unsigned char* px = p.pixels + (size_t(y) * p.width + x) * 3;
    return Rgb{px[2], px[1], px[0]};
}

// Pixels of colour `c` in the rectangle (right and bottom excluded).
inline int Count(PanelId panel, int left, int top, int right, int bottom, const Rgb& c) {
    int n = 0;
    for (int y = top; y < bottom; y++)
        for (int x = left; x < right; x++) n += At(panel, x, y) == c;
    return n;
}

// Pixels of any colour but `background` (text ink) in the rectangle.
inline int Inked(PanelId panel, int left, int top, int right, int bottom, const Rgb& background) {
    int n = 0;
    for (int y = top; y < bottom; y++)
        for (int x = left; x < right; x++) n += At(panel, x, y) != background;
    return n;
}

// Paints one pixel straight into a panel's bitmap (not its buffer), so a
// later repaint of that place shows.
inline void MarkBitmap(PanelId panel, int x, int y, COLORREF color) {
    ASSERT_EQ(BeginPanelDraw(panel), 0);
    SetPixel(gMemoryDC, x, y, color);
    EndPanelDraw(panel);
}
