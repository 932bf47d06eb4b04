#include "engine/analysis/region_summary.h"

#include "engine/catalogue/model.h"
#include "engine/rules/settings.h"
#include "engine/selection/current_record.h"

int gRegionSummaryKey = kSummaryKeyReset;
int gRegionSummaryKey2 = kSummaryKeyReset;
int gRegionCount;
int gRegionMinMag10, gRegionMaxMag10, gRegionMeanMag10;
int gRegionMinDepth, gRegionMaxDepth, gRegionMeanDepth;
int gRegionStrongCount, gRegionStrongGap, gRegionSinceStrong;
int gRegionPointX, gRegionPointY;
int gRegionDays;

void ResetRegionSummaries() {
    gRegionSummaryKey = gRegionSummaryKey2 = kSummaryKeyReset;
}

void ResetRegionPageSummary() { gRegionSummaryKey2 = kSummaryKeyReset; }

int UpdateRegionPanelSummary() {
    if (gCurrentRecord < 0 || gCurrentRecord == gRegionSummaryKey) return 0;
    gRegionSummaryKey = gCurrentRecord;
    int count = 0, minMag = 99, maxMag = 0;
    long long sum = 0;
    if (IsDataRecord(gCurrentRecord)) {
        const QuakeRecord& current = gpEQ[gCurrentRecord];
        for (int i = 0; i < kMaxRecords && gpEQ[i].magnitude10 != 0; i++) {
            const QuakeRecord& r = gpEQ[i];
            if (r.regionIndex != current.regionIndex) continue;
            count++;
            if (r.magnitude10 < minMag) minMag = r.magnitude10;
            if (r.magnitude10 > maxMag) maxMag = r.magnitude10;
            sum += r.magnitude10;
        }
        gRegionPointX = current.mapX;
        gRegionPointY = current.mapY;
    } else {
        gRegionPointX = 0;
        gRegionPointY = 0;
    }
    gRegionCount = count;
    gRegionMinMag10 = minMag;
    gRegionMaxMag10 = maxMag;
    gRegionMeanMag10 = count > 0 ? int(sum / count) : 0;
    return 1;
}

int UpdateRegionPageSummary() {
    if (gCurrentRecord < 0 || gCurrentRecord == gRegionSummaryKey2) return 0;
    gRegionSummaryKey2 = gCurrentRecord;
    gRegionCount = 0;
    gRegionMaxMag10 = 0;
    gRegionMeanMag10 = 0;
    gRegionMinDepth = 9999;
    gRegionMaxDepth = 0;
    gRegionMeanDepth = 0;
    gRegionStrongCount = 0;
    gRegionStrongGap = 0;
    gRegionSinceStrong = 0;
    gRegionPointX = 0;
    gRegionPointY = 0;
    UpdateRegionDays();
    if (!IsDataRecord(gCurrentRecord)) return 1;

    const QuakeRecord& current = gpEQ[gCurrentRecord];
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
    gRegionCount = count;
    gRegionMaxMag10 = maxMag;
    gRegionMeanMag10 = int(magSum / count);
    gRegionMinDepth = minDepth;
    gRegionMaxDepth = maxDepth;
    gRegionMeanDepth = int(depthSum / count);
    gRegionStrongCount = strong;
    gRegionStrongGap = strong >= 2 ? int(gapSum / (strong - 1)) : 0;
    gRegionSinceStrong = strongFirst > firstIndex ? strongFirst - firstIndex : 0;
    gRegionPointX = current.mapX;
    gRegionPointY = current.mapY;
    return 1;
}

void UpdateRegionDays() {
    int oldest = AppSettings.selLastIndex, newest = AppSettings.selFirstIndex;
    gRegionDays = IsDataRecord(oldest) && IsDataRecord(newest)
                      ? DaysBetweenRecords(gpEQ[oldest], gpEQ[newest]) + 1
                      : 0;
}

int ClassRowAt(int mouseX, int mouseY) {
    if (mouseX < 521 || mouseX >= 848 || mouseY < 567 || mouseY >= 724) return 0;
    return (mouseY - 544) / 18;
}
