#include "kit/region_table.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <numeric>

#include "engine/model/geo.h"
#include "engine/catalogue/region_list.h"
#include "engine/catalogue/region_names.h"
#include "platform/platform.h"

namespace {

const double kRecordYears = 55;        // the record's figures cover 1970-2024
// A region's disc: this share of the mean distance to its nearest
// neighbours' centres, within sensible bounds.
const int kNeighbours = 3;
const double kExtentShare = 0.5;
const double kMinRadiusKm = 8, kMaxRadiusKm = 100;
// Depth range: the median depth +- (kDepthSpreadKm + kDepthSpreadShare x median).
const double kDepthSpreadKm = 10, kDepthSpreadShare = 0.25;
const int kMaxDepthKm = 700;
// Land regions carry the name of a prefecture or of a Hokkaido district;
// sea areas, islands' surroundings and places beyond Japan do not, or carry
// a word for the sea (石川県西方沖, 鹿児島湾, 国後島付近, 日本海中部).
const char* const kAreaWords[] = {"県", "都", "府", "地方"};
const char* const kSeaWords[] = {"沖", "湾", "灘", "海", "水道", "付近"};

bool Contains(const char* text, const char* const* words, size_t count) {
    for (size_t i = 0; i < count; i++)
        if (std::strstr(text, words[i])) return true;
    return false;
}

bool IsLandName(const char* name) {
    return Contains(name, kAreaWords, std::size(kAreaWords)) && !Contains(name, kSeaWords, std::size(kSeaWords));
}

double RadiusKm(const RegionFacts* facts, int count, int index) {
    std::vector<double> distances;
    const RegionFacts& f = facts[index];
    for (int j = 0; j < count; j++)
        if (j != index) distances.push_back(GreatCircleKm(f.lat, f.lon, facts[j].lat, facts[j].lon));
    std::partial_sort(distances.begin(), distances.begin() + kNeighbours, distances.end());
    double mean = std::accumulate(distances.begin(), distances.begin() + kNeighbours, 0.0) / kNeighbours;
    return std::min(std::max(kExtentShare * mean, kMinRadiusKm), kMaxRadiusKm);
}

std::vector<KitRegion> DeriveRegions() {
    const RegionFacts* facts = NationalRegions();
    std::vector<KitRegion> regions;
    for (int i = 0; i < kShippedRegionCount; i++) {
        const RegionFacts& f = facts[i];
        int spread = int(kDepthSpreadKm + kDepthSpreadShare * f.depthKm + 0.5);
        regions.push_back(KitRegion{f.code, f.name, f.lat, f.lon, RadiusKm(facts, kShippedRegionCount, i),
                                    std::max(f.depthKm - spread, 0), std::min(f.depthKm + spread, kMaxDepthKm),
                                    f.events / kRecordYears, IsLandName(f.name)});
    }
    return regions;
}

const std::vector<KitRegion>& Regions() {
    static const std::vector<KitRegion> regions = DeriveRegions();
    return regions;
}

}  // namespace

const KitRegion* KitRegions() { return Regions().data(); }
int KitRegionCount() { return int(Regions().size()); }

int FindKitRegion(const std::string& utf8Name) {
    std::string key = FoldRegionName(utf8Name);
    for (int i = 0; i < KitRegionCount(); i++)
        if (FoldRegionName(KitRegions()[i].name) == key) return i;
    return -1;
}


