// The modified Omori law of an aftershock sequence, n(t) = K / (t + c)^p
// aftershocks per day at t days after the main shock, fitted by maximum
// likelihood (Ogata 1983), and what it expects next (Reasenberg and Jones
// 1989).
#pragma once

#include <vector>

struct OmoriFit {
    int n;                       // events in [start, end]
    double start, end;           // the fitted window, days after the main shock
    double K, c, p;
    double kErr, cErr, pErr;     // standard errors from the observed information; -1 when undetermined
    double logLikelihood;
};

enum OmoriResultCode {
    OMORI_OK = 0,
    OMORI_TOO_FEW = 1,    // fewer than kOmoriMinEvents events in the window
    OMORI_NO_FIT = 2,     // the likelihood has no maximum inside the parameter bounds
};

enum { kOmoriMinEvents = 10 };

// The fit on the event times `days` that lie in [start, end] (others are
// ignored); c in [1e-5, 10] days, p in [0.2, 3]. `out` is untouched on failure.
int FitOmori(const std::vector<double>& days, double start, double end, OmoriFit* out);

// The integral of K / (t + c)^p from `from` to `to`: the expected number of
// events of the fitted magnitude range.
double OmoriExpected(const OmoriFit& fit, double from, double to);

// Reasenberg-Jones: the expected number of aftershocks of magnitude >= `mag`
// in [from, to] days, when the fit counted events of `fitMinMag` and up and
// their magnitudes follow Gutenberg-Richter with `b`.
double ExpectedAftershocks(const OmoriFit& fit, double fitMinMag, double b, double mag, double from, double to);
