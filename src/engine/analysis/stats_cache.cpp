#include "engine/analysis/stats_cache.h"

#include "engine/model/records.h"
#include "engine/model/settings.h"

enum {
    kMagnitudeClasses = 26,    // magnitude10 / 10 of any 8-bit magnitude
    kIntensityClasses = 256,   // any 8-bit intensity
    kBandCells = 7,            // bands 0..5 and "every record"
    kEveryRecordBand = 6,
};

struct ClassTable {
    StatsCell magnitude[kMagnitudeClasses];
    StatsCell intensity[kIntensityClasses];
};

// What a gathering depends on besides the inFilter flags: the store, the
// matching window and the record count. The flags change only with a filter
// run or a reload, and both invalidate.
struct StatsCache {
    bool valid;
    const QuakeRecord* store;
    int first, last, recordCount;
    int region;   // region of the region table and the bands, -1 for none
    ClassTable catalogue;
    ClassTable inRegion;
    StatsCell bands[kBandCells];
};

static StatsCache sCache = [] {
    StatsCache c{};
    c.region = -1;
    return c;
}();

void InvalidateStatsCache() { sCache.valid = false; }

static void Take(StatsCell* cell, int index) {
    if (cell->count == 0) cell->newest = index;
    cell->oldest = index;
    cell->count++;
}

static void ClearCells(StatsCell* cells, int n) {
    for (int i = 0; i < n; i++) cells[i] = StatsCell{0, -1, -1};
}

static bool InBand(int band, int magnitude10) {
    switch (band) {
    case 0: return magnitude10 >= 50;
    case 1: case 2: case 3: case 4: case 5:
        return magnitude10 >= 40 + 10 * band && magnitude10 <= 49 + 10 * band;
    default: return true;
    }
}

// One pass over the matching window, from the newest matching record to the
// oldest, stopping at the end of the data.
static void Gather(int region) {
    StatsCache& c = sCache;
    c.valid = true;
    c.store = gpEQ;
    c.first = AppSettings.selFirstIndex;
    c.last = AppSettings.selLastIndex;
    c.recordCount = AppSettings.recordCount;
    c.region = region;
    ClearCells(c.catalogue.magnitude, kMagnitudeClasses);
    ClearCells(c.catalogue.intensity, kIntensityClasses);
    ClearCells(c.inRegion.magnitude, kMagnitudeClasses);
    ClearCells(c.inRegion.intensity, kIntensityClasses);
    ClearCells(c.bands, kBandCells);
    if (!gpEQ) return;
    int from = c.first < 0 ? 0 : c.first;
    int to = c.last < kMaxRecords ? c.last : kMaxRecords - 1;
    for (int i = from; i <= to; i++) {
        const QuakeRecord& r = gpEQ[i];
        if (r.magnitude10 == 0) break;
        bool inRegion = r.regionIndex == region;
        if (r.inFilter) {
            Take(&c.catalogue.magnitude[r.magnitude10 / 10], i);
            Take(&c.catalogue.intensity[r.intensity], i);
            if (inRegion) {
                Take(&c.inRegion.magnitude[r.magnitude10 / 10], i);
                Take(&c.inRegion.intensity[r.intensity], i);
            }
        }
        if (inRegion) {
            for (int b = 0; b < kEveryRecordBand; b++)
                if (InBand(b, r.magnitude10)) Take(&c.bands[b], i);
            Take(&c.bands[kEveryRecordBand], i);
        }
    }
}

static bool Current() {
    const StatsCache& c = sCache;
    return c.valid && c.store == gpEQ && c.first == AppSettings.selFirstIndex &&
           c.last == AppSettings.selLastIndex && c.recordCount == AppSettings.recordCount;
}

// Makes the gathering current for `region`; a catalogue-wide question
// (region < 0) gathers the region asked for last along with it, since the
// panels ask for the catalogue and the current region on the same tick.
static void Prepare(int region) {
    if (Current() && (region < 0 || region == sCache.region)) return;
    Gather(region < 0 ? sCache.region : region);
}

StatsCell CachedClassCell(int region, int kind, int cls) {
    Prepare(region);
    const ClassTable& table = region < 0 ? sCache.catalogue : sCache.inRegion;
    if (kind == STATS_MAGNITUDE && cls >= 0 && cls < kMagnitudeClasses) return table.magnitude[cls];
    if (kind == STATS_INTENSITY && cls >= 0 && cls < kIntensityClasses) return table.intensity[cls];
    return StatsCell{0, -1, -1};
}

StatsCell CachedBandCell(int region, int band) {
    if (region < 0) return StatsCell{0, -1, -1};
    Prepare(region);
    return sCache.bands[band >= 0 && band < kEveryRecordBand ? band : kEveryRecordBand];
}
