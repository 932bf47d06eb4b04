// The recent-events panel's numbers: the next-match walk, event gaps against
// mktime/difftime, both curves against a literal model of the drawing on
// random catalogues, their edge cases, the colours and the texts of the
// counts, the strong-events tab and the selected earthquake's card.
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

// Runs with the zone of the catalogue (standard time all year), as the
// program does, and restores the caller's zone.
class JapanTime : public ::testing::Test {
protected:
    void SetUp() override {
        const char* zone = std::getenv("TZ");
        hadZone_ = zone != nullptr;
        if (zone) oldZone_ = zone;
        setenv("TZ", "JST-9", 1);
        tzset();
    }
    void TearDown() override {
        if (hadZone_)
            setenv("TZ", oldZone_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    bool hadZone_ = false;
    std::string oldZone_;
};

// --- the literal model: mktime, difftime and one line per step ---------------

time_t LiteralTime(const QuakeRecord& r) {
    std::tm t{};
    t.tm_year = r.year - 1900;
    t.tm_mon = r.month - 1;
    t.tm_mday = r.day;
    t.tm_hour = r.hour;
    t.tm_min = r.minute;
    t.tm_isdst = 0;
    return std::mktime(&t);
}

int LiteralNext(int i) {
    for (int j = i + 1; j <= AppSettings.selLastIndex; j++)
        if (gpEQ[j].inFilter == 1) return j;
    return AppSettings.selLastIndex;
}

int LiteralMinutes(int newer, int older) {
    return int(std::difftime(LiteralTime(gpEQ[newer]), LiteralTime(gpEQ[older]))) / 60;
}

struct Segment {
    int x, y, toX, toY;   // drawn from (x, y) to (toX, toY)
    bool operator==(const Segment& o) const { return x == o.x && y == o.y && toX == o.toX && toY == o.toY; }
};

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

std::vector<Segment> LiteralIntervalLines() {
    std::vector<Segment> lines;
    int i0 = AppSettings.selFirstIndex;
    if (i0 >= 199999) return lines;
    int i1 = LiteralNext(i0);
    int px = 190, py = 73 - LiteralMinutes(i0, i1) / 60;
    int c = i1;
    for (int k = 1; k <= 192; k++) {
        int n = LiteralNext(c);
        int x = 190 - k < 1 ? 1 : 190 - k;
        int y = Clamp(73 - LiteralMinutes(c, n) / 30, 6, 73);
        if (px > 1) lines.push_back({x, y, px, py});
        px = x, py = y, c = n;
        if (c > 199999) break;
    }
    return lines;
}

std::vector<Segment> LiteralMagnitudeLines() {
    std::vector<Segment> lines;
    int i0 = AppSettings.selFirstIndex;
    int px = 190, py = int(73 - gpEQ[i0].magnitude10 * 0.75);
    if (py < 5) py = 5;
    int c = i0;
    for (int k = 1; k <= 192; k++) {
        int n = LiteralNext(c);
        int x = 190 - k < 1 ? 1 : 190 - k;
        int y = n == AppSettings.selLastIndex ? 73 : Clamp(int(73 - gpEQ[n].magnitude10 * 0.75), 6, 73);
        if (px > 1) lines.push_back({x, y, px, py});
        px = x, py = y, c = n;
        if (c > 199999) break;
    }
    return lines;
}

// The lines a curve draws: each point to the next one (drawing order).
std::vector<Segment> CurveLines(const RecentCurve& curve) {
    std::vector<Segment> lines;
    for (int p = 0; p + 1 < curve.count; p++)
        lines.push_back({curve.points[p].x, curve.points[p].y, curve.points[p + 1].x, curve.points[p + 1].y});
    return lines;
}

std::vector<Segment> Reversed(std::vector<Segment> v) { return {v.rbegin(), v.rend()}; }

// Marks `matches` and sets the matching window around them.
void SetMatches(const std::vector<int>& matches, int last) {
    for (int i = 0; i < kMaxRecords && gpEQ[i].magnitude10 != 0; i++) gpEQ[i].inFilter = 0;
    for (int i : matches) gpEQ[i].inFilter = 1;
    AppSettings.selFirstIndex = matches.empty() ? 0 : matches.front();
    AppSettings.selLastIndex = last;
}

// Records `minutesBack` minutes before 2024-06-20 12:00, newest first.
std::vector<QuakeRecord> MinuteCatalogue(const std::vector<int>& minutesBack, int magnitude10 = 30) {
    std::vector<QuakeRecord> records;
    for (int back : minutesBack) {
        long long m = 19894LL * 1440 + 12 * 60 - back;
        int y, mo, d;
        TestCivilFromDays(m / 1440, &y, &mo, &d);
        records.push_back(Rec(y, mo, d, int(m % 1440 / 60), int(m % 60), 300, 100, 10, 1, magnitude10, 1));
    }
    return records;
}

using RecentGaps = JapanTime;

TEST_F(RecentGaps, CalendarGapEqualsDifftimeOfMktime) {
    std::mt19937 random(11);
    struct Fixed {
        int y1, mo1, d1, h1, mi1, y2, mo2, d2, h2, mi2;
    } fixed[] = {
        {1970, 1, 1, 0, 0, 1970, 1, 1, 0, 1},       // before the epoch in UTC
        {1999, 12, 31, 23, 59, 2000, 1, 1, 0, 0},
        {2000, 2, 28, 12, 0, 2000, 3, 1, 12, 0},    // leap day of a 400-year
        {2100, 2, 28, 0, 0, 2100, 3, 1, 0, 0},      // no leap day
        {2024, 13, 1, 0, 0, 2025, 1, 1, 0, 0},      // month 13 carries into the next year
        {2024, 0, 15, 0, 0, 2023, 12, 15, 0, 0},    // month 0 is December before
        {2024, 3, 0, 0, 0, 2024, 2, 29, 0, 0},      // day 0 is the last day before
        {2024, 4, 31, 0, 0, 2024, 5, 1, 0, 0},      // April 31st is May 1st
        {1965, 6, 1, 0, 0, 2040, 6, 1, 0, 0},       // beyond both ends of 32-bit time
    };
    std::vector<std::pair<QuakeRecord, QuakeRecord>> pairs;
    for (const Fixed& f : fixed)
        pairs.push_back({Rec(f.y2, f.mo2, f.d2, f.h2, f.mi2, 0, 0, 0, 0, 10, 0),
                         Rec(f.y1, f.mo1, f.d1, f.h1, f.mi1, 0, 0, 0, 0, 10, 0)});
    for (int k = 0; k < 3000; k++) {
        auto draw = [&random] {
            return Rec(1900 + int(random() % 250), int(random() % 14), int(random() % 33), int(random() % 24),
                       int(random() % 60), 0, 0, 0, 0, 10, 0);
        };
        pairs.push_back({draw(), draw()});
    }
    for (const auto& p : pairs) {
        double literal = std::difftime(LiteralTime(p.first), LiteralTime(p.second));
        ASSERT_EQ(EventGapSeconds(p.first, p.second), literal)
            << p.first.year << "-" << p.first.month << "-" << p.first.day << " " << p.first.hour << ":"
            << p.first.minute << " / " << p.second.year << "-" << p.second.month << "-" << p.second.day;
    }
}

TEST(RecentNextMatch, WalksToTheNextMatchOrStopsAtTheLast) {
    LoadCatalogue(MinuteCatalogue({0, 10, 20, 30, 40, 50, 60, 70}));
    SetMatches({1, 2, 5}, 6);
    struct Case {
        int from, next;
    } cases[] = {{0, 1}, {1, 2}, {2, 5}, {3, 5}, {5, 6}, {6, 6}, {7, 6}, {-1, 1}, {-50, 1}};
    for (const Case& c : cases) EXPECT_EQ(NextMatch(c.from), c.next) << "from " << c.from;
    SetMatches({}, 0);
    EXPECT_EQ(NextMatch(0), 0);
}

using RecentCurves = JapanTime;

TEST_F(RecentCurves, BothCurvesMatchTheLiteralDrawingOnRandomCatalogues) {
    std::mt19937 random(5);
    struct Shape {
        int records, spanDays, matchPercent;
    } shapes[] = {{3000, 2, 60}, {2000, 30, 30}, {300, 30, 50}, {100, 8, 80}, {500, 3000, 90},
                    {150, 1, 100}, {40, 1, 50}};
    for (const Shape& shape : shapes) {
        for (int round = 0; round < 4; round++) {
            LoadCatalogue(RandomCatalogue(random, shape.records, 20, shape.spanDays));
            std::vector<int> matches;
            for (int i = 0; i < shape.records; i++)
                if (int(random() % 100) < shape.matchPercent) matches.push_back(i);
            if (matches.empty()) matches.push_back(0);
            SetMatches(matches, matches.back());
            // Sometimes the window ends before the last match of the store.
            if (round == 3) AppSettings.selLastIndex = matches[matches.size() / 2];
            RecentPanelData data;
            BuildRecentPanel(&data);
            SCOPED_TRACE(testing::Message() << shape.records << " records over " << shape.spanDays
                                            << " days, round " << round);
            EXPECT_EQ(CurveLines(data.interval), Reversed(LiteralIntervalLines()));
            EXPECT_EQ(CurveLines(data.magnitude), Reversed(LiteralMagnitudeLines()));
        }
    }
}

TEST_F(RecentCurves, FirstIntervalPointInWholeHoursUnclampedLaterInHalfHours) {
    // Gaps: 3 h between the two newest, then 3 h again, then 60 h.
    LoadCatalogue(MinuteCatalogue({0, 180, 360, 3960}));
    SetMatches({0, 1, 2, 3}, 3);
    RecentPanelData data;
    BuildRecentPanel(&data);
    const RecentCurve& c = data.interval;
    ASSERT_EQ(c.count, 190);
    // Drawing order: oldest first, so the newest point (x 190) comes last.
    EXPECT_EQ(c.points[189].x, 190);
    EXPECT_EQ(c.points[189].y, 70);    // 3 h: 73 - 3
    EXPECT_EQ(c.points[188].x, 189);
    EXPECT_EQ(c.points[188].y, 67);    // the same 3 h later on: 73 - 180 / 30
    EXPECT_EQ(c.points[187].y, 6);     // 60 h clamps at the top
    for (int p = 0; p < 187; p++) EXPECT_EQ(c.points[p].y, 73) << p;   // matches ran out
    EXPECT_EQ(c.points[0].x, 1);
    for (int p = 0; p + 1 < c.count; p++) EXPECT_EQ(c.points[p + 1].x, c.points[p].x + 1);

    // A newest gap of 100 hours puts the first point far above the panel.
    LoadCatalogue(MinuteCatalogue({0, 6000}));
    SetMatches({0, 1}, 1);
    BuildRecentPanel(&data);
    EXPECT_EQ(data.interval.points[189].y, 73 - 100);
}

TEST_F(RecentCurves, MagnitudeHeightsClampAndTheLastMatchSitsOnTheBaseline) {
    struct Case {
        int newestMag10, y0;
    } cases[] = {{10, 65}, {40, 43}, {89, 6}, {90, 5}, {96, 5}, {99, 5}};
    for (const Case& k : cases) {
        std::vector<QuakeRecord> records = MinuteCatalogue({0, 10, 20, 30});
        records[0].magnitude10 = uint8_t(k.newestMag10);
        records[1].magnitude10 = 95;   // clamps at 6
        records[2].magnitude10 = 41;   // 73 - 30.75 = 42.25 -> 42
        records[3].magnitude10 = 70;   // the last match: on the baseline
        LoadCatalogue(records);
        SetMatches({0, 1, 2, 3}, 3);
        RecentPanelData data;
        BuildRecentPanel(&data);
        const RecentCurve& c = data.magnitude;
        ASSERT_EQ(c.count, 190);
        EXPECT_EQ(c.points[189].y, k.y0) << "M" << k.newestMag10 / 10.0;   // at least 5, not 6
        EXPECT_EQ(c.points[188].y, 6);
        EXPECT_EQ(c.points[187].y, 42);
        EXPECT_EQ(c.points[186].y, 73);
        EXPECT_EQ(c.points[0].y, 73);
    }
}

TEST_F(RecentCurves, WithoutMatchesBothCurvesRunAlongTheBottom) {
    LoadCatalogue(MinuteCatalogue({0, 30, 60}));
    SetMatches({}, 0);   // what the filter leaves without a match: window 0 .. 0
    RecentPanelData data;
    BuildRecentPanel(&data);
    for (const RecentCurve* c : {&data.interval, &data.magnitude}) {
        ASSERT_EQ(c->count, 190);
        for (int p = 0; p < 189; p++) EXPECT_EQ(c->points[p].y, 73);
    }
    // The interval curve is not drawn from the last slot of the store on.
    AppSettings.selFirstIndex = AppSettings.selLastIndex = kMaxRecords - 1;
    BuildRecentPanel(&data);
    EXPECT_EQ(data.interval.count, 0);
    EXPECT_EQ(data.magnitude.count, 190);
}

// --- colours and texts ----------------------------------------------------------

TEST(RecentPanelColours, StrongTabAndCardFollowTheirCounts) {
    struct Case {
        int value;
        PanelColor tab, card;
    } cases[] = {
        {0, {32, 32, 128}, {32, 32, 128}},   {10, {62, 32, 88}, {42, 32, 108}},
        {32, {128, 32, 0}, {64, 32, 64}},    {64, {224, 32, 0}, {96, 32, 0}},
        {75, {255, 32, 0}, {107, 32, 0}},    {223, {255, 32, 0}, {255, 32, 0}},
    };
    for (const Case& c : cases) {
        LoadCatalogue({Rec(2024, 6, 20, 12, 0, 300, 100, 10, 1, c.value, 1)});
        AppSettings.selStrongRecent = c.value;
        AppSettings.selFirst = 0;
        RecentPanelData data;
        BuildRecentPanel(&data);
        EXPECT_EQ((std::vector<int>{data.strongFill.r, data.strongFill.g, data.strongFill.b}),
                  (std::vector<int>{c.tab.r, c.tab.g, c.tab.b}))
            << "strong " << c.value;
        EXPECT_EQ((std::vector<int>{data.cardFill.r, data.cardFill.g, data.cardFill.b}),
                  (std::vector<int>{c.card.r, c.card.g, c.card.b}))
            << "magnitude10 " << c.value;
    }
}

TEST(RecentPanelTexts, TitleCountsAndStrongTab) {
    LoadCatalogue(MinuteCatalogue({0, 10}));
    SettingsBlock& s = AppSettings;
    s.magMin = 3, s.magMax = 8, s.selCount = 42, s.selCount2 = 1234;
    s.selMaxMag10 = 73, s.selMeanMag10 = 31, s.selStrongRecent = 7, s.selFirst = 0;
    RecentPanelData data;
    BuildRecentPanel(&data);
    struct Expect {
        const OverlayText* text;
        const char* utf8;
        int align;
        PanelRect rect;
    } expects[] = {
        {&data.title, "直近192回分グラフ", ALIGN_LEFT, {4, 7, 144, 23}},
        {&data.counts[0], "M3～8    42 /  1234回", ALIGN_RIGHT, {6, 77, 190, 93}},
        {&data.counts[1], "最大M:7.3 平均M:3.1", ALIGN_RIGHT, {6, 95, 190, 111}},
        {&data.strong[0], "直近100回", ALIGN_LEFT, {6, 116, 190, 132}},
        {&data.strong[1], "M5以上   7 / 100回", ALIGN_RIGHT, {6, 134, 190, 150}},
    };
    for (const Expect& e : expects) {
        EXPECT_EQ(Utf8(e.text->text), e.utf8);
        EXPECT_EQ(e.text->align, e.align) << e.utf8;
        EXPECT_EQ((std::vector<int>{e.text->rect.left, e.text->rect.top, e.text->rect.right, e.text->rect.bottom}),
                  (std::vector<int>{e.rect.left, e.rect.top, e.rect.right, e.rect.bottom}))
            << e.utf8;
    }
    EXPECT_EQ((std::vector<int>{data.title.color.r, data.title.color.g, data.title.color.b}),
              (std::vector<int>{168, 168, 168}));
}

class RecentCard : public ::testing::Test {
protected:
    void SetUp() override {
        static const char* const kLabels[10] = {"0", "1", "2", "3", "4", "5弱", "5強", "6弱", "6強", "7"};
        for (int i = 0; i < 10; i++)
            std::snprintf(IntensityLabels[i], sizeof IntensityLabels[i], "%s", SjisText(kLabels[i]));
        // Region 1: M6+ at 0 and 5 (the same day) and 10 (an earlier day).
        // Region 2: a single M6+ at 2. Region 3: none.
        std::vector<QuakeRecord> r;
        for (int i = 0; i < 40; i++) r.push_back(DayRec(i / 4, 4 + i % 5, 20 + i % 20, 30, 2));
        r[0] = Rec(2024, 6, 20, 9, 5, 300, 100, 42, 1, 65, 9);
        r[3] = Rec(2024, 6, 20, 8, 0, 300, 100, 10, 1, 31, 1);
        r[5] = Rec(2024, 6, 20, 7, 0, 300, 100, 10, 1, 62, 3);
        r[10] = Rec(2024, 5, 1, 6, 30, 300, 100, 10, 1, 61, 4);
        r[2] = Rec(2024, 6, 19, 23, 59, 300, 100, 70, 2, 60, 6);
        r[4] = Rec(2024, 6, 19, 3, 0, 300, 100, 70, 2, 44, 2);
        r[6] = Rec(2024, 6, 18, 3, 0, 300, 100, 5, 3, 58, 5);
        LoadCatalogue(r);
    }

    std::vector<std::string> Card(int selFirst) {
        AppSettings.selFirst = selFirst;
        RecentPanelData data;
        BuildRecentPanel(&data);
        std::vector<std::string> lines;
        for (int i = 0; i < data.cardLines; i++) {
            lines.push_back(Utf8(data.card[i].text));
            EXPECT_EQ(data.card[i].rect.top, 159 + 18 * i);
            EXPECT_EQ(data.card[i].rect.bottom, 175 + 18 * i);
            EXPECT_EQ(data.card[i].align, ALIGN_RIGHT);
        }
        return lines;
    }

    static std::string AlertLine(int record) {
        AlertEntry e;
        RegionAlertFor(record, &e);
        char text[64];
        if (e.alertLevel > 0.01 || e.m6Count == 0)
            std::snprintf(text, sizeof text, "警戒度 %.02f", e.alertLevel);
        else
            std::snprintf(text, sizeof text, "警戒度 %.02f(%.02f)", e.alertLevel, e.previousLevel);
        return text;
    }
};

TEST_F(RecentCard, LinesOfTheSelectedEarthquake) {
    struct Case {
        int selFirst;
        std::vector<std::string> lines;
    } cases[] = {
        // The region's latest M6+ itself: the previous M6+ day is shown.
        {0, {"2024年06月20日 09時05分", "深さ 42km  M:6.5", "R1", "震度 7", "", "直近 2024年05月01日"}},
        // Another earthquake of the region: its latest M6+.
        {3, {"2024年06月20日 08時00分", "深さ 10km  M:3.1", "R1", "震度 1", "", "直近 2024年06月20日"}},
        // The region's only M6+ itself: there is no other one.
        {2, {"2024年06月19日 23時59分", "深さ 70km  M:6.0", "R2", "震度 5強", "", "直近 ----年--月--日"}},
        {4, {"2024年06月19日 03時00分", "深さ 70km  M:4.4", "R2", "震度 2", "", "直近 2024年06月19日"}},
        // No M6+ in the region.
        {6, {"2024年06月18日 03時00分", "深さ 5km  M:5.8", "R3", "震度 5弱", "", "直近 ----年--月--日"}},
    };
    for (Case& c : cases) {
        c.lines[4] = AlertLine(c.selFirst);
        EXPECT_EQ(Card(c.selFirst), c.lines) << "selFirst " << c.selFirst;
    }
    // Both forms of the alert line occur above.
    EXPECT_NE(AlertLine(0).find('('), std::string::npos);
    EXPECT_EQ(AlertLine(4).find('('), std::string::npos);
    EXPECT_EQ(AlertLine(6), "警戒度 0.00");
}

TEST_F(RecentCard, ASelectionBeyondTheDataIsNeverRead) {
    for (int selFirst : {40, 41, 199999, 200000, -1, -7}) {
        EXPECT_TRUE(Card(selFirst).empty()) << selFirst;
        RecentPanelData data;
        BuildRecentPanel(&data);
        EXPECT_EQ((std::vector<int>{data.cardFill.r, data.cardFill.g, data.cardFill.b}),
                  (std::vector<int>{32, 32, 128}));
    }
}

}  // namespace
