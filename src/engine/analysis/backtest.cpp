#include "engine/analysis/backtest.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <utility>

#include "engine/analysis/alert.h"
#include "engine/analysis/smoothed_seismicity.h"
#include "engine/model/records.h"

// Cells from the highest score down, equal scores in cell order.
static std::vector<int> Ranked(const std::vector<double>& scores) {
    std::vector<int> order(scores.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return scores[size_t(a)] > scores[size_t(b)]; });
    return order;
}

double MolchanAss(const std::vector<double>& scores, const std::vector<int>& hits, int outside,
                  std::vector<MolchanPoint>* curve) {
    const int n = std::accumulate(hits.begin(), hits.end(), outside);
    const double cells = double(scores.size());
    curve->assign(1, MolchanPoint{0, 1});
    if (n == 0 || scores.empty()) return -1;
    const std::vector<int> order = Ranked(scores);
    int missed = n;
    double area = 0;
    for (size_t i = 0; i < order.size();) {
        size_t j = i;
        int caught = 0;
        while (j < order.size() && scores[size_t(order[j])] == scores[size_t(order[i])]) caught += hits[size_t(order[j++])];
        const MolchanPoint from = curve->back(), to{double(j) / cells, double(missed - caught) / n};
        area += (to.tau - from.tau) * (from.nu + to.nu) / 2;
        curve->push_back(to);
        missed -= caught;
        i = j;
    }
    return 1 - area;
}

double TopTenHits(const std::vector<double>& scores, const std::vector<int>& hits, int outside) {
    const int n = std::accumulate(hits.begin(), hits.end(), outside);
    if (n == 0) return -1;
    const std::vector<int> order = Ranked(scores);
    int caught = 0;
    for (size_t k = 0; k < order.size() && k < 10; k++) caught += hits[size_t(order[k])];
    return double(caught) / n;
}

// ν of a trajectory at τ, along its straight segments.
static double NuAt(const std::vector<MolchanPoint>& curve, double tau) {
    for (size_t k = 1; k < curve.size(); k++)
        if (tau <= curve[k].tau + 1e-12) {
            const MolchanPoint &a = curve[k - 1], &b = curve[k];
            return b.tau > a.tau ? a.nu + (b.nu - a.nu) * (tau - a.tau) / (b.tau - a.tau) : b.nu;
        }
    return curve.back().nu;
}

typedef std::vector<MolchanPoint> BacktestYear::*YearCurve;

// The pooled trajectory: at each τ, the misses of every year with targets
// added up (each year's ν weighted by its targets).
static std::vector<MolchanPoint> Pooled(const std::vector<BacktestYear>& years, YearCurve which) {
    std::vector<double> taus;
    for (const BacktestYear& y : years)
        if (y.targets > 0)
            for (const MolchanPoint& p : y.*which) taus.push_back(p.tau);
    std::sort(taus.begin(), taus.end());
    taus.erase(std::unique(taus.begin(), taus.end()), taus.end());
    std::vector<MolchanPoint> curve;
    for (double tau : taus) {
        double missed = 0, targets = 0;
        for (const BacktestYear& y : years)
            if (y.targets > 0) missed += y.targets * NuAt(y.*which, tau), targets += y.targets;
        curve.push_back(MolchanPoint{tau, missed / targets});
    }
    return curve;
}

// The pooled ASS of random rankings, one draw: each year's target cells get
// distinct random positions among its cells (a target at position p counts
// (p + 0.5) / cells of area, one outside every cell a whole 1).
static double RandomPooledAss(const std::vector<BacktestYear>& years, std::mt19937_64* random,
                              std::vector<int>* positions) {
    double area = 0, targets = 0;
    for (const BacktestYear& y : years) {
        if (y.targets == 0) continue;
        const int cells = int(y.hits.size());
        positions->resize(size_t(cells));
        std::iota(positions->begin(), positions->end(), 0);
        int drawn = 0;
        for (int c = 0; c < cells; c++) {
            if (y.hits[size_t(c)] == 0) continue;
            // Partial Fisher-Yates: the next distinct position.
            const int pick = drawn + int((*random)() % uint64_t(cells - drawn));
            std::swap((*positions)[size_t(drawn)], (*positions)[size_t(pick)]);
            area += y.hits[size_t(c)] * ((*positions)[size_t(drawn)] + 0.5) / cells;
            drawn++;
        }
        area += y.outside;
        targets += y.targets;
    }
    return 1 - area / targets;
}

// One test year against the learning catalogue `learning` (the `count`
// records before the year, newest first) and the smoothed seismicity of the
// same records.
static BacktestYear ScoreYear(const QuakeRecord* records, int count, const QuakeRecord* learning, int learningCount,
                              const RegionEntry* regions, const SmoothedSeismicity& smoothed, int year,
                              const BacktestOptions& o) {
    BacktestYear y{};
    y.year = year;
    // The cells: the regions with a record before the year, in region order.
    std::vector<int> cellOf(kRegionSlots, -1), regionOf;
    for (int i = 0; i < learningCount; i++) cellOf[learning[i].regionIndex] = 0;
    for (int region = 0; region < kRegionSlots; region++)
        if (cellOf[size_t(region)] == 0) cellOf[size_t(region)] = y.cells++, regionOf.push_back(region);
    std::vector<double> alert(size_t(y.cells), 0), counts(size_t(y.cells), 0);
    for (int i = 0; i < learningCount; i++)
        if (learning[i].magnitude10 >= o.minMag10) counts[size_t(cellOf[learning[i].regionIndex])]++;
    // The program's ranking of the learning catalogue, every record selected.
    std::vector<AlertEntry> table(kAlertEntries);
    RankAlertTable(learning, learningCount, 0, regions, table.data());
    for (const AlertEntry& e : table)
        if (e.eventCount != 0 && e.regionIndex >= 0 && cellOf[size_t(e.regionIndex)] >= 0)
            alert[size_t(cellOf[size_t(e.regionIndex)])] = e.alertLevel;
    const std::vector<double> smooth = SmoothedScores(smoothed, regionOf, o.smoothKm);
    y.hits.assign(size_t(y.cells), 0);
    for (int i = 0; i < count; i++) {
        const QuakeRecord& r = records[i];
        if (r.year == year && r.magnitude10 >= o.minMag10) {
            y.targets++;
            if (cellOf[r.regionIndex] >= 0) y.hits[size_t(cellOf[r.regionIndex])]++;
            else y.outside++;
        }
    }
    y.assAlert = MolchanAss(alert, y.hits, y.outside, &y.alertCurve);
    y.assRate = MolchanAss(counts, y.hits, y.outside, &y.rateCurve);
    y.assSmoothed = MolchanAss(smooth, y.hits, y.outside, &y.smoothedCurve);
    y.top10Alert = TopTenHits(alert, y.hits, y.outside);
    y.top10Rate = TopTenHits(counts, y.hits, y.outside);
    y.top10Smoothed = TopTenHits(smooth, y.hits, y.outside);
    y.top10Random = y.targets > 0 && y.cells > 0 ? std::min(10, y.cells) / double(y.cells) : -1;
    return y;
}

// The figures pooled over r->years, and their permutation p-values.
static void PoolYears(const BacktestOptions& o, BacktestResult* r) {
    enum { kAlert, kRate, kSmoothed, kTop10Alert, kTop10Rate, kTop10Smoothed, kTop10Random, kMeasures };
    double weighted[kMeasures] = {}, cells = 0;
    int withTargets = 0;
    for (const BacktestYear& y : r->years) {
        if (y.targets == 0) continue;
        const double values[kMeasures] = {y.assAlert,   y.assRate,   y.assSmoothed, y.top10Alert,
                                          y.top10Rate, y.top10Smoothed, y.top10Random};
        for (int k = 0; k < kMeasures; k++) weighted[k] += values[k] * (k != kTop10Random ? y.targets : 1);
        r->targets += y.targets;
        cells += y.cells;
        withTargets++;
    }
    if (withTargets == 0) {
        r->assAlert = r->assRate = r->assSmoothed = -1;
        r->top10Alert = r->top10Rate = r->top10Smoothed = r->top10Random = -1;
        r->pAlert = r->pRate = r->pSmoothed = -1;
        return;
    }
    r->cells = cells / withTargets;
    r->assAlert = weighted[kAlert] / r->targets, r->assRate = weighted[kRate] / r->targets;
    r->assSmoothed = weighted[kSmoothed] / r->targets;
    r->top10Alert = weighted[kTop10Alert] / r->targets, r->top10Rate = weighted[kTop10Rate] / r->targets;
    r->top10Smoothed = weighted[kTop10Smoothed] / r->targets;
    r->top10Random = weighted[kTop10Random] / withTargets;
    r->alertCurve = Pooled(r->years, &BacktestYear::alertCurve);
    r->rateCurve = Pooled(r->years, &BacktestYear::rateCurve);
    r->smoothedCurve = Pooled(r->years, &BacktestYear::smoothedCurve);
    std::mt19937_64 random(o.seed);
    std::vector<int> positions;
    int atLeast[3] = {};
    const double pooled[3] = {r->assAlert, r->assRate, r->assSmoothed};
    for (int k = 0; k < o.permutations; k++) {
        const double ass = RandomPooledAss(r->years, &random, &positions);
        for (int m = 0; m < 3; m++) atLeast[m] += ass >= pooled[m] - 1e-12;
    }
    double* p[3] = {&r->pAlert, &r->pRate, &r->pSmoothed};
    for (int m = 0; m < 3; m++) *p[m] = o.permutations > 0 ? double(atLeast[m]) / o.permutations : -1;
}

int RunBacktest(const QuakeRecord* records, int count, const RegionEntry* regions, const BacktestOptions& o,
                BacktestResult* out) {
    BacktestResult result{};
    SmoothedSeismicity smoothed;
    ClearSmoothed(&smoothed);
    int added = count;   // records[added..count) are in `smoothed`
    for (int year = o.fromYear; year <= o.toYear; year++) {
        int first = 0;   // the learning catalogue: records[first..count), before the year
        while (first < count && records[first].year >= year) first++;
        if (first == count) continue;
        while (added > first) AddToSmoothed(&smoothed, records[--added]);
        result.years.push_back(ScoreYear(records, count, records + first, count - first, regions, smoothed, year, o));
    }
    if (result.years.empty()) return BACKTEST_NO_YEARS;
    PoolYears(o, &result);
    *out = std::move(result);
    return BACKTEST_OK;
}
