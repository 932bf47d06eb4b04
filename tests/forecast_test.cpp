// Known answers: b and Mc of catalogues drawn with a known b, Molchan scores,
// a backtest whose strong earthquakes always strike one region, the kernel.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/analysis/backtest.h"
#include "engine/analysis/gutenberg_richter.h"
#include "engine/analysis/smoothed_seismicity.h"
#include "engine/model/geo.h"
#include "test_util.h"

// Magnitudes x 10 of a Gutenberg-Richter law with `b`, complete from 1.8 (the
// most populated bin, so Mc by maximum curvature is 2.0), until `aboveMc`
// events reach 2.0.
static std::vector<int> GrCatalogue(double b, int aboveMc, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<int> out;
    for (int above = 0; above < aboveMc;) {
        const double u = (random() + 0.5) / 4294967296.0;
        const int m10 = int(std::floor((1.75 - std::log10(u) / b) * 10 + 0.5));
        out.push_back(m10);
        above += m10 >= 20;
    }
    return out;
}

// One catalogue of 2,000 events per b lies within 0.05 (about two standard
// errors at b = 1.2); the mean of 40 such catalogues shows no bias.
TEST(GutenbergRichter, RecoversTheBValueAndMcOfSyntheticCatalogues) {
    for (double b : {0.8, 1.0, 1.2}) {
        SCOPED_TRACE(testing::Message() << "b " << b);
        double sum = 0;
        GrOptions maxc;
        maxc.method = GR_MC_MAXC, maxc.resamples = 0;
        for (unsigned seed = 1; seed <= 40; seed++) {
            const GrFit fit = FitGutenbergRichter(GrCatalogue(b, 2000, seed), 10, maxc);
            ASSERT_TRUE(fit.estimated);
            ASSERT_DOUBLE_EQ(fit.mc, 2.0);
            ASSERT_EQ(fit.n, 2000);
            if (seed == 1) {
                EXPECT_NEAR(fit.b, b, 0.05);
                EXPECT_NEAR(fit.bErr, b / std::sqrt(2000.0), 0.01);
                EXPECT_NEAR(std::pow(10, fit.a - fit.b * fit.mc), 2000, 1e-6);   // N(>= Mc) = 10^(a - b Mc)
            }
            sum += fit.b;
        }
        EXPECT_NEAR(sum / 40, b, 0.015);
    }
    GrOptions o;
    o.method = GR_MC_MAXC;
    EXPECT_FALSE(FitGutenbergRichter(GrCatalogue(1.0, 49, 4), 10, o).estimated);
    o.method = GR_MC_FIXED, o.mc10 = 25;
    EXPECT_DOUBLE_EQ(FitGutenbergRichter(GrCatalogue(1.0, 500, 5), 10, o).mc, 2.5);
}

TEST(Molchan, AKnowingRankingScoresNearOneAndRandomOnesAHalf) {
    std::mt19937 random(7);
    double knowing = 0, chance = 0, weight = 0;
    for (int year = 0; year < 400; year++) {
        const int cells = 30 + int(random() % 250), target = int(random() % unsigned(cells));
        std::vector<int> hits(size_t(cells), 0);
        hits[size_t(target)] = 1 + int(random() % 3);
        std::vector<double> first(size_t(cells), 0), noise(static_cast<size_t>(cells));
        first[size_t(target)] = 1;
        for (double& s : noise) s = random() % 1000;
        std::vector<MolchanPoint> curve;
        knowing += hits[size_t(target)] * MolchanAss(first, hits, 0, &curve);
        chance += hits[size_t(target)] * MolchanAss(noise, hits, 0, &curve);
        weight += hits[size_t(target)];
        EXPECT_EQ(TopTenHits(first, hits, 0), 1.0);
    }
    EXPECT_GT(knowing / weight, 0.95);
    EXPECT_NEAR(chance / weight, 0.5, 0.05);
    // Equal scores are alarmed together; a target in no cell is never caught.
    std::vector<MolchanPoint> curve;
    EXPECT_DOUBLE_EQ(MolchanAss({1, 1, 0, 0}, {1, 0, 0, 0}, 1, &curve), 1 - (0.5 * 0.75 + 0.5 * 0.5));
    EXPECT_EQ(curve.size(), 3u);
}

// Twenty regions 15 grid units (about 110 km) apart with weekly small
// earthquakes from 1980 (region 19 only from 1995 on); every year one M6.5 in
// region 3. The rate baseline and smoothed seismicity put region 3 first;
// random rankings cannot.
TEST(Backtest, ScoresTheNextYearAgainstTheCatalogueBeforeIt) {
    std::vector<QuakeRecord> records;
    for (int year = 2009; year >= 1980; year--)
        for (int week = 51; week >= 0; week--) {
            const int month = 1 + week * 12 / 52, day = 1 + week % 4 * 7;
            if (week == 20) records.push_back(Rec(year, month, day, 12, 0, 345, 200, 10, 3, 65, 4));
            for (int region = year < 1995 ? 18 : 19; region >= 0; region--)
                records.push_back(Rec(year, month, day, 6, region, 300 + 15 * region, 200, 10, region, 30, 1));
        }
    LoadCatalogue(records);
    BacktestResult r;
    ASSERT_EQ(RunBacktest(records.data(), int(records.size()), RegionTable, {1990, 2009, 60, 50, 2000, 1}, &r),
              BACKTEST_OK);
    ASSERT_EQ(r.years.size(), 20u);
    for (const BacktestYear& y : r.years) {
        const int cells = y.year <= 1995 ? 19 : 20;   // a region counts once it has a record before the year
        EXPECT_EQ(std::vector<int>({y.targets, y.cells, y.hits[3]}), std::vector<int>({1, cells, 1})) << y.year;
        EXPECT_DOUBLE_EQ(y.assRate, 1 - 0.5 / cells);
        EXPECT_DOUBLE_EQ(y.assSmoothed, y.assRate);
    }
    EXPECT_EQ(r.targets, 20);
    EXPECT_LT(r.pRate, 0.01);
    EXPECT_EQ(r.pSmoothed, r.pRate);
    EXPECT_NEAR(r.top10Random, (6 * 10 / 19.0 + 14 * 0.5) / 20, 1e-9);
    EXPECT_EQ(RunBacktest(records.data(), int(records.size()), RegionTable, {1960, 1970, 60, 50, 10, 1}, &r),
              BACKTEST_NO_YEARS);
    EXPECT_EQ(r.years.size(), 20u) << "the last result is kept";
}

// Region 0: M4.5s at grid (400, 150) and one record without a position;
// region 1: an M3.0 about 2 bandwidths east; region 2: an M3.0 more than six
// bandwidths away; region 3: nothing placed. Each M4+ epicentre adds
// exp(-d² / 2σ²) at the distance d from a region's centre.
TEST(SmoothedSeismicity, GaussianKernelOfTheDistanceToTheRegionsCentre) {
    const QuakeRecord records[] = {Rec(2000, 1, 1, 0, 0, 400, 150, 10, 0, 45, 1), Rec(2000, 1, 1, 0, 0, 400, 150, 10, 0, 45, 1),
                                   Rec(2000, 1, 1, 0, 0, 0, 0, 10, 0, 45, 1), Rec(2000, 1, 1, 0, 0, 415, 150, 10, 1, 30, 1),
                                   Rec(2000, 1, 1, 0, 0, 450, 150, 10, 2, 30, 1), Rec(2000, 1, 1, 0, 0, 0, 0, 10, 3, 30, 1)};
    SmoothedSeismicity s;
    ClearSmoothed(&s);
    for (const QuakeRecord& r : records) AddToSmoothed(&s, r);
    double lat0, lon0, lat1, lon1;
    GridToGeo(400, 150, &lat0, &lon0);
    GridToGeo(415, 150, &lat1, &lon1);
    const double d = GreatCircleKm(lat0, lon0, lat1, lon1) / 50;
    ASSERT_GT(d, 1.5);
    const std::vector<double> scores = SmoothedScores(s, {0, 1, 2, 3}, 50);
    EXPECT_DOUBLE_EQ(scores[0], 2);
    EXPECT_NEAR(scores[1], 2 * std::exp(-d * d / 2), 1e-12);
    EXPECT_EQ(scores[2], 0);
    EXPECT_EQ(scores[3], 0);
}
