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

struct LinkLines : ::testing::Test {
    ColoredScreenVertex out[kLinkVertices];
    void SetUp() override {
        FillDistanceTable();
        std::memset(out, 0x7F, sizeof out);
    }
};

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
