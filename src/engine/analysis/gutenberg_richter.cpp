#include "engine/analysis/gutenberg_richter.h"

#include <algorithm>
#include <cmath>

#include "engine/catalogue/model.h"

int MaxCurvatureMc10(const std::vector<int>& magnitude10) {
    std::vector<int> count(100, 0);
    for (int m : magnitude10)
        if (m >= 0 && m < 100) count[size_t(m)]++;
    int best = -1;
    for (int m = 0; m < 100; m++)
        if (count[size_t(m)] > 0 && (best < 0 || count[size_t(m)] > count[size_t(best)])) best = m;
    return best < 0 ? 0 : best + 2;
}

GrFit FitGutenbergRichter(const std::vector<int>& magnitude10, double spanYears, int mc10, int minEvents) {
    GrFit fit{};
    fit.events = int(magnitude10.size());
    if (mc10 == kMcMaxCurvature) mc10 = MaxCurvatureMc10(magnitude10);
    fit.mc = mc10 / 10.0;
    double sum = 0;
    for (int m : magnitude10)
        if (m >= mc10) fit.n++, sum += m / 10.0;
    if (fit.n < std::max(minEvents, 2) || spanYears <= 0) return fit;
    const double mean = sum / fit.n;
    if (mean - (fit.mc - 0.05) <= 0) return fit;
    double squares = 0;
    for (int m : magnitude10)
        if (m >= mc10) squares += (m / 10.0 - mean) * (m / 10.0 - mean);
    fit.estimated = true;
    fit.b = std::log10(std::exp(1.0)) / (mean - (fit.mc - 0.05));
    fit.bErr = 2.30 * fit.b * fit.b * std::sqrt(squares / (double(fit.n) * (fit.n - 1)));
    // log10 N(M >= m) = a - b m over the whole span, N counted from Mc up.
    fit.a = std::log10(double(fit.n)) + fit.b * fit.mc;
    fit.recurrenceM6Years = spanYears / std::pow(10.0, fit.a - fit.b * 6.0);
    return fit;
}

void MagnitudeBins(const std::vector<int>& magnitude10, int low10, int high10, std::vector<int>* perBin,
                   std::vector<int>* cumulative) {
    const int bins = std::max(0, high10 - low10 + 1);
    perBin->assign(size_t(bins), 0);
    for (int m : magnitude10)
        if (m >= low10 && m <= high10) (*perBin)[size_t(m - low10)]++;
    cumulative->assign(size_t(bins), 0);
    int above = 0;
    for (int m : magnitude10) above += m > high10;
    for (int k = bins - 1; k >= 0; k--) (*cumulative)[size_t(k)] = above += (*perBin)[size_t(k)];
}

std::vector<RegionGr> FitSelectedRegions(bool perRegion, int mc10, int minEvents, double* spanYears) {
    std::vector<RegionGr> sets(perRegion ? kRegionSlots : 1);
    for (size_t k = 0; k < sets.size(); k++) sets[k].region = perRegion ? int(k) : -1, sets[k].m6 = 0;
    const QuakeRecord *newest = nullptr, *oldest = nullptr;
    for (int i = 0; gpEQ && i < kMaxRecords && gpEQ[i].magnitude10 != 0; i++) {
        const QuakeRecord& r = gpEQ[i];
        if (r.inFilter != 1 || (perRegion && r.regionIndex >= kRegionSlots)) continue;
        if (!newest) newest = &r;
        oldest = &r;
        RegionGr& set = sets[perRegion ? r.regionIndex : 0];
        set.magnitude10.push_back(r.magnitude10);
        set.m6 += r.magnitude10 >= 60;
    }
    *spanYears = newest ? (DaysBetweenRecords(*oldest, *newest) + 1) / 365.2425 : 0;
    std::vector<RegionGr> out;
    for (RegionGr& set : sets)
        if (!set.magnitude10.empty()) {
            set.fit = FitGutenbergRichter(set.magnitude10, *spanYears, mc10, minEvents);
            out.push_back(std::move(set));
        }
    std::stable_sort(out.begin(), out.end(),
                     [](const RegionGr& a, const RegionGr& b) { return a.magnitude10.size() > b.magnitude10.size(); });
    return out;
}
