#include "engine/analysis/omori.h"

#include <algorithm>
#include <cmath>

namespace {

const double kMinC = 1e-5, kMaxC = 10, kMinP = 0.2, kMaxP = 3;

// ∫ (t + c)^-p dt over [from, to], stable through p = 1:
// (from + c)^q (e^(q L) - 1) / q with q = 1 - p and L = ln((to + c) / (from + c)).
double Integral(double c, double p, double from, double to) {
    const double q = 1 - p, low = std::log(from + c), span = std::log(to + c) - low;
    if (std::fabs(q * span) < 1e-12) return span;
    return std::exp(q * low) * std::expm1(q * span) / q;
}

struct Sequence {
    std::vector<double> t;
    double start, end;

    double LogLikelihood(double K, double c, double p) const {
        double logs = 0;
        for (double v : t) logs += std::log(v + c);
        return double(t.size()) * std::log(K) - p * logs - K * Integral(c, p, start, end);
    }
    // K at its maximum for given c and p: n / ∫.
    double BestK(double c, double p) const { return double(t.size()) / Integral(c, p, start, end); }
    // The likelihood with K at its maximum, of x = (ln c, p); -inf outside the bounds.
    double Profile(const double x[2]) const {
        const double c = std::exp(x[0]), p = x[1];
        if (!(c >= kMinC && c <= kMaxC && p >= kMinP && p <= kMaxP)) return -HUGE_VAL;
        return LogLikelihood(BestK(c, p), c, p);
    }
};

// Nelder-Mead on the profile likelihood from a few starting points; the best vertex.
void Maximise(const Sequence& s, double best[2]) {
    double bestValue = -HUGE_VAL;
    static const double kStarts[3][2] = {{-4.6, 1.0}, {-2.3, 1.2}, {0, 0.8}};   // c 0.01, 0.1, 1 day
    for (const double* start : kStarts) {
        double v[3][2] = {{start[0], start[1]}, {start[0] + 1, start[1]}, {start[0], start[1] + 0.1}}, f[3];
        for (int k = 0; k < 3; k++) f[k] = s.Profile(v[k]);
        for (int iteration = 0; iteration < 1000; iteration++) {
            int order[3] = {0, 1, 2};
            std::sort(order, order + 3, [&f](int a, int b) { return f[a] > f[b]; });
            const int hi = order[0], mid = order[1], lo = order[2];
            if (std::fabs(f[hi] - f[lo]) < 1e-10 && std::fabs(v[hi][0] - v[lo][0]) + std::fabs(v[hi][1] - v[lo][1]) < 1e-9)
                break;
            const double centre[2] = {(v[hi][0] + v[mid][0]) / 2, (v[hi][1] + v[mid][1]) / 2};
            auto along = [&](double step, double out[2]) {
                for (int d = 0; d < 2; d++) out[d] = centre[d] + step * (v[lo][d] - centre[d]);
            };
            double r[2], e[2], k[2];
            along(-1, r);
            const double fr = s.Profile(r);
            if (fr > f[hi]) {
                along(-2, e);
                const double fe = s.Profile(e);
                const bool expand = fe > fr;
                v[lo][0] = expand ? e[0] : r[0], v[lo][1] = expand ? e[1] : r[1], f[lo] = expand ? fe : fr;
            } else if (fr > f[mid]) {
                v[lo][0] = r[0], v[lo][1] = r[1], f[lo] = fr;
            } else {
                along(fr > f[lo] ? -0.5 : 0.5, k);
                const double fk = s.Profile(k);
                if (fk > std::max(fr, f[lo])) {
                    v[lo][0] = k[0], v[lo][1] = k[1], f[lo] = fk;
                } else {   // shrink toward the best vertex
                    for (int j : {mid, lo}) {
                        for (int d = 0; d < 2; d++) v[j][d] = (v[j][d] + v[hi][d]) / 2;
                        f[j] = s.Profile(v[j]);
                    }
                }
            }
        }
        for (int k = 0; k < 3; k++)
            if (f[k] > bestValue) bestValue = f[k], best[0] = v[k][0], best[1] = v[k][1];
    }
}

// The inverse of a symmetric 3 x 3 matrix; false when it is singular.
bool Invert3(const double m[3][3], double out[3][3]) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (!(std::fabs(det) > 0)) return false;
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) {
            const int i1 = (j + 1) % 3, i2 = (j + 2) % 3, j1 = (i + 1) % 3, j2 = (i + 2) % 3;
            out[i][j] = (m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1]) / det;
        }
    return true;
}

// Standard errors: the square roots of the diagonal of the inverse of the
// observed information (the negative Hessian of the log-likelihood, by central
// differences with steps relative to each parameter).
void StandardErrors(const Sequence& s, OmoriFit* fit) {
    const double x[3] = {fit->K, fit->c, fit->p};
    double h[3];
    for (int i = 0; i < 3; i++) h[i] = 1e-4 * x[i];
    auto L = [&](int i, double di, int j, double dj) {
        double y[3] = {x[0], x[1], x[2]};
        y[i] += di, y[j] += dj;
        return s.LogLikelihood(y[0], y[1], y[2]);
    };
    double info[3][3], cov[3][3];
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++)
            info[i][j] = -(L(i, h[i], j, h[j]) - L(i, h[i], j, -h[j]) - L(i, -h[i], j, h[j]) + L(i, -h[i], j, -h[j])) /
                         (4 * h[i] * h[j]);
    double* errors[3] = {&fit->kErr, &fit->cErr, &fit->pErr};
    const bool inverted = Invert3(info, cov);
    for (int i = 0; i < 3; i++) *errors[i] = inverted && cov[i][i] > 0 ? std::sqrt(cov[i][i]) : -1;
}

}  // namespace

int FitOmori(const std::vector<double>& days, double start, double end, OmoriFit* out) {
    Sequence s{{}, start, end};
    for (double t : days)
        if (t >= start && t <= end) s.t.push_back(t);
    if (int(s.t.size()) < kOmoriMinEvents || !(end > start)) return OMORI_TOO_FEW;
    double best[2] = {0, 0};
    Maximise(s, best);
    const double c = std::exp(best[0]), p = best[1];
    if (!std::isfinite(s.Profile(best))) return OMORI_NO_FIT;
    OmoriFit fit{};
    fit.n = int(s.t.size());
    fit.start = start, fit.end = end;
    fit.c = c, fit.p = p, fit.K = s.BestK(c, p);
    fit.logLikelihood = s.LogLikelihood(fit.K, c, p);
    // A maximum on a bound is no maximum of the likelihood.
    const double slack = 1e-3;
    if (best[0] < std::log(kMinC) + slack || best[0] > std::log(kMaxC) - slack || p < kMinP + slack ||
        p > kMaxP - slack)
        return OMORI_NO_FIT;
    StandardErrors(s, &fit);
    *out = fit;
    return OMORI_OK;
}

double OmoriExpected(const OmoriFit& fit, double from, double to) { return fit.K * Integral(fit.c, fit.p, from, to); }

double ExpectedAftershocks(const OmoriFit& fit, double fitMinMag, double b, double mag, double from, double to) {
    return std::pow(10.0, -b * (mag - fitMinMag)) * OmoriExpected(fit, from, to);
}
