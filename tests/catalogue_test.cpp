// The catalogue: a stored record unpacked, the day count, EQSet over hand-made
// Data folders, and the position borrowing against its literal walk.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/catalogue/loader.h"
#include "literal_borrow.h"
#include "platform/platform.h"
#include "test_util.h"

namespace {

std::string Describe(const QuakeRecord& r) {
    char text[160];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d x%d y%d d%d r%d m%d i%d f%d c%x", r.year, r.month, r.day,
                  r.hour, r.minute, r.mapX, r.mapY, r.depthKm, r.regionIndex, r.magnitude10, r.intensity, r.inFilter,
                  r.markerColor);
    return text;
}

TEST(CatalogueModel, UnpacksEveryField) {
    const struct {
        const char* what;
        CmpRecord words;
        QuakeRecord record;
    } cases[] = {
        {"documented example", {20240101, 1610, 318214016, 45767}, Rec(2024, 1, 1, 16, 10, 318, 214, 16, 45, 76, 7)},
        {"leap day, last minute", {20240229, 2359, 400100010, 10500}, Rec(2024, 2, 29, 23, 59, 400, 100, 10, 10, 50, 0)},
        {"time word with high bits set", {19700101, 65536 + 1200, 1001001, 1}, Rec(1970, 1, 1, 12, 0, 1, 1, 1, 0, 0, 1)},
        {"negative time word, low bits 1200", {19700101, -65536 + 1200, 1001001, 1}, Rec(1970, 1, 1, 12, 0, 1, 1, 1, 0, 0, 1)},
        {"mapX missing", {19991231, 5, 1000, 286999}, Rec(1999, 12, 31, 0, 5, 0, 1, 0, 286, 99, 9)},
        {"both missing", {20000615, 1234, 0, 12345}, Rec(2000, 6, 15, 12, 34, 0, 0, 0, 12, 34, 5)},
        {"mapY missing, deep", {20111111, 101, 300000700, 99909}, Rec(2011, 11, 11, 1, 1, 300, 0, 700, 99, 90, 9)},
        {"largest packed fields", {20261231, 2359, 999999999, 286990}, Rec(2026, 12, 31, 23, 59, 999, 999, 999, 286, 99, 0)},
    };
    for (const auto& c : cases) {
        QuakeRecord r;
        r.inFilter = 7;
        r.markerColor = 0x123456;
        UnpackCmpRecord(c.words, &r);
        EXPECT_EQ(Describe(r), Describe(c.record)) << c.what;
        const bool canonical = c.words.time >= 0 && c.words.time < 65536;   // packs back to the same words
        EXPECT_EQ(RecordBytes({PackCmpRecord(r)}), RecordBytes({canonical ? c.words : PackCmpRecord(r)})) << c.what;
    }
}

// The day count exactly as written: step one day at a time while any
// component of the current date is below the same component of the target.
int LiteralDaysBetween(int y, int m, int d, int toY, int toM, int toD) {
    int count = 0;
    while (y < toY || m < toM || d < toD) {
        d++;
        int length = 31;
        if (m == 4 || m == 6 || m == 9 || m == 11) length = 30;
        if (m == 2) length = y % 4 == 0 && (y % 100 != 0 || y % 400 == 0) ? 29 : 28;
        if (d > length) d = 1, m = m % 12 + 1, y += m == 1;
        count++;
        if (count > 400 * 366) return -1;  // never for a valid ordered pair
    }
    return count;
}

struct Date {
    int y, m, d;
};

Date RandomDate(std::mt19937& random, int firstYear, int lastYear) {
    static const int kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    Date d{firstYear + int(random() % unsigned(lastYear - firstYear + 1)), 1 + int(random() % 12), 1};
    const bool leapDay = d.m == 2 && d.y % 4 == 0 && (d.y % 100 != 0 || d.y % 400 == 0);
    d.d = 1 + int(random() % unsigned(kLength[d.m - 1] + leapDay));
    return d;
}

TEST(CatalogueModel, DaysBetweenMatchesDayStepping) {
    std::mt19937 random(20240101);
    // Long spans over four centuries of leap rules, then many short ones.
    for (int i = 0; i < 33000; i++) {
        Date a = RandomDate(random, 1890 + 6 * (i >= 3000), 2110 - 6 * (i >= 3000));
        Date b = i < 3000 ? RandomDate(random, 1890, 2110) : RandomDate(random, a.y, a.y + 1 + int(random() % 2));
        if (std::tie(b.y, b.m, b.d) < std::tie(a.y, a.m, a.d)) std::swap(a, b);
        ASSERT_EQ(DaysBetween(a.y, a.m, a.d, b.y, b.m, b.d), LiteralDaysBetween(a.y, a.m, a.d, b.y, b.m, b.d))
            << a.y << "-" << a.m << "-" << a.d << " to " << b.y << "-" << b.m << "-" << b.d;
    }
}

class LoaderTest : public DataFolderTest {
protected:
    void SetUp() override {
        DataFolderTest::SetUp();
        AllocateCatalogue();
        ClearSettings();
    }
    std::string YearPath(int year) { return data + "/cmp_" + std::to_string(year) + ".dat"; }
    void ExpectRecords(const std::vector<QuakeRecord>& expected) {
        ASSERT_EQ(AppSettings.recordCount, int(expected.size()));
        for (size_t i = 0; i < expected.size(); i++) EXPECT_EQ(Describe(gpEQ[i]), Describe(expected[i])) << i;
        EXPECT_EQ(Describe(gpEQ[expected.size()]), Describe(QuakeRecord{})) << "behind the data";
    }
    MessageRecorder messages;
};

QuakeRecord R(int year, int month, int day, int mag10 = 30) { return Rec(year, month, day, 1, 1, 300, 200, 10, 1, mag10, 1); }

TEST_F(LoaderTest, ReadsYearsNewestFirstAndDerivesTheCatalogueValues) {
    const std::vector<QuakeRecord> all = {Rec(2024, 3, 5, 10, 20, 318, 214, 16, 45, 76, 7), R(2024, 1, 2), R(2022, 12, 31),
                                          R(2022, 2, 1, 0), R(2022, 1, 1),   // M0.0 ends the data
                                          Rec(1970, 1, 1, 2, 0, 260, 130, 0, 7, 33, 1)};
    WriteYearFile(data, 2024, {all[0], all[1]});
    WriteYearFile(data, 2022, {all[2], all[3], all[4]});
    WriteYearFile(data, 1970, {all[5]});
    for (int i = 0; i < kMaxRecords; i += 1000) gpEQ[i].inFilter = 1;   // a reload starts clean
    ASSERT_EQ(EQSet(), EQSET_OK);
    ExpectRecords(all);
    const SettingsBlock& s = AppSettings;
    EXPECT_EQ(std::vector<int>({s.startYear, s.startMonth, s.startDay, s.endYear, s.endMonth, s.endDay, s.endHour,
                                s.endMinute, s.dataDays, s.lastFullYear, s.newestFileSize, gTodayDay, DataEnd()}),
              std::vector<int>({1970, 1, 1, 2024, 3, 5, 23, 59, 19788, 2022, 0, 15, 3}));
    EXPECT_EQ(gDataFirst.hour, 2);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_STREQ(IntensityLabels[6], "5\x8b\xad");   // 5強 in Shift-JIS
}

TEST_F(LoaderTest, SkipsImpossibleRecordsAndReportsThemOnceAfterTheLoad) {
    const QuakeRecord keep1 = R(2024, 5, 9), keep2 = Rec(2024, 5, 8, 12, 0, 300, 200, 1, 1, 30, 1), keep3 = R(2023, 5, 8);
    WriteBytes(YearPath(2024), RecordBytes({PackCmpRecord(keep1),
                                      {-20240501, 100, 300200001, 1301}, {20240501, 100, -300200001, 1301},
                                      {20230501, 100, 300200001, 1301},   // another year's record
                                      {20241301, 100, 300200001, 1301}, {20240532, 100, 300200001, 1301},
                                      {20240501, 2400, 300200001, 1301}, {20240501, 1260, 300200001, 1301},
                                      {20240508, 65536 * 3 + 1200, 300200001, 1301}}));   // high bits only: a real 12:00
    WriteBytes(YearPath(2023), RecordBytes({{20230501, 65536 + 99, 300200001, 1301}, PackCmpRecord(keep3)}));
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

TEST_F(LoaderTest, TruncatedFileLoadsOnlyWholeRecords) {
    const std::vector<QuakeRecord> records = {R(2024, 5, 9), R(2024, 5, 8), R(2024, 5, 7)};
    WriteYearFile(data, 2024, records);
    WriteBytes(YearPath(2024), ReadBytes(YearPath(2024)) + RecordBytes({PackCmpRecord(R(2024, 5, 6))}).substr(0, 11));
    SetSetting(&SettingsBlock::lastFullYear, 2023);
    ASSERT_EQ(EQSet(), EQSET_OK);
    ExpectRecords(records);
    EXPECT_EQ(AppSettings.newestFileSize, 48 + 11);
    EXPECT_TRUE(messages.messages.empty());
}

// Few regions and many missing coordinates, so that every branch of the
// walk (skip, take x, take y, take both, nothing found) occurs often.
std::vector<QuakeRecord> RandomRecords(std::mt19937& random, int count, int regions, int missingPercent) {
    std::vector<QuakeRecord> records(static_cast<size_t>(count));
    for (QuakeRecord& r : records) {
        r = Rec(2024, 1, 1, 0, 0, 0, 0, 10, 0, 30, 1);
        r.regionIndex = uint16_t(random() % unsigned(regions));
        if (int(random() % 100) >= missingPercent) r.mapX = uint16_t(1 + random() % 600);
        if (int(random() % 100) >= missingPercent) r.mapY = uint16_t(1 + random() % 600);
    }
    return records;
}

TEST_F(LoaderTest, BorrowsLikeTheLiteralWalk) {
    std::mt19937 random(2024);
    for (int round = 0; round < 10; round++) {
        std::vector<QuakeRecord> expected;
        for (int year : {2024, 2023, 2021}) {
            std::vector<QuakeRecord> file = RandomRecords(random, int(random() % 3000), 5 + round * 25, 40);
            for (size_t i = 0; i < file.size(); i++) {
                file[i].year = uint16_t(year);
                file[i].month = uint16_t(12 - i * 12 / (file.size() + 1));
            }
            WriteYearFile(data, year, file);
            expected.insert(expected.end(), file.begin(), file.end());
        }
        LiteralBorrowPositions(expected.data(), int(expected.size()));
        ASSERT_EQ(EQSet(), EQSET_OK);
        ASSERT_EQ(AppSettings.recordCount, int(expected.size()));
        for (size_t i = 0; i < expected.size(); i++) ASSERT_EQ(Describe(gpEQ[i]), Describe(expected[i])) << "record " << i;
    }
}

}  // namespace
