// The projection: round trips, where Japan lies on the map, proportions.
#include <gtest/gtest.h>

#include <cmath>

#include "kit/rng.h"
#include "mapview/geometry.h"

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

TEST(Geometry, IntegerGridPositionsSurviveALatLonRoundTrip) {
    // The importer reads back what the exporter wrote with four decimals.
    for (int gx = 178; gx <= 515; gx++)
        for (int gy = 1; gy <= 337; gy += 7) {
            double lat, lon;
            GridToGeo(gx, gy, &lat, &lon);
            lat = std::round(lat * 1e4) / 1e4;
            lon = std::round(lon * 1e4) / 1e4;
            int x, y;
            ASSERT_EQ(GeoToRecordGrid(lat, lon, &x, &y), 0);
            ASSERT_EQ(x, gx);
            ASSERT_EQ(y, gy);
        }
}

TEST(Geometry, GridAndPixelFollowTheMapConvention) {
    double px, py;
    GridToPixel(178, 0, &px, &py);
    EXPECT_DOUBLE_EQ(px, 0);
    EXPECT_DOUBLE_EQ(py, 0);
    GridToPixel(278, 100, &px, &py);
    EXPECT_NEAR(px, 152, 1e-9);
    EXPECT_NEAR(py, 152, 1e-9);
    double lat, lon;
    GridToGeo(178, 0, &lat, &lon);   // the image's top-left corner
    EXPECT_NEAR(lat, kMapNorthLat, 1e-12);
    EXPECT_NEAR(lon, kMapWestLon, 1e-12);
    PixelToGrid(512, 512, &px, &py);
    GridToGeo(px, py, &lat, &lon);
    EXPECT_NEAR(lat, kMapSouthLat, 1e-9);
    EXPECT_NEAR(lon, kMapEastLon, 1e-9);
}

TEST(Geometry, JapanLiesOnTheMapWithAMargin) {
    struct Place {
        const char* name;
        double lat, lon;
    } places[] = {
        {"Yonaguni", 24.45, 122.95},  {"southern Kurils", 45.6, 148.9}, {"Cape Soya", 45.52, 141.94},
        {"Hateruma", 24.05, 123.78},  {"Tokyo", 35.68, 139.77},          {"Chichijima", 27.07, 142.2},
        {"Cape Nosappu", 43.38, 145.82}, {"Tsushima", 34.4, 129.3},
    };
    for (const Place& p : places) {
        double gx, gy, px, py;
        GeoToGrid(p.lat, p.lon, &gx, &gy);
        GridToPixel(gx, gy, &px, &py);
        EXPECT_GT(px, 20) << p.name;
        EXPECT_LT(px, 492) << p.name;
        EXPECT_GT(py, 20) << p.name;
        EXPECT_LT(py, 492) << p.name;
    }
}

TEST(Geometry, IsNotStretchedAtTheCentreOfJapan) {
    // One pixel covers the same ground east-west as north-south at 35N.
    double gx0, gy0, gx1, gy1, gx2, gy2;
    GeoToGrid(35, 136, &gx0, &gy0);
    GeoToGrid(35, 137, &gx1, &gy1);    // one degree east
    GeoToGrid(36, 136, &gx2, &gy2);    // one degree north
    double kmPerGridX = 111.32 * std::cos(35 * M_PI / 180) / (gx1 - gx0);
    double kmPerGridY = 110.95 / (gy0 - gy2);
    EXPECT_NEAR(kmPerGridX / kmPerGridY, 1.0, 0.01);
    EXPECT_GT(gx1, gx0);   // east is right
    EXPECT_GT(gy0, gy2);   // north is up
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
