// wolt-cli counts: the selected records per year, month, week or day, split
// by intensity class or whole magnitude.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "analysis_commands.h"
#include "cli_common.h"
#include "engine/analysis/counts.h"
#include "engine/model/records.h"
#include "engine/picture/svg_chart.h"
#include "engine/model/settings.h"
#include "platform/platform.h"

static const char* const kPeriodNames[] = {"year", "month", "week", "day"};
// From faint to strong.
static const char* const kColours[kCountClasses] = {"#c6dbef", "#9ecae1", "#6baed6", "#4292c6", "#2171b5",
                                                     "#fdae6b", "#fd8d3c", "#e6550d", "#a63603", "#67000d"};

static std::string ClassName(int classes, int k) {
    if (classes == COUNT_MAGNITUDE) return "M" + std::to_string(k);
    std::string utf8;
    return "震度" + (SjisToUtf8(IntensityLabels[k], &utf8) == 0 ? utf8 : std::to_string(k));
}

static std::string StackedBars(const CountTable& t, const std::string& title) {
    BarChart chart;
    chart.title = title;
    chart.xLabel = kPeriodNames[t.period];
    chart.yLabel = "earthquakes";
    for (long long day : t.firstDay) chart.barLabels.push_back(CountPeriodLabel(t.period, day));
    for (int k = 0; k < kCountClasses; k++) {
        BarSeries series{ClassName(t.classes, k), kColours[k], {}};
        for (size_t row = 0; row < t.firstDay.size(); row++)
            series.values.push_back(t.cells[row * kCountClasses + size_t(k)]);
        chart.series.push_back(series);
    }
    return SvgStackedBars(chart);
}

int RunCountsCommand(const CountsCommand& c) {
    std::vector<int> regions;
    for (const std::string& name : c.regions) {
        regions.push_back(RegionNamed(name));
        if (regions.back() < 0) {
            std::fprintf(stderr, "wolt-cli: counts --region: no region named %s\n", name.c_str());
            return EXIT_USAGE;
        }
    }
    // The period of the conditions, inside the catalogue's days.
    const SettingsBlock& s = AppSettings;
    const long long from = std::max(DayNumber(s.startYear, s.startMonth, s.startDay),
                                    DayNumber(gDataFirst.year, gDataFirst.month, gDataFirst.day));
    const long long to = std::min(DayNumber(s.endYear, s.endMonth, s.endDay),
                                  DayNumber(gDataLast.year, gDataLast.month, gDataLast.day));
    if (DataEnd() == 0 || to < from) {
        std::fprintf(stderr, "wolt-cli: counts: the period holds no day of the catalogue\n");
        return EXIT_NO_DATA;
    }
    const CountTable t = CountRecords(gpEQ, DataEnd(), regions, from, to, c.period, c.classes);
    std::string csv = "period";
    for (int k = 0; k < kCountClasses; k++) csv += "," + ClassName(c.classes, k);
    csv += ",total\n";
    for (size_t row = 0; row < t.firstDay.size(); row++) {
        csv += CountPeriodLabel(t.period, t.firstDay[row]);
        for (int k = 0; k < kCountClasses; k++) csv += "," + std::to_string(t.cells[row * kCountClasses + size_t(k)]);
        csv += "," + std::to_string(t.totals[row]) + "\n";
    }
    int status = c.csv ? WriteText(c.csv, csv) : (std::fputs(csv.c_str(), stdout), EXIT_OK);
    if (c.svg && status == EXIT_OK) {
        std::string where = c.regions.empty() ? "every region" : c.regions[0];
        for (size_t k = 1; k < c.regions.size(); k++) where += ", " + c.regions[k];
        status = WriteText(c.svg, StackedBars(t, std::string("Earthquakes per ") + kPeriodNames[c.period] + ", " +
                                                      where));
    }
    return status;
}
