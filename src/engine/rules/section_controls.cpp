#include "engine/rules/section_controls.h"

#include <cmath>

#include "engine/catalogue/geo.h"
#include "engine/catalogue/model.h"
#include "engine/rules/window_rules.h"

const double kDefaultStripKm = 50;

static int sPick = SECTION_PICK_OFF;
static int sFromX, sFromY, sToX, sToY;   // the line being drawn, map pixels
static int sShown;                       // 1 while sSection is the window's
static Section sSection;
static double sWidthKm = kDefaultStripKm;
static int sGeneration;

static const double kPi = 3.14159265358979323846;
static const double kKmPerDegree = 6371.0 * kPi / 180;

int SectionPickState() { return sPick; }

void BeginSectionPick() { sPick = SECTION_PICK_WAITING; }

void CancelSectionPick() { sPick = SECTION_PICK_OFF; }

static int OnMapPicture(int x, int y) { return x >= 0 && y >= 0 && x < kMapPixels && y < kMapPixels; }

int SectionPress(int x, int y) {
    if (sPick != SECTION_PICK_WAITING || !OnMapPicture(x, y)) return 0;
    sPick = SECTION_PICK_DRAGGING;
    sFromX = sToX = x;
    sFromY = sToY = y;
    return 1;
}

void SectionDrag(int x, int y) {
    if (sPick != SECTION_PICK_DRAGGING) return;
    sToX = x < 0 ? 0 : x >= kMapPixels ? kMapPixels - 1 : x;
    sToY = y < 0 ? 0 : y >= kMapPixels ? kMapPixels - 1 : y;
}

static void PixelToGeo(double x, double y, double* lat, double* lon) {
    double gx, gy;
    PixelToGrid(x, y, &gx, &gy);
    GridToGeo(gx, gy, lat, lon);
}

static void GeoToPixel(double lat, double lon, double* x, double* y) {
    double gx, gy;
    GeoToGrid(lat, lon, &gx, &gy);
    GridToPixel(gx, gy, x, y);
}

static int MakeSection(const SectionLine& line) {
    Section section;
    const int result = BuildSection(gpEQ, gpEQ ? DataEnd() : 0, line, &section);
    if (result != SECTION_OK) return result;
    sSection = std::move(section);
    sShown = 1;
    sGeneration++;
    return SECTION_OK;
}

int SectionRelease(int x, int y) {
    if (sPick != SECTION_PICK_DRAGGING) return SECTION_RELEASE_NONE;
    SectionDrag(x, y);
    SectionLine line{0, 0, 0, 0, sWidthKm};
    // The centre of each pixel.
    PixelToGeo(sFromX + 0.5, sFromY + 0.5, &line.lat1, &line.lon1);
    PixelToGeo(sToX + 0.5, sToY + 0.5, &line.lat2, &line.lon2);
    if (MakeSection(line) != SECTION_OK) {
        sPick = SECTION_PICK_WAITING;
        return SECTION_RELEASE_SHORT;
    }
    sPick = SECTION_PICK_OFF;
    return SECTION_RELEASE_SHOWN;
}

const Section* CurrentSection() { return sShown ? &sSection : nullptr; }

void CloseSection() {
    sShown = 0;
    sSection = Section();
    sGeneration++;
}

void ChangeStripWidth(int steps) {
    sWidthKm = StepStripWidth(sWidthKm, steps);
    if (!sShown) return;
    SectionLine line = sSection.line;
    line.widthKm = sWidthKm;
    MakeSection(line);
}

void SectionAfterFilter() {
    if (sShown) MakeSection(sSection.line);
}

int SectionGeneration() { return sGeneration; }

void SectionWindowPosition(const WorkArea& area, int width, int height, int* x, int* y) {
    enum { kCascade = 24 };
    const SettingsBlock& s = AppSettings;
    const bool stored = s.winX[kSectionWindowSlot] != 0 || s.winY[kSectionWindowSlot] != 0;
    const int left = stored ? s.winX[kSectionWindowSlot] : s.winX[1] + kCascade;
    const int top = stored ? s.winY[kSectionWindowSlot] : s.winY[1] + kCascade;
    ScreenRect r = {left, top, left + width, top + height};
    KeepInsideWorkArea(&r, area);
    *x = r.left;
    *y = r.top;
}

static void SetVertex(ColoredScreenVertex* v, double x, double y, uint32_t color) {
    *v = ColoredScreenVertex{float(x), float(y), 1.0f, 1.0f, color};
}

void BuildSectionOverlay(ColoredScreenVertex out[kSectionOverlayVertices]) {
    InitTransparentVertices(out, kSectionOverlayVertices);
    double x1, y1, x2, y2, widthKm;
    if (sPick == SECTION_PICK_DRAGGING) {
        x1 = sFromX, y1 = sFromY, x2 = sToX, y2 = sToY, widthKm = sWidthKm;
    } else if (sShown) {
        const SectionLine& l = sSection.line;
        GeoToPixel(l.lat1, l.lon1, &x1, &y1);
        GeoToPixel(l.lat2, l.lon2, &x2, &y2);
        widthKm = l.widthKm;
    } else {
        return;
    }
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
