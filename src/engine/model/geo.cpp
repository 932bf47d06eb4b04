#include "engine/model/geo.h"

#include <algorithm>
#include <cmath>

static const double kPi = 3.14159265358979323846;
static const double kEarthRadiusKm = 6371.0;

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

void GeoToPixel(double lat, double lon, double* px, double* py) {
    double gx, gy;
    GeoToGrid(lat, lon, &gx, &gy);
    GridToPixel(gx, gy, px, py);
}

void PixelToGeo(double px, double py, double* lat, double* lon) {
    double gx, gy;
    PixelToGrid(px, py, &gx, &gy);
    GridToGeo(gx, gy, lat, lon);
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

UnitVector UnitVectorOf(double lat, double lon) {
    const double phi = lat * kPi / 180, lambda = lon * kPi / 180;
    return UnitVector{std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
}

double ChordSquared(const UnitVector& a, const UnitVector& b) {
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return dx * dx + dy * dy + dz * dz;
}

double GreatCircleKmOfChordSquared(double chordSquared) {
    return 2 * kEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(chordSquared) / 2));
}

double ChordSquaredOfKm(double km) {
    const double half = std::sin(std::min(km / kEarthRadiusKm, kPi) / 2);
    return 4 * half * half;
}

double GreatCircleKm(double lat1, double lon1, double lat2, double lon2) {
    return GreatCircleKmOfChordSquared(ChordSquared(UnitVectorOf(lat1, lon1), UnitVectorOf(lat2, lon2)));
}

static double ViewPixelX(int gridX) { return (gridX - kGridLeft) * static_cast<double>(kGridToPixel); }
static double ViewPixelY(int gridY) { return gridY * static_cast<double>(kGridToPixel); }

float GridToPixelX(int gridX) { return static_cast<float>(ViewPixelX(gridX)); }
float GridToPixelY(int gridY) { return static_cast<float>(ViewPixelY(gridY)); }
int GridToPixelXi(int gridX) { return static_cast<int>(ViewPixelX(gridX)); }
int GridToPixelYi(int gridY) { return static_cast<int>(ViewPixelY(gridY)); }
