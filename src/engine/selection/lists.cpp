#include "engine/selection/lists.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/analysis/alert.h"
#include "engine/analysis/month_series.h"
#include "engine/analysis/region_stats.h"
#include "engine/analysis/region_summary.h"
#include "engine/analysis/stats_cache.h"
#include "engine/rules/settings.h"
#include "engine/catalogue/model.h"
#include "platform/platform.h"

enum {
    kRegionCountSlots = 300,
    kKeyValues = 65536,   // every value of a 16-bit field (regionIndex, depthKm)
};

int32_t gCurrentRecord = 0;
RecordList gConditionList;
RecordList gRegionList;
ListEntry* spSD = nullptr;
ListTitleHook gRegionListTitleHook = nullptr;
int gDataReady = 0;

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

// A minute stamp as two keys that order like year, month, day, hour and
// minute compared in turn. Each field takes 17 bits as value + 1: a record's
// 16-bit field lies in 1..65536, and a settings value outside 0..65535 is
// held at 0 or 65537, where it still compares correctly with every field.
struct Stamp {
    uint64_t date;
    uint64_t time;
};

static uint64_t SettingBits(int v) { return uint64_t(v < -1 ? 0 : v > 65536 ? 65537 : v + 1); }

static Stamp SettingStamp(int year, int month, int day, int hour, int minute) {
    return Stamp{SettingBits(year) << 34 | SettingBits(month) << 17 | SettingBits(day),
                 SettingBits(hour) << 17 | SettingBits(minute)};
}

static Stamp RecordStamp(const QuakeRecord& r) {
    return Stamp{uint64_t(r.year + 1) << 34 | uint64_t(r.month + 1) << 17 | uint64_t(r.day + 1),
                 uint64_t(r.hour + 1) << 17 | uint64_t(r.minute + 1)};
}

static bool Before(const Stamp& a, const Stamp& b) {
    return a.date < b.date || (a.date == b.date && a.time < b.time);
}

static Stamp PeriodStart() {
    const SettingsBlock& s = AppSettings;
    return SettingStamp(s.startYear, s.startMonth, s.startDay, s.startHour, s.startMinute);
}

static Stamp PeriodEnd() {
    const SettingsBlock& s = AppSettings;
    return SettingStamp(s.endYear, s.endMonth, s.endDay, s.endHour, s.endMinute);
}

static bool OutsidePeriod(const QuakeRecord& r, const Stamp& start, const Stamp& end) {
    Stamp stamp = RecordStamp(r);
    return Before(stamp, start) || Before(end, stamp);
}

int IsOutsidePeriod(int recordIndex) {
    if (!gpEQ || recordIndex < 0 || recordIndex >= kMaxRecords) return 1;
    return OutsidePeriod(gpEQ[recordIndex], PeriodStart(), PeriodEnd());
}

void ApplyConditions() {
    SettingsBlock& s = AppSettings;
    if (Before(PeriodEnd(), PeriodStart())) {
        s.startYear = s.endYear;
        s.startMonth = s.endMonth;
        s.startDay = s.endDay;
        s.startHour = s.endHour;
        s.startMinute = s.endMinute;
    }
    s.selCount = s.selMaxMag10 = s.selMeanMag10 = s.selMeanDepth = 0;
    s.selStrongRecent = s.selLastIndex = 0;
    s.selFirst = s.selFirstIndex = -1;
    const Stamp start = PeriodStart(), end = PeriodEnd();
    const int magLow = s.magMin * 10, magHigh = s.magMax * 10;
    int n = 0, maxMag = 0;
    long long magSum = 0, depthSum = 0;
    for (int i = 0; gpEQ && i < kMaxRecords && gpEQ[i].magnitude10 != 0; i++) {
        QuakeRecord& r = gpEQ[i];
        r.inFilter = 0;
        if (r.magnitude10 < magLow || r.magnitude10 > magHigh || r.depthKm < s.depthMin ||
            r.depthKm > s.depthMax || r.intensity < s.intMin || r.intensity > s.intMax ||
            OutsidePeriod(r, start, end))
            continue;
        r.inFilter = 1;
        if (n == 0) s.selFirstIndex = s.selFirst = i;
        if (n < 100 && r.magnitude10 >= 50) s.selStrongRecent++;
        if (r.magnitude10 > maxMag) maxMag = r.magnitude10;
        magSum += r.magnitude10;
        depthSum += r.depthKm;
        n++;
        s.selLastIndex = i;
    }
    if (s.selFirstIndex < 0) s.selFirstIndex = 0;
    if (s.selFirst < 0) s.selFirst = 0;
    s.selCount = s.selCount2 = n;
    s.selMaxMag10 = s.selMaxMag10b = maxMag;
    s.selMeanMag10 = s.selMeanMag10b = n > 0 ? int(magSum / n) : 0;
    s.selMeanDepth = s.selMeanDepthB = n > 0 ? int(depthSum / n) : 0;
    InvalidateStatsCache();
    UpdateRegionDays();

    RefreshConditionList();
    RefreshRegionList();
    RankAlertRegions();
    BuildMonthSeries();
    int selected = FirstInRegion(s.selFirst);
    gSelectedRecordA = gSelectedRecordB = selected < 0 ? -1 : selected;
    gRegionSummaryKey = gRegionSummaryKey2 = kSummaryKeyReset;
    gDataReady = 1;
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

// Slot of each region value in the table being built or read; -1 for none.
// Kept all -1 between uses.
static int16_t* SlotMap() {
    static std::vector<int16_t> slots(kKeyValues, -1);
    return slots.data();
}

static void ClearSlotMap(int16_t* slotOf, const RecordList* list) {
    for (const RegionCount& slot : list->regionCounts) slotOf[slot.regionIndex] = -1;
}

// The slice [first, end) of the list, kept inside the entries.
static void ListRange(const RecordList* list, int* first, int* end) {
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
            gCurrentRecord = list->highlight = index;
            return;
        }
    }
}

static void ResetSortStates(RecordList* list) {
    list->dateOrder = list->regionOrder = list->depthOrder = 0;
    list->magOrder = list->intensityOrder = 0;
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
    if (gRegionListTitleHook) {
        int region = IsDataRecord(gCurrentRecord) ? gpEQ[gCurrentRecord].regionIndex : -1;
        char title[160];
        std::snprintf(title, sizeof title, SjisText("%s 設定条件地震一覧"), RegionName(region));
        gRegionListTitleHook(title);
    }
    FillRegionList();
    ResetSortStates(&gRegionList);
    gRegionList.regionsUsed = CountRegions(&gRegionList);
    LocateCurrent(&gRegionList);
}

// ---- sorting ----

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
