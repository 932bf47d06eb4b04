#include "engine/analysis/aftershocks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "engine/model/geo.h"
#include "engine/model/records.h"

static long long MinuteOf(int year, int month, int day, int hour, int minute) {
    return DayNumber(year, month, day) * 1440 + hour * 60 + minute;
}

static long long MinuteOf(const QuakeRecord& r) { return MinuteOf(r.year, r.month, r.day, r.hour, r.minute); }

static bool Placed(const QuakeRecord& r) { return r.mapX != 0 && r.mapY != 0; }

// The largest selected record within a minute of `minute`; the nearer in
// time, then the older, among equal magnitudes. -1 if none.
static int FindMainShock(const QuakeRecord* records, int count, long long minute) {
    int best = -1;
    long long bestGap = 0;
    for (int i = 0; i < count; i++) {
        const QuakeRecord& r = records[i];
        const long long gap = std::llabs(MinuteOf(r) - minute);
        if (r.inFilter != 1 || gap > 1) continue;
        if (best < 0 || r.magnitude10 > records[best].magnitude10 ||
            (r.magnitude10 == records[best].magnitude10 && gap <= bestGap))
            best = i, bestGap = gap;
    }
    return best;
}

int FindAftershocks(const QuakeRecord* records, int count, const AftershockQuery& q, AftershockSequence* out) {
    AftershockSequence s{};
    s.mainRecord = FindMainShock(records, count, MinuteOf(q.year, q.month, q.day, q.hour, q.minute));
    if (s.mainRecord < 0) return AFTERSHOCK_NO_MAIN;
    const QuakeRecord& main = records[s.mainRecord];
    if (!Placed(main)) return AFTERSHOCK_MAIN_UNPLACED;
    double mainLat, mainLon;
    GridToGeo(main.mapX, main.mapY, &mainLat, &mainLon);
    const long long mainMinute = MinuteOf(main);
    // Records after the main shock are newer: lower indices, walked oldest first.
    std::vector<int> magnitudes;
    for (int i = s.mainRecord - 1; i >= 0; i--) {
        const QuakeRecord& r = records[i];
        const double days = std::max(0.5, double(MinuteOf(r) - mainMinute)) / 1440;
        if (r.inFilter != 1 || days > q.days) continue;
        if (!Placed(r)) {
            s.unplaced++;
            continue;
        }
        double lat, lon;
        GridToGeo(r.mapX, r.mapY, &lat, &lon);
        const double km = GreatCircleKm(mainLat, mainLon, lat, lon);
        if (km > q.radiusKm) continue;
        s.events.push_back(Aftershock{i, days, km});
        magnitudes.push_back(r.magnitude10);
    }
    s.mcFromSequence = q.minMag10 < 0;
    s.minMag10 = q.minMag10;
    if (s.mcFromSequence) {
        GrOptions o = q.mcOptions;
        o.resamples = 0;
        s.minMag10 = int(std::lround(FitGutenbergRichter(magnitudes, q.days / 365.2425, o).mc * 10));
    }
    for (const Aftershock& a : s.events)
        if (records[a.record].magnitude10 >= s.minMag10 && a.days >= q.startDays) {
            s.times.push_back(a.days);
            s.magnitude10.push_back(records[a.record].magnitude10);
        }
    *out = std::move(s);
    return AFTERSHOCK_OK;
}

int FitAftershocks(const QuakeRecord* records, const AftershockSequence& s, const AftershockQuery& q,
                   AftershockFit* out) {
    AftershockFit f{};
    const int fitted = FitOmori(s.times, q.startDays, q.days, &f.omori);
    if (fitted == OMORI_TOO_FEW) return AFTERSHOCK_TOO_FEW;
    if (fitted != OMORI_OK) return AFTERSHOCK_NO_FIT;
    int n = 0;
    if (!AkiUtsuB(s.magnitude10, s.minMag10, &f.b, &f.bErr, &n)) f.b = f.bErr = -1;
    for (double mag : {records[s.mainRecord].magnitude10 / 10.0 - 1, 5.0})
        for (double ahead : {1.0, 7.0, 30.0}) {
            if (f.b <= 0) break;   // no spread of magnitudes: no forecast
            const double expected = ExpectedAftershocks(f.omori, s.minMag10 / 10.0, f.b, mag, q.days, q.days + ahead);
            f.forecasts.push_back(AftershockForecast{mag, ahead, expected, -std::expm1(-expected)});
        }
    *out = f;
    return AFTERSHOCK_OK;
}
