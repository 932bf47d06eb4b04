// The replay, the cross-section and the projection.
#include <cmath>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "engine/analysis/replay.h"
#include "engine/analysis/section.h"
#include "engine/model/geo.h"
#include "engine/picture/replay_picture.h"
#include "engine/controls/section_controls.h"
#include "random_catalogue.h"
#include "test_util.h"

static const double kTick = 0.04;   // seconds between the program's ticks

// Events at known minutes of 2024-01-01, newest first as stored; two share a minute.
static std::vector<QuakeRecord> TimedCatalogue() {
    return {Rec(2024, 1, 3, 0, 0, 300, 100, 10, 1, 40, 1), Rec(2024, 1, 2, 12, 0, 310, 110, 20, 1, 41, 1),
            Rec(2024, 1, 2, 0, 0, 320, 120, 30, 1, 42, 1), Rec(2024, 1, 2, 0, 0, 330, 130, 40, 1, 43, 1),
            Rec(2024, 1, 1, 0, 30, 340, 140, 50, 1, 44, 1)};
}

TEST(Replay, EventsVisibleAtEachTick) {
    std::vector<QuakeRecord> records = TimedCatalogue();
    for (QuakeRecord& r : records) r.inFilter = 1;
    records[1].inFilter = 0;   // not selected: never shown
    ReplayTimeline t;
    const double start = MinuteOf(2024, 1, 1, 0, 0);
    BuildReplayTimeline(records.data(), int(records.size()), start, MinuteOf(2024, 1, 3, 23, 59), &t);
    // Oldest first; of the same minute the older in the store (index 3) first.
    EXPECT_EQ(t.records, (std::vector<int>{4, 3, 2, 0}));
    struct Case {
        double daysPerSecond;
        int ticks;
        int visible;
    } cases[] = {
        {1, 0, 0},     {1, 1, 1},     // one day a second: 57.6 minutes a tick, 00:30 shows at once
        {1, 24, 1},    {1, 26, 3},    // 2 Jan 00:00 comes after 1440 minutes, at tick 25
        {1, 50, 4},    {30, 2, 4},    // a month a second: everything within the second tick
        {1, 1000, 4},  {365.25, 1, 4},
    };
    for (const Case& c : cases) {
        double clock = start;
        for (int k = 0; k < c.ticks; k++) clock = ReplayClockAfter(t, clock, c.daysPerSecond, kTick);
        EXPECT_EQ(ReplayVisibleCount(t, clock), c.visible) << c.daysPerSecond << " days/s, tick " << c.ticks;
        EXPECT_LE(clock, t.endMinute);
    }
    // An event shows from its own minute on.
    EXPECT_EQ(ReplayVisibleCount(t, MinuteOf(2024, 1, 2, 0, 0)), 3);
    EXPECT_EQ(ReplayVisibleCount(t, MinuteOf(2024, 1, 2, 0, 0) - 1), 1);
}

static std::set<std::pair<float, float>> QuadCentres(const TexturedScreenVertex* v, int quads) {
    std::set<std::pair<float, float>> centres;
    for (int k = 0; k < quads; k++) centres.insert({(v[4 * k].x + v[4 * k + 3].x) / 2, (v[4 * k].y + v[4 * k + 3].y) / 2});
    return centres;
}

// Stepping tick by tick draws what one jump to the same clock draws, and at
// the end of the period the ring holds the markers the map shows.
TEST(Replay, MarkersAgreeWithTheMapAndWithOneJump) {
    std::mt19937 random(7);
    std::vector<QuakeRecord> records = RandomCatalogue(random, 3000, 20, 200);
    for (size_t i = 0; i < records.size(); i++) records[i].inFilter = i % 3 != 0;
    SetCatalogue(records);
    ReplayTimeline t;
    BuildReplayTimeline(gpEQ, DataEnd(), RecordMinute(gpEQ[DataEnd() - 1]), RecordMinute(gpEQ[0]), &t);
    static TexturedScreenVertex stepped[kMarkerVertices], jumped[kMarkerVertices], map[kMarkerVertices];
    static ReplayMarkers a, b;
    ResetReplayMarkers(&a, stepped);
    const double flash = ReplayMinutes(14, kReplayFlashMs / 1000.0);
    double clock = t.startMinute;
    int used = 0;
    for (int tick = 0; tick < 40; tick++) {
        clock = ReplayClockAfter(t, clock, 14, kTick * 5);
        used = StepReplayMarkers(t, gpEQ, clock, flash, &a, stepped);
    }
    ResetReplayMarkers(&b, jumped);
    EXPECT_EQ(StepReplayMarkers(t, gpEQ, clock, flash, &b, jumped), used);
    EXPECT_EQ(QuadCentres(stepped, used), QuadCentres(jumped, used));
    for (int k = 0; k < used; k++) {   // the same event in each slot, the same size and colour
        const int slot = (a.onMap - 1 - k) % kMarkerQuads, other = (b.onMap - 1 - k) % kMarkerQuads;
        EXPECT_EQ(a.slotEvent[slot], b.slotEvent[other]);
        EXPECT_EQ(stepped[4 * slot].diffuse, jumped[4 * other].diffuse);
        EXPECT_EQ(stepped[4 * slot].x, jumped[4 * other].x);
    }
    used = StepReplayMarkers(t, gpEQ, t.endMinute + flash, flash, &a, stepped);
    const int quads = BuildMarkerQuads(map);
    ASSERT_EQ(used, quads);
    EXPECT_EQ(QuadCentres(stepped, used), QuadCentres(map, quads));
}

// A line along the 135°E meridian from 30°N to 40°N: a point's distance from
// its great circle is R asin(cos(lat) sin(lon - 135°)) (independent of the
// code under test). Epicentres are grid positions: each case takes the grid
// point nearest a place and puts the strip's edge just beyond or just short
// of its distance.
TEST(Section, StripEdgesAndEnds) {
    const struct {
        double lat, lon, margin;
        bool inside;
    } cases[] = {
        {35, 136, +0.01, true}, {35, 136, -0.01, false}, {37, 134, +0.01, true}, {37, 134, -0.01, false},
        {29.5, 135.5, +0.01, false}, {40.5, 134.5, +0.01, false},   // before the start, after the end
    };
    for (const auto& c : cases) {
        int mapX, mapY;
        double lat, lon, r = 3.14159265358979323846 / 180;
        GeoToRecordGrid(c.lat, c.lon, &mapX, &mapY);
        GridToGeo(mapX, mapY, &lat, &lon);
        const double offset = 6371.0 * std::fabs(std::asin(std::cos(lat * r) * std::sin((lon - 135) * r)));
        SetCatalogue({Rec(2024, 1, 1, 0, 0, mapX, mapY, 30, 1, 40, 1)});
        gpEQ[0].inFilter = 1;
        Section s;
        ASSERT_EQ(BuildSection(gpEQ, 1, {30, 135, 40, 135, offset + c.margin}, &s), SECTION_OK);
        ASSERT_EQ(s.events.size(), c.inside ? 1u : 0u) << c.lat << "," << c.lon << " offset " << offset;
        EXPECT_NEAR(c.inside ? std::fabs(s.events[0].offsetKm) : offset, offset, 1e-6);
    }
}

TEST(Section, WholeMapLineAndRefusedLines) {
    // West edge to east edge of the map at 35N: the map holds no 180th meridian.
    const SectionLine across{35, kMapWestLon, 35, kMapEastLon, 300};
    SetCatalogue({Rec(2024, 1, 2, 0, 0, 190, 180, 10, 1, 40, 1), Rec(2024, 1, 1, 0, 0, 500, 180, 600, 1, 40, 1),
                  Rec(2024, 1, 1, 0, 0, 0, 0, 10, 1, 40, 1)});   // the last one has no position
    for (int i = 0; i < 3; i++) gpEQ[i].inFilter = 1;
    Section s;
    ASSERT_EQ(BuildSection(gpEQ, 3, across, &s), SECTION_OK);
    EXPECT_NEAR(s.lengthKm, GreatCircleKm(35, kMapWestLon, 35, kMapEastLon), 1e-6);
    ASSERT_EQ(s.events.size(), 2u);
    EXPECT_LT(s.events[0].alongKm, s.events[1].alongKm);
    EXPECT_EQ(s.maxDepthKm, 600);

    Section untouched;
    untouched.lengthKm = -7;
    struct Case {
        SectionLine line;
        int result;
    } refused[] = {
        {{38, 142, 38, 142, 50}, SECTION_TOO_SHORT},
        {{38, 142, 38.000001, 142, 50}, SECTION_TOO_SHORT},
        {{38, 142, 39, 142, 0}, SECTION_BAD_WIDTH},
        {{38, 142, 39, 142, 5000}, SECTION_BAD_WIDTH},
        {{95, 142, 39, 142, 50}, SECTION_BAD_POINT},
        {{38, NAN, 39, 142, 50}, SECTION_BAD_POINT},
    };
    for (const Case& c : refused) {
        EXPECT_EQ(BuildSection(gpEQ, 3, c.line, &untouched), c.result);
        EXPECT_EQ(untouched.lengthKm, -7);
    }
}

// Latitude/longitude -> grid -> latitude/longitude and grid -> pixel -> grid
// are exact; the stored grid is the nearest one, within half a grid unit, and
// clamped to the storable range (said so) outside it.
TEST(Projection, RoundTripsAndTheStoredGrid) {
    for (double lat = 24.0; lat <= 46.0; lat += 0.37)
        for (double lon = 123.0; lon <= 149.0; lon += 0.41) {
            int mx, my;
            double gx, gy, backLat, backLon, px, py, gx2, gy2;
            GeoToGrid(lat, lon, &gx, &gy);
            GridToGeo(gx, gy, &backLat, &backLon);
            GridToPixel(gx, gy, &px, &py);
            PixelToGrid(px, py, &gx2, &gy2);
            ASSERT_EQ(GeoToRecordGrid(lat, lon, &mx, &my), 0);
            ASSERT_TRUE(std::fabs(backLat - lat) + std::fabs(backLon - lon) + std::fabs(gx2 - gx) + std::fabs(gy2 - gy) < 1e-9 &&
                        std::fabs(mx - gx) <= 0.5 && std::fabs(my - gy) <= 0.5) << lat << "," << lon;
        }
    for (const auto& [lat, lon] : {std::pair{10.0, 136.0}, {kMapNorthLat + 0.5, 136.0}, {-30.0, 136.0}, {35.0, 60.0},
                                   {35.0, 200.0}, {double(NAN), 136.0}}) {
        int x = -5, y = -5;
        EXPECT_EQ(GeoToRecordGrid(lat, lon, &x, &y), lat != 10.0) << lat << " " << lon;
        EXPECT_TRUE(x >= kRecordGridMin && x <= kRecordGridMax && y >= kRecordGridMin && y <= kRecordGridMax) << lat << " " << lon;
    }
}

TEST(Strip, WheelSteps) {
    struct Case {
        double width;
        int steps;
        double expected;
    } cases[] = {{50, 1, 75}, {50, -1, 30}, {60, 1, 75}, {60, -1, 50}, {5, -3, 5}, {300, 2, 300}, {1, 1, 5}};
    for (const Case& c : cases) EXPECT_EQ(StepStripWidth(c.width, c.steps), c.expected) << c.width << " " << c.steps;
}

TEST(SectionWindow, PlaceStoredBesideTheListOrPulledInside) {
    const WorkArea area = {0, 0, 1920, 1040};
    struct Case {
        int storedX, storedY, listX, listY;
        int x, y;
    } cases[] = {{300, 200, 860, 0, 300, 200}, {0, 0, 860, 0, 884, 24}, {5000, -80, 860, 0, 1920 - 700, 0}};
    for (const Case& c : cases) {
        StoreWindowPlace(kSectionWindowSlot, c.storedX, c.storedY);
        StoreWindowPlace(1, c.listX, c.listY);
        int x, y;
        SectionWindowPosition(area, 700, 450, &x, &y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.x, c.y)) << c.storedX << "," << c.storedY;
    }
}
