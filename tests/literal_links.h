// The link-line search exactly as the frame update describes it: for each
// candidate, one full scan of the older records per depth tolerance 10, 30,
// ..., 190 km until a tolerance finds a partner. O(10 x 1000 x 1000); kept as
// the reference for the differential test and the benchmark's twin.
#pragma once

#include <cstdlib>

#include "engine/model/records.h"
#include "engine/picture/markers.h"
#include "engine/model/settings.h"

inline float LiteralPixel(int grid) { return float(grid * 1.5199999809265137); }

inline int LiteralLinkLines(ColoredScreenVertex* out) {
    int first = AppSettings.selFirstIndex;
    int last = first + 1000 > kMaxRecords - 1 ? kMaxRecords - 1 : first + 1000;
    int lines = 0;
    for (int i = first; i <= last; i++) {
        const QuakeRecord& a = gpEQ[i];
        if (a.magnitude10 == 0) break;
        if (lines >= AppSettings.selCount) break;
        if (lines == 1000) break;
        if (a.inFilter == 0) continue;
        int px = int((a.mapX - 178) * 1.5199999809265137);
        int py = int(a.mapY * 1.5199999809265137);
        if (px > 512 || py > 512) continue;
        for (int tolerance = 10; tolerance <= 190; tolerance += 20) {
            int partner = -1;
            for (int j = i + 1; j <= last; j++) {
                const QuakeRecord& b = gpEQ[j];
                if (b.magnitude10 == 0 || b.year < AppSettings.startYear) break;
                if (b.year > AppSettings.endYear) continue;
                if (b.inFilter == 0) continue;
                if (std::abs(a.depthKm - b.depthKm) > tolerance) continue;
                int dx = std::abs(b.mapX - a.mapX), dy = std::abs(b.mapY - a.mapY);
                if (dx >= 580 || dy >= 447) continue;   // outside the table: not near
                if (!(DistanceTable[dx][dy] < 32.0f)) continue;
                partner = j;
                break;
            }
            if (partner < 0) continue;
            const QuakeRecord& b = gpEQ[partner];
            ColoredScreenVertex* v = out + 2 * lines;
            v[0] = {LiteralPixel(a.mapX - 178), LiteralPixel(a.mapY), 1.0f, 1.0f,
                    (a.markerColor & 0xFFFFFFu) | 0x80000000u};
            v[1] = {LiteralPixel(b.mapX - 178), LiteralPixel(b.mapY), 1.0f, 1.0f,
                    (b.markerColor & 0xFFFFFFu) | 0x80000000u};
            lines++;
            break;
        }
    }
    if (lines < 1000)
        for (int k = 2 * lines; k < 2000; k++) out[k].diffuse = 0;
    return lines;
}
