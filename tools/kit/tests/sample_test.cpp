// The sample catalogue: what the loader needs, the statistics a real
// catalogue shows, the historical earthquakes, determinism.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "catalogue/loader.h"
#include "app/settings.h"
#include "kit/region_table.h"
#include "kit_test_util.h"
#include "mapview/geometry.h"
#include "platform/platform.h"
#include "sample_model.h"

namespace {

const SampleOptions kFull = {1, 2024, 6, 30, 1440, 0};

// One full-size catalogue for every statistical test (generated once).
const std::vector<QuakeRecord>& FullCatalogue() {
    static std::vector<QuakeRecord> records;
    if (records.empty()) {
        SampleReport report;
        EXPECT_EQ(GenerateSample(kFull, &records, &report), SAMPLE_OK);
    }
    return records;
}

bool ValidDate(const QuakeRecord& r) {
    static const int kLength[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (r.year % 4 == 0 && r.year % 100 != 0) || r.year % 400 == 0;
    return r.month >= 1 && r.month <= 12 && r.day >= 1 && r.day <= kLength[r.month - 1] + (r.month == 2 && leap) &&
           r.hour < 24 && r.minute < 60;
}

std::vector<std::string> gMessages;
void Record(const char* text) { gMessages.push_back(text); }

}  // namespace

TEST(Sample, FullCatalogueHasTheExpectedSizeAndShape) {
    const std::vector<QuakeRecord>& c = FullCatalogue();
    EXPECT_GE(c.size(), 150000u);
    EXPECT_LE(c.size(), 190000u);
    int zeroPositions = 0;
    for (size_t i = 0; i < c.size(); i++) {
        const QuakeRecord& r = c[i];
        ASSERT_TRUE(ValidDate(r)) << i;
        ASSERT_LE(r.regionIndex, kMaxRegionIndex);
        ASSERT_LT(r.regionIndex, KitRegionCount());
        ASSERT_GE(r.magnitude10, 1);
        ASSERT_LE(r.magnitude10, 99);
        ASSERT_GE(r.intensity, 1);   // felt somewhere
        ASSERT_LE(r.intensity, 9);
        ASSERT_LE(r.depthKm, 700);
        ASSERT_LE(r.mapY, kRecordGridMax);
        if (i > 0) {
            ASSERT_LE(TimeKey(r), TimeKey(c[i - 1])) << "not newest first at " << i;
        }
        zeroPositions += r.mapX == 0 || r.mapY == 0;
    }
    EXPECT_GE(zeroPositions, 3);
    EXPECT_LE(zeroPositions, 30);
    EXPECT_EQ(TimeKey(c.front()) / 10000, 20240630);
    EXPECT_EQ(c.back().year, 1970);
}

TEST(Sample, GutenbergRichterBValueIsRealistic) {
    // Aki's maximum-likelihood estimate above a completeness magnitude,
    // with the usual half-bin correction for magnitudes in tenths.
    for (int mc10 : {40, 45}) {
        double sum = 0;
        int n = 0;
        for (const QuakeRecord& r : FullCatalogue())
            if (r.magnitude10 >= mc10) sum += r.magnitude10 / 10.0, n++;
        ASSERT_GT(n, 1000);
        double b = std::log10(std::exp(1.0)) / (sum / n - (mc10 / 10.0 - 0.05));
        EXPECT_GE(b, 0.8) << "Mc " << mc10 / 10.0;
        EXPECT_LE(b, 1.1) << "Mc " << mc10 / 10.0;
    }
}

TEST(Sample, TohokuSequenceDominates2011) {
    // Off the Pacific coast of Tohoku and the coast itself, from the 9 March
    // foreshock on.
    double west, north, east, south;
    GeoToGrid(41.5, 139.5, &west, &north);
    GeoToGrid(35.3, 145.5, &east, &south);
    int year = 0, sequence = 0, before = 0;
    for (const QuakeRecord& r : FullCatalogue()) {
        if (r.year == 2010) before++;
        if (r.year != 2011) continue;
        year++;
        bool inZone = r.mapX >= west && r.mapX <= east && r.mapY >= north && r.mapY <= south;
        if (inZone && r.month * 100 + r.day >= 309) sequence++;
    }
    EXPECT_GT(sequence, year / 2);
    EXPECT_GT(year, 2 * before);
}

TEST(Sample, DaysWithM6OrMoreNumberAFewHundred) {
    std::set<long long> days;
    for (const QuakeRecord& r : FullCatalogue())
        if (r.magnitude10 >= 60) days.insert(TimeKey(r) / 10000);
    EXPECT_GE(days.size(), 150u);
    EXPECT_LE(days.size(), 600u);
}

TEST(Sample, IntensityClassesFallOffUpwards) {
    int count[10] = {};
    for (const QuakeRecord& r : FullCatalogue()) count[r.intensity]++;
    for (int c = 1; c < 5; c++) EXPECT_GT(count[c], 2 * count[c + 1]) << c;
    EXPECT_GT(count[9], 0);   // the historical 7s
}

TEST(Sample, HistoricalEarthquakesAreThere) {
    struct Known {
        int date, time;
        const char* region;
        int magnitude10, intensity, depthKm;
    } known[] = {
        {20110311, 1446, "三陸沖", 90, 9, 24},          {19950117, 546, "大阪湾", 73, 9, 16},
        {20240101, 1610, "石川県能登地方", 76, 9, 16},  {20160416, 125, "熊本県熊本地方", 73, 9, 12},
        {20030926, 450, "十勝沖", 80, 7, 45},           {19941004, 2222, "北海道東方沖", 82, 7, 28},
        {19930712, 2217, "北海道南西沖", 78, 5, 35},    {19830526, 1159, "秋田県沖", 77, 5, 14},
        {20041023, 1756, "新潟県中越地方", 68, 9, 13},  {20180906, 307, "胆振地方中東部", 67, 9, 37},
    };
    for (const Known& k : known) {
        int found = 0;
        for (const QuakeRecord& r : FullCatalogue()) {
            CmpRecord p = PackCmpRecord(r);
            if (p.date == k.date && p.time == k.time && r.magnitude10 == k.magnitude10 &&
                r.regionIndex == FindKitRegion(k.region) && r.intensity == k.intensity && r.depthKm == k.depthKm)
                found++;
        }
        EXPECT_EQ(found, 1) << k.date << " " << k.region;
    }
}

TEST(Sample, EveryCompleteYearHasAnEarthquakeOn31December) {
    std::set<int> years;
    for (const QuakeRecord& r : FullCatalogue())
        if (r.month == 12 && r.day == 31) years.insert(r.year);
    for (int y = 1970; y <= 2023; y++) EXPECT_TRUE(years.count(y)) << y;
    EXPECT_FALSE(years.count(2024));
    // Also with a small catalogue, where thinning must keep them.
    std::vector<QuakeRecord> small;
    SampleReport report;
    ASSERT_EQ(GenerateSample({3, 1999, 12, 31, 1440, 400}, &small, &report), SAMPLE_OK);
    years.clear();
    for (const QuakeRecord& r : small)
        if (r.month == 12 && r.day == 31) years.insert(r.year);
    EXPECT_EQ(years.size(), 30u);
}

TEST(Sample, RecordCountIsExactWhenAsked) {
    // The last case asks for far more than the model makes in one year.
    struct Case {
        int endYear, wanted;
    } cases[] = {{1972, 1}, {1972, 100}, {1972, 5000}, {1970, 20000}};
    for (const Case& c : cases) {
        std::vector<QuakeRecord> records;
        SampleReport report;
        ASSERT_EQ(GenerateSample({9, c.endYear, 12, 31, 1440, c.wanted}, &records, &report), SAMPLE_OK);
        EXPECT_EQ(int(records.size()), c.wanted);
        EXPECT_EQ(report.records, c.wanted);
        for (const QuakeRecord& r : records) ASSERT_LE(r.year, c.endYear);
    }
}

TEST(Sample, DeterministicForASeedAndEndDate) {
    SampleOptions a = {42, 1974, 3, 15, 1440, 1000}, b = a;
    std::vector<QuakeRecord> r1, r2, r3;
    SampleReport report;
    GenerateSample(a, &r1, &report);
    GenerateSample(b, &r2, &report);
    b.seed = 43;
    GenerateSample(b, &r3, &report);
    EXPECT_EQ(PackYearFile(r1), PackYearFile(r2));
    EXPECT_NE(PackYearFile(r1), PackYearFile(r3));
    // An end minute only cuts the last day's tail.
    b = a;
    b.records = 0;
    b.endMinuteOfDay = 720;
    a.records = 0;
    std::vector<QuakeRecord> whole, cut;
    GenerateSample(a, &whole, &report);
    GenerateSample(b, &cut, &report);
    std::vector<QuakeRecord> expected;
    for (const QuakeRecord& r : whole)
        if (!(r.year == 1974 && r.month == 3 && r.day == 15 && r.hour >= 12)) expected.push_back(r);
    ASSERT_LT(expected.size(), whole.size());
    ASSERT_EQ(cut.size(), expected.size());
    for (size_t i = 0; i < cut.size(); i++) {   // the few cleared positions may differ
        CmpRecord x = PackCmpRecord(cut[i]), y = PackCmpRecord(expected[i]);
        ASSERT_EQ(x.date, y.date);
        ASSERT_EQ(x.time, y.time);
        ASSERT_EQ(x.event, y.event);
    }
}

TEST(Sample, RejectsBadOptions) {
    struct Case {
        SampleOptions o;
    } cases[] = {
        {{1, 1969, 12, 31, 1440, 0}}, {{1, 2023, 2, 29, 1440, 0}}, {{1, 2024, 13, 1, 1440, 0}},
        {{1, 2024, 1, 1, 0, 0}},      {{1, 2024, 1, 1, 1440, -1}}, {{1, 2024, 1, 1, 1440, kMaxRecords + 1}},
    };
    for (const Case& c : cases) {
        std::vector<QuakeRecord> records(1);
        SampleReport report;
        EXPECT_EQ(GenerateSample(c.o, &records, &report), SAMPLE_BAD_OPTIONS);
        EXPECT_EQ(records.size(), 1u);
    }
}

TEST(Sample, IntensityGrowsWithMagnitudeAndFallsWithDistance) {
    for (double depth : {5.0, 40.0, 400.0})
        for (double land : {0.0, 50.0, 200.0})
            for (double m = 1.5; m < 9.0; m += 0.5) {
                EXPECT_LT(EstimateIntensity(m, depth, land), EstimateIntensity(m + 0.5, depth, land));
                EXPECT_GT(EstimateIntensity(m, depth, land), EstimateIntensity(m, depth, land + 30));
            }
    // Anchors: a shallow M7 under land is violent, a small one barely felt.
    EXPECT_GE(IntensityClassOf(EstimateIntensity(7.0, 10, 0)), 7);
    EXPECT_LE(IntensityClassOf(EstimateIntensity(2.0, 10, 0)), 1);
    EXPECT_EQ(IntensityClassOf(EstimateIntensity(2.0, 10, 150)), 0);
    struct Bound {
        double value;
        int cls;
    } bounds[] = {{0.49, 0}, {0.5, 1}, {1.5, 2}, {3.49, 3}, {4.5, 5}, {4.99, 5}, {5.0, 6},
                  {5.5, 7},  {6.0, 8}, {6.49, 8}, {6.5, 9}, {8.0, 9}};
    for (const Bound& b : bounds) EXPECT_EQ(IntensityClassOf(b.value), b.cls) << b.value;
}

TEST(Sample, WrittenFolderLoadsWithoutAMessage) {
    TempDir dir;
    ASSERT_EQ(RunTool("make-sample", "--out " + dir.path + " --seed 7 --end 1990-07-01 --records 20000 >/dev/null"),
              0);
    for (int year = 1970; year <= 1990; year++) {
        std::vector<QuakeRecord> records;
        ASSERT_EQ(ReadYearFile(dir.path, year, &records), 0) << year;
        for (size_t i = 0; i < records.size(); i++) {
            ASSERT_EQ(records[i].year, year);
            if (i) {
                ASSERT_LE(TimeKey(records[i]), TimeKey(records[i - 1]));
            }
        }
    }
    EXPECT_FALSE(std::filesystem::exists(YearFilePath(dir.path, 1991)));
    EXPECT_EQ(FileBytes(dir / "ne_tbl.dat").size(), size_t(kNeTableBytes));
    EXPECT_EQ(FileBytes(dir / "s_tbl.dat").size(), size_t(kRegionSlots * 48));

    LocalTime now = {1990, 7, 2, 12, 0, 0};
    SetClockOverride(&now);
    SetMessageHandler(Record);
    gMessages.clear();
    ASSERT_EQ(AllocateCatalogue(), 0);
    SetDataFolder(dir.path.c_str());
    EXPECT_EQ(EQSet(), EQSET_OK);
    SetMessageHandler(nullptr);
    SetClockOverride(nullptr);
    EXPECT_TRUE(gMessages.empty());
    EXPECT_EQ(AppSettings.recordCount, 20000);
    EXPECT_EQ(DataEnd(), 20000);
    EXPECT_EQ(AppSettings.lastFullYear, 1989);
    for (int i = 0; i < 20000; i++) {
        ASSERT_NE(gpEQ[i].mapX, 0) << "position not borrowed at " << i;
        ASSERT_NE(gpEQ[i].mapY, 0) << "position not borrowed at " << i;
        ASSERT_LE(gpEQ[i].regionIndex, kMaxRegionIndex);
    }
    std::string name;
    ASSERT_EQ(SjisToUtf8(RegionName(FindKitRegion("三陸沖")), &name), 0);
    EXPECT_EQ(name, "三陸沖");
    SetDataFolder("Data");

    // The command-line program loads it without a word on standard error.
    std::string err = dir / "stderr.txt", out = dir / "stdout.txt";
    ASSERT_EQ(RunTool("wolt-cli", "--data " + dir.path + " --now \"1990/07/02 12:00:00\" summary > " + out +
                                      " 2> " + err),
              0);
    EXPECT_EQ(FileBytes(err), "");
    EXPECT_NE(FileBytes(out).find("recordCount=20000\n"), std::string::npos);
    EXPECT_NE(FileBytes(out).find("lastFullYear=1989\n"), std::string::npos);
}

TEST(Sample, MakeDataScriptBuildsACompleteFolder) {
    TempDir tmp;
    std::string data = tmp / "Data";
    std::filesystem::create_directories(data);
    WriteWholeFile(data + "/cmp_1960.dat", "stale");
    std::string script = std::string(WOLT_SOURCE_DIR) + "/scripts/datakit/make-data.sh";
    std::string command = "bash " + script + " " + data + " " + WOLT_BINARY_DIR +
                          " --end 1972-12-31 --records 3000 >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(data)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = {"MAP01_512.bmp", "cmp_1970.dat", "cmp_1971.dat", "cmp_1972.dat",
                                         "ne_tbl.dat",    "s_tbl.dat"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(FileBytes(data + "/MAP01_512.bmp"), FileBytes(std::string(WOLT_SOURCE_DIR) + "/data/MAP01_512.bmp"));
    EXPECT_EQ(ReadCatalogue(data, 1972).size(), 3000u);
    EXPECT_FALSE(std::filesystem::exists(data + ".making"));
    EXPECT_FALSE(std::filesystem::exists(data + ".previous"));
}
