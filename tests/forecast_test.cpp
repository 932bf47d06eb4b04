// Known answers for the statistics a seismologist checks first: the b-value
// and Mc of Gutenberg-Richter catalogues drawn with a known b, and the
// Molchan area skill score of a ranking that knows the future, of random
// rankings, and of the backtest run over a catalogue whose strong
// earthquakes always strike the same region.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/analysis/backtest.h"
#include "engine/analysis/gutenberg_richter.h"
#include "engine/selection/conditions.h"
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
        for (unsigned seed = 1; seed <= 40; seed++) {
            const GrFit fit = FitGutenbergRichter(GrCatalogue(b, 2000, seed), 10, kMcMaxCurvature, 50);
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
    EXPECT_FALSE(FitGutenbergRichter(GrCatalogue(1.0, 49, 4), 10, kMcMaxCurvature, 50).estimated);
    EXPECT_DOUBLE_EQ(FitGutenbergRichter(GrCatalogue(1.0, 500, 5), 10, 25, 50).mc, 2.5);
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

// Twenty regions with weekly small earthquakes from 1980 (region 19 only from
// 1995 on); every year one M6.5 in region 3. The rate baseline puts region 3 first from the second
// year on; random rankings cannot.
TEST(Backtest, ScoresTheNextYearAgainstTheCatalogueBeforeIt) {
    std::vector<QuakeRecord> records;
    for (int year = 2009; year >= 1980; year--)
        for (int week = 51; week >= 0; week--) {
            const int month = 1 + week * 12 / 52, day = 1 + week % 4 * 7;
            if (week == 20) records.push_back(Rec(year, month, day, 12, 0, 300, 200, 10, 3, 65, 4));
            for (int region = year < 1995 ? 18 : 19; region >= 0; region--)
                records.push_back(Rec(year, month, day, 6, region, 300, 200, 10, region, 30, 1));
        }
    LoadCatalogue(records);
    OpenConditions();
    ApplyConditions();
    const int count = AppSettings.selCount;
    BacktestResult r;
    ASSERT_EQ(RunBacktest(1990, 2009, 60, 2000, 1, &r), BACKTEST_OK);
    ASSERT_EQ(r.years.size(), 20u);
    for (const BacktestYear& y : r.years) {
        const int cells = y.year <= 1995 ? 19 : 20;   // a region counts once it has a record before the year
        EXPECT_EQ(std::vector<int>({y.targets, y.cells, y.hits[3]}), std::vector<int>({1, cells, 1})) << y.year;
        EXPECT_DOUBLE_EQ(y.assRate, 1 - 0.5 / cells);
    }
    EXPECT_EQ(r.targets, 20);
    EXPECT_LT(r.pRate, 0.01);
    EXPECT_NEAR(r.top10Random, (6 * 10 / 19.0 + 14 * 0.5) / 20, 1e-9);
    EXPECT_EQ(AppSettings.selCount, count);   // the catalogue and the conditions as they were
    EXPECT_EQ(gpEQ[0].year, 2009);
    EXPECT_EQ(RunBacktest(1960, 1970, 60, 10, 1, &r), BACKTEST_NO_YEARS);
}
