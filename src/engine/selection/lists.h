// The two record lists (the condition list and the region list of the
// current record): their entries, region frequency tables, sort states,
// scroll positions and highlights, and how they are filled.
#pragma once

#include <cstdint>

enum {
    kRegionCountSlots = 300,
    kKeyValues = 65536,   // every value of a 16-bit field (regionIndex, depthKm)
};

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
    RegionCount regionCounts[kRegionCountSlots];
    int32_t regionsUsed;
    int32_t dateOrder;     // 0 as built, 1 reversed
    int32_t regionOrder, depthOrder, magOrder, intensityOrder;  // 0 as built, 1 desc, 2 asc
};

extern RecordList gConditionList;   // its entries are spSD
extern RecordList gRegionList;
extern ListEntry* spSD;

// Allocates / frees a list's entries (the list windows do this; wolt-cli and
// tests too). 0 on success.
int AllocateList(RecordList* list);
void FreeList(RecordList* list);

// The second list window's title ("<region> 設定条件地震一覧", Shift-JIS) is
// handed to the window layer through this hook; nullptr while no window.
typedef void (*ListTitleHook)(const char* sjisTitle);
void SetRegionListTitleHook(ListTitleHook hook);
ListTitleHook RegionListTitleHook();

// The fills write entries 0..count-1 and the end marker {-1, -1, 0} at
// count (when count is below the capacity); positions behind that are not
// part of the list and hold whatever an earlier fill left there.
void FillConditionList();
void FillRegionList();
// Rebuilds the list's region frequency table; returns the occupied slots.
int CountRegions(RecordList* list);
// The slice [first, end) of the list, kept inside the entries.
void ListRange(const RecordList* list, int* first, int* end);
// Every column back to its as-built order.
void ResetSortStates(RecordList* list);
// The region slot map shared by the region count and the region sort: the
// slot of each 16-bit region value in the table being built or read, -1 for
// none, kept all -1 between uses.
int16_t* SlotMap();
// Puts back -1 for every region of the list's table.
void ClearSlotMap(int16_t* slotOf, const RecordList* list);
