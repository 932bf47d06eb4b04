#include "engine/picture/section_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/analysis/section.h"
#include "engine/model/records.h"
#include "engine/picture/markers.h"
#include "engine/picture/svg_chart.h"
#include "platform/platform.h"

enum {
    kFrameLeft = 60,
    kFrameTop = 48,
    kFrameRightGap = 16,
    kFrameBottomGap = 76,
    kPickSlack = 2,
};

PanelRect SectionHoverLine(int width, int height) { return PanelRect{8, height - 30, width - 110, height - 12}; }

PanelRect SectionSaveButton(int width, int height) { return PanelRect{width - 100, height - 32, width - 10, height - 10}; }

static std::string Format(const char* format, double a, double b = 0, double c = 0, double d = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

static std::string Place(double lat, double lon) {
    return Format("%.2f", std::fabs(lat)) + (lat >= 0 ? "N " : "S ") + Format("%.2f", std::fabs(lon)) +
           (lon >= 0 ? "E" : "W");
}

// The depth axis reaches the deepest event, at least 50 km, in whole tick steps.
static double DepthRange(int maxDepthKm) {
    const double deepest = std::max(50, maxDepthKm);
    const std::vector<double> ticks = LinearTicks(0, deepest);
    const double step = ticks.size() > 1 ? ticks[1] - ticks[0] : deepest;
    return std::ceil(deepest / step) * step;
}

void LayoutSectionPlot(const Section& section, int width, int height, SectionPlot* out) {
    SectionPlot plot;
    plot.width = width;
    plot.height = height;
    plot.frame = PanelRect{kFrameLeft, kFrameTop, width - kFrameRightGap, height - kFrameBottomGap};
    const PanelRect& f = plot.frame;
    const double plotWidth = f.right - f.left, plotHeight = f.bottom - f.top;
    const double depthRange = DepthRange(section.maxDepthKm);
    const double xScale = plotWidth / section.lengthKm, yScale = plotHeight / depthRange;
    for (size_t k = 0; k < section.events.size(); k++) {
        const QuakeRecord& r = gpEQ[section.events[k].record];
        const int radius = std::max(1, MarkerHalfSize(r.magnitude10, 0) / 2);
        plot.dots.push_back(SectionDot{f.left + int(std::lround(section.events[k].alongKm * xScale)),
                                       f.top + int(std::lround(r.depthKm * yScale)), radius,
                                       DepthColor(r.depthKm), int(k)});
    }
    std::stable_sort(plot.dots.begin(), plot.dots.end(),
                     [](const SectionDot& a, const SectionDot& b) { return a.radius > b.radius; });
    // The first tick may come out as -0.
    for (double t : LinearTicks(0, section.lengthKm))
        plot.distanceMarks.push_back(SectionMark{f.left + int(std::lround(t * xScale)), Format("%g", std::fabs(t))});
    for (double t : LinearTicks(0, depthRange))
        plot.depthMarks.push_back(SectionMark{f.top + int(std::lround(t * yScale)), Format("%g", std::fabs(t))});
    const SectionLine& l = section.line;
    plot.heading = Format("長さ %.0f km   幅 ±%g km   該当件数:%.0f", section.lengthKm, l.widthKm,
                          double(section.events.size()));
    plot.ends = Place(l.lat1, l.lon1) + " → " + Place(l.lat2, l.lon2);
    plot.distanceTitle = "距離 (km)";
    plot.depthTitle = "深さ (km)";
    // How much the depth is stretched against the distance.
    plot.scale = Format("縦横比 1:%.2g", xScale > 0 ? yScale / xScale : 0);
    *out = std::move(plot);
}

int SectionDotAt(const SectionPlot& plot, int x, int y) {
    for (size_t k = plot.dots.size(); k-- > 0;) {
        const SectionDot& d = plot.dots[k];
        const int reach = d.radius + kPickSlack;
        if ((x - d.x) * (x - d.x) + (y - d.y) * (y - d.y) <= reach * reach) return int(k);
    }
    return -1;
}

std::string SectionEventText(const Section& section, int event) {
    if (event < 0 || event >= int(section.events.size())) return "";
    const SectionEvent& e = section.events[size_t(event)];
    const QuakeRecord& r = gpEQ[e.record];
    std::string region, label;
    if (SjisToUtf8(RegionName(r.regionIndex), &region) != 0) region = "?";
    if (r.intensity >= 10 || SjisToUtf8(IntensityLabels[r.intensity], &label) != 0) label = "?";
    char text[256];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d  %s  深さ %d km  M%.1f  震度%s  距離 %.0f km",
                  r.year, r.month, r.day, r.hour, r.minute, region.c_str(), r.depthKm, r.magnitude10 / 10.0,
                  label.c_str(), e.alongKm);
    return text;
}

static std::string Hex(uint32_t color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", unsigned(color & 0xFFFFFF));
    return text;
}

static std::string Text(int x, int y, const std::string& text, const char* anchor = "start") {
    return "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" text-anchor=\"" + anchor +
           "\">" + SvgEscape(text) + "</text>\n";
}

std::string SectionSvg(const SectionPlot& p) {
    const PanelRect& f = p.frame;
    const std::string w = std::to_string(p.width), h = std::to_string(p.height);
    std::string s = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
                    "\" viewBox=\"0 0 " + w + " " + h + "\" font-family=\"sans-serif\" font-size=\"13\">\n"
                    "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"#000000\"/>\n<g fill=\"#ffffff\">\n";
    s += Text(8, 18, p.heading) + Text(8, 36, p.ends) + Text(p.width - 16, 36, p.scale, "end");
    for (const SectionMark& m : p.distanceMarks) s += Text(m.position, f.bottom + 18, m.label, "middle");
    for (const SectionMark& m : p.depthMarks) s += Text(f.left - 6, m.position + 4, m.label, "end");
    s += Text((f.left + f.right) / 2, f.bottom + 36, p.distanceTitle, "middle");
    s += Text(4, f.top - 6, p.depthTitle) + "</g>\n";
    s += "<g stroke=\"#808080\">\n";
    for (const SectionMark& m : p.distanceMarks)
        s += "<line x1=\"" + std::to_string(m.position) + "\" y1=\"" + std::to_string(f.bottom) + "\" x2=\"" +
             std::to_string(m.position) + "\" y2=\"" + std::to_string(f.bottom + 4) + "\"/>\n";
    for (const SectionMark& m : p.depthMarks)
        s += "<line x1=\"" + std::to_string(f.left - 4) + "\" y1=\"" + std::to_string(m.position) + "\" x2=\"" +
             std::to_string(f.left) + "\" y2=\"" + std::to_string(m.position) + "\"/>\n";
    s += "<rect x=\"" + std::to_string(f.left) + "\" y=\"" + std::to_string(f.top) + "\" width=\"" +
         std::to_string(f.right - f.left) + "\" height=\"" + std::to_string(f.bottom - f.top) +
         "\" fill=\"none\"/>\n</g>\n<g>\n";
    for (const SectionDot& d : p.dots)
        s += "<circle cx=\"" + std::to_string(d.x) + "\" cy=\"" + std::to_string(d.y) + "\" r=\"" +
             std::to_string(d.radius) + "\" fill=\"" + Hex(d.color) + "\"/>\n";
    return s + "</g>\n</svg>\n";
}
