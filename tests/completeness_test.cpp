// Gutenberg-Richter on catalogues incomplete the way a felt record is, and the
// sets per region and period.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/analysis/gutenberg_richter.h"
#include "test_util.h"

// Magnitudes x 10 in time order of a law with `b` from M1.0, each at a
// distance from the coast uniform in 0..300 km, felt there (kept) when
// M >= 1 + 2 log10(1 + d / 10 km): the felt radius grows tenfold every two
// magnitudes. Every distance is complete from M4.0; drawn until `aboveFour` reach it.
static std::vector<int> FeltCatalogue(double b, int aboveFour, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> uniform(0, 1);
    std::vector<int> out;
    for (int above = 0; above < aboveFour;) {
        const int m10 = int(std::floor((0.95 - std::log10(1 - uniform(random)) / b) * 10 + 0.5));
        if (m10 < 10 * (1 + 2 * std::log10(1 + 300 * uniform(random) / 10)) || m10 > 99) continue;
        out.push_back(m10);
        above += m10 >= 40;
    }
    return out;
}

TEST(Completeness, BValueStabilityRecoversBWhereMaximumCurvatureDoesNot) {
    GrOptions mbs, maxc;
    maxc.method = GR_MC_MAXC;
    for (double b : {0.8, 1.0, 1.2})
        for (unsigned seed : {1u, 2u}) {
            SCOPED_TRACE(testing::Message() << "b " << b << " seed " << seed);
            const std::vector<int> m = FeltCatalogue(b, 1500, seed);
            mbs.resamples = seed == 1 ? 200 : 0;
            const GrFit stable = FitGutenbergRichter(m, 10, mbs), curvature = FitGutenbergRichter(m, 10, maxc);
            EXPECT_EQ(std::vector<int>({stable.method, stable.fellBack}), std::vector<int>({GR_MC_STABILITY, 0}));
            EXPECT_NEAR(stable.mc, 3.95, 0.151);
            EXPECT_NEAR(stable.b, b, 0.1);
            EXPECT_NEAR(stable.bPositive, b, 0.15);
            EXPECT_GT(std::fabs(curvature.b - b), 0.2);
            if (seed == 1) {   // the bootstrap's spread of b is about the Shi-Bolt error; Mc varies
                EXPECT_GT(stable.bBootErr, 0.5 * stable.bErr);
                EXPECT_LT(stable.bBootErr, 3 * stable.bErr);
                EXPECT_GT(stable.mcErr, 0);
                EXPECT_LT(stable.mcErr, 0.5);
            }
        }
    // Too few events above any candidate: maximum curvature, and said so.
    const GrFit few = FitGutenbergRichter({30, 30, 31, 32, 35}, 10, mbs);
    EXPECT_TRUE(few.fellBack);
    EXPECT_EQ(few.method, GR_MC_MAXC);
}

// b = 1.0, complete from M2.0, except that of the 1,000 earthquakes after
// each M5+ only those of M3.5+ are recorded (small aftershocks hide in the
// coda of larger ones). Aki-Utsu from 2.0 comes out low (0.83); b-positive
// does not, as each recorded event is complete above the one before it.
TEST(Completeness, BPositiveHoldsThroughShortTermIncompleteness) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> uniform(0, 1);
    std::vector<int> m;
    for (int hidden = 0; m.size() < 60000;) {
        const int m10 = int(std::floor((1.95 - std::log10(1 - uniform(random)) / 1.0) * 10 + 0.5));
        if (hidden > 0) hidden--;
        if ((hidden > 0 && m10 < 35) || m10 > 99) continue;
        m.push_back(m10);
        if (m10 >= 50) hidden = 1000;
    }
    double b, bErr;
    int n, differences;
    ASSERT_TRUE(AkiUtsuB(m, 20, &b, &bErr, &n));
    EXPECT_LT(b, 0.9);
    EXPECT_NEAR(BPositive(m, 50, &differences), 1.0, 0.05);
    EXPECT_EQ(BPositive({20, 30}, 50, &differences), -1);
    EXPECT_EQ(differences, 1);
}

// Region 1: three records a year 2000-2009 (one M6.1); region 2: ten a year
// 2000-2004. Periods of five years from the oldest selected record's year.
TEST(Completeness, SetsPerRegionAndPeriod) {
    std::vector<QuakeRecord> records;
    for (int year = 2009; year >= 2000; year--) {
        for (int k = 9; year <= 2004 && k >= 0; k--) records.push_back(Rec(year, 7, 1 + k, 0, 0, 300, 200, 10, 2, 30, 1));
        for (int k = 2; k >= 0; k--) records.push_back(Rec(year, 3, 1 + k, 0, 0, 300, 200, 10, 1, 20 + k, 1));
    }
    records[10].magnitude10 = 61;   // 2006/03/02
    records.back().inFilter = 0;   // 2000/03/01 is not selected: the span starts on 2000/03/02
    for (size_t k = 0; k + 1 < records.size(); k++) records[k].inFilter = 1;
    const std::vector<GrSet> sets = FitSelectedSets(records.data(), int(records.size()), true, 5, GrOptions{});
    struct Expected {
        int region, fromYear, events, m6;
        long long days;
    } expected[] = {{2, 2000, 50, 0, DayNumber(2004, 12, 31) - DayNumber(2000, 3, 2) + 1},
                    {1, 2000, 14, 0, DayNumber(2004, 12, 31) - DayNumber(2000, 3, 2) + 1},
                    {1, 2005, 15, 1, DayNumber(2009, 3, 3) - DayNumber(2005, 1, 1) + 1}};
    ASSERT_EQ(sets.size(), 3u);
    for (size_t k = 0; k < 3; k++) {
        const Expected& e = expected[k];
        EXPECT_EQ(std::vector<int>({sets[k].region, sets[k].fromYear, sets[k].toYear, int(sets[k].magnitude10.size()),
                                    sets[k].m6}),
                  std::vector<int>({e.region, e.fromYear, e.fromYear + 4, e.events, e.m6}));
        EXPECT_NEAR(sets[k].spanYears * 365.2425, double(e.days), 1e-9);
    }
    const std::vector<GrSet> whole = FitSelectedSets(records.data(), int(records.size()), false, 0, GrOptions{});
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0].region, -1);
    EXPECT_EQ(whole[0].magnitude10.front(), 21);   // oldest first: 2000/03/02
}
