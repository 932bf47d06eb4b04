// The cross-section as a picture: depth (down) against the distance along
// the line, each event a dot in the map's depth colour sized after the map's
// marker, with axes, tick labels, the strip width and the count. The window
// paints it with GDI; SectionSvg writes the same picture as an SVG document.
// Coordinates are client pixels of a window of the given size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/controls/layout.h"

struct Section;

// The section window's client area, and the size of the SVG that wolt-cli writes.
enum { kSectionWidth = 720, kSectionHeight = 440 };

struct SectionDot {
    int x, y, radius;
    uint32_t color;   // 0xFFRRGGBB
    int event;        // index into Section::events
};

struct SectionMark {
    int position;     // x of a distance mark, y of a depth mark
    std::string label;
};

struct SectionPlot {
    int width, height;
    PanelRect frame;                  // the plot area, outlined
    std::vector<SectionDot> dots;     // in painting order: large before small
    std::vector<SectionMark> distanceMarks, depthMarks;
    std::string heading;              // UTF-8: length, strip width, count
    std::string ends;                 // UTF-8: the two ends
    std::string distanceTitle, depthTitle, scale;
};

// Where the window puts its pointer text and its save button (client pixels).
PanelRect SectionHoverLine(int width, int height);
PanelRect SectionSaveButton(int width, int height);

void LayoutSectionPlot(const Section& section, int width, int height, SectionPlot* out);
// The dot under (x, y), the one painted last (on top); -1 for none.
int SectionDotAt(const SectionPlot& plot, int x, int y);
// What the pointer text says about an event: date and time, region, depth,
// magnitude, intensity and distance (UTF-8).
std::string SectionEventText(const Section& section, int event);
std::string SectionSvg(const SectionPlot& plot);
