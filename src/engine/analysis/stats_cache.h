// The class and band statistics that the panels ask for on every tick,
// gathered in one pass over the matching window and then read in O(1).
// A gathering covers the whole catalogue and one region at once; it stays
// valid until the condition filter runs again (InvalidateStatsCache), the
// matching window moves, or another region is asked for.
#pragma once

#include <cstdint>

struct StatsCell {
    int32_t count;    // records taken
    int32_t newest;   // lowest index taken, -1 when none
    int32_t oldest;   // highest index taken, -1 when none
};

enum StatsKind {
    STATS_MAGNITUDE = 0,   // class = magnitude10 / 10
    STATS_INTENSITY = 1,   // class = intensity
};

// Forgets every gathering. The condition filter calls it; a reload of the
// catalogue (EQSet) that is not followed by a filter run must call it too,
// because a reload clears the inFilter flags without moving the window.
void InvalidateStatsCache();

// The matching records (inFilter 1) of class `cls` of the given kind in the
// matching window: in region `region`, or in every region when region < 0.
StatsCell CachedClassCell(int region, int kind, int cls);

// The records of region `region` in the matching window whose magnitude10
// lies in recurrence band `band` (0: 50 and above, 1..5: 50..59 .. 90..99,
// any other code: every record); inFilter is not consulted.
StatsCell CachedBandCell(int region, int band);
