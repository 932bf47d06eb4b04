// wolt-cli aftershocks: the Omori-Utsu decay of a main shock's sequence and
// the expected numbers of further strong aftershocks.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "analysis_commands.h"
#include "cli_common.h"
#include "engine/analysis/aftershocks.h"
#include "engine/model/geo.h"
#include "engine/model/records.h"
#include "engine/picture/svg_chart.h"
#include "platform/platform.h"

static std::string IntensityLabel(int intensity) {
    std::string utf8;
    return intensity < 10 && SjisToUtf8(IntensityLabels[intensity], &utf8) == 0 ? utf8 : "";
}

static std::string Csv(const AftershockSequence& r, double startDays) {
    std::string csv = "days,time,magnitude,depth_km,distance_km,latitude,longitude,intensity,region,in_fit\n";
    for (const Aftershock& a : r.events) {
        const QuakeRecord& q = gpEQ[a.record];
        if (q.magnitude10 < r.minMag10) continue;
        double lat, lon;
        GridToGeo(q.mapX, q.mapY, &lat, &lon);
        char line[160];
        std::snprintf(line, sizeof line, "%.5f,%04d-%02d-%02dT%02d:%02d:00+09:00,%.1f,%d,%.1f,%.3f,%.3f,", a.days,
                      q.year, q.month, q.day, q.hour, q.minute, q.magnitude10 / 10.0, q.depthKm, a.distanceKm, lat, lon);
        csv += line + IntensityLabel(q.intensity) + ",\"" + RegionLabel(q.regionIndex) + "\"," +
               (a.days >= startDays ? "1" : "0") + "\n";
    }
    return csv;
}

// The fitted events' rate in bins of a fifth of a decade, and the fitted law.
static std::string RateChart(const AftershockSequence& r, const OmoriFit& f, const AftershocksCommand& c) {
    const double from = std::max(c.startDays, 1.0 / 1440), to = c.days;
    const int bins = std::max(1, int(std::ceil(std::log10(to / from) * 5)));
    std::vector<int> counts(size_t(bins), 0);
    for (const Aftershock& a : r.events)
        if (gpEQ[a.record].magnitude10 >= r.minMag10 && a.days >= from && a.days <= to)
            counts[size_t(std::min(bins - 1, int(std::log10(a.days / from) * 5)))]++;
    Chart chart;
    chart.title = "Aftershock rate, M" + Fixed(r.minMag10 / 10.0, 1) + "+: K = " + Significant(f.K) +
                  ", c = " + Significant(f.c) + " d, p = " + Fixed(f.p, 2);
    chart.xLabel = "days after the main shock";
    chart.yLabel = "aftershocks per day";
    chart.logX = chart.logY = true;
    chart.xMin = std::pow(10, std::floor(std::log10(from))), chart.xMax = std::pow(10, std::ceil(std::log10(to)));
    ChartSeries observed{"observed", "#1f77b4", {}, true}, law{"K / (t + c)^p", "#d62728", {}};
    double low = HUGE_VAL, high = 0;
    for (int k = 0; k < bins; k++) {
        const double a = from * std::pow(10, k / 5.0), b = std::min(to, from * std::pow(10, (k + 1) / 5.0));
        if (counts[size_t(k)] == 0 || b <= a) continue;
        const double rate = counts[size_t(k)] / (b - a);
        observed.points.push_back(ChartPoint{std::sqrt(a * b), rate});
        low = std::min(low, rate), high = std::max(high, rate);
    }
    for (int k = 0; k <= 100; k++) {
        const double t = from * std::pow(to / from, k / 100.0), rate = f.K / std::pow(t + f.c, f.p);
        law.points.push_back(ChartPoint{t, rate});
        low = std::min(low, rate), high = std::max(high, rate);
    }
    chart.yMin = std::pow(10, std::floor(std::log10(low))), chart.yMax = std::pow(10, std::ceil(std::log10(high)));
    chart.series = {observed, law};
    return SvgChart(chart);
}

static void PrintResult(const AftershockSequence& r, const AftershockFit& fit, const AftershocksCommand& c) {
    const QuakeRecord& m = gpEQ[r.mainRecord];
    const OmoriFit& f = fit.omori;
    std::printf("Main shock: %04d/%02d/%02d %02d:%02d %s M%.1f, depth %d km\n", m.year, m.month, m.day, m.hour,
                m.minute, RegionLabel(m.regionIndex).c_str(), m.magnitude10 / 10.0, m.depthKm);
    std::printf("Within %g km and %g days: %d earthquakes", c.radiusKm, c.days, int(r.events.size()));
    if (r.unplaced > 0) std::printf(" (%d without a position left out)", r.unplaced);
    std::printf("; M%.1f and up (%s): %d from day %g\n", r.minMag10 / 10.0,
                r.mcFromSequence ? "the sequence's Mc" : "--min-mag", int(r.times.size()), c.startDays);
    std::printf("Omori-Utsu n(t) = K / (t + c)^p per day: K = %s ± %s, c = %s ± %s days, p = %.3f ± %s\n",
                Significant(f.K).c_str(), Significant(f.kErr).c_str(), Significant(f.c).c_str(),
                Significant(f.cErr).c_str(), f.p, Significant(f.pErr).c_str());
    if (fit.forecasts.empty()) {
        std::printf("The fitted events all have one magnitude: no b-value, no forecast.\n");
        return;
    }
    std::printf("Gutenberg-Richter b of the fitted events: %.3f ± %.3f\n", fit.b, fit.bErr);
    std::printf("Expected aftershocks after day %g (Reasenberg-Jones), with the probability of at least one:\n", c.days);
    for (size_t k = 0; k < fit.forecasts.size(); k++) {
        const AftershockForecast& a = fit.forecasts[k];
        if (k % 3 == 0) std::printf("  M%.1f+:", a.mag);
        std::printf("  next %g day%s %s (%.1f%%)%s", a.days, a.days == 1 ? "" : "s", Significant(a.expected).c_str(),
                    a.probability * 100, k % 3 == 2 ? "\n" : ",");
    }
}

int RunAftershocksCommand(const AftershocksCommand& c) {
    AftershockQuery q;
    q.year = c.main[0], q.month = c.main[1], q.day = c.main[2], q.hour = c.main[3], q.minute = c.main[4];
    q.radiusKm = c.radiusKm, q.days = c.days, q.startDays = c.startDays;
    q.minMag10 = c.minMag < 0 ? -1 : int(std::lround(c.minMag * 10));
    AftershockSequence r;
    int status = FindAftershocks(gpEQ, DataEnd(), q, &r);
    if (status == AFTERSHOCK_NO_MAIN) {
        std::fprintf(stderr, "wolt-cli: aftershocks: no selected earthquake within a minute of %04d/%02d/%02d %02d:%02d\n",
                     q.year, q.month, q.day, q.hour, q.minute);
        return EXIT_NO_DATA;
    }
    if (status == AFTERSHOCK_MAIN_UNPLACED) {
        std::fprintf(stderr, "wolt-cli: aftershocks: the main shock has no position\n");
        return EXIT_NO_DATA;
    }
    if (r.events.empty()) {
        std::fprintf(stderr, "wolt-cli: aftershocks: no earthquake within %g km in the %g days after the main shock\n",
                     c.radiusKm, c.days);
        return EXIT_NO_DATA;
    }
    AftershockFit fit;
    status = FitAftershocks(gpEQ, r, q, &fit);
    if (status != AFTERSHOCK_OK) {
        std::fprintf(stderr, "wolt-cli: aftershocks: %d earthquakes of M%.1f+ in days %g-%g within %g km: %s\n",
                     int(r.times.size()), r.minMag10 / 10.0, c.startDays, c.days, c.radiusKm,
                     status == AFTERSHOCK_TOO_FEW ? "too few to fit (at least 10)"
                                                  : "the Omori-Utsu likelihood has no maximum (c or p at a bound)");
        return EXIT_NO_DATA;
    }
    PrintResult(r, fit, c);
    int result = c.csv ? WriteText(c.csv, Csv(r, c.startDays)) : EXIT_OK;
    if (c.svg && result == EXIT_OK) result = WriteText(c.svg, RateChart(r, fit.omori, c));
    return result;
}
