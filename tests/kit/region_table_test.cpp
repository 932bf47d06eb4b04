// The region table: unique codes and names within the loader's limit, and
// the s_tbl.dat built from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <regex>
#include <set>

#include "kit/region_table.h"
#include "kit_test_util.h"
#include "mapview/geometry.h"
#include "platform/platform.h"

TEST(RegionTable, HasUniqueCodesAndNamesWithinTheLoaderLimit) {
    int n = KitRegionCount();
    EXPECT_GE(n, 100);
    EXPECT_LE(n, kMaxRegionIndex + 1);
    std::set<int> codes;
    std::set<std::string> names;
    for (int i = 0; i < n; i++) {
        const KitRegion& r = KitRegions()[i];
        EXPECT_NE(r.code, 0) << r.name;
        EXPECT_TRUE(codes.insert(r.code).second) << "duplicate code " << r.code;
        EXPECT_TRUE(names.insert(FoldRegionName(r.name)).second) << "duplicate name " << r.name;
        EXPECT_EQ(FindKitRegion(r.name), i) << r.name;
        EXPECT_LE(r.depthMinKm, r.depthMaxKm) << r.name;
        EXPECT_LE(r.depthMaxKm, 700) << r.name;
        EXPECT_GE(r.acrossKm, 5) << r.name;
        EXPECT_GE(r.alongKm, r.acrossKm) << r.name;
        EXPECT_GT(r.activity, 0) << r.name;
        double gx, gy, px, py;
        GeoToGrid(r.lat, r.lon, &gx, &gy);
        GridToPixel(gx, gy, &px, &py);
        EXPECT_TRUE(px >= 0 && px < kMapPixels && py >= 0 && py < kMapPixels) << r.name << " off the map";
    }
}
