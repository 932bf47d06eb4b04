#include "engine/analysis/smoothed_seismicity.h"

#include <algorithm>
#include <cmath>

#include "engine/catalogue/geo.h"
#include "engine/catalogue/model.h"

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
    int count;
    double lat, lon;
};

}  // namespace

std::vector<double> SmoothedScores(const SmoothedSeismicity& s, const std::vector<int>& regions, double bandwidthKm) {
    std::vector<Epicentres> points;
    points.reserve(s.positions.size());
    for (int key : s.positions) {
        Epicentres p{s.countAt[size_t(key)], 0, 0};
        GridToGeo(key / 1000, key % 1000, &p.lat, &p.lon);
        points.push_back(p);
    }
    const double reachKm = 6 * bandwidthKm, kmPerDegree = 111.19;
    std::vector<double> scores(regions.size(), 0);
    for (size_t k = 0; k < regions.size(); k++) {
        const int region = regions[k];
        if (region < 0 || region >= kRegionSlots || s.placed[size_t(region)] == 0) continue;
        double lat, lon;
        GridToGeo(s.sumX[size_t(region)] / s.placed[size_t(region)], s.sumY[size_t(region)] / s.placed[size_t(region)],
                  &lat, &lon);
        // A box a little wider than the reach, in degrees, passes the candidates.
        const double dLat = reachKm / kmPerDegree * 1.01;
        const double dLon = dLat / std::max(0.05, std::cos((std::fabs(lat) + dLat) * 3.14159265358979323846 / 180));
        double sum = 0;
        for (const Epicentres& p : points) {
            if (std::fabs(p.lat - lat) > dLat || std::fabs(p.lon - lon) > dLon) continue;
            const double d = GreatCircleKm(lat, lon, p.lat, p.lon) / bandwidthKm;
            if (d <= 6) sum += p.count * std::exp(-0.5 * d * d);
        }
        scores[k] = sum;
    }
    return scores;
}
