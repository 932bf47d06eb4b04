#include "engine/catalogue/geo.h"

#include <algorithm>
#include <cmath>

static const double kPi = 3.14159265358979323846;

// The map spans 24.5 degrees of latitude from 47.0N down to 22.5N; the
// longitude span follows from the cos(35°) correction and is centred on
// 135.9E, which puts Yonaguni (122.9E) and the southern Kurils (148.9E)
// about 1.9 degrees inside the left and right edges.
const double kGridPixel = 1.52;
const double kMapNorthLat = 47.0;
const double kMapSouthLat = 22.5;
const double kPixelsPerDegreeLat = kMapPixels / (kMapNorthLat - kMapSouthLat);
static const double kStandardParallel = 35.0;
static const double kCentreLon = 135.9;
const double kPixelsPerDegreeLon = kPixelsPerDegreeLat * std::cos(kStandardParallel * kPi / 180.0);
const double kMapWestLon = kCentreLon - kMapPixels / 2.0 / kPixelsPerDegreeLon;
const double kMapEastLon = kCentreLon + kMapPixels / 2.0 / kPixelsPerDegreeLon;

void GridToPixel(double mapX, double mapY, double* px, double* py) {
    *px = (mapX - kGridLeft) * kGridPixel;
    *py = mapY * kGridPixel;
}

void PixelToGrid(double px, double py, double* mapX, double* mapY) {
    *mapX = px / kGridPixel + kGridLeft;
    *mapY = py / kGridPixel;
}

void GeoToGrid(double lat, double lon, double* mapX, double* mapY) {
    PixelToGrid((lon - kMapWestLon) * kPixelsPerDegreeLon, (kMapNorthLat - lat) * kPixelsPerDegreeLat,
                mapX, mapY);
}

void GridToGeo(double mapX, double mapY, double* lat, double* lon) {
    double px, py;
    GridToPixel(mapX, mapY, &px, &py);
    *lon = kMapWestLon + px / kPixelsPerDegreeLon;
    *lat = kMapNorthLat - py / kPixelsPerDegreeLat;
}

static int ClampGrid(double v, int* out) {
    double r = std::floor(v + 0.5);
    if (!(r >= kRecordGridMin)) {   // also catches NaN
        *out = kRecordGridMin;
        return 1;
    }
    if (r > kRecordGridMax) {
        *out = kRecordGridMax;
        return 1;
    }
    *out = int(r);
    return 0;
}

int GeoToRecordGrid(double lat, double lon, int* mapX, int* mapY) {
    double gx, gy;
    GeoToGrid(lat, lon, &gx, &gy);
    int outside = ClampGrid(gx, mapX);
    outside |= ClampGrid(gy, mapY);
    return outside;
}

// The haversine form, exact on the sphere and well conditioned for short distances.
double GreatCircleKm(double lat1, double lon1, double lat2, double lon2) {
    const double toRadians = kPi / 180.0;
    const double sinLat = std::sin((lat2 - lat1) * toRadians / 2), sinLon = std::sin((lon2 - lon1) * toRadians / 2);
    const double h = sinLat * sinLat + std::cos(lat1 * toRadians) * std::cos(lat2 * toRadians) * sinLon * sinLon;
    return 2 * 6371.0 * std::asin(std::sqrt(std::min(1.0, h)));
}
