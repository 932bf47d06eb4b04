#include "engine/controls/section_controls.h"

#include <cmath>

#include "engine/model/geo.h"
#include "engine/model/records.h"
#include "engine/controls/placement.h"

const double kDefaultStripKm = 50;

static int sPick = SECTION_PICK_OFF;
static int sFromX, sFromY, sToX, sToY;   // the line being drawn, map pixels
static int sShown;                       // 1 while sSection is the window's
static Section sSection;
static double sWidthKm = kDefaultStripKm;
static int sGeneration;

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

int SectionOverlayLine(double* x1, double* y1, double* x2, double* y2, double* widthKm) {
    if (sPick == SECTION_PICK_DRAGGING) {
        *x1 = sFromX, *y1 = sFromY, *x2 = sToX, *y2 = sToY, *widthKm = sWidthKm;
        return 1;
    }
    if (!sShown) return 0;
    const SectionLine& l = sSection.line;
    GeoToPixel(l.lat1, l.lon1, x1, y1);
    GeoToPixel(l.lat2, l.lon2, x2, y2);
    *widthKm = l.widthKm;
    return 1;
}
