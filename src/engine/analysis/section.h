// A depth cross-section: the selected earthquakes within a strip either side
// of a line between two points, with their distance along the line and from
// it (great-circle distances from the records' latitude and longitude).
#pragma once

#include <vector>

struct QuakeRecord;

struct SectionLine {
    double lat1, lon1;   // the start, degrees north and east
    double lat2, lon2;   // the end
    double widthKm;      // the strip reaches this far either side of the line
};

struct SectionEvent {
    int record;          // index into the store
    double alongKm;      // from the start along the line, 0 .. lengthKm
    double offsetKm;     // from the line, positive to the left seen from the start
};

struct Section {
    SectionLine line;
    double lengthKm;
    int maxDepthKm;                     // of the events, 0 without any
    std::vector<SectionEvent> events;   // in the store's order (newest first)
};

enum SectionResult {
    SECTION_OK = 0,
    SECTION_TOO_SHORT = 1,   // the ends lie less than kMinSectionKm apart
    SECTION_BAD_WIDTH = 2,   // the width is not within kMinStripKm .. kMaxStripKm
    SECTION_BAD_POINT = 3,   // an end is not a latitude/longitude
};

extern const double kMinSectionKm;   // 1 km
extern const double kMinStripKm;     // 1 km
extern const double kMaxStripKm;     // 1000 km

// The records among records[0 .. count-1] with inFilter set and a stored
// position whose epicentre lies within widthKm of the line and between its
// ends. On failure `out` is untouched.
int BuildSection(const QuakeRecord* records, int count, const SectionLine& line, Section* out);

// The strip widths the wheel steps through (km), and the next one up or down
// from `widthKm` (held at the ends).
enum { kStripSteps = 10 };
extern const double kStripWidths[kStripSteps];
double StepStripWidth(double widthKm, int steps);
