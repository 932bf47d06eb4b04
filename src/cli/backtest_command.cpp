// wolt-cli backtest: the alert ranking of each year against the next year's
// strong earthquakes, beside the rate baseline, smoothed seismicity and
// random rankings.
#include <cmath>
#include <cstdio>
#include <vector>

#include "analysis_commands.h"
#include "cli_common.h"
#include "engine/analysis/backtest.h"
#include "engine/model/records.h"
#include "engine/picture/svg_chart.h"

enum { kPermutations = 10000 };

static std::string PValue(double p) {
    return p <= 0 ? "p < " + Fixed(1.0 / kPermutations, 4) : "p = " + Fixed(p, 4);
}

static std::vector<ChartPoint> Points(const std::vector<MolchanPoint>& curve) {
    std::vector<ChartPoint> points;
    for (const MolchanPoint& p : curve) points.push_back(ChartPoint{p.tau, p.nu});
    return points;
}

int RunBacktestCommand(const BacktestCommand& c) {
    int toYear = c.toYear;
    if (toYear == 0) {   // the last complete year: the newest record's, if it is dated 31 December
        const QuakeRecord& newest = gpEQ[0];
        toYear = newest.month == 12 && newest.day == 31 ? newest.year : newest.year - 1;
    }
    const BacktestOptions options{c.fromYear, toYear, int(std::lround(c.minMag * 10)), c.smoothKm, kPermutations,
                                  20240101};
    BacktestResult r;
    if (RunBacktest(gpEQ, DataEnd(), RegionTable, options, &r) != BACKTEST_OK) {
        std::fprintf(stderr, "wolt-cli: backtest: no year from %d to %d has earlier records\n", c.fromYear, toYear);
        return EXIT_NO_DATA;
    }
    std::string csv =
        "year,targets,cells,ass_alert,ass_rate,top10_alert,top10_rate,top10_random,ass_smoothed,top10_smoothed\n";
    for (const BacktestYear& y : r.years)
        csv += std::to_string(y.year) + "," + std::to_string(y.targets) + "," + std::to_string(y.cells) + "," +
               Fixed(y.assAlert) + "," + Fixed(y.assRate) + "," + Fixed(y.top10Alert) + "," + Fixed(y.top10Rate) + "," +
               Fixed(y.top10Random) + "," + Fixed(y.assSmoothed) + "," + Fixed(y.top10Smoothed) + "\n";
    csv += "pooled," + std::to_string(r.targets) + "," + Fixed(r.cells, 1) + "," + Fixed(r.assAlert) + "," +
           Fixed(r.assRate) + "," + Fixed(r.top10Alert) + "," + Fixed(r.top10Rate) + "," + Fixed(r.top10Random) + "," +
           Fixed(r.assSmoothed) + "," + Fixed(r.top10Smoothed) + "\n";
    int status = EXIT_OK;
    if (c.csv) status = WriteText(c.csv, csv);
    else std::fputs((csv + "\n").c_str(), stdout);
    if (r.targets == 0) {
        std::printf("No M%.1f+ earthquake fell in the test years %d-%d: nothing to score.\n", c.minMag, c.fromYear, toYear);
        return status;
    }
    auto beats = [](double a, double b) { return a > b ? "beat" : "did not beat"; };
    std::printf("Over %d test years with %d M%.1f+ targets, the alert ranking scored a pooled ASS of %.3f (%s against "
                "random rankings), the rate baseline %.3f (%s) and smoothed seismicity (%g km) %.3f (%s): the alert "
                "ranking %s the rate baseline, %s smoothed seismicity and %s.\n",
                int(r.years.size()), r.targets, c.minMag, r.assAlert, PValue(r.pAlert).c_str(), r.assRate,
                PValue(r.pRate).c_str(), c.smoothKm, r.assSmoothed, PValue(r.pSmoothed).c_str(),
                beats(r.assAlert, r.assRate), beats(r.assAlert, r.assSmoothed),
                r.pAlert >= 0 && r.pAlert < 0.05 ? "beat random rankings" : "was no better than random rankings");
    if (c.svg && status == EXIT_OK) {
        Chart chart;
        chart.title = "Molchan diagram, pooled " + std::to_string(c.fromYear) + "-" + std::to_string(toYear);
        chart.xLabel = "fraction of regions alarmed (τ)";
        chart.yLabel = "fraction of targets missed (ν)";
        chart.series = {{"alert ranking (ASS " + Fixed(r.assAlert) + ")", "#d62728", Points(r.alertCurve)},
                        {"rate baseline (ASS " + Fixed(r.assRate) + ")", "#1f77b4", Points(r.rateCurve)},
                        {"random (ASS 0.5)", "#7f7f7f", {{0, 1}, {1, 0}}, false, true},
                        {"smoothed seismicity (ASS " + Fixed(r.assSmoothed) + ")", "#2ca02c", Points(r.smoothedCurve)}};
        status = WriteText(c.svg, SvgChart(chart));
    }
    return status;
}
