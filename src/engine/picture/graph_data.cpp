#include "engine/picture/graph_data.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/analysis/month_series.h"
#include "engine/model/records.h"

int GraphDayX(int day) { return 1 + 16 * (day - 1); }

static GraphPoint Point(int day, int value, bool clampBelow) {
    int y = std::max(int(kGraphTopY), kGraphBaseY - value);
    if (clampBelow) y = std::min(y, int(kGraphBaseY));
    return GraphPoint{GraphDayX(day), y};
}

void BuildGraphPlot(GraphPlot* plot) {
    std::memset(plot, 0, sizeof *plot);
    int record = gGraphMonthRecord;
    if (gpEQ && record >= 0 && record < kMaxRecords && gpEQ[record].magnitude10 != 0) {
        const QuakeRecord& r = gpEQ[record];
        plot->year = r.year;
        plot->month = r.month;
        plot->days = std::min(int(r.day), int(kGraphDays));
    }
    // v(1) = v(2) = the days before the month; from day 3 on the count
    // restarts at 0 the day after an M6+ day.
    int interval = gM6DaysBeforeMonth;
    for (int d = 1; d <= plot->days; d++) {
        const DayTotals& t = MonthDayTable[d - 1];
        if (d >= 3) interval = MonthDayTable[d - 2].m6Count > 0 ? 0 : interval + 1;
        plot->counts[d - 1] = Point(d, t.count, false);
        plot->magnitudes[d - 1] = Point(d, int(t.magnitudeSum), false);
        plot->intervals[d - 1] = Point(d, interval, true);
        plot->totalCount += t.count;
        plot->totalMagnitude += t.magnitudeSum;
    }
    plot->intervalDays = plot->days >= 2 ? interval + 1 : gM6DaysBeforeMonth;
    plot->meanY = kGraphBaseY - gM6MeanDayGap;
}

void FormatGraphLines(const GraphPlot& plot, char lines[kGraphTextLines][kGraphTextBytes]) {
    std::snprintf(lines[0], kGraphTextBytes, "地震回数・合計規模グラフ %04d/%02d/01～%04d/%02d/%02d",
                  plot.year, plot.month, plot.year, plot.month, plot.days);
    std::snprintf(lines[1], kGraphTextBytes, "地震回数 %d", plot.totalCount);
    std::snprintf(lines[2], kGraphTextBytes, "合計規模 %.01f", plot.totalMagnitude);
    std::snprintf(lines[3], kGraphTextBytes, "M6以上間隔 %3d日", plot.intervalDays);
    std::snprintf(lines[4], kGraphTextBytes, "M6以上平均:%3d日", gM6MeanDayGap);
    std::snprintf(lines[5], kGraphTextBytes, "M6以上確率:%3.f%%", gM6DuePercent);
}
