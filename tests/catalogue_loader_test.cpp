// EQSet over hand-made data folders: file order, derived values, the unknown
// region, capacity, impossible records, hostile files and the empty catalogue.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/settings.h"
#include "catalogue/loader.h"
#include "catalogue/model.h"
#include "platform/platform.h"
#include "test_util.h"

namespace {

std::string Describe(const QuakeRecord& r) {
    char text[160];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d x%d y%d d%d r%d m%d i%d f%d", r.year, r.month, r.day,
                  r.hour, r.minute, r.mapX, r.mapY, r.depthKm, r.regionIndex, r.magnitude10, r.intensity, r.inFilter);
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
    std::string YearPath(int year) { return data + "/cmp_" + std::to_string(year) + ".dat"; }
    void Fresh() {
        RemoveTree(data);
        std::filesystem::create_directories(data);
        messages.messages.clear();
    }
    void ExpectRecords(const std::vector<QuakeRecord>& expected) {
        ASSERT_EQ(AppSettings.recordCount, int(expected.size()));
        for (size_t i = 0; i < expected.size(); i++) EXPECT_EQ(Describe(gpEQ[i]), Describe(expected[i])) << i;
        EXPECT_EQ(Describe(gpEQ[expected.size()]), Describe(QuakeRecord{})) << "behind the data";
    }
    std::string root, data;
    MessageRecorder messages;
};

QuakeRecord R(int year, int month, int day, int mag10 = 30) { return Rec(year, month, day, 1, 1, 300, 200, 10, 1, mag10, 1); }

TEST_F(LoaderTest, ReadsYearsNewestFirstAndDerivesTheCatalogueValues) {
    std::vector<QuakeRecord> y2024 = {Rec(2024, 3, 5, 10, 20, 318, 214, 16, 45, 76, 7), R(2024, 1, 2)};
    std::vector<QuakeRecord> y2022 = {R(2022, 12, 31), R(2022, 2, 1, 0), R(2022, 1, 1)};   // M0.0 ends the data
    std::vector<QuakeRecord> y1970 = {Rec(1970, 1, 1, 2, 0, 260, 130, 0, 7, 33, 1)};
    WriteYearFile(data, 2024, y2024);
    WriteYearFile(data, 2022, y2022);
    WriteYearFile(data, 1970, y1970);
    for (int i = 0; i < kMaxRecords; i += 1000) gpEQ[i].inFilter = 1;   // a reload starts clean
    ASSERT_EQ(EQSet(), EQSET_OK);
    std::vector<QuakeRecord> all = y2024;
    all.insert(all.end(), y2022.begin(), y2022.end());
    all.insert(all.end(), y1970.begin(), y1970.end());
    ExpectRecords(all);
    const SettingsBlock& s = AppSettings;
    EXPECT_EQ(std::vector<int>({s.startYear, s.startMonth, s.startDay, s.endYear, s.endMonth, s.endDay, s.endHour,
                                s.endMinute, s.dataDays, s.lastFullYear, s.newestFileSize, gTodayDay, DataEnd()}),
              std::vector<int>({1970, 1, 1, 2024, 3, 5, 23, 59, 19788, 2022, 0, 15, 3}));
    EXPECT_EQ(gDataFirst.hour, 2);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_STREQ(IntensityLabels[6], "5\x8b\xad");   // 5強 in Shift-JIS
}

TEST_F(LoaderTest, BorrowsMissingPositionsFromNewerRecordsOfTheRegion) {
    WriteYearFile(data, 2024, {Rec(2024, 5, 9, 0, 0, 0, 50, 1, 12, 30, 1),      // nothing newer: stays
                               Rec(2024, 5, 8, 0, 0, 300, 300, 2, 5, 30, 1),    // another region
                               Rec(2024, 5, 7, 0, 0, 400, 60, 3, 12, 30, 1),
                               Rec(2024, 5, 6, 0, 0, 0, 0, 4, 12, 30, 1)});     // x and y from one record
    WriteYearFile(data, 2023, {Rec(2023, 5, 6, 0, 0, 410, 0, 5, 12, 30, 1),     // the first non-zero mapY
                               Rec(2023, 5, 5, 0, 0, 0, 70, 6, 12, 30, 1),      // the first non-zero mapX
                               Rec(2023, 5, 4, 0, 0, 0, 0, 7, 99, 30, 1)});     // no source in its region
    ASSERT_EQ(EQSet(), EQSET_OK);
    ExpectRecords({Rec(2024, 5, 9, 0, 0, 0, 50, 1, 12, 30, 1), Rec(2024, 5, 8, 0, 0, 300, 300, 2, 5, 30, 1),
                   Rec(2024, 5, 7, 0, 0, 400, 60, 3, 12, 30, 1), Rec(2024, 5, 6, 0, 0, 400, 60, 4, 12, 30, 1),
                   Rec(2023, 5, 6, 0, 0, 410, 50, 5, 12, 30, 1), Rec(2023, 5, 5, 0, 0, 400, 70, 6, 12, 30, 1),
                   Rec(2023, 5, 4, 0, 0, 0, 0, 7, 99, 30, 1)});
}

TEST_F(LoaderTest, SkipsImpossibleRecordsAndReportsThemOnceAfterTheLoad) {
    const QuakeRecord keep1 = R(2024, 5, 9), keep2 = Rec(2024, 5, 8, 12, 0, 300, 200, 1, 1, 30, 1), keep3 = R(2023, 5, 8);
    WriteBytes(YearPath(2024), Words({PackCmpRecord(keep1),
                                      {-20240501, 100, 300200001, 1301}, {20240501, 100, -300200001, 1301},
                                      {20230501, 100, 300200001, 1301},   // another year's record
                                      {20241301, 100, 300200001, 1301}, {20240532, 100, 300200001, 1301},
                                      {20240501, 2400, 300200001, 1301}, {20240501, 1260, 300200001, 1301},
                                      {20240508, 65536 * 3 + 1200, 300200001, 1301}}));   // high bits only: a real 12:00
    WriteBytes(YearPath(2023), Words({{20230501, 65536 + 99, 300200001, 1301}, PackCmpRecord(keep3)}));
    static int seenCount;
    SetMessageHandler([](const char*) { seenCount = AppSettings.recordCount; });
    ASSERT_EQ(EQSet(), EQSET_OK);
    EXPECT_EQ(seenCount, 3);   // shown once everything it set is consistent
    MessageRecorder again;
    ASSERT_EQ(EQSet(), EQSET_OK);
    ExpectRecords({keep1, keep2, keep3});
    EXPECT_EQ(again.messages,
              std::vector<std::string>{"読めない記録 8 件を飛ばしました (cmp_2024.dat: 7 件, cmp_2023.dat: 1 件)"});
}

TEST_F(LoaderTest, TruncatedAndGarbageFilesLoadOnlyWholePlausibleRecords) {
    const std::vector<QuakeRecord> records = {R(2024, 5, 9), R(2024, 5, 8), R(2024, 5, 7)};
    std::vector<CmpRecord> words;
    for (const QuakeRecord& r : records) words.push_back(PackCmpRecord(r));
    WriteBytes(YearPath(2024), Words(words) + Words({PackCmpRecord(R(2024, 5, 6))}).substr(0, 11));
    AppSettings.lastFullYear = 2023;
    ASSERT_EQ(EQSet(), EQSET_OK);
    ExpectRecords(records);
    EXPECT_EQ(AppSettings.newestFileSize, 48 + 11);
    EXPECT_TRUE(messages.messages.empty());

    std::mt19937 random(7);
    for (int round = 0; round < 20; round++) {
        Fresh();
        for (int year : {2024, 2021, 1970}) {
            std::string bytes(size_t(random() % 4000), '\0');
            for (char& b : bytes) b = char(random());
            for (size_t at = 0; at + 16 <= bytes.size(); at += 64) {   // nearly right, so the checks are reached
                CmpRecord c = {int32_t(year * 10000 + random() % 1400), int32_t(random() % 3000),
                               int32_t(random() % 1000000000), int32_t(random() % 300000)};
                std::memcpy(&bytes[at], &c, sizeof c);
            }
            WriteBytes(YearPath(year), bytes);
        }
        ASSERT_EQ(EQSet(), EQSET_OK);
        ASSERT_LE(messages.messages.size(), 2u);
        for (int i = 0; i < AppSettings.recordCount; i++) {
            const QuakeRecord& r = gpEQ[i];
            ASSERT_TRUE((r.year == 2024 || r.year == 2021 || r.year == 1970) && r.month >= 1 && r.month <= 12 &&
                        r.day >= 1 && r.day <= 31 && r.hour <= 23 && r.minute <= 59 && r.regionIndex <= kMaxRegionIndex)
                << Describe(r);
            ASSERT_TRUE(i == 0 || r.year <= gpEQ[i - 1].year);
        }
    }
}

}  // namespace
