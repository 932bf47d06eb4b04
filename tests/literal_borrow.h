// Position borrowing exactly as the loading steps describe it: each record
// with a missing coordinate walks every record stored before it, from index 0,
// and takes the coordinates of the same region's records. Quadratic; kept as
// the reference for the differential test and the benchmark's twin.
#pragma once

#include "engine/model/records.h"

inline void LiteralBorrowPositions(QuakeRecord* records, int count) {
    for (int i = 0; i < count; i++) {
        QuakeRecord& r = records[i];
        if (r.mapX != 0 && r.mapY != 0) continue;
        for (int j = 0; j < i; j++) {
            const QuakeRecord& visited = records[j];
            if (visited.regionIndex != r.regionIndex) continue;
            if (r.mapX == 0) {
                if (visited.mapX == 0) continue;  // passed over entirely
                r.mapX = visited.mapX;
            }
            if (r.mapY == 0) {
                if (visited.mapY == 0) continue;
                r.mapY = visited.mapY;
            }
            if (r.mapX != 0 && r.mapY != 0) break;
        }
    }
}
