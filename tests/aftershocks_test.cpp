// Aftershock decay: great-circle distances, Omori fits of sequences of known
// K, c and p, and a whole sequence whose next month is known.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/analysis/aftershocks.h"
#include "engine/model/geo.h"
#include "test_util.h"

TEST(GreatCircle, KnownDistances) {
    struct Case {
        double lat1, lon1, lat2, lon2, km;
    } cases[] = {
        {0, 0, 0, 90, 10007.54},                 // a quarter of the equator
        {35, 135, 36, 135, 111.19},              // a degree of latitude
        {35.681, 139.767, 34.702, 135.496, 403}, // Tokyo to Osaka station
        {0, 0, 0, 180, 20015.09},
    };
    for (const Case& c : cases) EXPECT_NEAR(GreatCircleKm(c.lat1, c.lon1, c.lat2, c.lon2), c.km, 0.5);
}

// Event times of K / (t + c)^p on [start, end]: a Poisson count, then each
// time by the inverse of the law's distribution function.
static std::vector<double> OmoriTimes(double K, double c, double p, double start, double end, std::mt19937_64* random) {
    const double q = 1 - p, a = std::pow(start + c, q), z = std::pow(end + c, q);
    std::poisson_distribution<int> count(K * (z - a) / q);
    std::uniform_real_distribution<double> uniform(0, 1);
    std::vector<double> t(size_t(count(*random)));
    for (double& v : t) v = std::pow(a + uniform(*random) * (z - a), 1 / q) - c;
    std::sort(t.begin(), t.end());
    return t;
}

TEST(Omori, FitsSyntheticSequencesWithinTheirStandardErrors) {
    struct Case {
        double K, c, p, start, end;
    } cases[] = {{50, 0.05, 1.1, 0, 100}, {200, 0.01, 0.9, 0, 30}, {20, 0.3, 1.3, 0.1, 365}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "K " << k.K << " c " << k.c << " p " << k.p);
        std::mt19937_64 random(11);
        int covered[3] = {}, runs = 40;
        for (int run = 0; run < runs; run++) {
            OmoriFit f;
            ASSERT_EQ(FitOmori(OmoriTimes(k.K, k.c, k.p, k.start, k.end, &random), k.start, k.end, &f), OMORI_OK);
            ASSERT_GT(f.kErr * f.cErr * f.pErr, 0);
            const double fitted[3] = {f.K, f.c, f.p}, truth[3] = {k.K, k.c, k.p}, error[3] = {f.kErr, f.cErr, f.pErr};
            for (int i = 0; i < 3; i++) covered[i] += std::fabs(fitted[i] - truth[i]) <= 2 * error[i];
            if (run > 0) continue;
            for (int i = 0; i < 3; i++) EXPECT_NEAR(fitted[i], truth[i], 3 * error[i]) << i;
            // The fitted law expects as many events as it was fitted to.
            EXPECT_NEAR(OmoriExpected(f, k.start, k.end), f.n, 1e-6 * f.n);
        }
        for (int i = 0; i < 3; i++) EXPECT_GE(covered[i], runs * 8 / 10) << i;   // about 95 % expected
    }
    OmoriFit f{};
    EXPECT_EQ(FitOmori({0.1, 0.2, 0.3}, 0, 10, &f), OMORI_TOO_FEW);
    EXPECT_EQ(f.n, 0);
}

// An M7.0 with 60 days of M2.0+ aftershocks (b = 0.8, K 100, c 0.05, p 1.1)
// within 20 km, an M7.5 two minutes earlier 300 km away, background far away,
// records without a position: fitted on 30 days, the next 30 as forecast.
TEST(Aftershocks, SequenceOfAKnownDecay) {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> uniform(0, 1);
    const long long mainMinute = DayNumber(2016, 4, 14) * 1440 + 21 * 60 + 26;
    std::vector<std::pair<long long, QuakeRecord>> timed;
    auto add = [&](long long minute, int mapX, int mapY, int mag10) {
        int y, m, d;
        CivilFromDays(minute / 1440, &y, &m, &d);
        QuakeRecord r = Rec(y, m, d, int(minute % 1440 / 60), int(minute % 60), mapX, mapY, 10, 5, mag10, 3);
        r.inFilter = 1;
        timed.push_back({minute, r});
    };
    add(mainMinute, 400, 150, 70);
    add(mainMinute - 2, 430, 150, 75);
    int later = 0;
    for (double t : OmoriTimes(100, 0.05, 1.1, 0, 60, &random)) {
        const int mag10 = std::min(69, int(std::floor((1.95 - std::log10(1 - uniform(random)) / 0.8) * 10 + 0.5)));
        add(mainMinute + 1 + (long long)(t * 1440), 400 + int(random() % 5) - 2, 150 + int(random() % 5) - 2, mag10);
        later += t > 30;
    }
    for (int k = 0; k < 200; k++) add(mainMinute - 40000 + k * 500, 300, 250, 30);   // 700 km away
    for (int k = 0; k < 7; k++) add(mainMinute + 100 + k, 0, 0, 30);
    std::stable_sort(timed.begin(), timed.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<QuakeRecord> records;
    for (const auto& t : timed) records.push_back(t.second);

    AftershockQuery q;
    q.year = 2016, q.month = 4, q.day = 14, q.hour = 21, q.minute = 27, q.radiusKm = 50, q.days = 30;
    AftershockSequence r;
    AftershockFit fit;
    ASSERT_EQ(FindAftershocks(records.data(), int(records.size()), q, &r), AFTERSHOCK_OK);
    ASSERT_EQ(FitAftershocks(records.data(), r, q, &fit), AFTERSHOCK_OK);
    EXPECT_EQ(records[size_t(r.mainRecord)].magnitude10, 70);
    EXPECT_EQ(r.unplaced, 7);
    EXPECT_EQ(r.minMag10, 20);
    EXPECT_TRUE(r.mcFromSequence);
    EXPECT_NEAR(fit.omori.p, 1.1, 3 * fit.omori.pErr);
    EXPECT_NEAR(fit.b, 0.8, 3 * fit.bErr);
    for (const Aftershock& a : r.events) ASSERT_LT(a.distanceKm, 30);
    ASSERT_EQ(fit.forecasts.size(), 6u);   // M6.0+ and M5.0+ over 1, 7, 30 days
    EXPECT_DOUBLE_EQ(fit.forecasts[0].mag, 6.0);
    // M2+ in days 30-60: the M5+ forecast scaled by b, against the count.
    const double expected = fit.forecasts[5].expected * std::pow(10.0, fit.b * 3);
    EXPECT_NEAR(later, expected, 3 * std::sqrt(expected) + 0.15 * expected);
    EXPECT_NEAR(fit.forecasts[5].probability, 1 - std::exp(-fit.forecasts[5].expected), 1e-12);

    // Failures leave the outputs as they were.
    q.days = 0.001;
    EXPECT_EQ(FindAftershocks(records.data(), int(records.size()), q, &r), AFTERSHOCK_OK);
    EXPECT_EQ(FitAftershocks(records.data(), r, q, &fit), AFTERSHOCK_TOO_FEW);
    EXPECT_EQ(fit.forecasts.size(), 6u);
    q.minute = 16;   // no main shock within a minute
    EXPECT_EQ(FindAftershocks(records.data(), int(records.size()), q, &r), AFTERSHOCK_NO_MAIN);
    EXPECT_EQ(r.unplaced, 0);
}
