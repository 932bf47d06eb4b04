// The Gutenberg-Richter law of a set of earthquakes: the completeness
// magnitude Mc, the b-value by the Aki-Utsu maximum-likelihood estimate with
// the binning correction and its standard error (Shi and Bolt 1982), the
// b-positive estimate, bootstrap errors of Mc and b, the a-value and the mean
// recurrence of M6+ it implies. Magnitudes come in the catalogue's 0.1 bins
// (magnitude10).
#pragma once

#include <cstdint>
#include <vector>

struct QuakeRecord;

enum GrMcMethod {
    GR_MC_STABILITY = 0,   // "mbs": the lowest Mc at which b is stable (Cao & Gao 2002, Woessner & Wiemer 2005)
    GR_MC_MAXC = 1,        // "maxc": the most populated bin + 0.2
    GR_MC_FIXED = 2,       // "fixed": given
};

struct GrOptions {
    int method = GR_MC_STABILITY;
    int mc10 = 0;             // the Mc of GR_MC_FIXED
    int minEvents = 50;       // fewer at or above Mc: no estimate
    int resamples = 200;      // bootstrap resamples (0: none)
    uint64_t seed = 20240101;
};

struct GrFit {
    int events;           // all magnitudes given
    int n;                // those at or above Mc
    double mc;            // completeness magnitude
    int method;           // the method that gave Mc: GR_MC_MAXC also when no Mc was stable
    bool fellBack;        // GR_MC_STABILITY found no stable Mc; Mc is maximum curvature's
    bool estimated;       // false when n < minEvents: no b, a, recurrence or bootstrap
    double b, bErr, a;
    double recurrenceM6Years;   // mean years between M6+ events, from a, b and the span
    double mcErr, bBootErr;     // bootstrap standard deviations; -1 without resamples
    double bPositive;           // of the magnitudes at or above Mc; -1 with fewer than minEvents positive differences
    int positiveDifferences;
};

// The bin (magnitude10) with the most events plus 0.2 (2 bins); 0 for no events.
int MaxCurvatureMc10(const std::vector<int>& magnitude10);

// Aki-Utsu b of the magnitudes at or above mc10, with its Shi-Bolt error;
// false (outputs untouched) with fewer than two or no spread above Mc - 0.05.
bool AkiUtsuB(const std::vector<int>& magnitude10, int mc10, double* b, double* bErr, int* n);

// b-positive (van der Elst 2021) of magnitudes in time order, oldest first:
// the Aki-Utsu estimate on the differences of consecutive magnitudes of at
// least 0.2 (binned at 0.1). -1 with fewer than `minDifferences`.
double BPositive(const std::vector<int>& magnitude10, int minDifferences, int* differences);

// The fit over `spanYears` of data; magnitudes in time order, oldest first.
GrFit FitGutenbergRichter(const std::vector<int>& magnitude10, double spanYears, const GrOptions& options);

// Events per 0.1 bin from `low10` up: per bin and cumulative (at or above the bin).
void MagnitudeBins(const std::vector<int>& magnitude10, int low10, int high10, std::vector<int>* perBin,
                   std::vector<int>* cumulative);

// The selected records (inFilter 1) of `count` records (newest first): one set
// for the whole selection (region -1) or one per region, busiest first, and
// with `periodYears` > 0 each of those cut into periods of that many years
// from the year of the oldest selected record. Each set is fitted over its
// span (the selection's span, or the part of it inside the period).
struct GrSet {
    int region;
    int fromYear, toYear;            // the period; 0 without periods
    std::vector<int> magnitude10;    // oldest first
    int m6;                          // M6+ events
    double spanYears;
    GrFit fit;
};
std::vector<GrSet> FitSelectedSets(const QuakeRecord* records, int count, bool perRegion, int periodYears,
                                   const GrOptions& options);
