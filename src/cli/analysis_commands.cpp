#include "analysis_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "engine/analysis/backtest.h"
#include "engine/analysis/gutenberg_richter.h"
#include "engine/catalogue/model.h"
#include "engine/picture/svg_chart.h"
#include "platform/platform.h"

enum { kExitOk = 0, kExitUsage = 2, kExitNoData = 3, kExitNoOutput = 4, kPermutations = 10000 };

static int WriteText(const char* path, const std::string& text) {
    FILE* f = OpenFile(path, "wb");
    bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f && std::fclose(f) != 0) ok = false;
    if (!ok) std::fprintf(stderr, "wolt-cli: cannot write %s\n", path);
    return ok ? kExitOk : kExitNoOutput;
}

static std::string Fixed(double v, int digits = 3) {
    if (v < 0) return "";
    char s[32];
    std::snprintf(s, sizeof s, "%.*f", digits, v);
    return s;
}

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
    BacktestResult r;
    if (RunBacktest(c.fromYear, toYear, int(std::lround(c.minMag * 10)), kPermutations, 20240101, &r) != BACKTEST_OK) {
        std::fprintf(stderr, "wolt-cli: backtest: no year from %d to %d has earlier records\n", c.fromYear, toYear);
        return kExitNoData;
    }
    std::string csv = "year,targets,cells,ass_alert,ass_rate,top10_alert,top10_rate,top10_random\n";
    for (const BacktestYear& y : r.years)
        csv += std::to_string(y.year) + "," + std::to_string(y.targets) + "," + std::to_string(y.cells) + "," +
               Fixed(y.assAlert) + "," + Fixed(y.assRate) + "," + Fixed(y.top10Alert) + "," + Fixed(y.top10Rate) + "," +
               Fixed(y.top10Random) + "\n";
    csv += "pooled," + std::to_string(r.targets) + "," + Fixed(r.cells, 1) + "," + Fixed(r.assAlert) + "," +
           Fixed(r.assRate) + "," + Fixed(r.top10Alert) + "," + Fixed(r.top10Rate) + "," + Fixed(r.top10Random) + "\n";
    int status = kExitOk;
    if (c.csv) status = WriteText(c.csv, csv);
    else std::fputs((csv + "\n").c_str(), stdout);
    if (r.targets == 0) {
        std::printf("No M%.1f+ earthquake fell in the test years %d-%d: nothing to score.\n", c.minMag, c.fromYear, toYear);
        return status;
    }
    const bool beatsRate = r.assAlert > r.assRate, beatsRandom = r.pAlert >= 0 && r.pAlert < 0.05;
    std::printf("Over %d test years with %d M%.1f+ targets, the alert ranking scored a pooled ASS of %.3f (%s against "
                "random rankings) and the rate baseline %.3f (%s): the alert ranking %s the rate baseline and %s.\n",
                int(r.years.size()), r.targets, c.minMag, r.assAlert, PValue(r.pAlert).c_str(), r.assRate,
                PValue(r.pRate).c_str(), beatsRate ? "beat" : "did not beat",
                beatsRandom ? "beat random rankings" : "was no better than random rankings");
    if (c.svg && status == kExitOk) {
        Chart chart;
        chart.title = "Molchan diagram, pooled " + std::to_string(c.fromYear) + "-" + std::to_string(toYear);
        chart.xLabel = "fraction of regions alarmed (τ)";
        chart.yLabel = "fraction of targets missed (ν)";
        chart.series = {{"alert ranking (ASS " + Fixed(r.assAlert) + ")", "#d62728", Points(r.alertCurve)},
                        {"rate baseline (ASS " + Fixed(r.assRate) + ")", "#1f77b4", Points(r.rateCurve)},
                        {"random (ASS 0.5)", "#7f7f7f", {{0, 1}, {1, 0}}, false, true}};
        status = WriteText(c.svg, SvgChart(chart));
    }
    return status;
}

namespace {

std::string RegionLabel(int region) {
    if (region < 0) return "all";
    std::string utf8;
    return SjisToUtf8(RegionName(region), &utf8) == 0 ? utf8 : std::to_string(region);
}

std::string FrequencyChart(const RegionGr& set) {
    const GrFit& fit = set.fit;
    const int low = *std::min_element(set.magnitude10.begin(), set.magnitude10.end());
    const int high = *std::max_element(set.magnitude10.begin(), set.magnitude10.end());
    std::vector<int> perBin, cumulative;
    MagnitudeBins(set.magnitude10, low, high, &perBin, &cumulative);
    Chart chart;
    chart.title = "Frequency-magnitude: " + RegionLabel(set.region) +
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
        ChartSeries line{"log10 N = " + Fixed(fit.a, 2) + " - " + Fixed(fit.b, 2) + " M", "#2ca02c", {}, false, true};
        for (double m : {fit.mc, high / 10.0}) line.points.push_back(ChartPoint{m, std::pow(10, fit.a - fit.b * m)});
        chart.series.push_back(line);
    }
    chart.xMarks = {fit.mc};
    return SvgChart(chart);
}

}  // namespace

// The region of that UTF-8 name, or -1.
static int RegionNamed(const std::string& utf8) {
    std::string sjis;
    if (Utf8ToSjis(utf8.c_str(), &sjis) != 0) return -1;
    for (int r = 0; r < kRegionSlots; r++)
        if (RegionTable[r].code != 0 && sjis == RegionName(r)) return r;
    return -1;
}

int RunGrCommand(const GrCommand& c) {
    const int region = c.region.empty() ? -1 : RegionNamed(c.region);
    if (!c.region.empty() && region < 0) {
        std::fprintf(stderr, "wolt-cli: gr --region: no region named %s\n", c.region.c_str());
        return kExitUsage;
    }
    double years = 0;
    std::vector<RegionGr> rows = FitSelectedRegions(c.all || region >= 0, c.mc10, c.minEvents, &years);
    if (region >= 0)
        rows.erase(std::remove_if(rows.begin(), rows.end(), [region](const RegionGr& r) { return r.region != region; }),
                   rows.end());
    if (rows.empty()) {
        std::fprintf(stderr, "wolt-cli: gr: no record %s meets the conditions\n", c.region.c_str());
        return kExitNoData;
    }
    std::string csv = "region,n,mc,b,b_err,a,recurrence_m6_years,program_recurrence_years\n";
    for (const RegionGr& s : rows) {
        const GrFit& fit = s.fit;
        csv += "\"" + RegionLabel(s.region) + "\"," + std::to_string(fit.n) + "," + Fixed(fit.mc, 1) + "," +
               (fit.estimated ? Fixed(fit.b) + "," + Fixed(fit.bErr) + "," + Fixed(fit.a) + "," +
                                    Fixed(fit.recurrenceM6Years, 1)
                              : ",,,") +
               "," + (s.m6 > 0 ? Fixed(years / s.m6, 1) : "") + "\n";
    }
    int status = c.csv ? WriteText(c.csv, csv) : (std::fputs(csv.c_str(), stdout), kExitOk);
    if (c.svg && status == kExitOk)
        status = WriteText(c.svg, FrequencyChart(rows[0]));
    return status;
}
