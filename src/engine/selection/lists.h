// The condition filter and the two record lists (the condition list and the
// region list of the current record), their region frequency tables, sort
// states, scroll positions and highlights.
#pragma once

#include <cstdint>

struct ListEntry {
    int32_t recordIndex;   // as built, newest first; -1 in the end marker
    int32_t displayIndex;  // record shown at this position after sorting
    int32_t placed;        // scratch flag of the literal sort
};

struct RegionCount {
    int32_t count;
    uint16_t regionIndex;
};

struct RecordList {
    ListEntry* entries;    // kMaxRecords entries, or nullptr while not allocated
    int32_t count, first, end;
    int32_t topRow;
    int32_t highlight;
    RegionCount regionCounts[300];
    int32_t regionsUsed;
    int32_t dateOrder;     // 0 as built, 1 reversed
    int32_t regionOrder, depthOrder, magOrder, intensityOrder;  // 0 as built, 1 desc, 2 asc
};

enum SortColumn {
    SORT_DATE = 1,
    SORT_REGION = 2,
    SORT_DEPTH = 3,
    SORT_MAGNITUDE = 4,
    SORT_INTENSITY = 5,
};

extern int32_t gCurrentRecord;
extern RecordList gConditionList;   // its entries are spSD
extern RecordList gRegionList;
extern ListEntry* spSD;
// The data-changed flag: set by start-up and by every ApplyConditions,
// cleared by the tick after the view has rebuilt its markers.
extern int gDataReady;

// Allocates / frees a list's entries (the list windows do this; wolt-cli and
// tests too). 0 on success.
int AllocateList(RecordList* list);
void FreeList(RecordList* list);

// The second list window's title ("<region> 設定条件地震一覧", Shift-JIS) is
// handed to the window layer through this hook; nullptr while no window.
typedef void (*ListTitleHook)(const char* sjisTitle);
extern ListTitleHook gRegionListTitleHook;

int IsOutsidePeriod(int recordIndex);
// Marks every record's inFilter from the conditions, computes the selection
// summary, then rebuilds both lists, the alert ranking, the monthly series,
// the hover selection, the day count of the matching window and the
// statistics caches.
void ApplyConditions();
// The fills write entries 0..count-1 and the end marker {-1, -1, 0} at
// count (when count is below the capacity); positions behind that are not
// part of the list and hold whatever an earlier fill left there.
void FillConditionList();
void FillRegionList();
// Rebuilds the list's region frequency table; returns the occupied slots.
int CountRegions(RecordList* list);
void LocateCurrent(RecordList* list);
void RefreshConditionList();
void RefreshRegionList();
// Advances the column's sort state and reorders the display: exactly the
// stable selection by key, computed in one counting pass.
void SortList(RecordList* list, int column);
