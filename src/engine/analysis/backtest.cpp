#include "engine/analysis/backtest.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>

#include "engine/analysis/alert.h"
#include "engine/catalogue/model.h"
#include "engine/rules/settings.h"
#include "engine/selection/conditions.h"

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

// The pooled trajectory: at each τ, the misses of every year with targets
// added up (each year's ν weighted by its targets).
static std::vector<MolchanPoint> Pooled(const std::vector<BacktestYear>& years, bool alert) {
    std::vector<double> taus;
    for (const BacktestYear& y : years)
        if (y.targets > 0)
            for (const MolchanPoint& p : alert ? y.alertCurve : y.rateCurve) taus.push_back(p.tau);
    std::sort(taus.begin(), taus.end());
    taus.erase(std::unique(taus.begin(), taus.end()), taus.end());
    std::vector<MolchanPoint> curve;
    for (double tau : taus) {
        double missed = 0, targets = 0;
        for (const BacktestYear& y : years)
            if (y.targets > 0) missed += y.targets * NuAt(alert ? y.alertCurve : y.rateCurve, tau), targets += y.targets;
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

// The catalogue as a Data folder ending on 31 December of `year - 1` would
// load: records before that year only, every record selected.
static int LoadLearningCatalogue(const std::vector<QuakeRecord>& all, int year) {
    size_t first = 0;
    while (first < all.size() && all[first].year >= year) first++;
    const size_t count = all.size() - first;
    std::memset(gpEQ, 0, sizeof(QuakeRecord) * kMaxRecords);
    if (count == 0) return 0;
    std::memcpy(gpEQ, all.data() + first, sizeof(QuakeRecord) * count);
    SettingsBlock& s = AppSettings;
    const QuakeRecord& oldest = all.back();
    s.recordCount = int(count);
    s.startYear = oldest.year, s.startMonth = oldest.month, s.startDay = oldest.day, s.startHour = 0, s.startMinute = 0;
    s.endYear = year - 1, s.endMonth = 12, s.endDay = 31, s.endHour = 23, s.endMinute = 59;
    s.magMin = 0, s.magMax = 10, s.depthMin = 0, s.depthMax = 65535, s.intMin = 0, s.intMax = 9;
    ApplyConditions();   // with the program's own alert ranking
    return int(count);
}

static BacktestYear ScoreYear(const std::vector<QuakeRecord>& all, int year, int minMag10) {
    BacktestYear y{};
    y.year = year;
    // The cells: the regions with a record before the year, in region order.
    std::vector<int> cellOf(kRegionSlots, -1);
    for (int i = 0; i < kMaxRecords && gpEQ[i].magnitude10 != 0; i++) cellOf[gpEQ[i].regionIndex] = 0;
    for (int& cell : cellOf)
        if (cell == 0) cell = y.cells++;
    std::vector<double> alert(size_t(y.cells), 0), counts(size_t(y.cells), 0);
    for (int i = 0; i < kMaxRecords && gpEQ[i].magnitude10 != 0; i++)
        if (gpEQ[i].magnitude10 >= minMag10) counts[size_t(cellOf[gpEQ[i].regionIndex])]++;
    for (const AlertEntry& e : AlertTable)
        if (e.eventCount != 0 && e.regionIndex >= 0 && cellOf[size_t(e.regionIndex)] >= 0)
            alert[size_t(cellOf[size_t(e.regionIndex)])] = e.alertLevel;
    y.hits.assign(size_t(y.cells), 0);
    for (const QuakeRecord& r : all)
        if (r.year == year && r.magnitude10 >= minMag10) {
            y.targets++;
            if (cellOf[r.regionIndex] >= 0) y.hits[size_t(cellOf[r.regionIndex])]++;
            else y.outside++;
        }
    y.assAlert = MolchanAss(alert, y.hits, y.outside, &y.alertCurve);
    y.assRate = MolchanAss(counts, y.hits, y.outside, &y.rateCurve);
    y.top10Alert = TopTenHits(alert, y.hits, y.outside);
    y.top10Rate = TopTenHits(counts, y.hits, y.outside);
    y.top10Random = y.targets > 0 && y.cells > 0 ? std::min(10, y.cells) / double(y.cells) : -1;
    return y;
}

int RunBacktest(int fromYear, int toYear, int minMag10, int permutations, uint64_t seed, BacktestResult* out) {
    *out = BacktestResult{};
    const std::vector<QuakeRecord> all(gpEQ, gpEQ + DataEnd());
    const SettingsBlock saved = AppSettings;
    for (int year = fromYear; year <= toYear; year++)
        if (LoadLearningCatalogue(all, year) > 0) out->years.push_back(ScoreYear(all, year, minMag10));
    std::memset(gpEQ, 0, sizeof(QuakeRecord) * kMaxRecords);
    std::copy(all.begin(), all.end(), gpEQ);
    AppSettings = saved;
    ApplyConditions();
    if (out->years.empty()) return BACKTEST_NO_YEARS;

    double weighted[5] = {}, cells = 0;
    int withTargets = 0;
    for (const BacktestYear& y : out->years) {
        if (y.targets == 0) continue;
        const double values[5] = {y.assAlert, y.assRate, y.top10Alert, y.top10Rate, y.top10Random};
        for (int k = 0; k < 5; k++) weighted[k] += values[k] * (k < 4 ? y.targets : 1);
        out->targets += y.targets;
        cells += y.cells;
        withTargets++;
    }
    if (withTargets == 0) {
        out->assAlert = out->assRate = out->top10Alert = out->top10Rate = out->top10Random = -1;
        out->pAlert = out->pRate = -1;
        return BACKTEST_OK;
    }
    out->cells = cells / withTargets;
    out->assAlert = weighted[0] / out->targets, out->assRate = weighted[1] / out->targets;
    out->top10Alert = weighted[2] / out->targets, out->top10Rate = weighted[3] / out->targets;
    out->top10Random = weighted[4] / withTargets;
    out->alertCurve = Pooled(out->years, true);
    out->rateCurve = Pooled(out->years, false);
    std::mt19937_64 random(seed);
    std::vector<int> positions;
    int atLeastAlert = 0, atLeastRate = 0;
    for (int k = 0; k < permutations; k++) {
        const double ass = RandomPooledAss(out->years, &random, &positions);
        atLeastAlert += ass >= out->assAlert - 1e-12;
        atLeastRate += ass >= out->assRate - 1e-12;
    }
    out->pAlert = permutations > 0 ? double(atLeastAlert) / permutations : -1;
    out->pRate = permutations > 0 ? double(atLeastRate) / permutations : -1;
    return BACKTEST_OK;
}
