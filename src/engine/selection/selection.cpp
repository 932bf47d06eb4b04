#include "engine/selection/selection.h"

#include <cstdio>

#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "engine/selection/conditions.h"
#include "engine/selection/current_record.h"
#include "engine/selection/lists.h"
#include "platform/platform.h"

static int32_t sCurrentRecord = 0;
static int sSelectedRecordA = -1;
static int sSelectedRecordB = -1;
const int32_t& gCurrentRecord = sCurrentRecord;
const int& gSelectedRecordA = sSelectedRecordA;
const int& gSelectedRecordB = sSelectedRecordB;

void LocateCurrent(RecordList* list) {
    if (!list->entries) return;
    list->highlight = gCurrentRecord;
    int first, end;
    ListRange(list, &first, &end);
    const ListEntry* e = list->entries;
    for (int p = first; p < end; p++)
        if (e[p].displayIndex == gCurrentRecord) {
            list->topRow = p - first;
            return;
        }
    if (!IsDataRecord(gCurrentRecord)) return;
    const uint16_t region = gpEQ[gCurrentRecord].regionIndex;
    for (int p = first; p < end; p++) {
        int index = e[p].displayIndex;
        if (index >= 0 && index < kMaxRecords && gpEQ[index].regionIndex == region) {
            list->topRow = p - first;
            sCurrentRecord = list->highlight = index;
            return;
        }
    }
}

void RefreshConditionList() {
    if (!gConditionList.entries) return;
    FillConditionList();
    ResetSortStates(&gConditionList);
    gConditionList.regionsUsed = CountRegions(&gConditionList);
    LocateCurrent(&gConditionList);
    RefreshRegionList();
}

void RefreshRegionList() {
    if (!gRegionList.entries) return;
    if (ListTitleHook hook = RegionListTitleHook()) {
        int region = IsDataRecord(gCurrentRecord) ? gpEQ[gCurrentRecord].regionIndex : -1;
        char title[160];
        std::snprintf(title, sizeof title, SjisText("%s 設定条件地震一覧"), RegionName(region));
        hook(title);
    }
    FillRegionList();
    ResetSortStates(&gRegionList);
    gRegionList.regionsUsed = CountRegions(&gRegionList);
    LocateCurrent(&gRegionList);
}


void SelectRecord(int record, int source) {
    sCurrentRecord = record;
    switch (source) {
    case SELECT_PICK:
        sSelectedRecordA = sSelectedRecordB = record;
        LocateCurrent(&gConditionList);
        StoreSelFirst(record);
        RefreshRegionList();
        break;
    case SELECT_MAP:
        LocateCurrent(&gConditionList);
        StoreSelFirst(sSelectedRecordB);
        RefreshRegionList();
        break;
    case SELECT_LIST_ROW:
        gConditionList.highlight = record;
        StoreSelFirst(record);
        RefreshRegionList();
        break;
    case SELECT_REGION_LIST_ROW:
        gRegionList.highlight = record;
        StoreSelFirst(record);
        LocateCurrent(&gConditionList);
        break;
    default:   // SELECT_AFTER_FILTER
        LocateCurrent(&gConditionList);
        RefreshRegionList();
        break;
    }
}

void SelectionAfterFilter() {
    const SettingsBlock& s = AppSettings;
    StoreSelFirst(s.selFirstIndex);
    RefreshConditionList();
    RefreshRegionList();
    const int selected = FirstInRegion(s.selFirst);
    sSelectedRecordA = sSelectedRecordB = selected < 0 ? -1 : selected;
}

void SetHoverPicks(int regionNewest, int firstInWindow) {
    sSelectedRecordA = regionNewest;
    sSelectedRecordB = firstInWindow;
}
