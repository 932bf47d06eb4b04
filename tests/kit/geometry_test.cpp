// The projection: round trips, where Japan lies on the map, proportions.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/model/geo.h"
#include "kit/rng.h"

TEST(Geometry, RoundTripsOverTheWholeMap) {
    KitRng rng;
    SeedRng(&rng, 7);
    for (int i = 0; i < 10000; i++) {
        double lat = 20 + 30 * Uniform(&rng), lon = 118 + 36 * Uniform(&rng);
        double gx, gy, lat2, lon2;
        GeoToGrid(lat, lon, &gx, &gy);
        GridToGeo(gx, gy, &lat2, &lon2);
        ASSERT_NEAR(lat, lat2, 1e-9);
        ASSERT_NEAR(lon, lon2, 1e-9);
        double px, py, gx2, gy2;
        GridToPixel(gx, gy, &px, &py);
        PixelToGrid(px, py, &gx2, &gy2);
        ASSERT_NEAR(gx, gx2, 1e-9);
        ASSERT_NEAR(gy, gy2, 1e-9);
    }
}

TEST(Geometry, RecordPositionsAreRoundedAndClamped) {
    struct Case {
        double lat, lon;
        int outside;
    } cases[] = {
        {35, 136, 0}, {10, 136, 0}, {kMapNorthLat + 0.5, 136, 1}, {-30, 136, 1}, {35, 60, 1}, {35, 200, 1},
        {NAN, 136, 1},
    };
    for (const Case& c : cases) {
        int x = -5, y = -5;
        EXPECT_EQ(GeoToRecordGrid(c.lat, c.lon, &x, &y), c.outside) << c.lat << " " << c.lon;
        EXPECT_GE(x, kRecordGridMin);
        EXPECT_LE(x, kRecordGridMax);
        EXPECT_GE(y, kRecordGridMin);
        EXPECT_LE(y, kRecordGridMax);
    }
    double gx, gy;
    GeoToGrid(35.3, 136.7, &gx, &gy);
    int x, y;
    GeoToRecordGrid(35.3, 136.7, &x, &y);
    EXPECT_EQ(x, int(std::floor(gx + 0.5)));
    EXPECT_EQ(y, int(std::floor(gy + 0.5)));
}
