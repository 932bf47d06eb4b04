// An aftershock sequence: the main shock nearest a given minute, the
// records after it within a radius (great-circle distance between
// epicentres) and a number of days, their completeness magnitude, the
// modified Omori law fitted to them and the expected numbers of further
// strong aftershocks.
#pragma once

#include <vector>

#include "engine/analysis/gutenberg_richter.h"
#include "engine/analysis/omori.h"

struct QuakeRecord;

struct AftershockQuery {
    int year, month, day, hour, minute;   // the main shock's minute, as the catalogue gives it
    double radiusKm, days;
    double startDays = 0;                 // the fit starts here
    int minMag10 = -1;                    // -1: the Mc of the sequence (b-value stability)
    GrOptions mcOptions;                  // for that Mc; the bootstrap is not used
};

struct Aftershock {
    int record;
    double days;        // after the main shock; the main shock's own minute counts as half a minute
    double distanceKm;
};

struct AftershockForecast {
    double mag, days, expected, probability;   // of at least one, 1 - e^-expected
};

struct AftershockSequence {
    int mainRecord;
    std::vector<Aftershock> events;   // every record in the radius and days, oldest first
    int unplaced;                     // records in the days without a position, left out
    int minMag10;                     // the fitted events' lower magnitude
    bool mcFromSequence;              // minMag10 is the sequence's Mc
    std::vector<double> times;        // the fitted events: minMag10 and up, from startDays on
    std::vector<int> magnitude10;
};

struct AftershockFit {
    OmoriFit omori;
    double b, bErr;                   // Aki-Utsu of the fitted events; -1 without a spread
    // M >= main - 1 and M >= 5.0, in the next 1, 7 and 30 days after `days`;
    // none when b could not be estimated.
    std::vector<AftershockForecast> forecasts;
};

enum AftershockResultCode {
    AFTERSHOCK_OK = 0,
    AFTERSHOCK_NO_MAIN = 1,        // no selected record within a minute of the time
    AFTERSHOCK_MAIN_UNPLACED = 2,  // the main shock has no position
    AFTERSHOCK_TOO_FEW = 3,        // fewer than kOmoriMinEvents events to fit
    AFTERSHOCK_NO_FIT = 4,         // the Omori likelihood has no maximum inside its bounds
};

// The main shock and its sequence among the selected records (inFilter 1)
// of `count` records, newest first. `out` is untouched on failure.
int FindAftershocks(const QuakeRecord* records, int count, const AftershockQuery& query, AftershockSequence* out);
// The Omori-Utsu law, b and the forecasts of a sequence found in `records`.
// `out` is untouched on failure.
int FitAftershocks(const QuakeRecord* records, const AftershockSequence& sequence, const AftershockQuery& query,
                   AftershockFit* out);
