#include "engine/analysis/gutenberg_richter.h"

#include <algorithm>
#include <cmath>

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
