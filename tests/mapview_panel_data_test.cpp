// The numbers of the hover panel, the selected-region panel and the bottom
// panel: the map pick and its region summary against a literal search, the
// region graph against a literal walk, the texts of both bottom pages, and
// the class-row and ranking-row picks through the press handler.
#include "mapview/panel_data.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "analysis/region_stats.h"
#include "analysis_fixture.h"
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

void LoadMatching(const std::vector<QuakeRecord>& records) {
    LoadCatalogue(records);
    OpenConditions();
    ApplyConditions();
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
        AppSettings.magMin = round % 3;   // gaps of non-matching records
        ApplyConditions();
        if (round == 5) AppSettings.selLastIndex = AppSettings.selFirstIndex + 300;
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
            ASSERT_EQ(std::vector<int>({gSelectedRecordA, gSelectedRecordB, h.hovered, h.count, h.maxMag10, h.meanMag10}),
                      std::vector<int>({l.a, l.b, l.a >= 0, l.count, l.maxMag10, l.meanMag10}))
                << mx << "," << my;
            picked += h.hovered;
        }
        EXPECT_GT(picked, round == 5 ? 10 : 100) << "round " << round;
    }
    // The map's last pixel is inside, the next one is not.
    LoadMatching({Rec(2024, 6, 19, 12, 0, 515, 337, 10, 2, 40, 1)});
    HoverSummary h;
    HoverPick(513, 513, &h);
    EXPECT_EQ(gSelectedRecordA, 0);
    HoverPick(514, 513, &h);
    EXPECT_EQ(gSelectedRecordA, -1);
}

TEST(OverlayTexts, HoverAndRegionPanels) {
    LoadCatalogue({Rec(2024, 6, 20, 12, 0, 300, 200, 10, 1, 62, 1), Rec(2024, 6, 19, 12, 0, 300, 200, 10, 2, 47, 1),
                   Rec(2024, 6, 18, 12, 0, 300, 200, 10, 1, 15, 1), Rec(2024, 6, 17, 12, 0, 300, 200, 10, 1, 33, 1)});
    OpenConditions();
    AppSettings.magMin = 3;
    ApplyConditions();
    OverlayText t[kRegionPanelTexts];
    ASSERT_EQ(HoverPanelTexts(HoverSummary{1, 7, 12, 63, 31}, t), 3);
    EXPECT_EQ(Lines(t, 3), (std::vector<std::string>{"R7", "M1以上    12 /     4回", "最大M:6.3 平均M:3.1"}));
    HoverPanelTexts(HoverSummary{0, 0, 0, 0, 0}, t);
    EXPECT_EQ(Utf8(t[0].text), "--- --- --- --- ---");
    // The box counts the current region's matches over the whole catalogue.
    gCurrentRecord = 0;
    ASSERT_EQ(UpdateRegionPanelSummary(), 1);
    ASSERT_EQ(RegionPanelTexts("wolt 1.45", t), kRegionPanelTexts);
    EXPECT_EQ(std::vector<std::string>(Lines(t, 4)),
              (std::vector<std::string>{"選択震源地", "R1", "M1以上     3 /     4回", "最大M:6.2 平均M:3.6"}));
    gCurrentRecord = 4;   // behind the data: never read
    UpdateRegionPanelSummary();
    RegionPanelTexts("wolt 1.45", t);
    EXPECT_EQ(Utf8(t[1].text) + "|" + Utf8(t[2].text), "|M1以上     0 /     4回");
}

std::vector<std::pair<int, int>> Points(const OverlayPoint* p, int n) {
    std::vector<std::pair<int, int>> v;
    for (int i = 0; i < n; i++) v.push_back({p[i].x, p[i].y});
    return v;
}

TEST(OverlayRegionGraph, AgreesWithTheLiteralWalkOnRandomCatalogues) {
    std::mt19937 random(8);
    const int shapes[][3] = {{3000, 3, 400}, {2000, 40, 3000}, {600, 2, 60}, {50, 5, 30}};
    for (const auto& shape : shapes) {
        LoadCatalogue(RandomCatalogue(random, shape[0], shape[1], shape[2]));
        OpenConditions();
        AppSettings.magMin = 2;   // non-matching records of the region still count
        ApplyConditions();
        for (int k = 0; k < 5; k++) {
            gCurrentRecord = int(random() % unsigned(shape[0]));
            static RegionGraph g, l;
            BuildRegionGraph(&g);
            // Literal: the region's records of the window, two pixels apart from x 513 down to 8.
            l = RegionGraph{};
            std::vector<int> taken;
            for (int i = AppSettings.selFirstIndex; i <= AppSettings.selLastIndex && gpEQ[i].magnitude10; i++)
                if (gpEQ[i].regionIndex == gpEQ[gCurrentRecord].regionIndex) taken.push_back(i);
            for (size_t j = 0; j < taken.size() && 513 - 2 * int(j) >= 8; j++) {
                const int x = 513 - 2 * int(j);
                l.magnitude[l.magnitudeCount++] = {x, 235 - gpEQ[taken[j]].magnitude10};
                if (j + 1 < taken.size())
                    l.interval[l.intervalCount++] = {x, std::max(141, 234 - DaysBetweenRecords(gpEQ[taken[j + 1]], gpEQ[taken[j]]))};
            }
            ASSERT_EQ(Points(g.magnitude, g.magnitudeCount), Points(l.magnitude, l.magnitudeCount));
            ASSERT_EQ(Points(g.interval, g.intervalCount), Points(l.interval, l.intervalCount));
        }
    }
    for (int current : {-1, 200000}) {   // no current record: nothing
        gCurrentRecord = current;
        static RegionGraph g;
        BuildRegionGraph(&g);
        EXPECT_EQ(g.magnitudeCount + g.intervalCount, 0);
    }
}

TEST(OverlayBottomPage, RegionDataTextsAndClassRows) {
    LoadMatching({Rec(2024, 6, 20, 9, 0, 300, 100, 10, 1, 52, 1), Rec(2024, 6, 19, 9, 0, 300, 100, 50, 2, 30, 1),
                  Rec(2024, 6, 10, 9, 0, 300, 100, 30, 1, 41, 1), Rec(2024, 5, 1, 9, 0, 300, 100, 20, 1, 55, 1),
                  Rec(2024, 1, 1, 9, 0, 300, 100, 100, 2, 61, 1)});
    gCurrentRecord = 0;
    ASSERT_EQ(UpdateRegionPageSummary(), 1);
    static OverlayText t[kRegionPageTexts];
    ASSERT_EQ(RegionPageTexts(t), kRegionPageTexts);
    const std::vector<std::string> lines = Lines(t, kRegionPageTexts);
    const std::vector<std::string> some = {lines[0], lines[2], lines[3], lines[6], lines[7], lines[12], lines[13], lines[21]};
    EXPECT_EQ(some, (std::vector<std::string>{
                        "R1 地震データ", "2024年01月01日～2024年06月20日     172日", "M1以上の地震発生回数       3回",
                        "M5以上の地震発生平均間隔       3回", "平均深さ: 20km 最大M:5.5 平均M:4.9",
                        "M4       1 2024/06/10       2/      5", "M5       2 2024/06/20       0/      2",
                        " M5   :  0.00%  66.67%"}));
    // Class rows under the cursor: M4 is record 2, M5 record 0, M1 none; the header row picks nothing.
    const int cases[][4] = {{600, 566, -1, 77}, {600, 567, 62, -1}, {520, 620, -1, 77}, {521, 620, 116, 2},
                            {700, 635, 134, 0}, {848, 620, -1, 77}};   // x, y, underline, record (77 kept)
    for (const auto& c : cases) {
        gClassPickRecord = 77;
        EXPECT_EQ(ClassRowPick(c[0], c[1]), c[2]) << c[0] << "," << c[1];
        EXPECT_EQ(gClassPickRecord, c[3]) << c[0] << "," << c[1];
    }
}

TEST(OverlayBottomPage, RankingRowsCloseUpAndStopAtNine) {
    LoadMatching({Rec(2024, 6, 20, 9, 0, 300, 100, 10, 1, 52, 1), Rec(2023, 2, 3, 9, 0, 300, 100, 10, 2, 65, 1)});
    AppSettings.recordCount = 98765;
    std::memset(AlertTable, 0, sizeof AlertTable);
    auto entry = [](int region, float level, int latest) {
        AlertEntry e{};
        e.eventCount = e.m6Count = 3;
        e.regionIndex = int16_t(region), e.alertLevel = level, e.latestIndex = latest;
        e.dueRatio = 12.5f, e.shareRatio = 0.75f, e.elapsed = 40, e.meanInterval = 320;
        return e;
    };
    AlertTable[0] = entry(12, 45.678f, 1);
    AlertTable[1] = entry(3, 0.05f, 0);   // below 0.1: prints nothing, takes no row
    AlertTable[2] = entry(4, 0.1f, 0);
    gCurrentRecord = 0;
    static OverlayText t[kAlertPageTexts];
    ASSERT_EQ(AlertPageTexts(t), 5);
    EXPECT_EQ(Utf8(t[3].text), "                 R12        45.68  (   12.50 [   40/  320] x    0.75 [   3/ 98765] )  2023/02/03");
    EXPECT_EQ(Utf8(t[4].text).substr(0, 20), "                  R4");
    EXPECT_EQ(t[4].rect.top - t[3].rect.top, 18);
    for (int i = 0; i < 12; i++) AlertTable[i] = entry(20 + i, 50.0f - i, 0);
    EXPECT_EQ(AlertPageTexts(t), 3 + 9);
}

class OverlayPicks : public ::testing::Test {
protected:
    void SetUp() override {
        // 200 records in regions 7..9; region 5 has M6+ at 40 and 150, region 6 at 20 and 90.
        std::vector<QuakeRecord> r;
        for (int i = 0; i < 200; i++) r.push_back(DayRec(i / 10, 7 + i % 3, 20 + i % 30));
        r[40] = DayRec(4, 5, 63), r[150] = DayRec(15, 5, 61), r[60] = DayRec(6, 5, 34);
        r[20] = DayRec(2, 6, 66), r[90] = DayRec(9, 6, 60);
        LoadMatching(r);
        gCurrentRecord = 0;
        gSelectedRecordA = gSelectedRecordB = -1;
        gHoverControl = gTabHover = gBottomButton = gStatsPick = gClassPick = 0;
        gAlertRow = -1;
    }
    static void ExpectSelected(int record) {
        EXPECT_EQ(std::vector<int>({gCurrentRecord, gSelectedRecordA, gSelectedRecordB, AppSettings.selFirst}),
                  std::vector<int>(4, record));
        ASSERT_GT(gRegionList.count, 0);
        for (int p = 0; p < gRegionList.count; p++)
            ASSERT_EQ(gpEQ[gRegionList.entries[p].recordIndex].regionIndex, gpEQ[record].regionIndex) << p;
    }
};

TEST_F(OverlayPicks, ClassRowAndRankingRowPresses) {
    gReportPage = 0;
    gCurrentRecord = 40;   // region 5
    ASSERT_EQ(ClassRowPick(700, 544 + 18 * 3), 98);   // M3: record 60
    PanelPress(1, 544 + 18 * 3);
    ExpectSelected(60);
    ASSERT_EQ(ClassRowPick(700, 544 + 18 * 9), 206);  // M9: no record, nothing happens
    PanelPress(1, 544 + 18 * 9);
    EXPECT_EQ(gCurrentRecord, 60);

    gReportPage = 1;
    ASSERT_LT(PrintedAlertEntry(2), 0);   // two printed rows only
    const int second = AlertTable[PrintedAlertEntry(1)].regionIndex;
    ASSERT_GE(AlertRowHover(400, 562 + 18 + 5), 0);
    PanelPress(1, 562 + 18 + 5);
    EXPECT_EQ(gAlertRow, 1);
    ExpectSelected(second == 5 ? 40 : 20);
    ASSERT_GE(AlertRowHover(400, 562 + 36 + 5), 0);   // the third row shows no region
    PanelPress(1, 562 + 36 + 5);
    EXPECT_EQ(gAlertRow, 1);
}

}  // namespace
