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

std::string Utf8(const char* sjis) {
    std::string out;
    EXPECT_EQ(SjisToUtf8(sjis, &out), 0) << sjis;
    return out;
}

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

TEST_F(RecentPanel, ColoursAndCounts) {
    // The strong-events tab follows selStrongRecent, the card the selected magnitude.
    const int cases[][7] = {{0, 32, 32, 128, 32, 32, 128}, {32, 128, 32, 0, 64, 32, 64}, {75, 255, 32, 0, 107, 32, 0},
                            {223, 255, 32, 0, 255, 32, 0}};
    for (const auto& c : cases) {
        LoadCatalogue({Rec(2024, 6, 20, 12, 0, 300, 100, 10, 1, c[0], 1)});
        AppSettings.selStrongRecent = c[0];
        AppSettings.selFirst = 0;
        RecentPanelData data;
        BuildRecentPanel(&data);
        EXPECT_EQ(std::vector<int>({data.strongFill.r, data.strongFill.g, data.strongFill.b, data.cardFill.r,
                                    data.cardFill.g, data.cardFill.b}),
                  std::vector<int>(c + 1, c + 7))
            << c[0];
    }
    SettingsBlock& s = AppSettings;
    s.magMin = 3, s.magMax = 8, s.selCount = 42, s.selCount2 = 1234, s.selMaxMag10 = 73, s.selMeanMag10 = 31;
    s.selStrongRecent = 7;
    RecentPanelData data;
    BuildRecentPanel(&data);
    EXPECT_EQ(std::vector<std::string>({Utf8(data.title.text), Utf8(data.counts[0].text), Utf8(data.counts[1].text),
                                        Utf8(data.strong[1].text)}),
              std::vector<std::string>({"直近192回分グラフ", "M3～8    42 /  1234回", "最大M:7.3 平均M:3.1",
                                        "M5以上   7 / 100回"}));
}

TEST_F(RecentPanel, CardOfTheSelectedEarthquake) {
    static const char* const kLabels[10] = {"0", "1", "2", "3", "4", "5弱", "5強", "6弱", "6強", "7"};
    for (int i = 0; i < 10; i++) std::snprintf(IntensityLabels[i], sizeof IntensityLabels[i], "%s", SjisText(kLabels[i]));
    // Region 1: M6+ at 0 and 5 (the same day) and 10 (an earlier day); region 2 one M6+ at 2; region 3 none.
    std::vector<QuakeRecord> r;
    for (int i = 0; i < 40; i++) r.push_back(DayRec(i / 4, 4 + i % 5, 20 + i % 20, 30, 2));
    r[0] = Rec(2024, 6, 20, 9, 5, 300, 100, 42, 1, 65, 9), r[3] = Rec(2024, 6, 20, 8, 0, 300, 100, 10, 1, 31, 1);
    r[5] = Rec(2024, 6, 20, 7, 0, 300, 100, 10, 1, 62, 3), r[10] = Rec(2024, 5, 1, 6, 30, 300, 100, 10, 1, 61, 4);
    r[2] = Rec(2024, 6, 19, 23, 59, 300, 100, 70, 2, 60, 6), r[6] = Rec(2024, 6, 18, 3, 0, 300, 100, 5, 3, 58, 5);
    LoadCatalogue(r);
    struct Case {
        int selFirst;
        std::vector<std::string> lines;   // the alert line (index 4) is checked by form only
    } cases[] = {
        {0, {"2024年06月20日 09時05分", "深さ 42km  M:6.5", "R1", "震度 7", "(", "直近 2024年05月01日"}},   // its own M6+: the one before
        {3, {"2024年06月20日 08時00分", "深さ 10km  M:3.1", "R1", "震度 1", "(", "直近 2024年06月20日"}},
        {2, {"2024年06月19日 23時59分", "深さ 70km  M:6.0", "R2", "震度 5強", "", "直近 ----年--月--日"}},
        {6, {"2024年06月18日 03時00分", "深さ 5km  M:5.8", "R3", "震度 5弱", "", "直近 ----年--月--日"}},
        {40, {}},   // behind the data: never read
        {-1, {}},
    };
    for (const Case& c : cases) {
        AppSettings.selFirst = c.selFirst;
        RecentPanelData data;
        BuildRecentPanel(&data);
        ASSERT_EQ(data.cardLines, int(c.lines.size())) << c.selFirst;
        for (int i = 0; i < data.cardLines; i++) {
            const std::string line = Utf8(data.card[i].text);
            if (i == 4)
                EXPECT_TRUE(line.rfind("警戒度 ", 0) == 0 && (line.find('(') != std::string::npos) == !c.lines[4].empty())
                    << c.selFirst << ": " << line;   // "(previous)" while the level is 0.01 or less
            else
                EXPECT_EQ(line, c.lines[i]) << c.selFirst;
        }
    }
}

}  // namespace
