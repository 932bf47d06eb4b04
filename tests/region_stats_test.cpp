// Class statistics, recurrence bands and FirstInRegion: hand-checked cases,
// and the cached answers against the literal walks on random catalogues.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "analysis/region_stats.h"
#include "analysis_fixture.h"
#include "literal_stats.h"
#include "random_catalogue.h"

namespace {

struct Stats {
    int count, since, mean, latest;
    bool operator==(const Stats& o) const {
        return count == o.count && since == o.since && mean == o.mean && latest == o.latest;
    }
};

std::ostream& operator<<(std::ostream& out, const Stats& s) {
    return out << "{" << s.count << ", " << s.since << ", " << s.mean << ", " << s.latest << "}";
}

Stats ByMagnitude(int record, int cls) {
    Stats s{-7, -7, -7, -7};
    int returned = ClassStatsByMagnitude(record, cls, &s.count, &s.since, &s.mean, &s.latest);
    EXPECT_EQ(returned, s.count);
    return s;
}

Stats ByIntensity(int record, int cls) {
    Stats s{-7, -7, -7, -7};
    ClassStatsByIntensity(record, cls, &s.count, &s.since, &s.mean, &s.latest);
    return s;
}

TEST(ClassRecurrence, HandCheckedCases) {
    // Region 2's M6-band events at 10, 30 and 70 of a window starting at 0.
    std::vector<QuakeRecord> records;
    for (int i = 0; i < 200; i++) {
        int mag = i == 10 || i == 30 || i == 70 ? 64 : 30;
        records.push_back(Rec(2024, 1, 1, 0, 0, 300, 100, 10, i < 100 ? 2 : 3, mag, 1));
    }
    records[150].magnitude10 = 55;   // region 3: a single M5-band event
    records[160].magnitude10 = 95;
    records[162].magnitude10 = 98;   // region 3: M9 events at 160 and 162
    LoadCatalogue(records);
    OpenConditions();
    ApplyConditions();
    struct Case {
        const char* what;
        int current, band, regionCount;
        float due, share;
    } cases[] = {
        {"10 / 30 x 100", 0, 2, 100, float(10.0 / 30 * 100), float(3.0 / 100 * 100)},
        {"band 0 takes M5.0 and above", 0, 0, 100, float(10.0 / 30 * 100), 3.0f},
        {"no events of the band", 0, 3, 100, 0, 0},
        {"every record", 0, 6, 100, 0, 100},
        {"a single event: both 0", 120, 1, 100, 0, 0},
        {"due above 999.99 is limited", 120, 5, 100, 999.99f, 2},
        {"region count 0 gives 999.99", 0, 2, 0, float(10.0 / 30 * 100), 999.99f},
        {"share above 999.99 is limited", 0, 6, 5, 0, 999.99f},
    };
    for (const Case& c : cases) {
        gCurrentRecord = c.current;
        gRegionCount = c.regionCount;
        float due = -1, share = -1;
        ClassRecurrence(c.band, &due, &share);
        EXPECT_FLOAT_EQ(due, c.due) << c.what;
        EXPECT_FLOAT_EQ(share, c.share) << c.what;
    }
    // The region count is read when asked, not when gathered.
    gCurrentRecord = 0;
    gRegionCount = 1;
    float due, share;
    ClassRecurrence(2, &due, &share);
    EXPECT_FLOAT_EQ(share, 300.0f);
    gRegionCount = 6;
    ClassRecurrence(2, &due, &share);
    EXPECT_FLOAT_EQ(share, 50.0f);
}

TEST(FirstInRegion, NewestMatchingRecordOfTheRegion) {
    LoadCatalogue({DayRec(0, 1, 30), DayRec(1, 2, 10), DayRec(2, 2, 30), DayRec(3, 3, 10),
                   DayRec(4, 1, 30)});
    OpenConditions();
    AppSettings.magMin = 2;
    ApplyConditions();
    struct Case {
        int record, expected;
    } cases[] = {{0, 0}, {4, 0}, {1, 2}, {2, 2}, {3, -1}, {-1, -1}, {5, -1}, {kMaxRecords, -1}};
    for (const Case& c : cases) EXPECT_EQ(FirstInRegion(c.record), c.expected) << c.record;
}

// The cached answers against the literal walks for every class, band and a
// sample of records, after random filters and with the window moved by hand.
TEST(StatsCache, MatchesTheLiteralWalksOnRandomCatalogues) {
    std::mt19937 random(99);
    for (int round = 0; round < 30; round++) {
        int n = 1 + int(random() % 3000);
        LoadCatalogue(RandomCatalogue(random, n, 1 + int(random() % 120), 1 + int(random() % 2000)));
        OpenConditions();
        AppSettings.magMin = int(random() % 4);
        AppSettings.depthMax = int(random() % 300);
        AppSettings.intMin = int(random() % 3);
        ApplyConditions();
        for (int step = 0; step < 6; step++) {
            if (step == 3 && AppSettings.selLastIndex > AppSettings.selFirstIndex)
                AppSettings.selFirstIndex++;   // the window moves without a filter run
            gCurrentRecord = int(random() % n);
            gRegionCount = int(random() % 50);
            int records[] = {-1, gCurrentRecord, int(random() % n)};
            for (int record : records)
                for (int cls = 0; cls <= 10; cls++) {
                    Stats fast = ByMagnitude(record, cls), literal;
                    LiteralClassStats(record, false, cls, &literal.count, &literal.since,
                                      &literal.mean, &literal.latest);
                    ASSERT_EQ(fast, literal) << "round " << round << " record " << record << " M" << cls;
                    fast = ByIntensity(record, cls);
                    LiteralClassStats(record, true, cls, &literal.count, &literal.since,
                                      &literal.mean, &literal.latest);
                    ASSERT_EQ(fast, literal) << "round " << round << " record " << record << " I" << cls;
                }
            for (int band = -1; band <= 7; band++) {
                float due, share, literalDue, literalShare;
                ClassRecurrence(band, &due, &share);
                LiteralClassRecurrence(band, &literalDue, &literalShare);
                ASSERT_EQ(due, literalDue) << "round " << round << " band " << band;
                ASSERT_EQ(share, literalShare) << "round " << round << " band " << band;
            }
        }
    }
}

}  // namespace
