#include "engine/selection/lists.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/model/records.h"
#include "engine/selection/current_record.h"

RecordList gConditionList;
RecordList gRegionList;
ListEntry* spSD = nullptr;
static ListTitleHook sRegionListTitleHook = nullptr;

void SetRegionListTitleHook(ListTitleHook hook) { sRegionListTitleHook = hook; }
ListTitleHook RegionListTitleHook() { return sRegionListTitleHook; }

int AllocateList(RecordList* list) {
    if (!list->entries)
        list->entries = static_cast<ListEntry*>(std::calloc(kMaxRecords, sizeof(ListEntry)));
    if (list == &gConditionList) spSD = list->entries;
    return list->entries ? 0 : 1;
}

void FreeList(RecordList* list) {
    std::free(list->entries);
    list->entries = nullptr;
    list->count = list->first = list->end = 0;
    if (list == &gConditionList) spSD = nullptr;
}

// Appends record i as {i, i, 0} for each record that `take` accepts.
// Only the entries up to the count and the end marker at the count belong to
// the list, so the positions behind them are not cleared.
template <typename Take>
static void FillList(RecordList* list, Take take) {
    ListEntry* e = list->entries;
    int n = 0;
    for (int i = 0; gpEQ && i < kMaxRecords; i++)
        if (take(gpEQ[i])) e[n++] = ListEntry{i, i, 0};
    if (n < kMaxRecords) e[n] = ListEntry{-1, -1, 0};
    list->count = n;
    list->first = 0;
    list->end = n;
}

void FillConditionList() {
    if (!gConditionList.entries) return;
    FillList(&gConditionList, [](const QuakeRecord& r) { return r.inFilter == 1; });
}

void FillRegionList() {
    if (!gRegionList.entries) return;
    if (!IsDataRecord(gCurrentRecord)) {
        FillList(&gRegionList, [](const QuakeRecord&) { return false; });
        return;
    }
    const uint16_t region = gpEQ[gCurrentRecord].regionIndex;
    FillList(&gRegionList,
             [region](const QuakeRecord& r) { return r.regionIndex == region && r.inFilter == 1; });
}

int16_t* SlotMap() {
    static std::vector<int16_t> slots(kKeyValues, -1);
    return slots.data();
}

void ClearSlotMap(int16_t* slotOf, const RecordList* list) {
    for (const RegionCount& slot : list->regionCounts) slotOf[slot.regionIndex] = -1;
}

void ListRange(const RecordList* list, int* first, int* end) {
    *first = std::max(0, std::min(list->first, int(kMaxRecords)));
    *end = std::max(*first, std::min(list->end, int(kMaxRecords)));
}

int CountRegions(RecordList* list) {
    std::memset(list->regionCounts, 0, sizeof list->regionCounts);
    if (!list->entries || !gpEQ) return 0;
    int16_t* slotOf = SlotMap();
    int first, end, used = 0;
    ListRange(list, &first, &end);
    for (int p = first; p < end && used < kRegionCountSlots; p++) {
        int index = list->entries[p].recordIndex;
        if (index < 0 || index >= kMaxRecords || gpEQ[index].magnitude10 == 0) break;
        uint16_t region = gpEQ[index].regionIndex;
        if (slotOf[region] >= 0) {
            list->regionCounts[slotOf[region]].count++;
        } else {
            slotOf[region] = int16_t(used);
            list->regionCounts[used++] = RegionCount{1, region};
        }
    }
    ClearSlotMap(slotOf, list);
    return used;
}

void ResetSortStates(RecordList* list) {
    list->dateOrder = list->regionOrder = list->depthOrder = 0;
    list->magOrder = list->intensityOrder = 0;
}

