// The monthly graph as numbers: the points of the three day series of the
// newest month (clamped into the plot), the mean-interval line, the totals
// and the six text lines. The Win32 module (graph_window.cpp) draws them.
#pragma once

enum {
    kGraphDays = 31,
    kGraphBaseY = 221,     // value 0; one pixel per unit upward
    kGraphTopY = 29,       // no point is drawn above this line
    kGraphMeanLeft = 1,
    kGraphMeanRight = 480,
    kGraphTextLines = 6,
    kGraphTextBytes = 96,
};

struct GraphPoint {
    int x, y;
};

struct GraphPlot {
    int days;                      // days plotted: the newest record's day (0 without data)
    int year, month;               // of the newest record
    GraphPoint counts[kGraphDays];
    GraphPoint magnitudes[kGraphDays];
    GraphPoint intervals[kGraphDays];
    int totalCount;
    float totalMagnitude;          // summed in single precision
    int intervalDays;              // the interval shown in the text
    int meanY;                     // y of the mean-interval line
};

// Day d (1..31) is plotted at x = 1 + 16 (d - 1).
int GraphDayX(int day);
// Reads MonthDayTable, gGraphMonthRecord, gM6DaysBeforeMonth and gM6MeanDayGap.
void BuildGraphPlot(GraphPlot* plot);
// The six text lines (UTF-8), title first.
void FormatGraphLines(const GraphPlot& plot, char lines[kGraphTextLines][kGraphTextBytes]);
