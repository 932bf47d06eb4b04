#include "engine/analysis/region_summary.h"

#include "engine/model/records.h"
#include "engine/model/settings.h"

// The record each summary last ran for; kSummaryKeyReset forces a run.
static int sPanelKey = kSummaryKeyReset, sPageKey = kSummaryKeyReset;
// Both summaries write these (the one that ran last shows); one set of names.
static int sCount, sMinMag10, sMaxMag10, sMeanMag10, sMinDepth, sMaxDepth, sMeanDepth;
static int sStrongCount, sStrongGap, sSinceStrong, sPointX, sPointY, sDays;
const int &gRegionCount = sCount, &gRegionMinMag10 = sMinMag10, &gRegionMaxMag10 = sMaxMag10,
          &gRegionMeanMag10 = sMeanMag10;
const int &gRegionMinDepth = sMinDepth, &gRegionMaxDepth = sMaxDepth, &gRegionMeanDepth = sMeanDepth;
const int &gRegionStrongCount = sStrongCount, &gRegionStrongGap = sStrongGap, &gRegionSinceStrong = sSinceStrong;
const int &gRegionPointX = sPointX, &gRegionPointY = sPointY;
const int& gRegionDays = sDays;

void ResetRegionSummaries() {
    sPanelKey = sPageKey = kSummaryKeyReset;
}

void ResetRegionPageSummary() { sPageKey = kSummaryKeyReset; }

int UpdateRegionPanelSummary(int record) {
    if (record < 0 || record == sPanelKey) return 0;
    sPanelKey = record;
    int count = 0, minMag = 99, maxMag = 0;
    long long sum = 0;
    if (IsDataRecord(record)) {
        const QuakeRecord& current = gpEQ[record];
        for (int i = 0; i < kMaxRecords && gpEQ[i].magnitude10 != 0; i++) {
            const QuakeRecord& r = gpEQ[i];
            if (r.regionIndex != current.regionIndex) continue;
            count++;
            if (r.magnitude10 < minMag) minMag = r.magnitude10;
            if (r.magnitude10 > maxMag) maxMag = r.magnitude10;
            sum += r.magnitude10;
        }
        sPointX = current.mapX;
        sPointY = current.mapY;
    } else {
        sPointX = 0;
        sPointY = 0;
    }
    sCount = count;
    sMinMag10 = minMag;
    sMaxMag10 = maxMag;
    sMeanMag10 = count > 0 ? int(sum / count) : 0;
    return 1;
}

int UpdateRegionPageSummary(int record) {
    if (record < 0 || record == sPageKey) return 0;
    sPageKey = record;
    sCount = 0;
    sMaxMag10 = 0;
    sMeanMag10 = 0;
    sMinDepth = 9999;
    sMaxDepth = 0;
    sMeanDepth = 0;
    sStrongCount = 0;
    sStrongGap = 0;
    sSinceStrong = 0;
    sPointX = 0;
    sPointY = 0;
    UpdateRegionDays();
    if (!IsDataRecord(record)) return 1;

    const QuakeRecord& current = gpEQ[record];
    const int firstIndex = AppSettings.selFirstIndex;
    int count = 0, maxMag = 0, minDepth = 9999, maxDepth = 0;
    long long magSum = 0, depthSum = 0;
    int strong = 0, strongFirst = -1, previous = 0;
    long long gapSum = 0;
    // The whole window counts, matching or not.
    for (int i = firstIndex < 0 ? 0 : firstIndex;
         i <= AppSettings.selLastIndex && i < kMaxRecords && gpEQ[i].magnitude10 != 0; i++) {
        const QuakeRecord& r = gpEQ[i];
        if (r.regionIndex != current.regionIndex) continue;
        count++;
        magSum += r.magnitude10;
        depthSum += r.depthKm;
        if (r.magnitude10 > maxMag) maxMag = r.magnitude10;
        if (r.depthKm < minDepth) minDepth = r.depthKm;
        if (r.depthKm > maxDepth) maxDepth = r.depthKm;
        if (r.magnitude10 >= 50) {
            if (strong == 0) strongFirst = previous = i;
            gapSum += i - previous;
            previous = i;
            strong++;
        }
    }
    if (count == 0) return 1;
    sCount = count;
    sMaxMag10 = maxMag;
    sMeanMag10 = int(magSum / count);
    sMinDepth = minDepth;
    sMaxDepth = maxDepth;
    sMeanDepth = int(depthSum / count);
    sStrongCount = strong;
    sStrongGap = strong >= 2 ? int(gapSum / (strong - 1)) : 0;
    sSinceStrong = strongFirst > firstIndex ? strongFirst - firstIndex : 0;
    sPointX = current.mapX;
    sPointY = current.mapY;
    return 1;
}

void UpdateRegionDays() {
    int oldest = AppSettings.selLastIndex, newest = AppSettings.selFirstIndex;
    sDays = IsDataRecord(oldest) && IsDataRecord(newest)
                      ? DaysBetweenRecords(gpEQ[oldest], gpEQ[newest]) + 1
                      : 0;
}

