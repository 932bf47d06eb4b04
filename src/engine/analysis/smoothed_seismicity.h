// Smoothed seismicity: a region's score is the sum, over the epicentres of
// earlier M4+ earthquakes, of a Gaussian kernel of the great-circle distance
// from the epicentre to the region's centre (the mean position of the
// region's earlier epicentres). The rival that seismic-gap rankings are
// usually measured against.
#pragma once

#include <vector>

struct QuakeRecord;

enum { kSmoothedMinMag10 = 40 };

// Earthquakes added so far: M4+ epicentres by grid position, and each
// region's sum of positions. Records without a position are left out.
struct SmoothedSeismicity {
    std::vector<int> countAt;            // M4+ earthquakes per grid position (mapX * 1000 + mapY)
    std::vector<int> positions;          // the positions with a count, in the order first seen
    std::vector<double> sumX, sumY;      // per region (kRegionSlots)
    std::vector<int> placed;             // per region: records with a position
};

void ClearSmoothed(SmoothedSeismicity* s);
void AddToSmoothed(SmoothedSeismicity* s, const QuakeRecord& r);
// The score of each region of `regions` (a region without a placed record
// scores 0). Epicentres farther than six bandwidths add nothing
// (exp(-18) = 1.5e-8 of a kernel at the centre).
std::vector<double> SmoothedScores(const SmoothedSeismicity& s, const std::vector<int>& regions, double bandwidthKm);
