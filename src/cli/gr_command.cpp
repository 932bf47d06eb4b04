// wolt-cli gr: Gutenberg-Richter of the selection, of one region or of every
// region, optionally per period.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "analysis_commands.h"
#include "cli_common.h"
#include "engine/model/records.h"
#include "engine/picture/svg_chart.h"

static const char* MethodName(const GrFit& fit) {
    if (fit.fellBack) return "maxc-fallback";
    return fit.method == GR_MC_STABILITY ? "mbs" : fit.method == GR_MC_MAXC ? "maxc" : "fixed";
}

static std::string FrequencyChart(const GrSet& set) {
    const GrFit& fit = set.fit;
    const int low = *std::min_element(set.magnitude10.begin(), set.magnitude10.end());
    const int high = *std::max_element(set.magnitude10.begin(), set.magnitude10.end());
    std::vector<int> perBin, cumulative;
    MagnitudeBins(set.magnitude10, low, high, &perBin, &cumulative);
    Chart chart;
    chart.title = "Frequency-magnitude: " + RegionLabel(set.region) +
                  (set.fromYear ? " " + std::to_string(set.fromYear) + "-" + std::to_string(set.toYear) : "") +
                  (fit.estimated ? " (b = " + Fixed(fit.b, 2) + " ± " + Fixed(fit.bErr, 2) + ")" : "");
    chart.xLabel = "magnitude";
    chart.yLabel = "number of earthquakes";
    chart.logY = true;
    chart.xMin = std::floor(low / 10.0), chart.xMax = std::ceil(high / 10.0 + 0.05);
    chart.yMin = 0.5, chart.yMax = std::pow(10, std::ceil(std::log10(cumulative[0] * 1.2)));
    ChartSeries total{"at or above M (cumulative)", "#1f77b4", {}}, bins{"in the 0.1 bin", "#ff7f0e", {}, true};
    for (size_t k = 0; k < perBin.size(); k++) {
        total.points.push_back(ChartPoint{(low + int(k)) / 10.0, double(cumulative[k])});
        if (perBin[k] > 0) bins.points.push_back(ChartPoint{(low + int(k)) / 10.0, double(perBin[k])});
    }
    chart.series = {total, bins};
    if (fit.estimated) {
        ChartSeries line{"log10 N = " + Fixed(fit.a, 2) + " - " + Fixed(fit.b, 2) + " M (" + MethodName(fit) + " Mc)",
                         "#2ca02c", {}, false, true};
        for (double m : {fit.mc, high / 10.0}) line.points.push_back(ChartPoint{m, std::pow(10, fit.a - fit.b * m)});
        chart.series.push_back(line);
        if (fit.bPositive > 0) {   // the b-positive slope through N(>= Mc)
            ChartSeries positive{"b-positive " + Fixed(fit.bPositive, 2), "#9467bd", {}, false, true};
            for (double m : {fit.mc, high / 10.0})
                positive.points.push_back(ChartPoint{m, fit.n * std::pow(10, -fit.bPositive * (m - fit.mc))});
            chart.series.push_back(positive);
        }
    }
    chart.xMarks = {fit.mc};
    return SvgChart(chart);
}

int RunGrCommand(const GrCommand& c) {
    const int region = c.region.empty() ? -1 : RegionNamed(c.region);
    if (!c.region.empty() && region < 0) {
        std::fprintf(stderr, "wolt-cli: gr --region: no region named %s\n", c.region.c_str());
        return EXIT_USAGE;
    }
    std::vector<GrSet> rows = FitSelectedSets(gpEQ, DataEnd(), c.all || region >= 0, c.periodYears, c.options);
    if (region >= 0)
        rows.erase(std::remove_if(rows.begin(), rows.end(), [region](const GrSet& r) { return r.region != region; }),
                   rows.end());
    if (rows.empty()) {
        std::fprintf(stderr, "wolt-cli: gr: no record %s meets the conditions\n", c.region.c_str());
        return EXIT_NO_DATA;
    }
    std::string csv = std::string("region,") + (c.periodYears > 0 ? "period," : "") +
                      "n,mc,b,b_err,a,recurrence_m6_years,program_recurrence_years,method,mc_err,b_positive,"
                      "b_boot_err\n";
    for (const GrSet& s : rows) {
        const GrFit& fit = s.fit;
        csv += "\"" + RegionLabel(s.region) + "\"," +
               (c.periodYears > 0 ? std::to_string(s.fromYear) + "-" + std::to_string(s.toYear) + "," : "") +
               std::to_string(fit.n) + "," + Fixed(fit.mc, 1) + "," +
               (fit.estimated ? Fixed(fit.b) + "," + Fixed(fit.bErr) + "," + Fixed(fit.a) + "," +
                                    Significant(fit.recurrenceM6Years)
                              : ",,,") +
               "," + (s.m6 > 0 ? Significant(s.spanYears / s.m6) : "") + "," + MethodName(fit) + "," +
               (fit.estimated ? Fixed(fit.mcErr, 2) : "") + "," + Fixed(fit.bPositive) + "," +
               (fit.estimated ? Fixed(fit.bBootErr) : "") + "\n";
    }
    int status = c.csv ? WriteText(c.csv, csv) : (std::fputs(csv.c_str(), stdout), EXIT_OK);
    if (c.svg && status == EXIT_OK) status = WriteText(c.svg, FrequencyChart(rows[0]));
    return status;
}
