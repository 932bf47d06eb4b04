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

}  // namespace
