// Charts as SVG documents for the analysis commands' --svg output: a line
// chart (axes with ticks and labels, a title, one polyline or dots per series
// and a legend) and a stacked bar chart.
#pragma once

#include <string>
#include <vector>

struct ChartPoint {
    double x, y;
};

struct ChartSeries {
    std::string label;    // UTF-8
    std::string colour;   // an SVG colour, "#1f77b4"
    std::vector<ChartPoint> points;
    bool dots = false;    // dots instead of a line
    bool dashed = false;
};

struct Chart {
    std::string title, xLabel, yLabel;   // UTF-8
    double xMin = 0, xMax = 1, yMin = 0, yMax = 1;
    bool logX = false, logY = false;     // xMin / yMin must then be above 0
    std::vector<ChartSeries> series;
    std::vector<double> xMarks;          // vertical dotted lines (e.g. Mc), labelled with their value
};

std::string SvgChart(const Chart& chart);

// A text with <, > and & escaped for an SVG document.
std::string SvgEscape(const std::string& s);
// Ticks at 1, 2 or 5 times a power of ten, about six over the range.
std::vector<double> LinearTicks(double low, double high);

struct BarSeries {
    std::string label;    // UTF-8
    std::string colour;
    std::vector<double> values;   // one per bar, stacked in series order from the axis up
};

struct BarChart {
    std::string title, xLabel, yLabel;
    std::vector<std::string> barLabels;   // one per bar; as many as fit are printed under the axis
    std::vector<BarSeries> series;
};

std::string SvgStackedBars(const BarChart& chart);
