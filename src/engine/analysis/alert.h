// The alert level (警戒度): regions ranked by how overdue an M6+ earthquake is.
#pragma once

#include <cstdint>

struct QuakeRecord;
struct RegionEntry;

struct AlertEntry {
    int32_t eventCount;
    int32_t m6Count;
    int32_t latestIndex;
    int32_t previousIndex;
    int32_t elapsed;
    int32_t meanInterval;
    int32_t boxOnMap;
    int32_t pulseDir;
    int32_t pulseAlpha;
    int32_t minX, minY, maxX, maxY;
    float dueRatio;
    float shareRatio;
    float alertLevel;
    float previousLevel;
    int16_t regionIndex;
};

enum {
    kAlertEntries = 300,
    kAlertPageRows = 9,   // rows of the ranking page
};

extern AlertEntry AlertTable[kAlertEntries];

// The ranking of the loaded catalogue into AlertTable.
void RankAlertRegions();
// The ranking of `count` records (newest first) into `table` (kAlertEntries
// entries): each region's M6+ count, the records since its newest M6+
// (counted from `selFirstIndex`), the mean interval, the two ratios and the
// level, highest level first. Regions are defined by `regions` (kRegionSlots).
void RankAlertTable(const QuakeRecord* records, int count, int selFirstIndex, const RegionEntry* regions,
                    AlertEntry* table);
void RegionAlertFor(int record, AlertEntry* out);
// The AlertTable index shown on printed row `row` (0..8) of the ranking page
// (rows print only entries with an alert level of 0.1 or more, closed up),
// or -1 when that row prints nothing.
int PrintedAlertEntry(int row);

