#include "engine/selection/sorting.h"

#include <algorithm>
#include <vector>

#include "engine/model/records.h"
#include "engine/selection/lists.h"

static int32_t* SortState(RecordList* list, int column) {
    switch (column) {
    case SORT_DATE: return &list->dateOrder;
    case SORT_REGION: return &list->regionOrder;
    case SORT_DEPTH: return &list->depthOrder;
    case SORT_MAGNITUDE: return &list->magOrder;
    case SORT_INTENSITY: return &list->intensityOrder;
    default: return nullptr;
    }
}

static int SortKey(const QuakeRecord& r, int column) {
    switch (column) {
    case SORT_DEPTH: return r.depthKm;
    case SORT_MAGNITUDE: return r.magnitude10;
    default: return r.intensity;
    }
}

// Stable order by depth, magnitude or intensity (descending or ascending),
// ties in as-built order: a counting pass over the key values, then one
// scatter in as-built order.
static void SortByKey(ListEntry* e, int first, int end, int column, bool descending) {
    static std::vector<int> start(kKeyValues);
    int low = kKeyValues, high = -1;
    for (int p = first; p < end; p++) {
        int key = SortKey(gpEQ[e[p].recordIndex], column);
        low = std::min(low, key);
        high = std::max(high, key);
    }
    if (high < 0) return;
    std::fill(start.begin() + low, start.begin() + high + 1, 0);
    for (int p = first; p < end; p++) start[SortKey(gpEQ[e[p].recordIndex], column)]++;
    int position = first;
    for (int k = 0; k <= high - low; k++) {
        int key = descending ? high - k : low + k;
        int n = start[key];
        start[key] = position;
        position += n;
    }
    for (int p = first; p < end; p++) {
        int index = e[p].recordIndex;
        e[start[SortKey(gpEQ[index], column)]++].displayIndex = index;
        e[p].placed = 1;
    }
}

// Regions by frequency (descending or ascending), equal frequencies in slot
// order (first appearance), the records of one region together in as-built
// order. Entries whose region has no slot are not placed, and the positions
// they would take keep their display.
static void SortByRegion(RecordList* list, int first, int end, bool descending) {
    ListEntry* e = list->entries;
    int16_t* slotOf = SlotMap();
    int order[kRegionCountSlots];
    int used = 0;
    for (int s = 0; s < kRegionCountSlots; s++) {
        const RegionCount& slot = list->regionCounts[s];
        if (slot.count <= 0 || slotOf[slot.regionIndex] >= 0) continue;
        slotOf[slot.regionIndex] = int16_t(s);
        order[used++] = s;
    }
    const RegionCount* slots = list->regionCounts;
    std::stable_sort(order, order + used, [slots, descending](int a, int b) {
        return descending ? slots[a].count > slots[b].count : slots[a].count < slots[b].count;
    });
    int members[kRegionCountSlots] = {0};
    for (int p = first; p < end; p++) {
        int slot = slotOf[gpEQ[e[p].recordIndex].regionIndex];
        if (slot >= 0) members[slot]++;
    }
    int start[kRegionCountSlots];
    int position = first;
    for (int k = 0; k < used; k++) {
        start[order[k]] = position;
        position += members[order[k]];
    }
    for (int p = first; p < end; p++) {
        int index = e[p].recordIndex;
        int slot = slotOf[gpEQ[index].regionIndex];
        e[p].placed = slot >= 0;
        if (slot >= 0) e[start[slot]++].displayIndex = index;
    }
    ClearSlotMap(slotOf, list);
}

void SortList(RecordList* list, int column) {
    int32_t* state = SortState(list, column);
    if (!state || !list->entries || !gpEQ) return;
    if (column == SORT_DATE)
        *state = *state == 0 ? 1 : 0;
    else
        *state = *state == 0 ? 1 : *state == 1 ? 2 : 0;

    ListEntry* e = list->entries;
    int first, end;
    ListRange(list, &first, &end);
    if (*state == 0) {
        for (int p = first; p < end; p++) e[p].displayIndex = e[p].recordIndex;
    } else if (column == SORT_DATE) {
        for (int k = 0; k < end - first; k++) e[first + k].displayIndex = e[end - 1 - k].recordIndex;
    } else if (column == SORT_REGION) {
        SortByRegion(list, first, end, *state == 1);
    } else {
        SortByKey(e, first, end, column, *state == 1);
    }

    for (int p = first; p < end; p++)
        if (e[p].displayIndex == list->highlight) {
            list->topRow = p - first;
            break;
        }
}
