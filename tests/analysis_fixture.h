// Puts the filter, lists and statistics into a known state around a
// hand-made or random catalogue.
#pragma once

#include <vector>

#include "analysis/alert.h"
#include "analysis/region_summary.h"
#include "analysis/stats_cache.h"
#include "app/settings.h"
#include "catalogue/model.h"
#include "test_util.h"
#include "windows/list_data.h"

inline void ResetList(RecordList* list) {
    FreeList(list);
    *list = RecordList{};
    AllocateList(list);
}

// Loads `records` with 300 defined regions "R0".."R299", default settings,
// fresh lists and cleared selection state.
inline void LoadCatalogue(const std::vector<QuakeRecord>& records) {
    SetDefaultSettings();
    SetCatalogue(records);
    SetPlainRegionNames(300);
    ResetList(&gConditionList);
    ResetList(&gRegionList);
    gCurrentRecord = 0;
    gAlertRow = -1;
    gAlertHover = 0;
    gRegionSummaryKey = gRegionSummaryKey2 = kSummaryKeyReset;
    gRegionCount = 0;
    gRegionListTitleHook = nullptr;
    InvalidateStatsCache();
}

// Conditions that every record of a test catalogue meets.
inline void OpenConditions() {
    SettingsBlock& s = AppSettings;
    s.magMin = 0;
    s.magMax = 25;
    s.depthMin = 0;
    s.depthMax = 65535;
    s.intMin = 0;
    s.intMax = 255;
    s.startYear = 1900;
    s.startMonth = 1;
    s.startDay = 1;
    s.startHour = 0;
    s.startMinute = 0;
    s.endYear = 2100;
    s.endMonth = 12;
    s.endDay = 31;
    s.endHour = 23;
    s.endMinute = 59;
}

// A record of the given region, magnitude and depth on 2024-06-20 minus
// `daysBack` days (newest first when daysBack grows with the index).
inline QuakeRecord DayRec(int daysBack, int region, int magnitude10, int depthKm = 10,
                          int intensity = 1) {
    int year = 2024, month = 6, day = 20 - daysBack;
    while (day < 1) {
        month--;
        static const int kLength[13] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        day += kLength[month];
    }
    return Rec(year, month, day, 12, 0, 300, 100, depthKm, region, magnitude10, intensity);
}
