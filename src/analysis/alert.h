// The alert level (警戒度): regions ranked by how overdue an M6+ earthquake is.
#pragma once

#include <cstdint>

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

extern AlertEntry AlertTable[300];
extern int gAlertRow;     // last clicked ranking row 0..8, -1 before the first
extern int gAlertHover;   // 1 while the pointer is over the ranking rows

void RankAlertRegions();
void AddM6Event(int record);
void RegionAlertFor(int record, AlertEntry* out);
// Handles a left-button press at window y `pointerY` over the ranking page.
void SelectAlertRow(int pointerY);
