#include "engine/analysis/smoothed_seismicity.h"

#include <algorithm>
#include <cmath>

#include "engine/model/geo.h"
#include "engine/model/records.h"

enum { kPositionKeys = 1000 * 1000 };

void ClearSmoothed(SmoothedSeismicity* s) {
    s->countAt.assign(kPositionKeys, 0);
    s->positions.clear();
    s->sumX.assign(kRegionSlots, 0);
    s->sumY.assign(kRegionSlots, 0);
    s->placed.assign(kRegionSlots, 0);
}

void AddToSmoothed(SmoothedSeismicity* s, const QuakeRecord& r) {
    if (r.mapX == 0 || r.mapY == 0 || r.mapX >= 1000 || r.mapY >= 1000) return;
    if (r.regionIndex < kRegionSlots) {
        s->sumX[r.regionIndex] += r.mapX;
        s->sumY[r.regionIndex] += r.mapY;
        s->placed[r.regionIndex]++;
    }
    if (r.magnitude10 < kSmoothedMinMag10) return;
    const int key = r.mapX * 1000 + r.mapY;
    if (s->countAt[size_t(key)]++ == 0) s->positions.push_back(key);
}

namespace {

struct Epicentres {
    UnitVector at;
    int count;
};

}  // namespace

std::vector<double> SmoothedScores(const SmoothedSeismicity& s, const std::vector<int>& regions, double bandwidthKm) {
    // The positions by z (the sine of the latitude): those within reach of a
    // centre lie in a band of z no wider than the reach's chord.
    std::vector<Epicentres> points;
    points.reserve(s.positions.size());
    for (int key : s.positions) {
        double lat, lon;
        GridToGeo(key / 1000, key % 1000, &lat, &lon);
        points.push_back(Epicentres{UnitVectorOf(lat, lon), s.countAt[size_t(key)]});
    }
    std::sort(points.begin(), points.end(), [](const Epicentres& a, const Epicentres& b) { return a.at.z < b.at.z; });
    const double reach = ChordSquaredOfKm(6 * bandwidthKm), band = std::sqrt(reach);
    std::vector<double> scores(regions.size(), 0);
    for (size_t k = 0; k < regions.size(); k++) {
        const int region = regions[k];
        if (region < 0 || region >= kRegionSlots || s.placed[size_t(region)] == 0) continue;
        double lat, lon;
        GridToGeo(s.sumX[size_t(region)] / s.placed[size_t(region)], s.sumY[size_t(region)] / s.placed[size_t(region)],
                  &lat, &lon);
        const UnitVector centre = UnitVectorOf(lat, lon);
        auto p = std::lower_bound(points.begin(), points.end(), centre.z - band,
                                  [](const Epicentres& e, double z) { return e.at.z < z; });
        double sum = 0;
        for (; p != points.end() && p->at.z <= centre.z + band; ++p) {
            const double chord = ChordSquared(centre, p->at);
            if (chord > reach) continue;
            const double d = GreatCircleKmOfChordSquared(chord) / bandwidthKm;
            sum += p->count * std::exp(-0.5 * d * d);
        }
        scores[k] = sum;
    }
    return scores;
}
