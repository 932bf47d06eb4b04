// The recent-events panel's numbers: event gaps against mktime/difftime, both
// curves against a literal model of the drawing on random catalogues, the
// colours, the counts and the selected earthquake's card.
#include "mapview/recent_data.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "analysis_fixture.h"
#include "platform/platform.h"
#include "random_catalogue.h"

namespace {

// The catalogue's zone (standard time all year), as the program runs.
class RecentPanel : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "JST-9", 1);
        tzset();
    }
    void TearDown() override {
        unsetenv("TZ");
        tzset();
    }
};

time_t LiteralTime(const QuakeRecord& r) {
    std::tm t{};
    t.tm_year = r.year - 1900, t.tm_mon = r.month - 1, t.tm_mday = r.day, t.tm_hour = r.hour, t.tm_min = r.minute;
    return std::mktime(&t);
}

int LiteralNext(int i) {
    for (int j = i + 1; j <= AppSettings.selLastIndex; j++)
        if (gpEQ[j].inFilter == 1) return j;
    return AppSettings.selLastIndex;
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

// One line per step from x 190 leftwards, as the panel is described: the
// newest gap in whole hours (unclamped), later ones in half hours; magnitudes
// at 0.75 pixels per tenth, the window's last match on the baseline.
std::vector<OverlayPoint> LiteralCurve(bool interval) {
    std::vector<OverlayPoint> points;
    const int i0 = AppSettings.selFirstIndex;
    if (interval && i0 >= 199999) return points;
    auto minutes = [](int a, int b) { return int(std::difftime(LiteralTime(gpEQ[a]), LiteralTime(gpEQ[b]))) / 60; };
    int c = interval ? LiteralNext(i0) : i0;
    points.push_back({190, interval ? 73 - minutes(i0, c) / 60 : std::max(5, int(73 - gpEQ[i0].magnitude10 * 0.75))});
    for (int k = 1; k <= 192 && points.front().x > 1; k++) {
        const int n = LiteralNext(c);
        const int y = interval ? Clamp(73 - minutes(c, n) / 30, 6, 73)
                               : n == AppSettings.selLastIndex ? 73 : Clamp(int(73 - gpEQ[n].magnitude10 * 0.75), 6, 73);
        points.insert(points.begin(), OverlayPoint{std::max(1, 190 - k), y});
        c = n;
        if (c > 199999) break;
    }
    return points;
}

void SetMatches(const std::vector<int>& matches, int last) {
    for (int i = 0; i < DataEnd(); i++) gpEQ[i].inFilter = 0;
    for (int i : matches) gpEQ[i].inFilter = 1;
    AppSettings.selFirstIndex = matches.empty() ? 0 : matches.front();
    AppSettings.selLastIndex = last;
}

std::vector<std::pair<int, int>> Points(const RecentCurve& c) {
    std::vector<std::pair<int, int>> v;
    for (int p = 0; p < c.count; p++) v.push_back({c.points[p].x, c.points[p].y});
    return v;
}
std::vector<std::pair<int, int>> Points(const std::vector<OverlayPoint>& c) {
    std::vector<std::pair<int, int>> v;
    for (const OverlayPoint& p : c) v.push_back({p.x, p.y});
    return v;
}

TEST_F(RecentPanel, CalendarGapEqualsDifftimeOfMktime) {
    std::mt19937 random(11);
    const int fixed[][10] = {
        {1970, 1, 1, 0, 0, 1970, 1, 1, 0, 1},    {2000, 2, 28, 12, 0, 2000, 3, 1, 12, 0},
        {2100, 2, 28, 0, 0, 2100, 3, 1, 0, 0},   {2024, 13, 1, 0, 0, 2025, 1, 1, 0, 0},    // month 13 carries
        {2024, 3, 0, 0, 0, 2024, 2, 29, 0, 0},   {1965, 6, 1, 0, 0, 2040, 6, 1, 0, 0},     // beyond 32-bit time
    };
    std::vector<std::pair<QuakeRecord, QuakeRecord>> pairs;
    for (const auto& f : fixed)
        pairs.push_back({Rec(f[5], f[6], f[7], f[8], f[9], 0, 0, 0, 0, 10, 0), Rec(f[0], f[1], f[2], f[3], f[4], 0, 0, 0, 0, 10, 0)});
    auto draw = [&random] {
        return Rec(1900 + int(random() % 250), int(random() % 14), int(random() % 33), int(random() % 24),
                   int(random() % 60), 0, 0, 0, 0, 10, 0);
    };
    for (int k = 0; k < 3000; k++) pairs.push_back({draw(), draw()});
    for (const auto& p : pairs)
        ASSERT_EQ(EventGapSeconds(p.first, p.second), std::difftime(LiteralTime(p.first), LiteralTime(p.second)))
            << p.first.year << "-" << p.first.month << "-" << p.first.day << " / " << p.second.year << "-"
            << p.second.month << "-" << p.second.day;
}

TEST_F(RecentPanel, CurvesMatchTheLiteralDrawingOnRandomCatalogues) {
    std::mt19937 random(5);
    const int shapes[][3] = {{3000, 2, 60}, {2000, 30, 30}, {300, 30, 50}, {500, 3000, 90}, {150, 1, 100}, {40, 1, 50}};
    for (const auto& shape : shapes) {
        for (int round = 0; round < 4; round++) {
            auto records = RandomCatalogue(random, shape[0], 20, shape[1]);
            if (round == 1) records[0].magnitude10 = 99;   // clamps at 5, the others at 6
            LoadCatalogue(records);
            std::vector<int> matches;
            for (int i = 0; i < shape[0]; i++)
                if (int(random() % 100) < shape[2]) matches.push_back(i);
            if (matches.empty()) matches.push_back(0);
            SetMatches(matches, round == 3 ? matches[matches.size() / 2] : matches.back());
            RecentPanelData data;
            BuildRecentPanel(&data);
            SCOPED_TRACE(testing::Message() << shape[0] << " records over " << shape[1] << " days, round " << round);
            EXPECT_EQ(Points(data.interval), Points(LiteralCurve(true)));
            EXPECT_EQ(Points(data.magnitude), Points(LiteralCurve(false)));
        }
    }
    // The interval curve is not drawn from the last slot of the store on.
    AppSettings.selFirstIndex = AppSettings.selLastIndex = kMaxRecords - 1;
    RecentPanelData data;
    BuildRecentPanel(&data);
    EXPECT_EQ(data.interval.count, 0);
}

}  // namespace
