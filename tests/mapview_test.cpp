// The map view's numbers, each against its literal twin where it has one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <utility>
#include <vector>

#include "engine/controls/map_pick.h"
#include "engine/model/geo.h"
#include "engine/picture/markers.h"
#include "engine/picture/recent_data.h"
#include "engine/pipeline/pipeline.h"
#include "engine/selection/current_record.h"
#include "literal_links.h"
#include "random_catalogue.h"
#include "test_util.h"

TEST(MapViewNumbers, GridToPixelTruncatesTheDoubleProduct) {
    struct Case {
        int gridX, gridY, px, py, onMap;
    } cases[] = {
        {203, 25, 37, 37, 1},      // 25 x k = 37.99999952: 37, not 38
        {178, 0, 0, 0, 1},
        {228, 50, 75, 75, 1},      // 50 x k = 75.9999990
        {514, 336, 510, 510, 1},
        {515, 337, 512, 512, 1},   // 512.24: still on the map
        {516, 337, 513, 512, 0},   // 513.76: off
        {515, 338, 512, 513, 0},
        {0, 0, -270, 0, 1},        // no lower bound; truncation toward zero
        {153, 0, -37, 0, 1},       // -37.99999952
        {65535, 65535, 99342, 99613, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GridToPixelXi(c.gridX), c.px) << c.gridX;
        EXPECT_EQ(GridToPixelYi(c.gridY), c.py) << c.gridY;
        EXPECT_EQ(PixelOnMap(c.px, c.py), c.onMap) << c.gridX << "," << c.gridY;
    }
    // The untruncated vertex position is the product rounded to a float.
    EXPECT_EQ(std::vector<float>({GridToPixelX(203), GridToPixelY(25), GridToPixelX(179), GridToPixelY(-1)}),
              std::vector<float>({38.0f, 38.0f, 1.52f, -1.52f}));
}

// The depth colour runs red - yellow - green - blue without a jump: a band
// that starts a kilometre early or late shows as a step of a whole band.
TEST(MapViewNumbers, DepthColourChangesSmoothlyAcrossTheBands) {
    auto channels = [](int depth) {
        uint32_t c = DepthColor(depth);
        return std::vector<int>{int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF)};
    };
    EXPECT_EQ(channels(0), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(channels(204), channels(700));
    for (int d = 1; d <= 204; d++)
        for (int k = 0; k < 3; k++) EXPECT_LE(std::abs(channels(d)[k] - channels(d - 1)[k]), 4) << d << " km";
}

TEST(MarkerWalk, AtMostTheNewestThousand) {
    static TexturedScreenVertex out[kMarkerVertices];
    std::memset(out, 0x7F, sizeof out);
    std::vector<QuakeRecord> records;
    for (int i = 0; i < 1500; i++) records.push_back(Rec(2020, 1, 1, 0, 0, 200 + i % 300, i % 330, i % 250, 1, 30 + i % 40, 3));
    for (QuakeRecord& r : records) r.inFilter = &r != &records[500];
    SetCatalogue(records);
    ASSERT_EQ(BuildMarkerQuads(out), kMarkerQuads);
    for (int k = 0; k < kMarkerQuads; k++) {
        int i = k < 500 ? k : k + 1;   // record 500 is skipped
        int s = MarkerHalfSize(records[i].magnitude10, 0);
        ASSERT_EQ(out[4 * k].x, float(GridToPixelXi(records[i].mapX) - s)) << k;
        ASSERT_EQ(out[4 * k + 3].y, float(GridToPixelYi(records[i].mapY) + s)) << k;
    }
    EXPECT_NE(gpEQ[1000].markerColor, 0u);
    EXPECT_EQ(gpEQ[1001].markerColor, 0u);   // the 1001st match is not drawn
}

// Random catalogues with many near and far pairs, depths over the whole
// tolerance range, year bounds, unmatched gaps, off-map points and early ends
// of the data: the one-scan search gives the literal search's lines.
TEST(LinkLines, SameLinesAsTheLiteralSearch) {
    FillDistanceTable();
    std::mt19937 random(4);
    static ColoredScreenVertex out[kLinkVertices], literal[kLinkVertices];
    for (int round = 0; round < 300; round++) {
        int count = 50 + int(random() % 1500);
        int spread = 10 + int(random() % 200);           // small spreads: many near pairs
        int depthSpread = 5 + int(random() % 400);
        int gapPercent = int(random() % 60);
        std::vector<QuakeRecord> records;
        int year = 2024;
        for (int i = 0; i < count; i++) {
            if (random() % 40 == 0) year--;
            int x = random() % 25 == 0 ? int(random() % 700) : 250 + int(random() % unsigned(spread));
            int y = random() % 25 == 0 ? int(random() % 500) : 80 + int(random() % unsigned(spread));
            int recordYear = random() % 30 == 0 ? year + int(random() % 6) - 3 : year;
            QuakeRecord r = Rec(recordYear, 6, 1, 0, 0, x, y, int(random() % unsigned(depthSpread)), 1, 45, 3);
            r.inFilter = int(random() % 100) >= gapPercent;
            r.markerColor = uint32_t(random());
            if (random() % 3000 == 0) r.magnitude10 = 0;
            records.push_back(r);
        }
        SetCatalogue(records);
        SetSetting(&SettingsBlock::selFirstIndex, int(random() % unsigned(count)));
        SetSetting(&SettingsBlock::selCount, int(random() % 1200));
        SetSetting(&SettingsBlock::startYear, year + int(random() % 8));
        SetSetting(&SettingsBlock::endYear, 2024 - int(random() % 8));
        std::memset(out, 0x7F, sizeof out);
        std::memset(literal, 0x7F, sizeof literal);
        int lines = BuildLinkLines(out);
        ASSERT_EQ(lines, LiteralLinkLines(literal)) << "round " << round;
        for (int i = 0; i < kLinkVertices; i++) {
            ASSERT_EQ(out[i].diffuse, literal[i].diffuse) << "round " << round << " vertex " << i;
            if (i >= 2 * lines) continue;
            ASSERT_EQ(out[i].x, literal[i].x) << "round " << round << " vertex " << i;
            ASSERT_EQ(out[i].y, literal[i].y) << "round " << round << " vertex " << i;
        }
    }
}

namespace {

void LoadMatching(const std::vector<QuakeRecord>& records) {
    LoadCatalogue(records);
    OpenConditions();
    RunConditionChange();
}

struct LiteralHover {
    int a = -1, b = -1, count = 0, maxMag10 = 0, meanMag10 = 0;
};

// The pick as described, one record at a time: the newest matching marker
// whose pixel lies 5 left/up to 1 right/down of the cursor, its region's
// newest match, and that region's summary.
LiteralHover LiteralPick(int mx, int my) {
    LiteralHover h;
    const SettingsBlock& s = AppSettings;
    if (mx < 3 || mx > 513 || my < 3 || my > 513) return h;
    auto matches = [&](int i) { return gpEQ[i].inFilter == 1; };
    int hovered = -1;
    for (int i = s.selFirstIndex; i <= s.selLastIndex && gpEQ[i].magnitude10 && hovered < 0; i++) {
        int px = int((gpEQ[i].mapX - 178) * 1.5199999809265137), py = int(gpEQ[i].mapY * 1.5199999809265137);
        if (matches(i) && mx - 5 <= px && px <= mx + 1 && my - 5 <= py && py <= my + 1) hovered = i;
    }
    if (hovered < 0) return h;
    int sum = 0;
    for (int i = s.selFirstIndex; i <= s.selLastIndex && gpEQ[i].magnitude10; i++) {
        if (!matches(i) || gpEQ[i].regionIndex != gpEQ[hovered].regionIndex) continue;
        if (h.count++ == 0) h.a = h.b = i;
        h.maxMag10 = std::max(h.maxMag10, int(gpEQ[i].magnitude10));
        sum += gpEQ[i].magnitude10;
    }
    h.meanMag10 = sum / h.count;
    return h;
}

TEST(OverlayHoverPick, AgreesWithTheLiteralSearchOnRandomCatalogues) {
    std::mt19937 random(3);
    for (int round = 0; round < 6; round++) {
        std::vector<QuakeRecord> records = RandomCatalogue(random, 1500, 40);
        for (size_t i = 0; i < records.size(); i += 10) {   // at the edges, where pixels turn negative
            records[i].mapX = uint16_t(170 + random() % 14);
            records[i].mapY = uint16_t(random() % 6);
        }
        LoadCatalogue(records);
        OpenConditions();
        SetSetting(&SettingsBlock::magMin, round % 3);   // gaps of non-matching records
        RunConditionChange();
        if (round == 5) SetSetting(&SettingsBlock::selLastIndex, AppSettings.selFirstIndex + 300);
        int picked = 0;
        for (int k = 0; k < 400; k++) {
            int mx = int(random() % 530) - 8, my = int(random() % 530) - 8;
            if (k % 2 == 0) {   // right next to a record's marker
                const QuakeRecord& r = gpEQ[random() % records.size()];
                mx = GridToPixelXi(r.mapX) + int(random() % 9) - 3;
                my = GridToPixelYi(r.mapY) + int(random() % 9) - 3;
            }
            MapPick(mx, my);
            const HoverSummary& h = MapHoverSummary();
            LiteralHover l = LiteralPick(mx, my);
            ASSERT_EQ(std::vector<int>({gSelectedRecordA, gSelectedRecordB, h.hovered, h.count, h.maxMag10, h.meanMag10}),
                      std::vector<int>({l.a, l.b, l.a >= 0, l.count, l.maxMag10, l.meanMag10}))
                << mx << "," << my;
            picked += h.hovered;
        }
        EXPECT_GT(picked, round == 5 ? 10 : 100) << "round " << round;
    }
    // The map's last pixel is inside, the next one is not.
    LoadMatching({Rec(2024, 6, 19, 12, 0, 515, 337, 10, 2, 40, 1)});
    MapPick(513, 513);
    EXPECT_EQ(gSelectedRecordA, 0);
    MapPick(514, 513);
    EXPECT_EQ(gSelectedRecordA, -1);
}

// The catalogue's zone keeps standard time all year: its clock counts as UTC's.
time_t LiteralTime(const QuakeRecord& r) {
    std::tm t{};
    t.tm_year = r.year - 1900, t.tm_mon = r.month - 1, t.tm_mday = r.day, t.tm_hour = r.hour, t.tm_min = r.minute;
    return timegm(&t);
}

int LiteralNext(int i) {
    for (int j = i + 1; j <= AppSettings.selLastIndex; j++)
        if (gpEQ[j].inFilter == 1) return j;
    return AppSettings.selLastIndex;
}

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
        const int y = interval ? std::clamp(73 - minutes(c, n) / 30, 6, 73)
                               : n == AppSettings.selLastIndex ? 73 : std::clamp(int(73 - gpEQ[n].magnitude10 * 0.75), 6, 73);
        points.insert(points.begin(), OverlayPoint{std::max(1, 190 - k), y});
        c = n;
        if (c > 199999) break;
    }
    return points;
}

void SetMatches(const std::vector<int>& matches, int last) {
    for (int i = 0; i < DataEnd(); i++) gpEQ[i].inFilter = 0;
    for (int i : matches) gpEQ[i].inFilter = 1;
    SetSetting(&SettingsBlock::selFirstIndex, matches.empty() ? 0 : matches.front());
    SetSetting(&SettingsBlock::selLastIndex, last);
}

std::vector<std::pair<int, int>> Points(const OverlayPoint* points, size_t count) {
    std::vector<std::pair<int, int>> v;
    for (size_t p = 0; p < count; p++) v.push_back({points[p].x, points[p].y});
    return v;
}

// The gaps come from the model's calendar (DaysBetween's literal test holds it
// from 1890 to 2110); here against the C library's over the recent years.
TEST(RecentPanel, CurvesMatchTheLiteralDrawingOnRandomCatalogues) {
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
            const std::vector<OverlayPoint> interval = LiteralCurve(true), magnitude = LiteralCurve(false);
            EXPECT_EQ(Points(data.interval.points, size_t(data.interval.count)), Points(interval.data(), interval.size()));
            EXPECT_EQ(Points(data.magnitude.points, size_t(data.magnitude.count)), Points(magnitude.data(), magnitude.size()));
        }
    }
    // The interval curve is not drawn from the last slot of the store on.
    SetSetting(&SettingsBlock::selLastIndex, kMaxRecords - 1);
    SetSetting(&SettingsBlock::selFirstIndex, kMaxRecords - 1);
    RecentPanelData data;
    BuildRecentPanel(&data);
    EXPECT_EQ(data.interval.count, 0);
}

}  // namespace
