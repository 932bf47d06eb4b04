// plot-quakes: draws the epicentres of a Data folder over the map image,
// roughly as the program shows them (colour by depth, size by magnitude,
// additive blending), to check by eye that they line up with the coasts.
// usage: plot-quakes --data DIR --map MAP.bmp --out OUT.bmp [--min-mag M]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/model/geo.h"
#include "kit/bmp.h"
#include "engine/catalogue/data_files.h"

static uint32_t DepthColour(int depthKm) {
    if (depthKm < 30) return 0xFF4020;
    if (depthKm < 80) return 0xFFC020;
    if (depthKm < 150) return 0x40FF40;
    if (depthKm < 300) return 0x40C0FF;
    return 0xA060FF;
}

static void AddPixel(RgbImage* image, int x, int y, uint32_t colour, double weight) {
    if (x < 0 || y < 0 || x >= image->width || y >= image->height) return;
    uint32_t old = GetPixel(*image, x, y), sum = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        double c = ((old >> shift) & 0xFF) + ((colour >> shift) & 0xFF) * weight;
        sum |= uint32_t(c > 255 ? 255 : c) << shift;
    }
    SetPixel(image, x, y, sum);
}

int main(int argc, char** argv) {
    std::string dir, mapPath, outPath;
    double minMag = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--data") dir = argv[i + 1];
        else if (arg == "--map") mapPath = argv[i + 1];
        else if (arg == "--out") outPath = argv[i + 1];
        else if (arg == "--min-mag") minMag = std::atof(argv[i + 1]);
    }
    std::string bytes;
    RgbImage image;
    if (dir.empty() || outPath.empty() || ReadWholeFile(mapPath, &bytes) != 0 || DecodeBmp(bytes, &image) != 0) {
        std::fprintf(stderr, "usage: plot-quakes --data DIR --map MAP.bmp --out OUT.bmp [--min-mag M]\n");
        return 2;
    }
    int drawn = 0;
    for (int year = kFirstYear; year <= 2200; year++) {
        std::vector<QuakeRecord> records;
        if (ReadYearFile(dir, year, &records) != 0) continue;
        for (const QuakeRecord& r : records) {
            if (r.mapX == 0 || r.mapY == 0 || r.magnitude10 < minMag * 10) continue;
            double px, py;
            GridToPixel(r.mapX, r.mapY, &px, &py);
            double radius = 0.6 + std::max(0, r.magnitude10 - 30) / 12.0;
            uint32_t colour = DepthColour(r.depthKm);
            int reach = int(std::ceil(radius)) + 1;
            for (int dy = -reach; dy <= reach; dy++)
                for (int dx = -reach; dx <= reach; dx++) {
                    double d = std::hypot(dx + 0.5 - (px - std::floor(px)), dy + 0.5 - (py - std::floor(py)));
                    if (d <= radius) AddPixel(&image, int(px) + dx, int(py) + dy, colour, 0.25);
                }
            drawn++;
        }
    }
    if (WriteWholeFile(outPath, EncodeBmp(image)) != 0) return 1;
    std::printf("plot-quakes: %d epicentres drawn into %s\n", drawn, outPath.c_str());
    return 0;
}
