// The list algorithms in their straightforward form, kept for the
// differential tests and the benchmark twins: the fill that clears and walks
// everything, the region count with a linear slot search, and the sort as a
// stable selection with one pass over the list per key value.
#pragma once

#include <cstring>
#include <vector>

#include "engine/model/records.h"
#include "engine/selection/lists.h"
#include "engine/selection/sorting.h"

// Fills `entries` (kMaxRecords of them) as the condition list (region < 0) or
// the region list of `region`; returns the count.
inline int LiteralFill(std::vector<ListEntry>* entries, int region) {
    entries->assign(kMaxRecords, ListEntry{0, 0, 0});
    int n = 0;
    for (int i = 0; i < kMaxRecords; i++) {
        const QuakeRecord& r = gpEQ[i];
        if (region >= 0 && r.regionIndex != region) continue;
        if (r.inFilter == 1)
            (*entries)[n++] = ListEntry{i, i, 0};
        else
            (*entries)[n] = ListEntry{-1, -1, 0};
    }
    return n;
}

inline int LiteralCountRegions(RecordList* list) {
    std::memset(list->regionCounts, 0, sizeof list->regionCounts);
    int used = 0;
    for (int p = list->first; p < list->end; p++) {
        const QuakeRecord& r = gpEQ[list->entries[p].recordIndex];
        if (r.magnitude10 == 0) break;
        int s = 0;
        while (s < 300 && !(list->regionCounts[s].count > 0 &&
                            list->regionCounts[s].regionIndex == r.regionIndex))
            s++;
        if (s < 300) {
            list->regionCounts[s].count++;
            continue;
        }
        list->regionCounts[used].count = 1;
        list->regionCounts[used].regionIndex = r.regionIndex;
        if (++used == 300) break;
    }
    return used;
}

// The frequency of the entry's region in the list's table, 0 without a slot.
inline int LiteralRegionKey(const RecordList* list, int recordIndex) {
    for (const RegionCount& slot : list->regionCounts)
        if (slot.count > 0 && slot.regionIndex == gpEQ[recordIndex].regionIndex) return slot.count;
    return 0;
}

inline int LiteralKey(const RecordList* list, int column, int recordIndex) {
    const QuakeRecord& r = gpEQ[recordIndex];
    switch (column) {
    case SORT_REGION: return LiteralRegionKey(list, recordIndex);
    case SORT_DEPTH: return r.depthKm;
    case SORT_MAGNITUDE: return r.magnitude10;
    default: return r.intensity;
    }
}

inline void LiteralSortList(RecordList* list, int column) {
    int32_t* states[6] = {nullptr, &list->dateOrder, &list->regionOrder, &list->depthOrder,
                          &list->magOrder, &list->intensityOrder};
    if (column < 1 || column > 5) return;
    int32_t& state = *states[column];
    if (column == SORT_DATE)
        state = state == 0 ? 1 : 0;
    else
        state = (state + 1) % 3;
    ListEntry* e = list->entries;
    const int first = list->first, end = list->end;

    if (state == 0) {
        for (int p = first; p < end; p++) e[p].displayIndex = e[p].recordIndex;
    } else if (column == SORT_DATE) {
        for (int k = 0; k < end - first; k++) e[first + k].displayIndex = e[end - 1 - k].recordIndex;
    } else {
        for (int p = first; p < end; p++) e[p].placed = 0;
        const bool descending = state == 1;
        const bool region = column == SORT_REGION;
        int largest = 0;
        int smallest = column == SORT_DEPTH ? 9999 : region ? 3000 : 99;
        for (int p = first; p < end; p++) {
            int key = LiteralKey(list, column, e[p].recordIndex);
            if (region && key == 0) continue;  // no slot: not a key of the table
            if (key > largest) largest = key;
            if (key < smallest) smallest = key;
        }
        int from = descending ? largest : smallest;
        int to = descending ? (region ? 1 : 0) : largest;
        if (!descending && smallest > largest) return;
        int position = first;
        for (int v = from; descending ? v >= to : v <= to; v += descending ? -1 : 1) {
            if (region) {
                for (const RegionCount& slot : list->regionCounts) {
                    if (slot.count != v) continue;
                    for (int p = first; p < end; p++)
                        if (!e[p].placed && gpEQ[e[p].recordIndex].regionIndex == slot.regionIndex) {
                            e[position++].displayIndex = e[p].recordIndex;
                            e[p].placed = 1;
                        }
                }
            } else {
                for (int p = first; p < end; p++)
                    if (!e[p].placed && LiteralKey(list, column, e[p].recordIndex) == v) {
                        e[position++].displayIndex = e[p].recordIndex;
                        e[p].placed = 1;
                    }
            }
        }
    }
    for (int p = first; p < end; p++)
        if (e[p].displayIndex == list->highlight) {
            list->topRow = p - first;
            break;
        }
}
