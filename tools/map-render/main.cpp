// map-render: draws MAP01_512.bmp in the map projection from GSHHG data
// that GMT prepared (scripts/datakit/make-map.sh runs the whole chain):
//   --mask FILE   land mask, N x N bytes (1 land, 0 water), top row first,
//                 pixel-registered over exactly the map's longitude and
//                 latitude range (gmt grdlandmask ... | gmt grd2xyz -ZTLc)
//   --coast FILE  shorelines as text polygons (gmt coast -Dh -W -M)
//   --out FILE    the 512 x 512 24-bit BMP
// or, with --print-region alone, prints the map's extent as GMT's
// -R west/east/south/north.
// Dark sea, dark-grey land, a lighter coastline and a faint graticule every
// five degrees: the markers are blended additively over it.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/model/geo.h"
#include "kit/bmp.h"
#include "engine/catalogue/data_files.h"

static const uint32_t kSea = 0x0A1424;
static const uint32_t kLand = 0x2E3032;
static const uint32_t kCoast = 0x8A9299;
static const uint32_t kGraticule = 0x1E3048;

// Anti-aliased line coverage, one value per pixel.
struct Coverage {
    std::vector<float> v;
    Coverage() : v(size_t(kMapPixels) * kMapPixels, 0) {}
    void Splat(double x, double y) {   // x, y in pixel units, centres at i + 0.5
        double fx = x - 0.5, fy = y - 0.5;
        int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
        for (int dy = 0; dy <= 1; dy++)
            for (int dx = 0; dx <= 1; dx++) {
                int px = x0 + dx, py = y0 + dy;
                if (px < 0 || py < 0 || px >= kMapPixels || py >= kMapPixels) continue;
                double w = (1 - std::fabs(fx - px)) * (1 - std::fabs(fy - py));
                float& c = v[size_t(py) * kMapPixels + px];
                if (w > c) c = float(w);
            }
    }
    void Line(double x0, double y0, double x1, double y1) {
        double length = std::hypot(x1 - x0, y1 - y0);
        if (length > 2 * kMapPixels) return;   // a segment jumping across the map
        int steps = int(length * 4) + 1;
        for (int k = 0; k <= steps; k++) Splat(x0 + (x1 - x0) * k / steps, y0 + (y1 - y0) * k / steps);
    }
};

static void Paint(RgbImage* image, const Coverage& c, uint32_t colour, double strength) {
    for (int y = 0; y < kMapPixels; y++)
        for (int x = 0; x < kMapPixels; x++) BlendPixel(image, x, y, colour, c.v[size_t(y) * kMapPixels + x] * strength);
}

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--print-region") {
        std::printf("%.10f/%.10f/%.10f/%.10f\n", kMapWestLon, kMapEastLon, kMapSouthLat, kMapNorthLat);
        return 0;
    }
    std::string maskPath, coastPath, outPath;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--mask") maskPath = argv[i + 1];
        else if (arg == "--coast") coastPath = argv[i + 1];
        else if (arg == "--out") outPath = argv[i + 1];
    }
    if (maskPath.empty() || coastPath.empty() || outPath.empty() || argc % 2 == 0) {
        std::fprintf(stderr, "usage: map-render --mask FILE --coast FILE --out MAP.bmp\n");
        return 2;
    }
    std::string mask, coast;
    if (ReadWholeFile(maskPath, &mask) != 0 || ReadWholeFile(coastPath, &coast) != 0) {
        std::fprintf(stderr, "map-render: cannot read the mask or the coastlines\n");
        return 1;
    }
    int n = int(std::lround(std::sqrt(double(mask.size()))));
    if (n < kMapPixels || size_t(n) * n != mask.size() || n % kMapPixels != 0) {
        std::fprintf(stderr, "map-render: the mask must be N x N bytes with N a multiple of %d\n", kMapPixels);
        return 1;
    }
    int factor = n / kMapPixels;

    RgbImage image;
    InitImage(&image, kMapPixels, kMapPixels, kSea);
    for (int y = 0; y < kMapPixels; y++)
        for (int x = 0; x < kMapPixels; x++) {
            int land = 0;
            for (int sy = 0; sy < factor; sy++)
                for (int sx = 0; sx < factor; sx++)
                    land += mask[size_t(y * factor + sy) * n + size_t(x * factor + sx)] != 0;
            BlendPixel(&image, x, y, kLand, double(land) / (factor * factor));
        }

    Coverage graticule;
    for (int lon = 120; lon <= 155; lon += 5) {
        double x0, y0, x1, y1;
        GeoToPixel(kMapNorthLat, lon, &x0, &y0);
        GeoToPixel(kMapSouthLat, lon, &x1, &y1);
        graticule.Line(x0, y0, x1, y1);
    }
    for (int lat = 25; lat <= 45; lat += 5) {
        double x0, y0, x1, y1;
        GeoToPixel(lat, kMapWestLon, &x0, &y0);
        GeoToPixel(lat, kMapEastLon, &x1, &y1);
        graticule.Line(x0, y0, x1, y1);
    }
    Paint(&image, graticule, kGraticule, 0.8);

    Coverage shore;
    bool have = false;
    double lastX = 0, lastY = 0;
    size_t segments = 0;
    for (size_t at = 0; at < coast.size();) {
        size_t end = coast.find('\n', at);
        if (end == std::string::npos) end = coast.size();
        std::string line = coast.substr(at, end - at);
        at = end + 1;
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '>') {
            have = false;
            segments++;
            continue;
        }
        double lon, lat;
        if (std::sscanf(line.c_str(), "%lf %lf", &lon, &lat) != 2) continue;
        double x, y;
        GeoToPixel(lat, lon, &x, &y);
        if (have) shore.Line(lastX, lastY, x, y);
        lastX = x;
        lastY = y;
        have = true;
    }
    Paint(&image, shore, kCoast, 0.9);
    if (WriteWholeFile(outPath, EncodeBmp(image)) != 0) {
        std::fprintf(stderr, "map-render: cannot write %s\n", outPath.c_str());
        return 1;
    }
    std::printf("map-render: %s (%d x %d, mask %d x %d, %zu shoreline segments)\n", outPath.c_str(), kMapPixels,
                kMapPixels, n, n, segments);
    return 0;
}
