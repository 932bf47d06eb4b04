#include "engine/picture/svg_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::vector<double> LinearTicks(double low, double high) {
    const double raw = (high - low) / 6, power = std::pow(10, std::floor(std::log10(raw)));
    const double step = raw / power < 1.5 ? power : raw / power < 3.5 ? 2 * power : 5 * power;
    std::vector<double> ticks;
    for (double t = std::ceil(low / step - 1e-9) * step; t <= high + 1e-9 * step; t += step) ticks.push_back(t);
    return ticks;
}

std::string SvgEscape(const std::string& s) {
    std::string out;
    for (char c : s) out += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
    return out;
}

namespace {

const double kWidth = 800, kHeight = 500, kLeft = 70, kRight = 270, kTop = 40, kBottom = 60;

std::string Number(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%.1f", v);
    return s;
}

// Bar geometry: bars may be a fraction of a pixel wide.
std::string Fine(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%.3f", v);
    return s;
}

std::string Label(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%g", std::fabs(v) < 1e-9 ? 0.0 : v);
    return s;
}

struct Frame {
    const Chart& c;
    double X(double x) const {
        const double low = c.logX ? std::log10(c.xMin) : c.xMin, high = c.logX ? std::log10(c.xMax) : c.xMax;
        const double v = c.logX ? std::log10(std::max(x, c.xMin)) : x;
        return kLeft + (v - low) / (high - low) * (kWidth - kLeft - kRight);
    }
    double Y(double y) const {
        const double low = c.logY ? std::log10(c.yMin) : c.yMin, high = c.logY ? std::log10(c.yMax) : c.yMax;
        const double v = c.logY ? std::log10(std::max(y, c.yMin)) : y;
        return kHeight - kBottom - (v - low) / (high - low) * (kHeight - kTop - kBottom);
    }
};

std::vector<double> PowerTicks(double low, double high) {
    std::vector<double> ticks;
    for (double t = std::pow(10, std::ceil(std::log10(low) - 1e-9)); t <= high * (1 + 1e-9); t *= 10) ticks.push_back(t);
    return ticks;
}

// The document's head with the white page and the title.
std::string Head(const std::string& title) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           Number(kWidth) + "\" height=\"" + Number(kHeight) +
           "\" font-family=\"IPAGothic, 'Noto Sans CJK JP', 'Hiragino Sans', Meiryo, sans-serif\" font-size=\"12\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
           "<text x=\"" + Number(kWidth / 2) + "\" y=\"22\" text-anchor=\"middle\" font-size=\"15\">" + SvgEscape(title) + "</text>\n";
}

// The axis titles under and left of the plot area [x0, x1] x [y1, y0].
std::string AxisTitles(const std::string& xLabel, const std::string& yLabel, double x0, double x1, double y0,
                       double y1) {
    return "<text x=\"" + Number((x0 + x1) / 2) + "\" y=\"" + Number(kHeight - 18) + "\" text-anchor=\"middle\">" +
           SvgEscape(xLabel) + "</text>\n<text transform=\"translate(18," + Number((y0 + y1) / 2) +
           ") rotate(-90)\" text-anchor=\"middle\">" + SvgEscape(yLabel) + "</text>\n";
}

std::string YTick(double x0, double y, double value) {
    return "<line x1=\"" + Number(x0 - 5) + "\" y1=\"" + Number(y) + "\" x2=\"" + Number(x0) + "\" y2=\"" + Number(y) +
           "\" stroke=\"black\"/><text x=\"" + Number(x0 - 8) + "\" y=\"" + Number(y + 4) + "\" text-anchor=\"end\">" +
           Label(value) + "</text>\n";
}

}  // namespace

std::string SvgChart(const Chart& c) {
    const Frame f{c};
    std::string s = Head(c.title);
    const double x0 = f.X(c.xMin), x1 = f.X(c.xMax), y0 = f.Y(c.yMin), y1 = f.Y(c.yMax);
    s += "<rect x=\"" + Number(x0) + "\" y=\"" + Number(y1) + "\" width=\"" + Number(x1 - x0) + "\" height=\"" +
         Number(y0 - y1) + "\" fill=\"none\" stroke=\"black\"/>\n";
    for (double t : c.logX ? PowerTicks(c.xMin, c.xMax) : LinearTicks(c.xMin, c.xMax))
        s += "<line x1=\"" + Number(f.X(t)) + "\" y1=\"" + Number(y0) + "\" x2=\"" + Number(f.X(t)) + "\" y2=\"" +
             Number(y0 + 5) + "\" stroke=\"black\"/><text x=\"" + Number(f.X(t)) + "\" y=\"" + Number(y0 + 18) +
             "\" text-anchor=\"middle\">" + Label(t) + "</text>\n";
    for (double t : c.logY ? PowerTicks(c.yMin, c.yMax) : LinearTicks(c.yMin, c.yMax)) s += YTick(x0, f.Y(t), t);
    s += AxisTitles(c.xLabel, c.yLabel, x0, x1, y0, y1);
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
        s += "<text x=\"" + Number(x1 + 42) + "\" y=\"" + Number(ly + 4) + "\">" + SvgEscape(series.label) + "</text>\n";
    }
    return s + "</svg>\n";
}

std::string SvgStackedBars(const BarChart& c) {
    const size_t bars = c.barLabels.size();
    std::vector<double> top(bars, 0);
    for (const BarSeries& series : c.series)
        for (size_t k = 0; k < bars && k < series.values.size(); k++) top[k] += series.values[k];
    double highest = 1;
    for (double t : top) highest = std::max(highest, t);
    const double x0 = kLeft, x1 = kWidth - kRight, y0 = kHeight - kBottom, y1 = kTop;
    const double width = (x1 - x0) / double(std::max<size_t>(bars, 1));
    const std::vector<double> ticks = LinearTicks(0, highest);
    const double yMax = std::max(highest, ticks.back());
    auto Y = [&](double v) { return y0 - v / yMax * (y0 - y1); };
    std::string s = Head(c.title);
    s += "<rect x=\"" + Number(x0) + "\" y=\"" + Number(y1) + "\" width=\"" + Number(x1 - x0) + "\" height=\"" +
         Number(y0 - y1) + "\" fill=\"none\" stroke=\"black\"/>\n";
    for (double t : ticks) s += YTick(x0, Y(t), t);
    // As many labels as fit side by side at about 7 pixels a character.
    size_t longest = 1;
    for (const std::string& label : c.barLabels) longest = std::max(longest, label.size());
    const size_t fit = std::max<size_t>(1, size_t((x1 - x0) / (7.0 * double(longest) + 12)));
    const size_t every = std::max<size_t>(1, (bars + fit - 1) / fit);
    for (size_t k = 0; k < bars; k += every) {
        const double x = x0 + (double(k) + 0.5) * width;
        s += "<line x1=\"" + Number(x) + "\" y1=\"" + Number(y0) + "\" x2=\"" + Number(x) + "\" y2=\"" +
             Number(y0 + 5) + "\" stroke=\"black\"/><text x=\"" + Number(x) + "\" y=\"" + Number(y0 + 18) +
             "\" text-anchor=\"middle\">" + SvgEscape(c.barLabels[k]) + "</text>\n";
    }
    s += AxisTitles(c.xLabel, c.yLabel, x0, x1, y0, y1);
    // One path per series: a rectangle per bar that has a part of it.
    std::vector<double> base(bars, 0);
    for (size_t n = 0; n < c.series.size(); n++) {
        const BarSeries& series = c.series[n];
        s += "<path fill=\"" + series.colour + "\" d=\"";
        for (size_t k = 0; k < bars && k < series.values.size(); k++) {
            if (series.values[k] <= 0) continue;
            const double low = Y(base[k]), high = Y(base[k] + series.values[k]);
            s += "M" + Fine(x0 + double(k) * width) + " " + Fine(high) + "h" + Fine(width) + "v" + Fine(low - high) +
                 "h-" + Fine(width) + "z";
            base[k] += series.values[k];
        }
        s += "\"/>\n";
        const double ly = kTop + 10 + 20 * double(n);
        s += "<rect x=\"" + Number(x1 + 12) + "\" y=\"" + Number(ly - 6) + "\" width=\"24\" height=\"12\" fill=\"" +
             series.colour + "\"/><text x=\"" + Number(x1 + 42) + "\" y=\"" + Number(ly + 4) + "\">" +
             SvgEscape(series.label) + "</text>\n";
    }
    return s + "</svg>\n";
}
