#include "engine/picture/svg_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const double kWidth = 800, kHeight = 500, kLeft = 70, kRight = 270, kTop = 40, kBottom = 60;

std::string Escape(const std::string& s) {
    std::string out;
    for (char c : s) out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
    return out;
}

std::string Number(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%.1f", v);
    return s;
}

std::string Label(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%g", std::fabs(v) < 1e-9 ? 0.0 : v);
    return s;
}

struct Frame {
    const Chart& c;
    double X(double x) const { return kLeft + (x - c.xMin) / (c.xMax - c.xMin) * (kWidth - kLeft - kRight); }
    double Y(double y) const {
        const double low = c.logY ? std::log10(c.yMin) : c.yMin, high = c.logY ? std::log10(c.yMax) : c.yMax;
        const double v = c.logY ? std::log10(std::max(y, c.yMin)) : y;
        return kHeight - kBottom - (v - low) / (high - low) * (kHeight - kTop - kBottom);
    }
};

// Ticks at 1, 2 or 5 times a power of ten, about six over the range.
std::vector<double> LinearTicks(double low, double high) {
    const double raw = (high - low) / 6, power = std::pow(10, std::floor(std::log10(raw)));
    const double step = raw / power < 1.5 ? power : raw / power < 3.5 ? 2 * power : 5 * power;
    std::vector<double> ticks;
    for (double t = std::ceil(low / step - 1e-9) * step; t <= high + 1e-9 * step; t += step) ticks.push_back(t);
    return ticks;
}

std::vector<double> PowerTicks(double low, double high) {
    std::vector<double> ticks;
    for (double t = std::pow(10, std::ceil(std::log10(low) - 1e-9)); t <= high * (1 + 1e-9); t *= 10) ticks.push_back(t);
    return ticks;
}

}  // namespace

std::string SvgChart(const Chart& c) {
    const Frame f{c};
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    Number(kWidth) + "\" height=\"" + Number(kHeight) +
                    "\" font-family=\"IPAGothic, 'Noto Sans CJK JP', 'Hiragino Sans', Meiryo, sans-serif\" font-size=\"12\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    s += "<text x=\"" + Number(kWidth / 2) + "\" y=\"22\" text-anchor=\"middle\" font-size=\"15\">" + Escape(c.title) + "</text>\n";
    const double x0 = f.X(c.xMin), x1 = f.X(c.xMax), y0 = f.Y(c.yMin), y1 = f.Y(c.yMax);
    s += "<rect x=\"" + Number(x0) + "\" y=\"" + Number(y1) + "\" width=\"" + Number(x1 - x0) + "\" height=\"" +
         Number(y0 - y1) + "\" fill=\"none\" stroke=\"black\"/>\n";
    for (double t : LinearTicks(c.xMin, c.xMax))
        s += "<line x1=\"" + Number(f.X(t)) + "\" y1=\"" + Number(y0) + "\" x2=\"" + Number(f.X(t)) + "\" y2=\"" +
             Number(y0 + 5) + "\" stroke=\"black\"/><text x=\"" + Number(f.X(t)) + "\" y=\"" + Number(y0 + 18) +
             "\" text-anchor=\"middle\">" + Label(t) + "</text>\n";
    for (double t : c.logY ? PowerTicks(c.yMin, c.yMax) : LinearTicks(c.yMin, c.yMax))
        s += "<line x1=\"" + Number(x0 - 5) + "\" y1=\"" + Number(f.Y(t)) + "\" x2=\"" + Number(x0) + "\" y2=\"" +
             Number(f.Y(t)) + "\" stroke=\"black\"/><text x=\"" + Number(x0 - 8) + "\" y=\"" + Number(f.Y(t) + 4) +
             "\" text-anchor=\"end\">" + Label(t) + "</text>\n";
    s += "<text x=\"" + Number((x0 + x1) / 2) + "\" y=\"" + Number(kHeight - 18) + "\" text-anchor=\"middle\">" +
         Escape(c.xLabel) + "</text>\n";
    s += "<text transform=\"translate(18," + Number((y0 + y1) / 2) + ") rotate(-90)\" text-anchor=\"middle\">" +
         Escape(c.yLabel) + "</text>\n";
    for (double m : c.xMarks)
        s += "<line x1=\"" + Number(f.X(m)) + "\" y1=\"" + Number(y0) + "\" x2=\"" + Number(f.X(m)) + "\" y2=\"" +
             Number(y1) + "\" stroke=\"grey\" stroke-dasharray=\"2,3\"/><text x=\"" + Number(f.X(m) + 3) + "\" y=\"" +
             Number(y1 + 14) + "\" fill=\"grey\">" + Label(m) + "</text>\n";
    for (size_t k = 0; k < c.series.size(); k++) {
        const ChartSeries& series = c.series[k];
        if (series.dots) {
            for (const ChartPoint& p : series.points)
                s += "<circle cx=\"" + Number(f.X(p.x)) + "\" cy=\"" + Number(f.Y(p.y)) + "\" r=\"2.5\" fill=\"" +
                     series.colour + "\"/>\n";
        } else {
            s += "<polyline fill=\"none\" stroke-width=\"2\" stroke=\"" + series.colour + "\"" +
                 (series.dashed ? " stroke-dasharray=\"6,4\"" : "") + " points=\"";
            for (const ChartPoint& p : series.points) s += Number(f.X(p.x)) + "," + Number(f.Y(p.y)) + " ";
            s += "\"/>\n";
        }
        const double ly = kTop + 10 + 20 * double(k);
        if (series.dots)
            s += "<circle cx=\"" + Number(x1 + 24) + "\" cy=\"" + Number(ly) + "\" r=\"3\" fill=\"" + series.colour + "\"/>";
        else
            s += "<line x1=\"" + Number(x1 + 12) + "\" y1=\"" + Number(ly) + "\" x2=\"" + Number(x1 + 36) + "\" y2=\"" +
                 Number(ly) + "\" stroke-width=\"3\" stroke=\"" + series.colour + "\"" +
                 (series.dashed ? " stroke-dasharray=\"6,4\"" : "") + "/>";
        s += "<text x=\"" + Number(x1 + 42) + "\" y=\"" + Number(ly + 4) + "\">" + Escape(series.label) + "</text>\n";
    }
    return s + "</svg>\n";
}
