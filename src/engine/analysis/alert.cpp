#include "engine/analysis/alert.h"

#include <cstring>

#include "engine/analysis/region_stats.h"
#include "engine/model/records.h"
#include "engine/model/geo.h"
#include "engine/model/settings.h"

AlertEntry AlertTable[kAlertEntries];

static bool RegionDefined(const RegionEntry* regions, int region) {
    return region >= 0 && region < kRegionSlots && regions[region].code != 0;
}

static bool IsM6(const QuakeRecord& r) { return r.magnitude10 >= 60; }

// Adds M6+ record `record` to its region's entry of `table`, opening the
// first free entry for a new region.
static void AddM6Event(const QuakeRecord* records, int record, AlertEntry* table) {
    const QuakeRecord& r = records[record];
    AlertEntry* entry = nullptr;
    for (int k = 0; k < kAlertEntries; k++)
        if (table[k].eventCount != 0 && table[k].regionIndex == int16_t(r.regionIndex)) {
            entry = &table[k];
            break;
        }
    if (!entry) {
        for (int k = 0; k < kAlertEntries; k++) {
            AlertEntry& e = table[k];
            if (e.eventCount == 0) {
                e.eventCount = 1;
                e.m6Count = 1;
                e.regionIndex = int16_t(r.regionIndex);
                e.latestIndex = record;
                e.minX = e.maxX = r.mapX;
                e.minY = e.maxY = r.mapY;
                return;
            }
        }
        return;  // all entries in use: the record is dropped
    }
    AlertEntry& e = *entry;
    e.eventCount++;
    e.m6Count++;
    if (r.mapX < e.minX) e.minX = r.mapX;
    if (r.mapX > e.maxX) e.maxX = r.mapX;
    if (r.mapY < e.minY) e.minY = r.mapY;
    if (r.mapY > e.maxY) e.maxY = r.mapY;
    // The latest index stays: records arrive newest first.
    float left = GridToPixelX(e.minX), right = GridToPixelX(e.maxX);
    float top = GridToPixelY(e.minY), bottom = GridToPixelY(e.maxY);
    e.boxOnMap = right < 1 || left > 511 || bottom < 1 || top > 511 ? 0 : 1;
    if (left < 1) e.minX = 179;
    if (top < 1) e.minY = 1;
    if (right > 511) e.maxX = 514;
    if (bottom > 511) e.maxY = 336;
}

// The two factors of an alert level: records elapsed over the mean interval
// and events over the records counted, each in per cent. A zero divisor
// (which counts built from the same walk cannot produce) gives 0.
static float DuePercent(int elapsed, int meanInterval) {
    return meanInterval != 0 ? float(double(elapsed) / meanInterval * 100.0) : 0.0f;
}

static float RankShare(int count, int total) {
    return total != 0 ? float(double(count) / total * 100.0) : 0.0f;
}

// The stand-alone entry divides by the total as a 32-bit float.
static float SingleShare(int count, int total) {
    return total != 0 ? float(double(float(count) / float(total)) * 100.0) : 0.0f;
}

void RankAlertTable(const QuakeRecord* records, int count, int selFirstIndex, const RegionEntry* regions,
                    AlertEntry* table) {
    std::memset(table, 0, sizeof(AlertEntry) * kAlertEntries);
    for (int i = 0; i < count; i++)
        if (IsM6(records[i])) AddM6Event(records, i, table);
    for (int k = 0; k < kAlertEntries; k++) {
        AlertEntry& e = table[k];
        if (!RegionDefined(regions, e.regionIndex)) break;
        if (e.m6Count == 0) continue;
        e.elapsed = e.latestIndex - selFirstIndex;
        e.meanInterval = count / e.m6Count;
        e.dueRatio = DuePercent(e.elapsed, e.meanInterval);
        e.shareRatio = RankShare(e.m6Count, count);
        e.alertLevel = e.dueRatio * e.shareRatio;
    }
    // Exchange sort, highest level first; it fixes the order of equal levels.
    for (int i = 0; i < kAlertEntries - 1; i++)
        for (int j = i + 1; j < kAlertEntries; j++)
            if (table[j].alertLevel > table[i].alertLevel) {
                AlertEntry swap = table[i];
                table[i] = table[j];
                table[j] = swap;
            }
}

void RankAlertRegions() {
    if (!gpEQ) {
        std::memset(AlertTable, 0, sizeof AlertTable);
        return;
    }
    RankAlertTable(gpEQ, DataEnd(), AppSettings.selFirstIndex, RegionTable, AlertTable);
}

void RegionAlertFor(int record, AlertEntry* out) {
    AlertEntry e{};
    e.latestIndex = -1;
    if (!IsDataRecord(record)) {
        *out = e;
        return;
    }
    int region = gpEQ[record].regionIndex;
    e.regionIndex = int16_t(region);
    int total = 0, count = 0, previous = -1;
    for (int i = 0; i < kMaxRecords && gpEQ[i].magnitude10 != 0; i++) {
        total++;
        const QuakeRecord& r = gpEQ[i];
        if (r.regionIndex != region || !IsM6(r)) continue;
        if (count == 0)
            e.latestIndex = i;
        else if (previous < 0 && !SameDay(r, gpEQ[e.latestIndex]))
            previous = i;
        count++;
    }
    e.m6Count = count;
    if (count > 0) {
        // The present is record 0, the newest record of the catalogue.
        e.elapsed = e.latestIndex;
        e.meanInterval = total / count;
        e.dueRatio = DuePercent(e.latestIndex, e.meanInterval);
        e.shareRatio = SingleShare(count, total);
        e.alertLevel = e.dueRatio * e.shareRatio;
    }
    if (count >= 2) {
        int reduced = count - 1;
        e.previousIndex = previous;
        float due = DuePercent(previous, total / reduced);
        float share = SingleShare(reduced, total);
        e.previousLevel = due * share;
    }
    *out = e;
}

int PrintedAlertEntry(int row) {
    if (row < 0 || row >= kAlertPageRows) return -1;
    int printed = 0;
    for (int i = 0; i < kAlertEntries && printed < kAlertPageRows; i++) {
        if (!(AlertTable[i].alertLevel >= 0.1)) continue;
        if (printed == row) return AlertTable[i].eventCount != 0 ? i : -1;
        printed++;
    }
    return -1;
}
