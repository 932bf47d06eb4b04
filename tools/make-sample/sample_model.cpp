#include "sample_model.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "engine/model/geo.h"
#include "historical.h"
#include "kit/region_table.h"
#include "kit/rng.h"

namespace {

const double kPi = 3.14159265358979323846;
const double kMinMag = 1.5;          // smallest earthquake simulated
const double kB = 0.95;              // Gutenberg-Richter b-value
const double kMaxRandomMag = 7.0;    // larger ones come from the historical list
const double kAlpha = 0.9;           // productivity growth per magnitude unit
const double kProductivity = 0.04;   // expected direct aftershocks of an M1.5
const double kOmoriC = 0.01;         // days
const double kOmoriP = 1.08;
const double kStationKm = 6;         // typical distance to the nearest station
const double kSiteAmplification = 2.0;
// Below this magnitude the intensity falls faster than the attenuation law
// alone says (small earthquakes shake briefly), by kSmallSlope per unit.
const double kSmallPivot = 4.5;
const double kSmallSlope = 0.5;
const double kOmoriSpan = 3652.5;    // days within which aftershocks are drawn
// Background earthquakes of M1.5 and above per year over the whole table.
const double kBackgroundPerYear = 30000;
// A region's share of that rate: its felt earthquakes per year in the
// record, damped by this power (the busiest names owe much to sequences
// that the historical list brings itself), divided by the share of its
// earthquakes that would be felt at its mean depth and its centre's
// distance from land (at least kMinFeltShare), so that deep and far
// offshore regions are not starved.
const double kFeltRatePower = 0.85;
const double kMinFeltShare = 0.005;
// For the felt estimate a land region is land within this share of its
// disc: the discs of coastal regions reach out over the sea.
const double kLandDiscShare = 0.7;

struct Quake {
    double t;            // days since 1970-01-01 00:00 JST
    double lat, lon, depth, mag;
    double strike;       // direction of the aftershock zone
    int region;          // -1: by position
    int intensity;       // -1: from the attenuation rule
    int generation;      // 0 for a background or historical earthquake
    bool keep;           // never thinned away
};

struct Felt {
    double t;
    int id;              // order of creation, breaks ties in time
    QuakeRecord rec;
    bool keep;
};

// Inhabited islands with intensity stations that no land region covers;
// they count as land (a disc of the given radius) for the felt estimate.
// The last rows: Okinawa, Sado, Oki, Tsushima, Iki, the Goto islands,
// Okushiri, Rishiri and Rebun.
struct Island {
    double lat, lon, radiusKm;
};
const Island kIslands[] = {
    {34.74, 139.40, 5},  {34.37, 139.26, 3},  {34.21, 139.14, 3},  {34.08, 139.53, 4},
    {33.11, 139.79, 5},  {27.09, 142.19, 3},  {26.64, 142.16, 2},  {30.60, 130.98, 8},
    {30.35, 130.52, 8},  {29.85, 129.86, 2},  {29.46, 129.60, 2},  {29.22, 129.32, 2},
    {28.30, 129.50, 12}, {28.32, 129.93, 3},  {27.80, 128.95, 6},  {27.37, 128.57, 4},
    {27.04, 128.43, 2},  {26.35, 126.78, 3},  {24.78, 125.32, 7},  {24.40, 124.17, 8},
    {24.33, 123.82, 8},  {24.46, 123.00, 3},  {24.06, 123.78, 2},  {25.85, 131.24, 2},
    {31.80, 129.85, 4},  {26.25, 127.75, 12}, {26.65, 128.05, 14}, {38.02, 138.40, 16}, {36.22, 133.27, 10},
    {34.20, 129.27, 9},  {34.55, 129.35, 9},  {33.78, 129.72, 6},  {32.70, 128.78, 9},  {33.00, 129.10, 7},
    {42.15, 139.47, 6},  {45.18, 141.24, 6},  {45.40, 141.03, 4},
};

// Lookup grid over the map: distance to land and the region of each cell.
struct Grid {
    double lat0, lon0, step;
    int rows, cols;
    std::vector<float> landKm;
    std::vector<short> region;
};

double KmPerDegLon(double lat) { return 111.32 * std::cos(lat * kPi / 180.0); }

// Position of (lat, lon) in a region's disc: the normalised radius (1 on
// the boundary) and the distance in km from the centre.
void DiscRadius(const KitRegion& r, double lat, double lon, double* norm, double* km) {
    double dx = (lon - r.lon) * KmPerDegLon(r.lat), dy = (lat - r.lat) * 110.57;
    *km = std::sqrt(dx * dx + dy * dy);
    *norm = *km / r.radiusKm;
}

void BuildGrid(Grid* g) {
    g->step = 0.1;
    g->lat0 = kMapSouthLat - 1;
    g->lon0 = kMapWestLon - 1;
    g->rows = int((kMapNorthLat - kMapSouthLat + 2) / g->step) + 1;
    g->cols = int((kMapEastLon - kMapWestLon + 2) / g->step) + 1;
    g->landKm.assign(size_t(g->rows) * g->cols, 0);
    g->region.assign(size_t(g->rows) * g->cols, 0);
    for (int row = 0; row < g->rows; row++) {
        double lat = g->lat0 + (row + 0.5) * g->step;
        for (int col = 0; col < g->cols; col++) {
            double lon = g->lon0 + (col + 0.5) * g->step;
            double land = 1e9, bestInside = 1e9, bestOutside = 1e9;
            int inside = -1, outside = 0;
            for (int i = 0; i < KitRegionCount(); i++) {
                double norm, km;
                DiscRadius(KitRegions()[i], lat, lon, &norm, &km);
                double beyond = norm > 1 ? km * (1 - 1 / norm) : 0;   // km past the boundary
                double landBeyond = std::max(0.0, km - kLandDiscShare * KitRegions()[i].radiusKm);
                if (KitRegions()[i].land && landBeyond < land) land = landBeyond;
                if (norm <= 1 && norm < bestInside) bestInside = norm, inside = i;
                if (beyond < bestOutside) bestOutside = beyond, outside = i;
            }
            for (const Island& island : kIslands) {
                double dx = (lon - island.lon) * KmPerDegLon(island.lat), dy = (lat - island.lat) * 110.57;
                land = std::min(land, std::max(0.0, std::sqrt(dx * dx + dy * dy) - island.radiusKm));
            }
            size_t at = size_t(row) * g->cols + col;
            g->landKm[at] = float(land);
            g->region[at] = short(inside >= 0 ? inside : outside);
        }
    }
}

size_t GridCell(const Grid& g, double lat, double lon) {
    int row = std::min(std::max(int((lat - g.lat0) / g.step), 0), g.rows - 1);
    int col = std::min(std::max(int((lon - g.lon0) / g.step), 0), g.cols - 1);
    return size_t(row) * g.cols + col;
}

double RandomMagnitude(KitRng* rng, double maxMag) {
    double span = 1 - std::pow(10.0, -kB * (maxMag - kMinMag));
    return kMinMag - std::log10(1 - Uniform(rng) * span) / kB;
}

// Expected number of direct aftershocks. Deep earthquakes have few.
double Productivity(double mag, double depth) {
    return kProductivity * std::pow(10.0, kAlpha * (mag - kMinMag)) * (depth > 300 ? 0.02 : 1.0);
}

// Days after the parent, drawn from the Omori-Utsu law on [0, kOmoriSpan].
double OmoriDelay(KitRng* rng) {
    double q = 1 - kOmoriP;
    double a = std::pow(kOmoriC, q), b = std::pow(kOmoriC + kOmoriSpan, q);
    return std::pow(a - Uniform(rng) * (a - b), 1 / q) - kOmoriC;
}

bool OnMap(double lat, double lon) {
    return lat > kMapSouthLat && lat < kMapNorthLat && lon > kMapWestLon && lon < kMapEastLon;
}

double DayOf(int y, int m, int d) { return DaysBetween(kFirstYear, 1, 1, y, m, d); }

bool ValidDate(int y, int m, int d) {
    static const int kLength[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < kFirstYear || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= kLength[m - 1] + (m == 2 && leap);
}

struct Simulation {
    KitRng rng;
    const Grid& grid;
    double endT;
    std::vector<Quake> stack;
    std::vector<Felt> felt;
    long long simulated = 0;
    int nextId = 0;
};

void Emit(Simulation* s, const Quake& q) {
    s->simulated++;
    if (!OnMap(q.lat, q.lon)) return;
    size_t cell = GridCell(s->grid, q.lat, q.lon);
    int intensity = q.intensity;
    if (intensity < 0) {
        double site = 0.35 * Gaussian(&s->rng);
        intensity = IntensityClassOf(EstimateIntensity(q.mag, q.depth, s->grid.landKm[cell]) + site);
        if (intensity < 1) return;
    }
    Felt f;
    f.t = q.t;
    f.id = s->nextId++;
    f.keep = q.keep;
    QuakeRecord& r = f.rec;
    r = QuakeRecord{};
    int y, m, d;
    long long day = (long long)std::floor(q.t);
    CivilFromDays(day, &y, &m, &d);
    int minuteOfDay = std::min(int((q.t - day) * 1440), 1439);
    r.year = uint16_t(y);
    r.month = uint16_t(m);
    r.day = uint16_t(d);
    r.hour = uint16_t(minuteOfDay / 60);
    r.minute = uint16_t(minuteOfDay % 60);
    int gx, gy;
    GeoToRecordGrid(q.lat, q.lon, &gx, &gy);
    r.mapX = uint16_t(gx);
    r.mapY = uint16_t(gy);
    r.depthKm = uint16_t(std::min(std::max(int(q.depth + 0.5), 0), 999));
    r.regionIndex = uint16_t(q.region >= 0 ? q.region : s->grid.region[cell]);
    r.magnitude10 = uint8_t(std::min(std::max(int(q.mag * 10 + 0.5), 1), 99));
    r.intensity = uint8_t(intensity);
    s->felt.push_back(f);
}

// Simulates `root` and its whole aftershock tree, depth first; the root's
// own productivity is scaled by `rootFactor` (swarms and unusually
// productive sequences).
void RunTree(Simulation* s, const Quake& root, double rootFactor) {
    s->stack.push_back(root);
    while (!s->stack.empty()) {
        Quake q = s->stack.back();
        s->stack.pop_back();
        Emit(s, q);
        double mean = Productivity(q.mag, q.depth) * (q.generation == 0 ? rootFactor : 1.0);
        int children = Poisson(&s->rng, mean);
        double half = 0.5 * std::pow(10.0, 0.5 * q.mag - 1.85);   // half rupture length, km
        double a = q.strike * kPi / 180.0;
        for (int k = 0; k < children; k++) {
            Quake c;
            c.t = q.t + OmoriDelay(&s->rng);
            if (c.t >= s->endT) continue;
            double along = half * (2 * Uniform(&s->rng) - 1) + 0.3 * half * Gaussian(&s->rng);
            double across = (0.35 * half + 1.5) * Gaussian(&s->rng);
            double dx = along * std::sin(a) + across * std::cos(a);
            double dy = along * std::cos(a) - across * std::sin(a);
            c.lat = q.lat + dy / 110.57;
            c.lon = q.lon + dx / KmPerDegLon(q.lat);
            double spread = std::min(std::max(0.15 * half, 3.0), 20.0);
            c.depth = std::min(std::max(q.depth + spread * Gaussian(&s->rng), 0.0), 700.0);
            c.mag = RandomMagnitude(&s->rng, kMaxRandomMag);
            c.strike = q.strike;
            c.region = -1;
            c.intensity = -1;
            c.generation = q.generation + 1;
            c.keep = false;
            s->stack.push_back(c);
        }
    }
}

// A background earthquake somewhere in region `index`.
Quake BackgroundQuake(KitRng* rng, int index, double t) {
    const KitRegion& r = KitRegions()[index];
    double radius = r.radiusKm * std::sqrt(Uniform(rng)), angle = 2 * kPi * Uniform(rng);
    Quake q;
    q.t = t;
    q.lat = r.lat + radius * std::cos(angle) / 110.57;
    q.lon = r.lon + radius * std::sin(angle) / KmPerDegLon(r.lat);
    q.depth = r.depthMinKm + (r.depthMaxKm - r.depthMinKm) * Uniform(rng);
    q.mag = RandomMagnitude(rng, kMaxRandomMag);
    q.strike = 180 * Uniform(rng);
    q.region = index;
    q.intensity = -1;
    q.generation = 0;
    q.keep = false;
    return q;
}

// The share of Gutenberg-Richter earthquakes (kMinMag to kMaxRandomMag)
// above the magnitude at which one at `depthKm`, `landKm` from land, is
// felt (the site term left out).
double FeltShare(double depthKm, double landKm) {
    double low = kMinMag, high = kMaxRandomMag;
    auto felt = [&](double m) { return IntensityClassOf(EstimateIntensity(m, depthKm, landKm)) >= 1; };
    if (!felt(high)) return 0;
    for (int k = 0; k < 40; k++) {
        double mid = 0.5 * (low + high);
        if (!felt(mid))
            low = mid;
        else
            high = mid;
    }
    double tail = std::pow(10.0, -kB * (kMaxRandomMag - kMinMag));
    return (std::pow(10.0, -kB * (high - kMinMag)) - tail) / (1 - tail);
}

// Relative background rates of the regions; nothing where the centre lies
// off the map (nothing there could be drawn).
std::vector<double> BackgroundWeights(const Grid& grid) {
    std::vector<double> weights;
    for (int i = 0; i < KitRegionCount(); i++) {
        const KitRegion& r = KitRegions()[i];
        if (!OnMap(r.lat, r.lon)) {
            weights.push_back(0);
            continue;
        }
        double share = FeltShare(0.5 * (r.depthMinKm + r.depthMaxKm), grid.landKm[GridCell(grid, r.lat, r.lon)]);
        weights.push_back(std::pow(r.feltPerYear, kFeltRatePower) / std::max(share, kMinFeltShare));
    }
    return weights;
}

void Simulate(Simulation* s, double backgroundScale) {
    int n = KitRegionCount();
    std::vector<double> weights = BackgroundWeights(s->grid);
    double total = std::accumulate(weights.begin(), weights.end(), 0.0);
    double years = s->endT / 365.2425;
    for (int i = 0; i < n; i++) {
        int count = Poisson(&s->rng, kBackgroundPerYear * backgroundScale * years * weights[i] / total);
        for (int k = 0; k < count; k++) RunTree(s, BackgroundQuake(&s->rng, i, s->endT * Uniform(&s->rng)), 1.0);
    }
    for (int i = 0; i < HistoricalQuakeCount(); i++) {
        const HistoricalQuake& h = HistoricalQuakes()[i];
        Quake q;
        q.t = DayOf(h.year, h.month, h.day) + (h.hour * 60 + h.minute + 0.5) / 1440.0;
        if (q.t >= s->endT) continue;
        q.lat = h.lat;
        q.lon = h.lon;
        q.depth = h.depthKm;
        q.mag = h.magnitude;
        q.strike = h.strike;
        q.region = FindKitRegion(h.region);
        q.intensity = h.intensity;
        q.generation = 0;
        q.keep = true;
        RunTree(s, q, h.productivity);
    }
}

// Every complete year gets an earthquake dated 31 December: the update
// fetches the year after the newest such record.
void EnsureYearEnds(Simulation* s, const SampleOptions& o) {
    int lastComplete = (o.endMonth == 12 && o.endDay == 31) ? o.endYear : o.endYear - 1;
    std::vector<bool> has(size_t(o.endYear - kFirstYear + 1), false);
    for (const Felt& f : s->felt)
        if (f.rec.month == 12 && f.rec.day == 31) has[f.rec.year - kFirstYear] = true;
    const KitRegion* regions = KitRegions();
    for (int year = kFirstYear; year <= lastComplete; year++) {
        if (has[year - kFirstYear]) {
            for (Felt& f : s->felt)   // protect one of them from thinning
                if (f.rec.year == year && f.rec.month == 12 && f.rec.day == 31) {
                    f.keep = true;
                    break;
                }
            continue;
        }
        int index;
        do index = UniformInt(&s->rng, KitRegionCount());
        while (!regions[index].land);
        Quake q = BackgroundQuake(&s->rng, index, DayOf(year, 12, 31) + Uniform(&s->rng));
        q.mag = 2.5 + Uniform(&s->rng);
        q.depth = std::min(q.depth, 20.0);
        q.intensity = 1 + UniformInt(&s->rng, 2);
        q.keep = true;
        Emit(s, q);
    }
}

// Keeps exactly `wanted` records: the protected ones first, then a random
// choice of the rest (an unbiased thinning, so the statistics survive).
void Thin(Simulation* s, int wanted) {
    if (int(s->felt.size()) <= wanted) return;
    for (size_t i = 0; i < s->felt.size(); i++) {   // shuffle, protected records to the front
        size_t j = i + size_t(UniformInt(&s->rng, int(s->felt.size() - i)));
        std::swap(s->felt[i], s->felt[j]);
    }
    std::stable_partition(s->felt.begin(), s->felt.end(), [](const Felt& f) { return f.keep; });
    s->felt.resize(size_t(wanted));
}

// Clears the position of a few records, each of which has a newer record
// of the same region with a full position, so that the loader's borrowing
// has something to do. Returns how many.
int ClearSomePositions(KitRng* rng, std::vector<QuakeRecord>* records) {
    int n = int(records->size());
    int wanted = std::max(3, n / 20000);
    int done = 0;
    for (int attempt = 0; attempt < wanted * 20 && done < wanted && n > 1; attempt++) {
        int i = 1 + UniformInt(rng, n - 1);
        QuakeRecord& r = (*records)[size_t(i)];
        if (r.mapX == 0 || r.mapY == 0) continue;
        bool source = false;
        for (int j = i - 1; j >= 0 && !source; j--) {
            const QuakeRecord& o = (*records)[size_t(j)];
            source = o.regionIndex == r.regionIndex && o.mapX != 0 && o.mapY != 0;
        }
        if (!source) continue;
        int mode = done % 3;
        if (mode != 1) r.mapX = 0;
        if (mode != 0) r.mapY = 0;
        done++;
    }
    return done;
}

}  // namespace

double EstimateIntensity(double m, double depthKm, double landKm) {
    // Peak ground velocity on firm ground (Si and Midorikawa's attenuation)
    // at the nearest station, which stands a few km inland, amplified for
    // a typical site and turned into the JMA intensity with
    // I = 2.68 + 1.72 log10(PGV), lowered for small magnitudes.
    double epicentral = landKm + kStationKm;
    double x = std::sqrt(epicentral * epicentral + depthKm * depthKm);
    double logPgv = 0.58 * m + 0.0038 * depthKm - 1.29 - std::log10(x + 0.0028 * std::pow(10.0, 0.5 * m)) -
                    0.002 * x + std::log10(kSiteAmplification);
    return 2.68 + 1.72 * logPgv + kSmallSlope * std::min(0.0, m - kSmallPivot);
}

int IntensityClassOf(double intensity) {
    static const double kLower[] = {0.5, 1.5, 2.5, 3.5, 4.5, 5.0, 5.5, 6.0, 6.5};
    int c = 0;
    while (c < 9 && intensity >= kLower[c]) c++;
    return c;
}

int GenerateSample(const SampleOptions& o, std::vector<QuakeRecord>* records, SampleReport* report) {
    if (!ValidDate(o.endYear, o.endMonth, o.endDay) || o.records < 0 || o.records > kMaxRecords ||
        o.endMinuteOfDay < 1 || o.endMinuteOfDay > 1440)
        return SAMPLE_BAD_OPTIONS;
    static Grid grid;   // the same for every catalogue: built once
    if (grid.landKm.empty()) BuildGrid(&grid);
    Simulation s{KitRng{}, grid, 0, {}, {}};
    // The whole last day is simulated, so that the catalogue depends on the
    // seed and the end date only; the end minute just cuts its tail.
    s.endT = DayOf(o.endYear, o.endMonth, o.endDay) + 1;
    double cut = s.endT - 1 + o.endMinuteOfDay / 1440.0;
    // With an exact count wanted, raise the background rate until the
    // model delivers at least that many, then thin down to it.
    double scale = 1;
    for (int attempt = 0;; attempt++) {
        SeedRng(&s.rng, o.seed);
        s.felt.clear();
        s.simulated = 0;
        s.nextId = 0;
        Simulate(&s, scale);
        EnsureYearEnds(&s, o);
        s.felt.erase(std::remove_if(s.felt.begin(), s.felt.end(), [cut](const Felt& f) { return f.t >= cut; }),
                     s.felt.end());
        int have = int(s.felt.size());
        if (o.records == 0 || have >= o.records || attempt == 8) break;
        scale *= std::min(8.0, 1.1 * o.records / std::max(have, 1));
    }
    report->felt = int(s.felt.size());
    Thin(&s, o.records ? o.records : kSampleMaxRecords);
    std::sort(s.felt.begin(), s.felt.end(), [](const Felt& a, const Felt& b) {
        return a.t != b.t ? a.t > b.t : a.id > b.id;
    });
    std::vector<QuakeRecord> out;
    out.reserve(s.felt.size());
    for (const Felt& f : s.felt) out.push_back(f.rec);
    report->simulated = s.simulated;
    report->missingPositions = ClearSomePositions(&s.rng, &out);
    report->records = int(out.size());
    *records = out;
    return SAMPLE_OK;
}
