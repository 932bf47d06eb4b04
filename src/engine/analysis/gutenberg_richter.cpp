#include "engine/analysis/gutenberg_richter.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "engine/model/records.h"

namespace {

enum { kBins = 100, kStabilityBins = 5, kMinPositiveDifference10 = 2 };

const double kLog10E = 0.43429448190325182765;

// Events per 0.1 bin, and from each bin up: their number, the sum of their
// magnitude10 and of its square (exact integers).
struct Histogram {
    int count[kBins];
    long long n[kBins + 1], s1[kBins + 1], s2[kBins + 1];
};

void CountBins(const std::vector<int>& magnitude10, Histogram* h) {
    std::fill(h->count, h->count + kBins, 0);
    for (int m : magnitude10)
        if (m >= 0 && m < kBins) h->count[m]++;
}

void SumTails(Histogram* h) {
    h->n[kBins] = h->s1[kBins] = h->s2[kBins] = 0;
    for (int k = kBins - 1; k >= 0; k--) {
        const long long c = h->count[k];
        h->n[k] = h->n[k + 1] + c, h->s1[k] = h->s1[k + 1] + c * k, h->s2[k] = h->s2[k + 1] + c * k * k;
    }
}

// Aki-Utsu with the binning correction and the Shi-Bolt error at Mc = k / 10.
bool BAt(const Histogram& h, int k, double* b, double* bErr) {
    if (k < 0 || k >= kBins) return false;
    const long long n = h.n[k];
    if (n < 2) return false;
    const double mean = double(h.s1[k]) / double(n) / 10, spread = mean - (k / 10.0 - 0.05);
    if (spread <= 0) return false;
    const double squares = double(n * h.s2[k] - h.s1[k] * h.s1[k]) / double(n) / 100;   // Σ (M - mean)²
    *b = kLog10E / spread;
    *bErr = 2.30 * *b * *b * std::sqrt(squares / (double(n) * double(n - 1)));
    return true;
}

int ModeBin(const Histogram& h) {
    int best = -1;
    for (int m = 0; m < kBins; m++)
        if (h.count[m] > 0 && (best < 0 || h.count[m] > h.count[best])) best = m;
    return best;
}

// b-value stability: from the most populated bin up, the first Mc with at
// least `minEvents` events whose b lies within its Shi-Bolt error of the mean
// b at Mc, Mc + 0.1, ..., Mc + 0.4 (the next 0.5 magnitude units). -1 if none.
int StableMc10(const Histogram& h, int minEvents) {
    const int mode = ModeBin(h);
    for (int k = std::max(mode, 0); mode >= 0 && k < kBins && h.n[k] >= minEvents; k++) {
        double b, bErr, sum = 0, bj, unused;
        if (!BAt(h, k, &b, &bErr)) return -1;
        for (int j = k; j < k + kStabilityBins; j++) {
            if (!BAt(h, j, &bj, &unused)) return -1;
            sum += bj;
        }
        if (std::fabs(sum / kStabilityBins - b) <= bErr) return k;
    }
    return -1;
}

int McOf(const Histogram& h, const GrOptions& o, bool* fellBack) {
    *fellBack = false;
    if (o.method == GR_MC_FIXED) return o.mc10;
    if (o.method == GR_MC_STABILITY) {
        const int k = StableMc10(h, o.minEvents);
        if (k >= 0) return k;
        *fellBack = true;
    }
    const int mode = ModeBin(h);
    return mode < 0 ? 0 : mode + 2;
}

double StandardDeviation(const std::vector<double>& values) {
    if (values.size() < 2) return -1;
    double mean = 0, squares = 0;
    for (double v : values) mean += v;
    mean /= double(values.size());
    for (double v : values) squares += (v - mean) * (v - mean);
    return std::sqrt(squares / double(values.size() - 1));
}

// Resamples of the magnitudes with replacement (indices from 32-bit halves
// of a fixed-seed generator, the same on every platform): the spread of Mc
// by the same method and of b at that Mc.
void Bootstrap(const std::vector<int>& all, const GrOptions& o, GrFit* fit) {
    std::vector<int> magnitude10;
    for (int m : all)
        if (m >= 0 && m < kBins) magnitude10.push_back(m);
    std::mt19937_64 random(o.seed);
    const uint64_t n = magnitude10.size();
    std::vector<double> mcs, bs;
    Histogram h;
    for (int r = 0; r < o.resamples; r++) {
        std::fill(h.count, h.count + kBins, 0);
        for (uint64_t k = 0; k < n; k += 2) {
            const uint64_t word = random();
            h.count[magnitude10[((word & 0xFFFFFFFFu) * n) >> 32]]++;
            if (k + 1 < n) h.count[magnitude10[((word >> 32) * n) >> 32]]++;
        }
        SumTails(&h);
        bool fellBack;
        const int mc10 = McOf(h, o, &fellBack);
        double b, bErr;
        mcs.push_back(mc10 / 10.0);
        if (BAt(h, mc10, &b, &bErr)) bs.push_back(b);
    }
    fit->mcErr = StandardDeviation(mcs);
    fit->bBootErr = StandardDeviation(bs);
}

}  // namespace

int MaxCurvatureMc10(const std::vector<int>& magnitude10) {
    Histogram h;
    CountBins(magnitude10, &h);
    const int mode = ModeBin(h);
    return mode < 0 ? 0 : mode + 2;
}

bool AkiUtsuB(const std::vector<int>& magnitude10, int mc10, double* b, double* bErr, int* n) {
    Histogram h;
    CountBins(magnitude10, &h);
    SumTails(&h);
    if (mc10 < 0 || mc10 >= kBins || !BAt(h, mc10, b, bErr)) return false;
    *n = int(h.n[mc10]);
    return true;
}

double BPositive(const std::vector<int>& magnitude10, int minDifferences, int* differences) {
    Histogram h;
    std::fill(h.count, h.count + kBins, 0);
    for (size_t k = 1; k < magnitude10.size(); k++) {
        const int d = magnitude10[k] - magnitude10[k - 1];
        if (d >= kMinPositiveDifference10 && d < kBins) h.count[d]++;
    }
    SumTails(&h);
    *differences = int(h.n[kMinPositiveDifference10]);
    double b, bErr;
    if (*differences < std::max(minDifferences, 2) || !BAt(h, kMinPositiveDifference10, &b, &bErr)) return -1;
    return b;
}

GrFit FitGutenbergRichter(const std::vector<int>& magnitude10, double spanYears, const GrOptions& o) {
    GrFit fit{};
    fit.events = int(magnitude10.size());
    fit.mcErr = fit.bBootErr = -1;
    Histogram h;
    CountBins(magnitude10, &h);
    SumTails(&h);
    const int mc10 = McOf(h, o, &fit.fellBack);
    fit.method = fit.fellBack ? GR_MC_MAXC : o.method;
    fit.mc = mc10 / 10.0;
    fit.n = mc10 >= 0 && mc10 < kBins ? int(h.n[mc10]) : 0;
    std::vector<int> complete;
    for (int m : magnitude10)
        if (m >= mc10) complete.push_back(m);
    fit.bPositive = BPositive(complete, o.minEvents, &fit.positiveDifferences);
    if (fit.n < std::max(o.minEvents, 2) || spanYears <= 0 || !BAt(h, mc10, &fit.b, &fit.bErr)) return fit;
    fit.estimated = true;
    // log10 N(M >= m) = a - b m over the whole span, N counted from Mc up.
    fit.a = std::log10(double(fit.n)) + fit.b * fit.mc;
    fit.recurrenceM6Years = spanYears / std::pow(10.0, fit.a - fit.b * 6.0);
    if (o.resamples > 0) Bootstrap(magnitude10, o, &fit);
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

static long long DayOf(const QuakeRecord& r) { return DayNumber(r.year, r.month, r.day); }

std::vector<GrSet> FitSelectedSets(const QuakeRecord* records, int count, bool perRegion, int periodYears,
                                   const GrOptions& options) {
    int newest = -1, oldest = -1;
    for (int i = 0; i < count; i++)
        if (records[i].inFilter == 1 && !(perRegion && records[i].regionIndex >= kRegionSlots)) {
            if (newest < 0) newest = i;
            oldest = i;
        }
    if (newest < 0) return {};
    const QuakeRecord &first = records[oldest], &last = records[newest];
    const int periods = periodYears > 0 ? (last.year - first.year) / periodYears + 1 : 1;
    std::vector<GrSet> sets(size_t((perRegion ? kRegionSlots : 1) * periods));
    for (size_t k = 0; k < sets.size(); k++) {
        GrSet& set = sets[k];
        set.region = perRegion ? int(k) / periods : -1;
        set.m6 = set.fromYear = set.toYear = 0;
        long long from = DayOf(first), to = DayOf(last);
        if (periodYears > 0) {
            set.fromYear = first.year + int(k) % periods * periodYears, set.toYear = set.fromYear + periodYears - 1;
            from = std::max(from, DayNumber(set.fromYear, 1, 1)), to = std::min(to, DayNumber(set.toYear, 12, 31));
        }
        set.spanYears = double(to - from + 1) / 365.2425;
    }
    std::vector<int> total(sets.size() / size_t(periods), 0);
    for (int i = count - 1; i >= 0; i--) {   // oldest first
        const QuakeRecord& r = records[i];
        if (r.inFilter != 1 || (perRegion && r.regionIndex >= kRegionSlots)) continue;
        const int slot = perRegion ? r.regionIndex : 0;
        GrSet& set = sets[size_t(slot * periods + (periodYears > 0 ? (r.year - first.year) / periodYears : 0))];
        set.magnitude10.push_back(r.magnitude10);
        set.m6 += r.magnitude10 >= 60;
        total[size_t(slot)]++;
    }
    std::vector<GrSet> out;
    for (GrSet& set : sets)
        if (!set.magnitude10.empty()) {
            set.fit = FitGutenbergRichter(set.magnitude10, set.spanYears, options);
            out.push_back(std::move(set));
        }
    // Busiest region first; a region's periods stay in order.
    std::stable_sort(out.begin(), out.end(), [&total](const GrSet& a, const GrSet& b) {
        return total[size_t(std::max(a.region, 0))] > total[size_t(std::max(b.region, 0))];
    });
    return out;
}
