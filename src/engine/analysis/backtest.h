// Does the alert ranking know anything? For each test year the program's own
// ranking (RankAlertTable) on the catalogue that ended on 31 December of
// the year before is scored against that year's strong earthquakes with the
// Molchan diagram and its area skill score (ASS), beside the simplest honest
// rival, the regions' counts of strong earthquakes so far (the rate
// baseline), smoothed seismicity, and random rankings.
#pragma once

#include <cstdint>
#include <vector>

struct MolchanPoint {
    double tau, nu;   // fraction of cells alarmed, fraction of targets missed
};

// The Molchan trajectory of one ranking: cells from the highest score down,
// a group of equal scores alarmed together (joined by a straight segment).
// `hits[c]` targets fell in cell c, `outside` in no cell (never alarmed).
// Returns the ASS, 1 - the area under the trajectory; -1 without targets.
double MolchanAss(const std::vector<double>& scores, const std::vector<int>& hits, int outside,
                  std::vector<MolchanPoint>* curve);
// The fraction of targets in the first 10 cells of the ranking (equal scores
// in cell order); -1 without targets.
double TopTenHits(const std::vector<double>& scores, const std::vector<int>& hits, int outside);

struct BacktestYear {
    int year, targets, cells;
    double assAlert, assRate, assSmoothed;                     // -1 without targets
    double top10Alert, top10Rate, top10Smoothed, top10Random;  // -1 without targets
    std::vector<MolchanPoint> alertCurve, rateCurve, smoothedCurve;
    std::vector<int> hits;                       // per cell (region order), for the random rankings
    int outside;
};

struct BacktestResult {
    std::vector<BacktestYear> years;
    int targets;            // of the years with targets
    double cells;           // mean over those years
    double assAlert, assRate, assSmoothed, top10Alert, top10Rate, top10Smoothed, top10Random;   // pooled
    double pAlert, pRate, pSmoothed;   // P(a random ranking's pooled ASS >= the ranking's)
    std::vector<MolchanPoint> alertCurve, rateCurve, smoothedCurve;                            // pooled
};

enum BacktestResultCode {
    BACKTEST_OK = 0,
    BACKTEST_NO_YEARS = 1,   // no test year has a learning catalogue
};

struct BacktestOptions {
    int fromYear, toYear;
    int minMag10;            // the targets' and the rate baseline's threshold
    double smoothKm;         // the smoothed-seismicity kernel's bandwidth
    int permutations;        // random rankings for the p-values
    uint64_t seed;
};

struct QuakeRecord;
struct RegionEntry;

// On `count` records, newest first (a loaded catalogue: every record valid),
// with the regions of `regions` (kRegionSlots entries); reads nothing else.
// `out` is written only when the result is BACKTEST_OK.
int RunBacktest(const QuakeRecord* records, int count, const RegionEntry* regions, const BacktestOptions& options,
                BacktestResult* out);
