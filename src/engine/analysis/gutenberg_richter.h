// The Gutenberg-Richter law of a set of earthquakes: the completeness
// magnitude Mc, the b-value by the Aki-Utsu maximum-likelihood estimate with
// the binning correction and its standard error (Shi and Bolt 1982), the
// a-value and the mean recurrence of M6+ it implies. Magnitudes come in the
// catalogue's 0.1 bins (magnitude10).
#pragma once

#include <vector>

enum { kMcMaxCurvature = -1 };   // for FitGutenbergRichter's mc10

struct GrFit {
    int events;           // all magnitudes given
    int n;                // those at or above Mc
    double mc;            // completeness magnitude
    bool estimated;       // false when n < minEvents: no b, a or recurrence
    double b, bErr, a;
    double recurrenceM6Years;   // mean years between M6+ events, from a, b and the span
};

// The bin (magnitude10) with the most events plus 0.2 (2 bins); 0 for no events.
int MaxCurvatureMc10(const std::vector<int>& magnitude10);

// The fit over `spanYears` of data; `mc10` a fixed Mc (magnitude10) or kMcMaxCurvature.
GrFit FitGutenbergRichter(const std::vector<int>& magnitude10, double spanYears, int mc10, int minEvents);

// Events per 0.1 bin from `low10` up: per bin and cumulative (at or above the bin).
void MagnitudeBins(const std::vector<int>& magnitude10, int low10, int high10, std::vector<int>* perBin,
                   std::vector<int>* cumulative);

// The selected records (inFilter 1): one set for the whole selection
// (region -1) or one per region, busiest first, each fitted over the span of
// the selection in years (*spanYears; 0 when nothing is selected).
struct RegionGr {
    int region;
    std::vector<int> magnitude10;
    int m6;   // M6+ events
    GrFit fit;
};
std::vector<RegionGr> FitSelectedRegions(bool perRegion, int mc10, int minEvents, double* spanYears);
