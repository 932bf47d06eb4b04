// The projections of an epicentre: latitude/longitude to the map grid (mapX,
// mapY) and back, the grid to the map image's pixels (the data kit's double
// precision and the view's single precision), and distances between epicentres.
//
// Equirectangular with the longitude scale corrected for 35°N, so that
// distances near the centre of Japan keep their proportions: one degree of
// latitude is kPixelsPerDegreeLat pixels of the 512 x 512 map image, one
// degree of longitude cos(35°) times that. The image's top-left pixel corner
// is (kMapWestLon, kMapNorthLat); grid (gx, gy) lies at pixel
// ((gx - 178) * 1.52, gy * 1.52). x depends on the longitude only and y on
// the latitude only.
#pragma once

enum {
    kGridLeft = 178,      // mapX of the map image's left edge
    kMapPixels = 512,     // the map image is kMapPixels square
};

extern const double kGridPixel;            // pixels per grid unit (1.52)
extern const double kMapNorthLat;          // latitude of the image's top edge
extern const double kMapSouthLat;          // latitude of the image's bottom edge
extern const double kMapWestLon;           // longitude of the image's left edge
extern const double kMapEastLon;           // longitude of the image's right edge
extern const double kPixelsPerDegreeLat;
extern const double kPixelsPerDegreeLon;

// Latitude/longitude (degrees, north and east positive) to the grid, unrounded.
void GeoToGrid(double lat, double lon, double* mapX, double* mapY);
// The inverse of GeoToGrid.
void GridToGeo(double mapX, double mapY, double* lat, double* lon);
// Map image pixel of a grid position and back (pixel corners: the pixel
// with index i covers [i, i + 1)), in double precision: the data kit's
// projection, with which the map image and the stored positions were made.
void GridToPixel(double mapX, double mapY, double* px, double* py);
void PixelToGrid(double px, double py, double* mapX, double* mapY);
// Map image pixel of a latitude/longitude and back, through the grid.
void GeoToPixel(double lat, double lon, double* px, double* py);
void PixelToGeo(double px, double py, double* lat, double* lon);

enum {
    kRecordGridMin = 1,     // 0 means "position unknown" in a record
    kRecordGridMax = 999,   // the packed position holds three digits for mapY
};
// The grid position a record stores: GeoToGrid rounded to the nearest
// integer and clamped to kRecordGridMin..kRecordGridMax. Returns 0 when no
// clamping was needed, 1 when the position lay outside the storable range.
int GeoToRecordGrid(double lat, double lon, int* mapX, int* mapY);

// The great-circle distance in km between two points (degrees) on a sphere
// of the Earth's mean radius (6371.0 km).
double GreatCircleKm(double lat1, double lon1, double lat2, double lon2);

// A point as a unit vector, for the distances from one point to many: the
// chord between two points needs no trigonometry, and the great-circle
// distance follows from it.
struct UnitVector {
    double x, y, z;   // z = sin(latitude)
};
UnitVector UnitVectorOf(double lat, double lon);
double ChordSquared(const UnitVector& a, const UnitVector& b);
double GreatCircleKmOfChordSquared(double chordSquared);
// The squared chord of a great-circle distance.
double ChordSquaredOfKm(double km);

// The program's projection of a record's grid position to a pixel of the map
// view, with the scale in single precision (1.52f = 1.5199999809...) and the
// product formed in double precision: untruncated as a float, or truncated
// toward zero. Truncating gives 37 for 25 grid units where a float product
// would round up to 38.
constexpr float kGridToPixel = 1.52f;
float GridToPixelX(int gridX);
float GridToPixelY(int gridY);
int GridToPixelXi(int gridX);
int GridToPixelYi(int gridY);
