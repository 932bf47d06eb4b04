#include "engine/analysis/section.h"

#include <cmath>

#include "engine/model/geo.h"
#include "engine/model/records.h"

const double kMinSectionKm = 1.0;
const double kMinStripKm = 1.0;
const double kMaxStripKm = 1000.0;
const double kStripWidths[kStripSteps] = {5, 10, 20, 30, 50, 75, 100, 150, 200, 300};

static const double kEarthRadiusKm = 6371.0;

static UnitVector Cross(const UnitVector& a, const UnitVector& b) {
    return UnitVector{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

static double Dot(const UnitVector& a, const UnitVector& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

static bool IsPlace(double lat, double lon) {
    return std::isfinite(lat) && std::isfinite(lon) && std::fabs(lat) <= 90 && std::fabs(lon) <= 180;
}

int BuildSection(const QuakeRecord* records, int count, const SectionLine& line, Section* out) {
    if (!IsPlace(line.lat1, line.lon1) || !IsPlace(line.lat2, line.lon2)) return SECTION_BAD_POINT;
    if (!(line.widthKm >= kMinStripKm && line.widthKm <= kMaxStripKm)) return SECTION_BAD_WIDTH;
    const UnitVector a = UnitVectorOf(line.lat1, line.lon1), b = UnitVectorOf(line.lat2, line.lon2);
    const double length = GreatCircleKm(line.lat1, line.lon1, line.lat2, line.lon2);
    if (!(length >= kMinSectionKm)) return SECTION_TOO_SHORT;
    // The pole of the line's great circle: a point's angle from its plane is
    // the distance from the line; the angle from the start within the plane
    // the distance along it.
    UnitVector pole = Cross(a, b);
    const double norm = std::sqrt(Dot(pole, pole));
    pole = UnitVector{pole.x / norm, pole.y / norm, pole.z / norm};
    const UnitVector across = Cross(pole, a);   // in the plane, 90 degrees on from the start towards the end

    Section section;
    section.line = line;
    section.lengthKm = length;
    section.maxDepthKm = 0;
    for (int i = 0; i < count; i++) {
        const QuakeRecord& r = records[i];
        if (!r.inFilter || r.mapX == 0 || r.mapY == 0) continue;
        double lat, lon;
        GridToGeo(r.mapX, r.mapY, &lat, &lon);
        const UnitVector p = UnitVectorOf(lat, lon);
        const double offset = std::asin(std::fmax(-1.0, std::fmin(1.0, Dot(p, pole)))) * kEarthRadiusKm;
        if (std::fabs(offset) > line.widthKm) continue;
        const double along = std::atan2(Dot(p, across), Dot(p, a)) * kEarthRadiusKm;
        if (along < 0 || along > length) continue;
        section.events.push_back(SectionEvent{i, along, offset});
        if (r.depthKm > section.maxDepthKm) section.maxDepthKm = r.depthKm;
    }
    *out = std::move(section);
    return SECTION_OK;
}

double StepStripWidth(double widthKm, int steps) {
    int k = 0;
    while (k + 1 < kStripSteps && kStripWidths[k] < widthKm) k++;   // the step at or above the width
    // A width between two steps is already past the lower one.
    k += steps > 0 && kStripWidths[k] > widthKm ? steps - 1 : steps;
    return kStripWidths[k < 0 ? 0 : k >= kStripSteps ? kStripSteps - 1 : k];
}
