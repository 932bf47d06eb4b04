// The region table: the national list it is made of and the indices that
// stored files rely on. (Every shipped name fitting s_tbl.dat is
// ShippedRegionTable's result, which RegionNames' tests take.)
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "engine/catalogue/region_list.h"
#include "historical.h"
#include "kit/region_table.h"
#include "kit_test_util.h"

TEST(RegionList, HoldsTheRecordsFiguresForEveryNameAndShipsAllButThree) {
    // Names and codes are unique; two names appended before the table followed
    // the national list took codes already in use and keep them (s_tbl.dat
    // files made since carry them).
    std::map<std::string, int> index;
    std::set<int> codes;
    for (int i = 0; i < NationalRegionCount(); i++) {
        const RegionFacts& f = NationalRegions()[i];
        EXPECT_TRUE(index.emplace(f.name, i).second) << f.name << " twice";
        EXPECT_TRUE(f.code != 0 && (codes.insert(f.code).second || f.code == 168 || f.code == 860)) << f.code;
    }
    const std::set<std::string> notShipped = {"インドネシア付近", "北西太平洋", "千島列島南東沖"};
    std::ifstream tsv(std::string(WOLT_SOURCE_DIR) + "/data/epicentre-regions.tsv");
    std::string line;
    int rows = 0;
    while (std::getline(tsv, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("name\t", 0) == 0) continue;
        std::istringstream in(line);
        std::string name;
        double lat, lon, mag;
        int events, depth, first, last;
        ASSERT_TRUE(std::getline(in, name, '\t') && in >> events >> lat >> lon >> depth >> mag >> first >> last) << line;
        rows++;
        ASSERT_EQ(index.count(name), 1u) << name;
        const int i = index[name];
        const RegionFacts& f = NationalRegions()[i];
        EXPECT_TRUE(f.events == events && std::fabs(f.lat - lat) < 0.005 && std::fabs(f.lon - lon) < 0.005 &&
                    f.depthKm == depth && f.maxMag10 == std::lround(mag * 10) && f.firstYear == first &&
                    f.lastYear == last)
            << name;
        EXPECT_EQ(i >= kShippedRegionCount, notShipped.count(name) == 1) << name << " at " << i;
    }
    EXPECT_EQ(rows, NationalRegionCount());
    EXPECT_EQ(KitRegionCount(), kShippedRegionCount);
    for (int i = 0; i < HistoricalQuakeCount(); i++)
        EXPECT_GE(FindKitRegion(HistoricalQuakes()[i].region), 0) << HistoricalQuakes()[i].region;
}

// Yearly files store the index: a kept name must never move.
TEST(RegionTable, KeptNamesKeepTheirIndices) {
    const struct {
        int index;
        const char* name;
    } kept[] = {   // the first and last kept name of each area of the 281-name table
        {0, "石狩地方北部"},     {56, "オホーツク海南部"}, {57, "青森県津軽北部"},   {88, "福島県沖"},
        {89, "茨城県北部"},      {124, "東海道南方沖"},    {125, "新潟県上越地方"},  {162, "三重県南東沖"},
        {163, "滋賀県北部"},     {179, "和歌山県南方沖"},  {180, "鳥取県東部"},      {198, "瀬戸内海中部"},
        {199, "徳島県北部"},     {211, "豊後水道"},        {212, "福岡県福岡地方"},  {252, "九州地方南東沖"},
        {256, "沖縄本島近海"},   {266, "台湾付近"},        {268, "日本海中部"},      {275, "東シナ海"},
        {276, "サハリン西方沖"}, {280, "薩南諸島東方沖"},
    };
    for (const auto& k : kept) EXPECT_STREQ(KitRegions()[k.index].name, k.name) << k.index;
}
