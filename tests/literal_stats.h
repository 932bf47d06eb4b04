// The region statistics as the panels would compute them on every tick: one
// walk over the matching window per question. Kept for the differential tests
// and the benchmark twins of the statistics cache.
#pragma once

#include "engine/analysis/region_summary.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "engine/selection/current_record.h"

inline int LiteralClassStats(int record, bool byIntensity, int cls, int* count, int* sinceLatest,
                             int* meanInterval, int* latestIndex) {
    *latestIndex = -1;
    *sinceLatest = 0;
    int regionCount = 0, catalogueCount = 0;
    int region = record >= 0 ? gpEQ[record].regionIndex : -1;
    for (int i = AppSettings.selFirstIndex; i <= AppSettings.selLastIndex; i++) {
        const QuakeRecord& r = gpEQ[i];
        if (r.magnitude10 == 0) break;
        if (r.inFilter == 0) continue;
        if ((byIntensity ? r.intensity : r.magnitude10 / 10) != cls) continue;
        catalogueCount++;
        if (record < 0 || r.regionIndex == region) {
            if (regionCount == 0) *latestIndex = i;
            regionCount++;
        }
    }
    if (*latestIndex >= 0) *sinceLatest = *latestIndex - AppSettings.selFirstIndex;
    *count = record < 0 ? catalogueCount : regionCount;
    *meanInterval = *count >= 1 ? AppSettings.selCount2 / *count : 0;
    return *count;
}

inline bool LiteralInBand(int band, int magnitude10) {
    switch (band) {
    case 0: return magnitude10 >= 50;
    case 1: return magnitude10 >= 50 && magnitude10 <= 59;
    case 2: return magnitude10 >= 60 && magnitude10 <= 69;
    case 3: return magnitude10 >= 70 && magnitude10 <= 79;
    case 4: return magnitude10 >= 80 && magnitude10 <= 89;
    case 5: return magnitude10 >= 90 && magnitude10 <= 99;
    default: return true;
    }
}

inline void LiteralClassRecurrence(int band, float* dueRatio, float* shareRatio) {
    int region = gpEQ[gCurrentRecord].regionIndex;
    int n = 0, gapSum = 0, first = -1, previous = 0;
    for (int i = AppSettings.selFirstIndex; i <= AppSettings.selLastIndex; i++) {
        const QuakeRecord& r = gpEQ[i];
        if (r.magnitude10 == 0) break;
        if (r.regionIndex != region || !LiteralInBand(band, r.magnitude10)) continue;
        if (n == 0) first = previous = i;
        gapSum += i - previous;
        previous = i;
        n++;
    }
    if (n <= 1) {
        *dueRatio = 0;
        *shareRatio = 0;
        return;
    }
    int meanGap = gapSum / (n - 1);
    *dueRatio = float(double(first - AppSettings.selFirstIndex) / meanGap * 100.0);
    if (*dueRatio > 999.99) *dueRatio = 999.99f;
    if (gRegionCount == 0) {
        *shareRatio = 999.99f;
    } else {
        *shareRatio = float(double(n) / gRegionCount * 100.0);
        if (*shareRatio > 999.99) *shareRatio = 999.99f;
    }
}
