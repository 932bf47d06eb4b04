#include "engine/picture/section_overlay.h"

#include <cmath>
#include <cstdint>

#include "engine/controls/section_controls.h"
#include "engine/model/geo.h"

static const double kPi = 3.14159265358979323846;
static const double kKmPerDegree = 6371.0 * kPi / 180;

static void SetVertex(ColoredScreenVertex* v, double x, double y, uint32_t color) {
    *v = ColoredScreenVertex{float(x), float(y), 1.0f, 1.0f, color};
}

void BuildSectionOverlay(ColoredScreenVertex out[kSectionOverlayVertices]) {
    InitTransparentVertices(out, kSectionOverlayVertices);
    double x1, y1, x2, y2, widthKm;
    if (!SectionOverlayLine(&x1, &y1, &x2, &y2, &widthKm)) return;
    SetVertex(&out[0], x1, y1, 0xFFFFFFFFu);
    SetVertex(&out[1], x2, y2, 0xFFFFFFFFu);
    // The strip's outline from the kilometres of a pixel at the line's middle
    // (an outline to see where the strip lies; the section measures on the sphere).
    double lat, lon;
    PixelToGeo((x1 + x2) / 2, (y1 + y2) / 2, &lat, &lon);
    const double kmX = kKmPerDegree * std::cos(lat * kPi / 180) / kPixelsPerDegreeLon;
    const double kmY = kKmPerDegree / kPixelsPerDegreeLat;
    const double dx = (x2 - x1) * kmX, dy = (y2 - y1) * kmY, length = std::hypot(dx, dy);
    if (length <= 0) return;
    const double ox = -dy / length * widthKm / kmX, oy = dx / length * widthKm / kmY;
    const double corners[5][2] = {{x1 + ox, y1 + oy}, {x2 + ox, y2 + oy}, {x2 - ox, y2 - oy}, {x1 - ox, y1 - oy},
                                  {x1 + ox, y1 + oy}};
    for (int k = 0; k < 4; k++) {
        SetVertex(&out[2 + 2 * k], corners[k][0], corners[k][1], 0xA0FFFF80u);
        SetVertex(&out[3 + 2 * k], corners[k + 1][0], corners[k + 1][1], 0xA0FFFF80u);
    }
}
