// EQSet over hand-made data folders: file order, derived values, the unknown
// region, capacity, impossible records, hostile files and the empty catalogue.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "analysis/region_summary.h"
#include "app/settings.h"
#include "catalogue/loader.h"
#include "catalogue/model.h"
#include "platform/platform.h"
#include "test_util.h"

namespace {

std::string Describe(const QuakeRecord& r) {
    char text[160];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d x%d y%d d%d r%d m%d i%d f%d c%u", r.year,
                  r.month, r.day, r.hour, r.minute, r.mapX, r.mapY, r.depthKm, r.regionIndex,
                  r.magnitude10, r.intensity, r.inFilter, r.markerColor);
    return text;
}

std::string Describe(const DateTime& d) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", d.year, d.month, d.day, d.hour, d.minute);
    return text;
}

std::string Period() {
    const SettingsBlock& s = AppSettings;
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d .. %04d-%02d-%02d %02d:%02d", s.startYear,
                  s.startMonth, s.startDay, s.startHour, s.startMinute, s.endYear, s.endMonth, s.endDay,
                  s.endHour, s.endMinute);
    return text;
}

std::string Words(const std::vector<CmpRecord>& records) {
    return std::string(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(CmpRecord));
}

class LoaderTest : public testing::Test {
protected:
    void SetUp() override {
        AllocateCatalogue();
        std::memset(&AppSettings, 0, sizeof AppSettings);
        std::memset(RegionTable, 0, sizeof RegionTable);
        root = MakeTempDir();
        data = root + "/Data";
        std::filesystem::create_directories(data);
        SetDataFolder(data.c_str());
        LocalTime now = {2024, 6, 15, 10, 30, 0};
        SetClockOverride(&now);
    }
    void TearDown() override {
        SetClockOverride(nullptr);
        SetDataFolder(nullptr);
        RemoveTree(root);
    }
    std::string YearPath(int year) {
        char name[32];
        std::snprintf(name, sizeof name, "/cmp_%04d.dat", year);
        return data + name;
    }
    // Empty files for every year from 1970 to 2024 that has none yet.
    void FillMissingYears() {
        for (int year = 1970; year <= 2024; year++)
            if (!std::filesystem::exists(YearPath(year))) WriteBytes(YearPath(year), "");
    }
    void ExpectRecords(const std::vector<QuakeRecord>& expected) {
        ASSERT_EQ(AppSettings.recordCount, int(expected.size()));
        for (size_t i = 0; i < expected.size(); i++)
            EXPECT_EQ(Describe(gpEQ[i]), Describe(expected[i])) << "record " << i;
        EXPECT_EQ(Describe(gpEQ[expected.size()]), Describe(QuakeRecord{})) << "behind the data";
    }
    std::string root, data;
    MessageRecorder messages;
};

TEST_F(LoaderTest, ReadsYearsNewestFirstAndDerivesTheCatalogueValues) {
    std::vector<QuakeRecord> y2024 = {Rec(2024, 3, 5, 10, 20, 318, 214, 16, 45, 76, 7),
                                      Rec(2024, 1, 2, 0, 1, 300, 200, 10, 3, 30, 2)};
    std::vector<QuakeRecord> y2022 = {Rec(2022, 12, 31, 23, 59, 250, 120, 40, 5, 45, 3),
                                      Rec(2022, 2, 1, 5, 5, 251, 121, 41, 5, 21, 1)};
    std::vector<QuakeRecord> y1970 = {Rec(1970, 1, 1, 2, 0, 260, 130, 0, 7, 33, 1)};
    WriteYearFile(data, 2024, y2024);
    WriteYearFile(data, 2022, y2022);
    WriteYearFile(data, 1970, y1970);
    for (int i = 0; i < kMaxRecords; i += 1000) gpEQ[i].inFilter = 1;
    gRegionSummaryKey = 5;
    gRegionSummaryKey2 = 6;

    ASSERT_EQ(EQSet(), EQSET_OK);
    std::vector<QuakeRecord> all = y2024;
    all.insert(all.end(), y2022.begin(), y2022.end());
    all.insert(all.end(), y1970.begin(), y1970.end());
    ExpectRecords(all);
    EXPECT_EQ(Period(), "1970-01-01 00:00 .. 2024-03-05 23:59");
    EXPECT_EQ(Describe(gDataFirst), "1970-01-01 02:00");
    EXPECT_EQ(Describe(gDataLast), "2024-03-05 10:20");
    EXPECT_EQ(AppSettings.dataDays, DaysBetween(1970, 1, 1, 2024, 3, 5) + 1);
    EXPECT_EQ(AppSettings.dataDays, 19788);
    EXPECT_EQ(AppSettings.lastFullYear, 2022);
    EXPECT_EQ(AppSettings.newestFileSize, 0);  // 2023 is missing and holds no record
    EXPECT_EQ(gTodayDay, 15);
    EXPECT_EQ(gRegionSummaryKey, -99999);
    EXPECT_EQ(gRegionSummaryKey2, -99999);
    EXPECT_EQ(DataEnd(), 5);
    EXPECT_TRUE(messages.messages.empty());

    const char* expectedLabels[10] = {"0", "1", "2", "3", "4", "5\x8e\xe3", "5\x8b\xad",
                                      "6\x8e\xe3", "6\x8b\xad", "7"};
    for (int i = 0; i < 10; i++) EXPECT_STREQ(IntensityLabels[i], expectedLabels[i]) << i;
}

TEST_F(LoaderTest, LastFullYearAndNewestFileSize) {
    struct File {
        int year;
        std::vector<QuakeRecord> records;
    };
    struct Case {
        const char* what;
        std::vector<File> files;
        bool everyYearPresent;
        int storedLastFullYear;
        int lastFullYear, newestFileSize;
    };
    const QuakeRecord a2024 = Rec(2024, 5, 1, 1, 1, 300, 200, 10, 1, 30, 1);
    const QuakeRecord b2024 = Rec(2024, 2, 1, 1, 1, 300, 200, 10, 1, 30, 1);
    const QuakeRecord dec2023 = Rec(2023, 12, 31, 8, 0, 300, 200, 10, 1, 30, 1);
    const QuakeRecord jun2023 = Rec(2023, 6, 1, 8, 0, 300, 200, 10, 1, 30, 1);
    const QuakeRecord dec2022 = Rec(2022, 12, 31, 8, 0, 300, 200, 10, 1, 30, 1);
    const Case cases[] = {
        {"year after the complete one is stored", {{2024, {a2024, b2024}}, {2023, {dec2023}}}, false, 0, 2023, 32},
        {"complete 2023, no 2024 file", {{2023, {dec2023, jun2023}}}, false, 0, 2023, 0},
        {"no 31 December keeps the stored year", {{2024, {a2024}}, {2023, {jun2023}}}, false, 2019, 2019, 0},
        {"no 31 December and none stored: this year", {{2024, {a2024, b2024}}}, false, 0, 2024, 0},
        {"newest 31 December wins", {{2023, {dec2023}}, {2022, {dec2022}}}, false, 0, 2023, 0},
        {"no file missing keeps the size", {{2024, {a2024, b2024, a2024}}, {2023, {dec2023}}}, true, 0, 2023, 48},
        {"empty newest file hands the size on", {{2024, {}}, {2023, {jun2023, jun2023}}}, true, 0, 2024, 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveTree(data);
        std::filesystem::create_directories(data);
        for (const File& f : c.files) WriteYearFile(data, f.year, f.records);
        if (c.everyYearPresent) FillMissingYears();
        AppSettings.lastFullYear = c.storedLastFullYear;
        ASSERT_EQ(EQSet(), EQSET_OK);
        EXPECT_EQ(AppSettings.lastFullYear, c.lastFullYear);
        EXPECT_EQ(AppSettings.newestFileSize, c.newestFileSize);
    }
}

TEST_F(LoaderTest, UnknownRegionStopsTheLoadWithoutStoringTheRecord) {
    for (int event : {287000, 287765, 999999, 2147483647}) {
        SCOPED_TRACE(event);
        messages.messages.clear();
        QuakeRecord first = Rec(2024, 5, 1, 1, 1, 300, 200, 10, 286, 30, 1);
        std::vector<CmpRecord> y2024 = {PackCmpRecord(first),
                                        {20240401, 100, 300200010, event},
                                        PackCmpRecord(Rec(2024, 3, 1, 1, 1, 300, 200, 10, 1, 30, 1))};
        WriteBytes(YearPath(2024), Words(y2024));
        WriteYearFile(data, 2023, {Rec(2023, 3, 1, 1, 1, 300, 200, 10, 1, 30, 1)});
        ASSERT_EQ(EQSet(), EQSET_OK);
        ExpectRecords({first});
        EXPECT_EQ(messages.messages, std::vector<std::string>{"ERROR : 震源地が無い"});
    }
}

TEST_F(LoaderTest, BorrowsMissingPositionsFromNewerRecordsOfTheRegion) {
    WriteYearFile(data, 2024,
                  {Rec(2024, 5, 9, 0, 0, 0, 50, 1, 12, 30, 1),      // nothing newer: stays
                   Rec(2024, 5, 8, 0, 0, 300, 300, 2, 5, 30, 1),    // another region
                   Rec(2024, 5, 7, 0, 0, 400, 60, 3, 12, 30, 1),
                   Rec(2024, 5, 6, 0, 0, 0, 0, 4, 12, 30, 1)});     // x and y from the same record
    WriteYearFile(data, 2023,
                  {Rec(2023, 5, 6, 0, 0, 410, 0, 5, 12, 30, 1),     // first non-zero mapY
                   Rec(2023, 5, 5, 0, 0, 0, 70, 6, 12, 30, 1),      // first non-zero mapX
                   Rec(2023, 5, 4, 0, 0, 0, 0, 7, 99, 30, 1)});     // region without a source
    ASSERT_EQ(EQSet(), EQSET_OK);
    ExpectRecords({Rec(2024, 5, 9, 0, 0, 0, 50, 1, 12, 30, 1), Rec(2024, 5, 8, 0, 0, 300, 300, 2, 5, 30, 1),
                   Rec(2024, 5, 7, 0, 0, 400, 60, 3, 12, 30, 1), Rec(2024, 5, 6, 0, 0, 400, 60, 4, 12, 30, 1),
                   Rec(2023, 5, 6, 0, 0, 410, 50, 5, 12, 30, 1), Rec(2023, 5, 5, 0, 0, 400, 70, 6, 12, 30, 1),
                   Rec(2023, 5, 4, 0, 0, 0, 0, 7, 99, 30, 1)});
}

TEST_F(LoaderTest, MagnitudeZeroEndsTheDataButIsCounted) {
    WriteYearFile(data, 2024,
                  {Rec(2024, 5, 9, 0, 0, 300, 200, 1, 1, 30, 1), Rec(2024, 5, 8, 0, 0, 300, 200, 1, 1, 31, 1),
                   Rec(2024, 5, 7, 0, 0, 300, 200, 1, 1, 0, 1), Rec(2024, 5, 6, 0, 0, 300, 200, 1, 1, 32, 1),
                   Rec(2024, 5, 5, 0, 0, 300, 200, 1, 1, 33, 1)});
    ASSERT_EQ(EQSet(), EQSET_OK);
    EXPECT_EQ(AppSettings.recordCount, 5);
    EXPECT_EQ(DataEnd(), 2);
    EXPECT_EQ(Describe(gDataFirst), "2024-05-05 00:00");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(LoaderTest, SkipsImpossibleRecordsAndReportsThemOnce) {
    const QuakeRecord keep1 = Rec(2024, 5, 9, 0, 0, 300, 200, 1, 1, 30, 1);
    const QuakeRecord keep2 = Rec(2024, 5, 8, 12, 0, 300, 200, 1, 1, 30, 1);
    const QuakeRecord keep3 = Rec(2023, 5, 8, 23, 59, 300, 200, 1, 1, 30, 1);
    std::vector<CmpRecord> y2024 = {
        PackCmpRecord(keep1),
        {-20240501, 100, 300200001, 1301},   // negative date
        {20240501, 100, -300200001, 1301},   // negative position
        {20240501, 100, 300200001, -1301},   // negative region word
        {20230501, 100, 300200001, 1301},    // another year's record
        {20240001, 100, 300200001, 1301},    // month 0
        {20241301, 100, 300200001, 1301},    // month 13
        {20240500, 100, 300200001, 1301},    // day 0
        {20240532, 100, 300200001, 1301},    // day 32
        {20240501, 2400, 300200001, 1301},   // hour 24
        {20240501, 1260, 300200001, 1301},   // minute 60
        {20240508, 65536 * 3 + 1200, 300200001, 1301},  // high bits only: a real 12:00
    };
    std::vector<CmpRecord> y2023 = {{20230501, 65536 + 99, 300200001, 1301}, PackCmpRecord(keep3)};
    WriteBytes(YearPath(2024), Words(y2024));
    WriteBytes(YearPath(2023), Words(y2023));
    ASSERT_EQ(EQSet(), EQSET_OK);
    ExpectRecords({keep1, keep2, keep3});
    EXPECT_EQ(messages.messages,
              std::vector<std::string>{"読めない記録 11 件を飛ばしました (cmp_2024.dat: 10 件, cmp_2023.dat: 1 件)"});
}

TEST_F(LoaderTest, MessagesAreShownAfterTheLoadIsComplete) {
    static int seenCount, seenDays, seenEnd;
    seenCount = seenDays = seenEnd = -1;
    SetMessageHandler([](const char*) {
        seenCount = AppSettings.recordCount;
        seenDays = AppSettings.dataDays;
        seenEnd = AppSettings.endDay;
    });
    WriteBytes(YearPath(2024), Words({PackCmpRecord(Rec(2024, 5, 9, 0, 0, 300, 200, 1, 1, 30, 1)),
                                      {20240532, 100, 300200010, 1301},
                                      PackCmpRecord(Rec(2024, 5, 1, 0, 0, 300, 200, 1, 1, 30, 1)),
                                      {20240401, 100, 300200010, 300000}}));
    ASSERT_EQ(EQSet(), EQSET_OK);
    SetMessageHandler(nullptr);
    EXPECT_EQ(seenCount, 2);
    EXPECT_EQ(seenDays, 9);
    EXPECT_EQ(seenEnd, 9);
}

TEST_F(LoaderTest, CapacityKeepsTheNewestRecordsAndSaysSoOnce) {
    struct Case {
        int in2024, in2023;
        bool full;
    };
    for (Case c : {Case{100000, 100001, true}, Case{100000, 99999, false}, Case{200000, 1, true},
                   Case{199999, 0, false}}) {
        SCOPED_TRACE(testing::Message() << c.in2024 << " + " << c.in2023);
        messages.messages.clear();
        std::vector<QuakeRecord> y2024(size_t(c.in2024), Rec(2024, 5, 9, 0, 0, 300, 200, 1, 1, 30, 1));
        std::vector<QuakeRecord> y2023(size_t(c.in2023), Rec(2023, 5, 9, 0, 0, 300, 200, 1, 1, 30, 1));
        for (size_t i = 0; i < y2023.size(); i++) y2023[i].magnitude10 = uint8_t(10 + i % 80);
        WriteYearFile(data, 2024, y2024);
        WriteYearFile(data, 2023, y2023);
        WriteYearFile(data, 2022, {Rec(2022, 5, 9, 0, 0, 300, 200, 1, 1, 30, 1)});
        ASSERT_EQ(EQSet(), EQSET_OK);
        int total = c.in2024 + c.in2023 + 1;
        int kept = total > kMaxRecords ? kMaxRecords : total;
        EXPECT_EQ(AppSettings.recordCount, kept);
        if (c.full)
            EXPECT_EQ(messages.messages,
                      std::vector<std::string>{"記録が上限を超えたため、新しい順に 200000 件だけを読み込みました"});
        else
            EXPECT_TRUE(messages.messages.empty());
        // The last record kept is the one at that position in file order.
        const QuakeRecord& last = gpEQ[kept - 1];
        int at = kept - 1;
        if (at < c.in2024) {
            EXPECT_EQ(last.year, 2024);
        } else if (at < c.in2024 + c.in2023) {
            EXPECT_EQ(last.year, 2023);
            EXPECT_EQ(last.magnitude10, 10 + (at - c.in2024) % 80);
        } else {
            EXPECT_EQ(last.year, 2022);
        }
        if (kept < kMaxRecords) EXPECT_EQ(Describe(gpEQ[kept]), Describe(QuakeRecord{}));
    }
}

TEST_F(LoaderTest, TruncatedFilesKeepTheirWholeRecords) {
    std::vector<QuakeRecord> records = {Rec(2024, 5, 9, 0, 0, 300, 200, 1, 1, 30, 1),
                                        Rec(2024, 5, 8, 0, 0, 301, 201, 2, 2, 31, 2),
                                        Rec(2024, 5, 7, 0, 0, 302, 202, 3, 3, 32, 3)};
    std::vector<CmpRecord> words;
    for (const QuakeRecord& r : records) words.push_back(PackCmpRecord(r));
    std::string extra = Words({PackCmpRecord(Rec(2024, 5, 6, 0, 0, 303, 203, 4, 4, 33, 4))});
    for (int trailing = 1; trailing <= 15; trailing++) {
        SCOPED_TRACE(trailing);
        messages.messages.clear();
        WriteBytes(YearPath(2024), Words(words) + extra.substr(0, size_t(trailing)));
        AppSettings.lastFullYear = 2023;
        ASSERT_EQ(EQSet(), EQSET_OK);
        ExpectRecords(records);
        EXPECT_EQ(AppSettings.newestFileSize, 48 + trailing);
        EXPECT_TRUE(messages.messages.empty());
    }
}

TEST_F(LoaderTest, GarbageFilesLoadOnlyPlausibleRecords) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; round++) {
        RemoveTree(data);
        std::filesystem::create_directories(data);
        for (int year : {2024, 2021, 1999, 1970}) {
            std::string bytes(size_t(random() % 4000), '\0');
            for (char& b : bytes) b = char(random());
            // Some records that look nearly right, so that the checks are reached.
            for (size_t at = 0; at + 16 <= bytes.size(); at += 64) {
                CmpRecord c = {int32_t(year * 10000 + random() % 1400), int32_t(random() % 3000),
                               int32_t(random() % 1000000000), int32_t(random() % 300000)};
                std::memcpy(&bytes[at], &c, sizeof c);
            }
            WriteBytes(YearPath(year), bytes);
        }
        ASSERT_EQ(EQSet(), EQSET_OK);
        ASSERT_LE(messages.messages.size(), 2u);
        messages.messages.clear();
        for (int i = 0; i < AppSettings.recordCount; i++) {
            const QuakeRecord& r = gpEQ[i];
            ASSERT_TRUE(r.year == 2024 || r.year == 2021 || r.year == 1999 || r.year == 1970) << Describe(r);
            ASSERT_TRUE(r.month >= 1 && r.month <= 12 && r.day >= 1 && r.day <= 31) << Describe(r);
            ASSERT_TRUE(r.hour <= 23 && r.minute <= 59 && r.regionIndex <= kMaxRegionIndex) << Describe(r);
        }
        for (int i = 1; i < AppSettings.recordCount; i++) ASSERT_LE(gpEQ[i].year, gpEQ[i - 1].year);
    }
}

TEST_F(LoaderTest, RegionAndAuxiliaryTables) {
    std::string table(100, '\0');   // two whole entries and 4 bytes of a third
    table[0] = 0x34;
    table[1] = 0x12;
    std::memcpy(&table[4], "\x94\x5c\x93\x6f", 4);
    table[48] = 1;
    std::memset(&table[52], 'A', kRegionNameBytes);  // no terminating zero
    table[96] = 9;
    WriteBytes(data + "/s_tbl.dat", table);
    RegionTable[2].code = 77;
    std::memcpy(RegionTable[2].name, "old", 4);

    std::string ne(kNeTableBytes + 10, 'n');
    for (size_t i = 0; i < ne.size(); i++) ne[i] = char(i * 13);
    WriteBytes(data + "/ne_tbl.dat", ne);

    ASSERT_EQ(EQSet(), EQSET_OK);
    EXPECT_EQ(RegionTable[0].code, 0x1234);
    EXPECT_STREQ(RegionName(0), "\x94\x5c\x93\x6f");
    EXPECT_EQ(RegionTable[1].code, 1);
    EXPECT_EQ(std::string(RegionName(1)), std::string(kRegionNameBytes, 'A'));
    EXPECT_EQ(RegionTable[2].code, 77);
    EXPECT_STREQ(RegionName(2), "old");
    EXPECT_EQ(std::memcmp(gpNE, ne.data(), kNeTableBytes), 0);

    WriteBytes(data + "/ne_tbl.dat", "short");
    std::remove((data + "/s_tbl.dat").c_str());
    ASSERT_EQ(EQSet(), EQSET_OK);
    EXPECT_EQ(std::memcmp(gpNE, "short", 5), 0);
    EXPECT_EQ(std::memcmp(gpNE + 5, ne.data() + 5, kNeTableBytes - 5), 0);
    EXPECT_EQ(RegionTable[0].code, 0x1234);   // a missing table leaves it as it was
}

TEST_F(LoaderTest, EmptyCatalogueCoversToday) {
    struct Case {
        const char* what;
        const char* folder;
        bool emptyFiles;
    };
    for (Case c : {Case{"missing data folder", "/none", false}, Case{"no yearly file", "/Data", false},
                   Case{"only empty or short files", "/Data", true}}) {
        SCOPED_TRACE(c.what);
        if (c.emptyFiles) {
            WriteBytes(YearPath(2024), "");
            WriteBytes(YearPath(2023), "0123456789");
            WriteBytes(YearPath(1970), "");
        }
        SetDataFolder((root + c.folder).c_str());
        AppSettings.startYear = AppSettings.endYear = 1999;
        ASSERT_EQ(EQSet(), EQSET_OK);
        EXPECT_EQ(AppSettings.recordCount, 0);
        EXPECT_EQ(DataEnd(), 0);
        EXPECT_EQ(Describe(gDataFirst), "2024-06-15 00:00");
        EXPECT_EQ(Describe(gDataLast), "2024-06-15 23:59");
        EXPECT_EQ(Period(), "2024-06-15 00:00 .. 2024-06-15 23:59");
        EXPECT_EQ(AppSettings.dataDays, 1);
        EXPECT_EQ(AppSettings.lastFullYear, 2024);
        EXPECT_EQ(AppSettings.newestFileSize, 0);
        EXPECT_TRUE(messages.messages.empty());
    }
}

TEST_F(LoaderTest, ReloadReplacesTheCatalogue) {
    WriteYearFile(data, 2024, {Rec(2024, 5, 9, 0, 0, 300, 200, 1, 1, 30, 1), Rec(2024, 5, 8, 0, 0, 300, 200, 1, 1, 30, 1)});
    ASSERT_EQ(EQSet(), EQSET_OK);
    gpEQ[0].inFilter = gpEQ[1].inFilter = 1;
    WriteYearFile(data, 2024, {Rec(2024, 6, 1, 0, 0, 310, 210, 1, 2, 40, 2)});
    ASSERT_EQ(EQSet(), EQSET_OK);
    ExpectRecords({Rec(2024, 6, 1, 0, 0, 310, 210, 1, 2, 40, 2)});
}

TEST(Loader, FailsWithoutAStoreAndKnowsItsFolder) {
    FreeCatalogue();
    EXPECT_EQ(EQSet(), EQSET_NO_STORE);
    ASSERT_EQ(AllocateCatalogue(), 0);
    EXPECT_STREQ(DataFolder(), "Data");
    SetDataFolder("some/where");
    EXPECT_STREQ(DataFolder(), "some/where");
    SetDataFolder(nullptr);
    EXPECT_STREQ(DataFolder(), "Data");
}

}  // namespace
