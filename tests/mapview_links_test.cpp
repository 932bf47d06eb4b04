// Link lines between nearby earthquakes: hand cases for the partner rules and
// a differential test of the one-scan search against the literal search.
#include "mapview/markers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "literal_links.h"
#include "test_util.h"

typedef std::vector<std::pair<int, int>> Pairs;

static QuakeRecord L(int year, int mapX, int mapY, int depthKm, int inFilter = 1) {
    QuakeRecord r = Rec(year, 6, 1, 0, 0, mapX, mapY, depthKm, 1, 45, 3);
    r.inFilter = uint8_t(inFilter);
    r.markerColor = DepthColor(depthKm);
    return r;
}

static void Select(int first, int count, int startYear, int endYear) {
    AppSettings.selFirstIndex = first;
    AppSettings.selCount = count;
    AppSettings.startYear = startYear;
    AppSettings.endYear = endYear;
}

// The lines join exactly `pairs` (record indices), the rest is transparent.
static void ExpectLines(const ColoredScreenVertex* out, int lines, const Pairs& pairs,
                        const char* what) {
    ASSERT_EQ(lines, int(pairs.size())) << what;
    for (int k = 0; k < lines; k++) {
        const int ends[2] = {pairs[k].first, pairs[k].second};
        for (int e = 0; e < 2; e++) {
            const QuakeRecord& r = gpEQ[ends[e]];
            const ColoredScreenVertex& v = out[2 * k + e];
            EXPECT_EQ(v.x, GridToPixelX(r.mapX)) << what << " line " << k << " end " << e;
            EXPECT_EQ(v.y, GridToPixelY(r.mapY)) << what << " line " << k << " end " << e;
            EXPECT_EQ(v.diffuse, (r.markerColor & 0xFFFFFFu) | 0x80000000u) << what << " line " << k;
        }
    }
    for (int i = 2 * lines; i < kLinkVertices; i++) ASSERT_EQ(out[i].diffuse, 0u) << what << " " << i;
}

struct LinkLines : ::testing::Test {
    ColoredScreenVertex out[kLinkVertices];
    void SetUp() override {
        FillDistanceTable();
        std::memset(out, 0x7F, sizeof out);
    }
};

TEST_F(LinkLines, PartnerRules) {
    struct Case {
        const char* what;
        std::vector<QuakeRecord> records;
        int first, count, startYear, endYear;
        Pairs pairs;
    } cases[] = {
        {"near pair", {L(2020, 300, 100, 10), L(2020, 310, 100, 15)}, 0, 9, 2000, 2030, {{0, 1}}},
        {"the smallest tolerance wins over scan order",
         {L(2020, 300, 100, 100), L(2020, 301, 100, 150), L(2020, 302, 100, 105)}, 0, 9, 2000, 2030,
         {{0, 2}, {1, 2}}},
        {"10 km is the first tolerance",
         {L(2020, 300, 100, 100), L(2020, 301, 100, 111), L(2020, 302, 100, 90)}, 0, 9, 2000, 2030,
         {{0, 2}, {1, 2}}},
        {"30 km before 31 km",
         {L(2020, 300, 100, 100), L(2020, 301, 100, 131), L(2020, 302, 100, 70)}, 0, 9, 2000, 2030,
         {{0, 2}, {1, 2}}},
        {"190 km is the last tolerance",
         {L(2020, 300, 100, 0), L(2020, 301, 100, 191), L(2020, 302, 100, 190)}, 0, 9, 2000, 2030,
         {{0, 2}, {1, 2}}},
        {"191 km apart: no line", {L(2020, 300, 100, 0), L(2020, 301, 100, 191)}, 0, 9, 2000, 2030, {}},
        {"near means closer than 32 grid units",
         {L(2020, 300, 100, 10), L(2020, 332, 100, 10), L(2020, 323, 123, 10), L(2020, 322, 122, 10)},
         0, 9, 2000, 2030, {{0, 3}, {1, 2}, {2, 3}}},
        {"31 units is near", {L(2020, 300, 100, 10), L(2020, 300, 131, 10)}, 0, 9, 2000, 2030, {{0, 1}}},
        {"beyond the distance table: never near",
         {L(2020, 300, 100, 10), L(2020, 65535, 100, 10), L(2020, 300, 65535, 10),
          L(2020, 65535, 65535, 10)},
         0, 9, 2000, 2030, {}},
        {"a later year is passed over",
         {L(2005, 300, 100, 10), L(2011, 301, 100, 10), L(2005, 302, 100, 10)}, 0, 9, 2000, 2010,
         {{0, 2}, {1, 2}}},
        {"an earlier year ends the scan",
         {L(2005, 300, 100, 10), L(1999, 301, 100, 10), L(2005, 302, 100, 10)}, 0, 9, 2000, 2010,
         {{1, 2}}},
        {"unmatched records are neither ends",
         {L(2020, 300, 100, 10), L(2020, 301, 100, 10, 0), L(2020, 302, 100, 10), L(2020, 400, 300, 10)},
         0, 9, 2000, 2030, {{0, 2}}},
        {"an off-map partner is joined", {L(2020, 514, 100, 10), L(2020, 516, 100, 10)}, 0, 9, 2000, 2030,
         {{0, 1}}},
        {"an off-map record gets no line of its own",
         {L(2020, 300, 338, 10), L(2020, 300, 336, 10)}, 0, 9, 2000, 2030, {}},
        {"a negative pixel is on the map", {L(2020, 10, 100, 10), L(2020, 20, 100, 10)}, 0, 9, 2000, 2030,
         {{0, 1}}},
        {"the end of the data ends both walks",
         {L(2020, 300, 100, 10), Rec(2020, 1, 1, 0, 0, 300, 100, 10, 1, 0, 0), L(2020, 300, 100, 10)},
         0, 9, 2000, 2030, {}},
        {"at most selCount lines",
         {L(2020, 300, 100, 10), L(2020, 301, 100, 10), L(2020, 302, 100, 10), L(2020, 303, 100, 10)},
         0, 2, 2000, 2030, {{0, 1}, {1, 2}}},
        {"no line without a match",
         {L(2020, 300, 100, 10), L(2020, 301, 100, 10)}, 0, 0, 2000, 2030, {}},
        {"the walk starts at the newest match",
         {L(2020, 300, 100, 10), L(2020, 301, 100, 10), L(2020, 302, 100, 10), L(2020, 303, 100, 10)},
         2, 9, 2000, 2030, {{2, 3}}},
    };
    for (const Case& c : cases) {
        SetCatalogue(c.records);
        Select(c.first, c.count, c.startYear, c.endYear);
        std::memset(out, 0x7F, sizeof out);
        ExpectLines(out, BuildLinkLines(out), c.pairs, c.what);
    }
}

// Random catalogues with many near and far pairs, depths over the whole
// tolerance range, year bounds, unmatched gaps, off-map points and early ends
// of the data: the one-scan search gives the literal search's lines.
TEST_F(LinkLines, SameLinesAsTheLiteralSearch) {
    std::mt19937 random(4);
    ColoredScreenVertex literal[kLinkVertices];
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
            QuakeRecord r = L(recordYear, x, y, int(random() % unsigned(depthSpread)),
                              int(random() % 100) >= gapPercent);
            r.markerColor = uint32_t(random());
            if (random() % 3000 == 0) r.magnitude10 = 0;
            records.push_back(r);
        }
        SetCatalogue(records);
        Select(int(random() % unsigned(count)), int(random() % 1200), year + int(random() % 8),
               2024 - int(random() % 8));
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
