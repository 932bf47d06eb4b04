#include "engine/analysis/region_stats.h"

#include <cstdio>

#include "engine/analysis/region_summary.h"
#include "engine/analysis/stats_cache.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"

static int ClassStats(int record, int kind, int cls, int* count, int* sinceLatest,
                      int* meanInterval, int* latestIndex) {
    StatsCell cell{0, -1, -1};
    if (record < 0)
        cell = CachedClassCell(-1, kind, cls);
    else if (IsDataRecord(record))
        cell = CachedClassCell(gpEQ[record].regionIndex, kind, cls);
    *count = cell.count;
    *latestIndex = cell.newest;
    *sinceLatest = cell.newest >= 0 ? cell.newest - AppSettings.selFirstIndex : 0;
    *meanInterval = cell.count >= 1 ? AppSettings.selCount2 / cell.count : 0;
    return cell.count;
}

int ClassStatsByMagnitude(int record, int magClass, int* count, int* sinceLatest,
                          int* meanInterval, int* latestIndex) {
    return ClassStats(record, STATS_MAGNITUDE, magClass, count, sinceLatest, meanInterval,
                      latestIndex);
}

int ClassStatsByIntensity(int record, int intensityClass, int* count, int* sinceLatest,
                          int* meanInterval, int* latestIndex) {
    return ClassStats(record, STATS_INTENSITY, intensityClass, count, sinceLatest, meanInterval,
                      latestIndex);
}

// A percentage computed in double precision, kept as a 32-bit float and
// limited to 999.99.
static float LimitedPercent(double ratio) {
    float percent = float(ratio * 100.0);
    return percent > 999.99 ? 999.99f : percent;
}

void ClassRecurrence(int record, int band, float* dueRatio, float* shareRatio) {
    *dueRatio = 0;
    *shareRatio = 0;
    if (!IsDataRecord(record)) return;
    StatsCell cell = CachedBandCell(gpEQ[record].regionIndex, band);
    if (cell.count <= 1) return;
    // The gaps between consecutive events add up to oldest - newest; with
    // distinct indices the mean gap is at least 1.
    int meanGap = (cell.oldest - cell.newest) / (cell.count - 1);
    *dueRatio = LimitedPercent(double(cell.newest - AppSettings.selFirstIndex) / meanGap);
    *shareRatio = gRegionCount == 0 ? 999.99f : LimitedPercent(double(cell.count) / gRegionCount);
}

void MagnitudeClassRow(int record, int magClass, char* out, int size) {
    int count, since, mean, latest;
    ClassStatsByMagnitude(record, magClass, &count, &since, &mean, &latest);
    if (latest < 0) {
        std::snprintf(out, size_t(size), "M%d %7d 0000/00/00 %7d/%7d", magClass, count, since, mean);
        return;
    }
    const QuakeRecord& r = RecordAt(latest);
    std::snprintf(out, size_t(size), "M%d %7d %04d/%02d/%02d %7d/%7d", magClass, count, r.year, r.month, r.day,
                  since, mean);
}
