// The numbers of the hover panel, the selected-region panel and the bottom
// panel: the map pick and its region summary (against a literal search on
// random catalogues and at the edges of the pick window), the region box and
// legend, the region graph (against a literal walk), the texts of both
// bottom pages, the class-row and ranking-row hover, the row mark, the
// button states, and the press handler's class-row and ranking-row picks.
#include "mapview/panel_data.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "analysis/region_stats.h"
#include "analysis_fixture.h"
#include "app/data_server.h"
#include "mapview/markers.h"
#include "panel/actions.h"
#include "panel/hit_test.h"
#include "platform/platform.h"
#include "random_catalogue.h"

namespace {

std::string Utf8(const char* sjis) {
    std::string out;
    EXPECT_EQ(SjisToUtf8(sjis, &out), 0) << sjis;
    return out;
}

std::vector<std::string> Lines(const OverlayText* texts, int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; i++) lines.push_back(Utf8(texts[i].text));
    return lines;
}

std::vector<int> Box(const PanelRect& r) { return {r.left, r.top, r.right, r.bottom}; }
std::vector<int> Rgb(const PanelColor& c) { return {c.r, c.g, c.b}; }

// The filter as the program runs it: every record of the catalogue matches.
void LoadMatching(const std::vector<QuakeRecord>& records) {
    LoadCatalogue(records);
    OpenConditions();
    ApplyConditions();
}

// --- hover panel --------------------------------------------------------------------

struct LiteralHover {
    int a = -1, b = -1, count = 0, maxMag10 = 0, meanMag10 = 0;
};

// The search and summary exactly as described, one record at a time.
LiteralHover LiteralPick(int mx, int my) {
    LiteralHover h;
    const SettingsBlock& s = AppSettings;
    if (mx < 3 || mx > 513 || my < 3 || my > 513 || s.selFirstIndex > s.selLastIndex) return h;
    int hovered = -1;
    for (int i = s.selFirstIndex; i <= s.selLastIndex && gpEQ[i].magnitude10 != 0; i++) {
        if (gpEQ[i].inFilter != 1) continue;
        int px = int((gpEQ[i].mapX - 178) * 1.5199999809265137);
        int py = int(gpEQ[i].mapY * 1.5199999809265137);
        if (mx - 5 <= px && px <= mx + 1 && my - 5 <= py && py <= my + 1) {
            hovered = i;
            break;
        }
    }
    if (hovered < 0) return h;
    for (int i = s.selFirstIndex; i <= s.selLastIndex && gpEQ[i].magnitude10 != 0; i++)
        if (gpEQ[i].inFilter == 1 && gpEQ[i].regionIndex == gpEQ[hovered].regionIndex) {
            h.a = i;
            break;
        }
    if (h.a < 0) return h;
    int sum = 0;
    for (int i = s.selFirstIndex; i <= s.selLastIndex && gpEQ[i].magnitude10 != 0; i++) {
        if (gpEQ[i].inFilter != 1 || gpEQ[i].regionIndex != gpEQ[h.a].regionIndex) continue;
        if (h.count == 0) h.b = i;
        h.count++;
        if (gpEQ[i].magnitude10 > h.maxMag10) h.maxMag10 = gpEQ[i].magnitude10;
        sum += gpEQ[i].magnitude10;
    }
    h.meanMag10 = sum / h.count;
    return h;
}

TEST(OverlayHoverPick, AgreesWithTheLiteralSearchOnRandomCatalogues) {
    std::mt19937 random(3);
    for (int round = 0; round < 6; round++) {
        std::vector<QuakeRecord> records = RandomCatalogue(random, 1500, 40);
        // Some at the left and top edges, where pixels turn negative.
        for (size_t i = 0; i < records.size(); i += 10) {
            records[i].mapX = uint16_t(170 + random() % 14);
            records[i].mapY = uint16_t(random() % 6);
        }
        LoadCatalogue(records);
        SettingsBlock& s = AppSettings;
        OpenConditions();
        s.magMin = round % 3;   // leaves gaps of non-matching records
        ApplyConditions();
        if (round == 5) s.selLastIndex = s.selFirstIndex + 300;
        int picked = 0;
        for (int k = 0; k < 400; k++) {
            int mx = int(random() % 530) - 8, my = int(random() % 530) - 8;
            if (k % 2 == 0) {   // right next to a record's marker
                const QuakeRecord& r = gpEQ[random() % records.size()];
                mx = GridToPixelXi(r.mapX) + int(random() % 9) - 3;
                my = GridToPixelYi(r.mapY) + int(random() % 9) - 3;
            }
            HoverSummary h;
            HoverPick(mx, my, &h);
            LiteralHover l = LiteralPick(mx, my);
            ASSERT_EQ(gSelectedRecordA, l.a) << mx << "," << my;
            ASSERT_EQ(gSelectedRecordB, l.b) << mx << "," << my;
            ASSERT_EQ(h.hovered, l.a >= 0 ? 1 : 0);
            ASSERT_EQ(h.count, l.count);
            ASSERT_EQ(h.maxMag10, l.maxMag10);
            ASSERT_EQ(h.meanMag10, l.meanMag10);
            if (h.hovered) {
                ASSERT_EQ(h.region, gpEQ[l.a].regionIndex);
            }
            picked += h.hovered;
        }
        EXPECT_GT(picked, round == 5 ? 10 : 100) << "round " << round;
    }
}

TEST(OverlayHoverPick, WindowAroundTheCursorAndTheMapEdges) {
    // One marker at grid (300, 200); another at the map's far corner.
    LoadMatching({Rec(2024, 6, 20, 12, 0, 300, 200, 10, 1, 40, 1),
                  Rec(2024, 6, 19, 12, 0, 515, 337, 10, 2, 40, 1)});
    const int px = GridToPixelXi(300), py = GridToPixelYi(200);
    struct Case {
        int mx, my, picked;
        const char* what;
    } cases[] = {
        {px, py, 0, "on the marker"},
        {px + 5, py, 0, "5 right of it"},
        {px + 6, py, -1, "6 right of it"},
        {px - 1, py, 0, "1 left of it"},
        {px - 2, py, -1, "2 left of it"},
        {px, py + 5, 0, "5 below it"},
        {px, py + 6, -1, "6 below it"},
        {px, py - 1, 0, "1 above it"},
        {px, py - 2, -1, "2 above it"},
        {px + 5, py + 5, 0, "5 right and below"},
        {513, 513, 1, "the last map pixel"},
        {514, 513, -1, "right of the map"},
        {513, 514, -1, "below the map"},
        {2, 10, -1, "left edge"},
    };
    EXPECT_EQ(GridToPixelXi(515), 512);
    EXPECT_EQ(GridToPixelYi(337), 512);
    for (const Case& c : cases) {
        HoverSummary h;
        HoverPick(c.mx, c.my, &h);
        EXPECT_EQ(gSelectedRecordA, c.picked) << c.what;
        EXPECT_EQ(h.hovered, c.picked >= 0 ? 1 : 0) << c.what;
    }
}

TEST(OverlayHoverPick, NewerWinsAndTheRegionSummaryTakesOnlyMatches) {
    std::vector<QuakeRecord> r = {
        Rec(2024, 6, 20, 12, 0, 300, 200, 10, 3, 70, 1),   // 0: region 3, does not match (M7)
        Rec(2024, 6, 19, 12, 0, 400, 100, 10, 1, 44, 1),   // 1: region 1, elsewhere
        Rec(2024, 6, 18, 12, 0, 300, 200, 10, 2, 31, 1),   // 2: region 2 under the cursor
        Rec(2024, 6, 17, 12, 0, 300, 200, 10, 1, 35, 1),   // 3: region 1 under the cursor, older
        Rec(2024, 6, 16, 12, 0, 100, 100, 10, 2, 58, 1),   // 4: region 2
        Rec(2024, 6, 15, 12, 0, 100, 100, 10, 2, 20, 1),   // 5: region 2
        Rec(2024, 6, 14, 12, 0, 100, 100, 10, 2, 65, 1),   // 6: region 2, does not match (M6.5)
    };
    LoadCatalogue(r);
    OpenConditions();
    AppSettings.magMax = 6;
    ApplyConditions();
    ASSERT_EQ(AppSettings.selFirstIndex, 1);
    HoverSummary h;
    HoverPick(GridToPixelXi(300), GridToPixelYi(200), &h);
    EXPECT_EQ(gSelectedRecordA, 2);
    EXPECT_EQ(gSelectedRecordB, 2);
    EXPECT_EQ(h.region, 2);
    EXPECT_EQ(h.count, 3);
    EXPECT_EQ(h.maxMag10, 58);
    EXPECT_EQ(h.meanMag10, (31 + 58 + 20) / 3);

    // The hovered record's region names its newest match, wherever that lies.
    gpEQ[2].inFilter = 0;
    HoverPick(GridToPixelXi(300), GridToPixelYi(200), &h);
    EXPECT_EQ(gSelectedRecordA, 1);
    EXPECT_EQ(h.region, 1);
    EXPECT_EQ(h.count, 2);
    EXPECT_EQ(h.meanMag10, (44 + 35) / 2);

    // An empty window picks nothing.
    AppSettings.selFirstIndex = 4, AppSettings.selLastIndex = 3;
    HoverPick(GridToPixelXi(300), GridToPixelYi(200), &h);
    EXPECT_EQ(gSelectedRecordA, -1);
    EXPECT_EQ(gSelectedRecordB, -1);
    EXPECT_EQ(h.count, 0);
}

TEST(OverlayHoverTexts, NamedRegionOrDashes) {
    LoadMatching({Rec(2024, 6, 20, 12, 0, 300, 200, 10, 7, 40, 1)});
    AppSettings.recordCount = 1234;
    HoverSummary named = {1, 7, 12, 63, 31};
    HoverSummary none = {0, 0, 0, 0, 0};
    OverlayText t[3];
    ASSERT_EQ(HoverPanelTexts(named, t), 3);
    EXPECT_EQ(Lines(t, 3), (std::vector<std::string>{"R7", "M1以上    12 /  1234回", "最大M:6.3 平均M:3.1"}));
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(Box(t[i].rect), (std::vector<int>{2, 18 * i, 188, 24 + 18 * i}));
        EXPECT_EQ(t[i].align, ALIGN_RIGHT);
        EXPECT_EQ(Rgb(t[i].color), (std::vector<int>{255, 255, 255}));
    }
    HoverPanelTexts(none, t);
    EXPECT_EQ(Lines(t, 3),
              (std::vector<std::string>{"--- --- --- --- ---", "M1以上     0 /  1234回", "最大M:0.0 平均M:0.0"}));
}

// --- selected-region panel ------------------------------------------------------------

TEST(OverlayRegionPanel, LegendBarsStackWithoutGaps) {
    EXPECT_EQ(Box(DepthLegendBar(0)), (std::vector<int>{501, 36, 506, 42}));
    for (int k = 1; k < kDepthLegendBars; k++) {
        EXPECT_EQ(DepthLegendBar(k).top, DepthLegendBar(k - 1).bottom);
        EXPECT_EQ(DepthLegendBar(k).bottom - DepthLegendBar(k).top, 6);
    }
    EXPECT_EQ(DepthLegendBar(kDepthLegendBars - 1).bottom, 126);
    EXPECT_EQ(Rgb(DepthLegendColor(0)), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(Rgb(DepthLegendColor(6)), (std::vector<int>{255, 255, 0}));
    EXPECT_EQ(Rgb(DepthLegendColor(9)), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(Rgb(DepthLegendColor(14)), (std::vector<int>{0, 0, 255}));
}

TEST(OverlayRegionPanel, BoxTextsCoverTheWholeCatalogue) {
    // Region 1: three records, one outside the conditions; region 2: a single one.
    LoadCatalogue({Rec(2024, 6, 20, 12, 0, 300, 200, 10, 1, 62, 1), Rec(2024, 6, 19, 12, 0, 300, 200, 10, 2, 47, 1),
                   Rec(2024, 6, 18, 12, 0, 300, 200, 10, 1, 15, 1), Rec(2024, 6, 17, 12, 0, 300, 200, 10, 1, 33, 1)});
    OpenConditions();
    AppSettings.magMin = 3;
    ApplyConditions();
    struct Case {
        int current;
        std::vector<std::string> box;
    } cases[] = {
        {0, {"選択震源地", "R1", "M1以上     3 /     4回", "最大M:6.2 平均M:3.6"}},
        {1, {"選択震源地", "R2", "M1以上     1 /     4回", "最大M:4.7 平均M:4.7"}},
    };
    for (const Case& c : cases) {
        gCurrentRecord = c.current;
        ASSERT_EQ(UpdateRegionPanelSummary(), 1);
        OverlayText t[kRegionPanelTexts];
        ASSERT_EQ(RegionPanelTexts("wolt 1.45", t), kRegionPanelTexts);
        std::vector<std::string> all = Lines(t, kRegionPanelTexts);
        EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + 4), c.box);
        EXPECT_EQ(std::vector<std::string>(all.begin() + 4, all.end()),
                  (std::vector<std::string>{"深さ(km)", "10", "50", "100", "200",
                                            std::string(kDataServerHost) + " wolt 1.45",
                                            "出典：気象庁 震度データベースを利用して作成"}));
    }
    OverlayText t[kRegionPanelTexts];
    RegionPanelTexts("wolt 1.45", t);
    const std::vector<std::vector<int>> rects = {
        {318, 124, 499, 148}, {318, 142, 499, 166}, {318, 160, 499, 184}, {318, 178, 499, 202},
        {150, 8, 508, 32},    {160, 30, 494, 54},   {160, 58, 494, 82},   {160, 86, 494, 110},
        {160, 114, 494, 138}, {96, 180, 302, 204},  {4, 204, 501, 228}};
    for (int i = 0; i < kRegionPanelTexts; i++) {
        EXPECT_EQ(Box(t[i].rect), rects[size_t(i)]) << i;
        EXPECT_EQ(t[i].align, i == 0 ? ALIGN_LEFT : ALIGN_RIGHT) << i;
    }
    // A current record behind the end of the data is never read: no name.
    gCurrentRecord = 4;
    UpdateRegionPanelSummary();
    RegionPanelTexts("wolt 1.45", t);
    EXPECT_EQ(Utf8(t[1].text), "");
    EXPECT_EQ(Utf8(t[2].text), "M1以上     0 /     4回");
}

// --- region data page ----------------------------------------------------------------

RegionGraph LiteralGraph() {
    RegionGraph g{};
    const int region = gpEQ[gCurrentRecord].regionIndex;
    std::vector<int> taken;
    for (int i = AppSettings.selFirstIndex; i <= AppSettings.selLastIndex && gpEQ[i].magnitude10 != 0; i++)
        if (gpEQ[i].regionIndex == region) taken.push_back(i);
    for (size_t k = 0; k < taken.size(); k++) {
        int x = 513 - 2 * int(k);
        if (x < 8) break;
        g.magnitude[g.magnitudeCount++] = {x, 235 - gpEQ[taken[k]].magnitude10};
        if (k + 1 < taken.size()) {
            int y = 234 - DaysBetweenRecords(gpEQ[taken[k + 1]], gpEQ[taken[k]]);
            g.interval[g.intervalCount++] = {x, y < 141 ? 141 : y};
        }
    }
    return g;
}

std::vector<std::pair<int, int>> Points(const OverlayPoint* p, int n) {
    std::vector<std::pair<int, int>> v;
    for (int i = 0; i < n; i++) v.push_back({p[i].x, p[i].y});
    return v;
}

TEST(OverlayRegionGraph, AgreesWithTheLiteralWalkOnRandomCatalogues) {
    std::mt19937 random(8);
    struct Shape {
        int records, regions, spanDays;
    } shapes[] = {{3000, 3, 400}, {2000, 40, 3000}, {600, 2, 60}, {50, 5, 30}};
    for (const Shape& shape : shapes) {
        LoadCatalogue(RandomCatalogue(random, shape.records, shape.regions, shape.spanDays));
        OpenConditions();
        AppSettings.magMin = 2;   // non-matching records of the region still count
        ApplyConditions();
        for (int k = 0; k < 5; k++) {
            gCurrentRecord = int(random() % unsigned(shape.records));
            static RegionGraph g;
            BuildRegionGraph(&g);
            RegionGraph l = LiteralGraph();
            ASSERT_EQ(Points(g.magnitude, g.magnitudeCount), Points(l.magnitude, l.magnitudeCount));
            ASSERT_EQ(Points(g.interval, g.intervalCount), Points(l.interval, l.intervalCount));
        }
    }
}

TEST(OverlayRegionGraph, LengthsAndEdges) {
    // 300 records of region 1, a day apart, every 50th a 200-day gap.
    std::vector<QuakeRecord> r;
    long long day = 19894;
    for (int i = 0; i < 300; i++) {
        int y, m, d;
        TestCivilFromDays(day, &y, &m, &d);
        r.push_back(Rec(y, m, d, 12, 0, 300, 100, 10, 1, 10 + i % 90, 1));
        day -= i % 50 == 49 ? 200 : 1;
    }
    LoadMatching(r);
    gCurrentRecord = 0;
    static RegionGraph g;
    BuildRegionGraph(&g);
    ASSERT_EQ(g.magnitudeCount, 253);
    ASSERT_EQ(g.intervalCount, 253);   // record 253 still gives the last interval
    EXPECT_EQ(g.magnitude[0].x, 513);
    EXPECT_EQ(g.magnitude[252].x, 9);
    EXPECT_EQ(g.magnitude[0].y, 225);
    EXPECT_EQ(g.magnitude[89].y, 235 - 99);   // above the frame: not clamped
    EXPECT_EQ(g.interval[0].y, 233);
    EXPECT_EQ(g.interval[49].y, 141);         // 200 days: at the top line

    // A single record: one point and no interval.
    LoadMatching({Rec(2024, 6, 20, 12, 0, 300, 100, 10, 1, 40, 1), Rec(2024, 6, 19, 12, 0, 300, 100, 10, 2, 40, 1)});
    gCurrentRecord = 1;
    BuildRegionGraph(&g);
    EXPECT_EQ(Points(g.magnitude, g.magnitudeCount), (std::vector<std::pair<int, int>>{{513, 195}}));
    EXPECT_EQ(g.intervalCount, 0);
    // No current record, or one behind the data: nothing.
    for (int current : {-1, 2, 199999, 200000}) {
        gCurrentRecord = current;
        BuildRegionGraph(&g);
        EXPECT_EQ(g.magnitudeCount + g.intervalCount, 0) << current;
    }
}

class OverlayRegionPage : public ::testing::Test {
protected:
    void SetUp() override {
        LoadMatching({
            Rec(2024, 6, 20, 9, 0, 300, 100, 10, 1, 52, 1),    // 0
            Rec(2024, 6, 19, 9, 0, 300, 100, 50, 2, 30, 1),    // 1
            Rec(2024, 6, 10, 9, 0, 300, 100, 30, 1, 41, 1),    // 2
            Rec(2024, 5, 1, 9, 0, 300, 100, 20, 1, 55, 1),     // 3
            Rec(2024, 1, 1, 9, 0, 300, 100, 100, 2, 61, 1),    // 4
        });
        gCurrentRecord = 0;
        ASSERT_EQ(UpdateRegionPageSummary(), 1);
    }
};

TEST_F(OverlayRegionPage, TextsOfTheRegionDataPage) {
    static OverlayText t[kRegionPageTexts];
    ASSERT_EQ(RegionPageTexts(t), kRegionPageTexts);
    const std::vector<std::string> expected = {
        "R1 地震データ",
        "要警戒震源地",
        "2024年01月01日～2024年06月20日     172日",
        "M1以上の地震発生回数       3回",
        "M5以上の地震発生回数       2回",
        "M5以上の地震発生間隔       0回",
        "M5以上の地震発生平均間隔       3回",
        "平均深さ: 20km 最大M:5.5 平均M:4.9",
        "規模    回数       日付    間隔    平均",
        "M1       0 0000/00/00       0/      0",
        "M2       0 0000/00/00       0/      0",
        "M3       0 0000/00/00       0/      0",
        "M4       1 2024/06/10       2/      5",
        "M5       2 2024/06/20       0/      2",
        "M6       0 0000/00/00       0/      0",
        "M7       0 0000/00/00       0/      0",
        "M8       0 0000/00/00       0/      0",
        "M9       0 0000/00/00       0/      0",
        "規模",
        "間隔",
        "  確率     間隔    回数",
        " M5   :  0.00%  66.67%",
        " M6   :  0.00%   0.00%",
        " M7   :  0.00%   0.00%",
        " M8   :  0.00%   0.00%",
        " M9   :  0.00%   0.00%",
    };
    EXPECT_EQ(Lines(t, kRegionPageTexts), expected);
    struct Place {
        int index;
        std::vector<int> rect;
        int align;
        std::vector<int> color;
    } places[] = {
        {0, {6, 1, 260, 25}, ALIGN_LEFT, {255, 255, 255}},    {1, {296, 1, 440, 25}, ALIGN_CENTER, {255, 255, 255}},
        {2, {6, 26, 326, 50}, ALIGN_RIGHT, {255, 255, 255}},  {7, {6, 116, 326, 140}, ALIGN_RIGHT, {255, 255, 255}},
        {8, {530, 26, 842, 50}, ALIGN_RIGHT, {255, 255, 255}}, {17, {530, 188, 842, 212}, ALIGN_RIGHT, {255, 255, 255}},
        {18, {12, 143, 64, 161}, ALIGN_LEFT, {0, 255, 0}},    {19, {12, 161, 64, 179}, ALIGN_LEFT, {0, 255, 255}},
        {20, {322, 26, 514, 50}, ALIGN_RIGHT, {255, 255, 255}}, {25, {322, 116, 514, 140}, ALIGN_RIGHT, {255, 255, 255}},
    };
    for (const Place& p : places) {
        EXPECT_EQ(Box(t[p.index].rect), p.rect) << p.index;
        EXPECT_EQ(t[p.index].align, p.align) << p.index;
        EXPECT_EQ(Rgb(t[p.index].color), p.color) << p.index;
    }
}

TEST_F(OverlayRegionPage, ClassRowPickFollowsTheCursorOverTheTable) {
    struct Case {
        int mx, my, underline, pick, record;
    } cases[] = {
        {600, 566, -1, 0, 77},   // the header row: no underline, no pick
        {600, 567, 62, 1, -1},   // M1: no record
        {520, 620, -1, 0, 77},   // left of the table
        {521, 620, 116, 1, 2},   // M4: record 2
        {847, 620, 116, 1, 2},
        {848, 620, -1, 0, 77},
        {700, 635, 134, 1, 0},   // M5: record 0
        {700, 723, 206, 1, -1},  // M9
        {700, 724, -1, 0, 77},
    };
    for (const Case& c : cases) {
        gClassPick = 1;
        gClassPickRecord = 77;   // kept when nothing is picked
        EXPECT_EQ(ClassRowPick(c.mx, c.my), c.underline) << c.mx << "," << c.my;
        EXPECT_EQ(gClassPick, c.pick) << c.mx << "," << c.my;
        EXPECT_EQ(gClassPickRecord, c.record) << c.mx << "," << c.my;
    }
}

// --- alert ranking page ---------------------------------------------------------------

AlertEntry Entry(int region, float level, int latest) {
    AlertEntry e{};
    e.eventCount = e.m6Count = 3;
    e.regionIndex = int16_t(region);
    e.alertLevel = level;
    e.dueRatio = 12.5f;
    e.shareRatio = 0.75f;
    e.elapsed = 40;
    e.meanInterval = 320;
    e.latestIndex = latest;
    return e;
}

TEST(OverlayAlertPage, PrintedRowsCloseUpAndStopAtNine) {
    LoadMatching({Rec(2024, 6, 20, 9, 0, 300, 100, 10, 1, 52, 1), Rec(2023, 2, 3, 9, 0, 300, 100, 10, 2, 65, 1)});
    AppSettings.recordCount = 98765;
    std::memset(AlertTable, 0, sizeof AlertTable);
    AlertTable[0] = Entry(12, 45.678f, 1);
    AlertTable[1] = Entry(3, 0.05f, 0);    // below 0.1: prints nothing, takes no row
    AlertTable[2] = Entry(4, 0.1f, 0);
    gCurrentRecord = 0;
    static OverlayText t[kAlertPageTexts];
    int n = AlertPageTexts(t);
    ASSERT_EQ(n, 5);
    EXPECT_EQ(Lines(t, 3), (std::vector<std::string>{
                               "R1 地震データ", "要警戒震源地",
                               "M6以上要警戒震源地       警戒度                     間隔                    回数      直近日付"}));
    EXPECT_EQ(Utf8(t[3].text),
              "                 R12        45.68  (   12.50 [   40/  320] x    0.75 [   3/ 98765] )  2023/02/03");
    EXPECT_EQ(Utf8(t[4].text),
              "                  R4         0.10  (   12.50 [   40/  320] x    0.75 [   3/ 98765] )  2024/06/20");
    EXPECT_EQ(Box(t[2].rect), (std::vector<int>{6, 25, 842, 49}));
    EXPECT_EQ(Box(t[3].rect), (std::vector<int>{6, 43, 842, 67}));
    EXPECT_EQ(Box(t[4].rect), (std::vector<int>{6, 61, 842, 85}));
    EXPECT_EQ(t[1].align, ALIGN_CENTER);
    EXPECT_EQ(t[4].align, ALIGN_RIGHT);

    for (int i = 0; i < 12; i++) AlertTable[i] = Entry(20 + i, 50.0f - i, 0);
    n = AlertPageTexts(t);
    ASSERT_EQ(n, 3 + 9);
    EXPECT_EQ(Utf8(t[11].text).substr(0, 20), "                 R28");
    EXPECT_EQ(Box(t[11].rect), (std::vector<int>{6, 187, 842, 211}));
}

TEST(OverlayAlertPage, HoverUnderlineAndRowMark) {
    struct Case {
        int mx, my, underline, hover;
    } cases[] = {
        {3, 600, -1, 0}, {4, 600, 98, 1}, {847, 600, 98, 1}, {848, 600, -1, 0},
        {400, 566, -1, 0}, {400, 567, 62, 1}, {400, 723, 206, 1}, {400, 724, -1, 0},
    };
    for (const Case& c : cases) {
        gAlertHover = 1 - c.hover;
        EXPECT_EQ(AlertRowHover(c.mx, c.my), c.underline) << c.mx << "," << c.my;
        EXPECT_EQ(gAlertHover, c.hover) << c.mx << "," << c.my;
    }
    struct Mark {
        int row, result;
        std::vector<int> rect;
    } marks[] = {{-1, 1, {}}, {0, 0, {4, 46, 842, 62}}, {8, 0, {4, 190, 842, 206}}, {9, 1, {}}};
    for (const Mark& m : marks) {
        gAlertRow = m.row;
        PanelRect r{-5, -5, -5, -5};
        EXPECT_EQ(AlertRowMark(&r), m.result) << m.row;
        if (m.result == 0) {
            EXPECT_EQ(Box(r), m.rect) << m.row;
        }
    }
}

TEST(OverlayButtons, PlacesAndStates) {
    struct Case {
        int hover, pressed, button;
        std::vector<int> outline, fill;
    } cases[] = {
        {0, 0, 1, {160, 160, 160}, {64, 64, 64}},  {0, 0, 2, {160, 160, 160}, {64, 64, 64}},
        {1, 0, 1, {255, 255, 255}, {160, 96, 64}}, {1, 0, 2, {160, 160, 160}, {64, 64, 64}},
        {2, 0, 2, {255, 255, 255}, {160, 96, 64}}, {1, 1, 1, {255, 192, 128}, {128, 64, 32}},
        {2, 2, 2, {255, 192, 128}, {128, 64, 32}}, {2, 2, 1, {160, 160, 160}, {64, 64, 64}},
        // Pressed on one, now over the other: that one shows pressed.
        {2, 1, 2, {255, 192, 128}, {128, 64, 32}},
    };
    for (const Case& c : cases) {
        gBottomButton = c.hover;
        gBottomPressed = c.pressed;
        BottomButton b = BottomButtonAt(c.button);
        EXPECT_EQ(Rgb(b.colors.outline), c.outline) << c.hover << c.pressed << c.button;
        EXPECT_EQ(Rgb(b.colors.fill), c.fill) << c.hover << c.pressed << c.button;
    }
    gBottomButton = gBottomPressed = 0;
    BottomButton save = BottomButtonAt(1), close = BottomButtonAt(2);
    EXPECT_EQ(Box(save.box), (std::vector<int>{621, 216, 711, 238}));
    EXPECT_EQ(Box(save.textBox), (std::vector<int>{621, 219, 711, 237}));
    EXPECT_EQ(Box(close.box), (std::vector<int>{756, 219, 846, 241}));
    EXPECT_EQ(Box(close.textBox), (std::vector<int>{756, 221, 846, 239}));
    EXPECT_EQ(Utf8(save.label), "保存");
    EXPECT_EQ(Utf8(close.label), "終了");
}

// --- the press handler's picks, end to end ----------------------------------------------

class OverlayPicks : public ::testing::Test {
protected:
    void SetUp() override {
        // 200 records in regions 7..9; region 5 has M6+ at 40 and 150, region 6 at 20 and 90.
        std::vector<QuakeRecord> r;
        for (int i = 0; i < 200; i++) r.push_back(DayRec(i / 10, 7 + i % 3, 20 + i % 30));
        r[40] = DayRec(4, 5, 63), r[150] = DayRec(15, 5, 61), r[60] = DayRec(6, 5, 34);
        r[20] = DayRec(2, 6, 66), r[90] = DayRec(9, 6, 60);
        LoadMatching(r);
        titles.clear();
        gRegionListTitleHook = [](const char* sjis) { titles.push_back(Utf8(sjis)); };
        gCurrentRecord = 0;
        LocateCurrent(&gConditionList);
        RefreshRegionList();
        gSelectedRecordA = gSelectedRecordB = -1;
        gHoverControl = gTabHover = gBottomButton = gStatsPick = gClassPick = 0;
        gAlertRow = -1;
    }
    void TearDown() override { gRegionListTitleHook = nullptr; }

    static void ExpectRegionList(int region) {
        ASSERT_GT(gRegionList.count, 0);
        for (int p = 0; p < gRegionList.count; p++)
            ASSERT_EQ(gpEQ[gRegionList.entries[p].recordIndex].regionIndex, region) << p;
    }

    static std::vector<std::string> titles;
};
std::vector<std::string> OverlayPicks::titles;

TEST_F(OverlayPicks, ClassRowPressMakesTheClassNewestRecordCurrent) {
    gReportPage = 0;
    gCurrentRecord = 40;   // region 5
    ASSERT_EQ(ClassRowPick(700, 544 + 18 * 3), 98);   // M3: record 60
    gAlertHover = 0;
    PanelPress(1, 544 + 18 * 3);
    EXPECT_EQ(gCurrentRecord, 60);
    EXPECT_EQ(gSelectedRecordA, 60);
    EXPECT_EQ(gSelectedRecordB, 60);
    EXPECT_EQ(AppSettings.selFirst, 60);
    ExpectRegionList(5);
    EXPECT_EQ(titles.back(), "R5 設定条件地震一覧");

    // A class without records picks nothing.
    ASSERT_EQ(ClassRowPick(700, 544 + 18 * 9), 206);
    EXPECT_EQ(gClassPickRecord, -1);
    PanelPress(1, 544 + 18 * 9);
    EXPECT_EQ(gCurrentRecord, 60);
}

TEST_F(OverlayPicks, RankingRowPressSelectsTheRegionsNewestM6) {
    gReportPage = 1;
    ASSERT_GE(PrintedAlertEntry(1), 0);
    ASSERT_LT(PrintedAlertEntry(2), 0);   // two printed rows only
    const int second = AlertTable[PrintedAlertEntry(1)].regionIndex;
    const int secondNewest = second == 5 ? 40 : 20;
    ASSERT_GE(AlertRowHover(400, 562 + 18 + 5), 0);
    PanelPress(1, 562 + 18 + 5);
    EXPECT_EQ(gAlertRow, 1);
    EXPECT_EQ(gCurrentRecord, secondNewest);
    EXPECT_EQ(gSelectedRecordA, secondNewest);
    EXPECT_EQ(gSelectedRecordB, secondNewest);
    EXPECT_EQ(AppSettings.selFirst, secondNewest);
    ExpectRegionList(second);
    EXPECT_EQ(titles.back(), "R" + std::to_string(second) + " 設定条件地震一覧");

    // The third row shows no region: the press changes nothing.
    const size_t titleCount = titles.size();
    ASSERT_GE(AlertRowHover(400, 562 + 36 + 5), 0);
    PanelPress(1, 562 + 36 + 5);
    EXPECT_EQ(gAlertRow, 1);
    EXPECT_EQ(gCurrentRecord, secondNewest);
    EXPECT_EQ(titles.size(), titleCount);

    // Without the hover flag (another page, or the cursor off the rows) nothing happens.
    AlertRowHover(400, 540);
    PanelPress(1, 562 + 5);
    EXPECT_EQ(gAlertRow, 1);
}

}  // namespace
