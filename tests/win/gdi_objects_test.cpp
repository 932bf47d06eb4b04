// Every pen, brush and font a panel redraw creates is deleted again. With
// the GDI handle table filled up to a small reserve, a hundred rounds of all
// five panels (both bottom pages, the cursor over the map and the rows, a
// new current record now and then) must leave the whole reserve free: one
// object kept per redraw would use it up.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
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
#include "panel/draw.h"
#include "panel/hit_test.h"
#include "platform/platform.h"
#include "windows/list_data.h"

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
