// The settings file, the text reports and the Shift-JIS conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/pipeline/pipeline.h"
#include "engine/analysis/alert.h"
#include "engine/analysis/reports.h"
#include "engine/catalogue/loader.h"
#include "engine/model/settings.h"
#include "engine/selection/lists.h"
#include "engine/selection/selection.h"
#include "platform/platform.h"
#include "test_util.h"

namespace {

// The block as wolt.dat stores it: 54 little-endian words, as the block lies in memory here.
std::string Encode(const SettingsBlock& block) { return std::string(reinterpret_cast<const char*>(&block), sizeof block); }

SettingsBlock Defaults() {
    ClearSettings();
    SetDefaultSettings();
    return AppSettings;
}

class SettingsTest : public testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    TempDir dir;
    std::string path = dir / "wolt.dat";
};

TEST_F(SettingsTest, FilterClampsAsStoredFilesLoad) {
    struct Case {
        const char* what;
        int32_t in[6];   // magMin, magMax, depthMin, depthMax, intMin, intMax
        int32_t out[6];
    } cases[] = {
        {"in range", {2, 7, 10, 500, 3, 6}, {2, 7, 10, 500, 3, 6}},
        {"maximum 0 is not raised", {3, 0, 5, 0, 4, 0}, {0, 0, 0, 0, 0, 0}},
        {"minimum above maximum", {12, 5, 900, 100, 8, 2}, {5, 5, 100, 100, 2, 2}},
        {"all zero", {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
        {"beyond the top", {15, 40, 2000, 5000, 12, 20}, {9, 9, 999, 999, 9, 9}},
        {"below the bottom", {-4, 5, -30, 700, -1, 4}, {1, 5, 0, 700, 1, 4}},
        {"negative maxima end at 0", {1, -3, 0, -1, 1, -5}, {0, 0, 0, 0, 0, 0}},
        {"extremes", {INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MIN}, {1, 9, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsBlock stored = Defaults();
        std::memcpy(&stored.magMin, c.in, sizeof c.in);
        WriteBytes(path, Encode(stored));
        ASSERT_EQ(LoadSettings(path.c_str(), kFixedWorkArea), SETTINGS_LOADED);
        EXPECT_EQ(std::vector<int32_t>(&AppSettings.magMin, &AppSettings.magMin + 6), std::vector<int32_t>(c.out, c.out + 6));
        EXPECT_EQ(ReadBytes(path), Encode(stored)) << "a good file is not rewritten";
    }
}

TEST_F(SettingsTest, WrongLengthFilesAreRepairedWithoutZeroing) {
    for (size_t length : {size_t(0), size_t(4), size_t(215), size_t(217), size_t(432)}) {
        SCOPED_TRACE(length);
        ClearSettings();
        SetSetting(&SettingsBlock::selCount, 77);
        SetSetting(&SettingsBlock::lastUpdateDay, 12);
        WriteBytes(path, std::string(length, '\x07'));
        ASSERT_EQ(LoadSettings(path.c_str(), kFixedWorkArea), SETTINGS_REPAIRED);
        const SettingsBlock& s = AppSettings;
        EXPECT_EQ(std::vector<int>({s.selCount, s.lastUpdateDay, s.magMax, s.winX[1]}), std::vector<int>({77, 12, 9, 860}));
        EXPECT_EQ(ReadBytes(path), Encode(AppSettings));
    }
}

TEST_F(SettingsTest, FailedSaveLeavesTheOldFileWhole) {
    std::string old(216, '\x2a');
    WriteBytes(path, old);
    Defaults();

    // The temporary name is taken by a folder: nothing can be written.
    std::filesystem::create_directories(path + ".tmp/inside");
    EXPECT_NE(SaveSettings(path.c_str()), 0);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_TRUE(std::filesystem::is_directory(path + ".tmp/inside"));
    std::filesystem::remove_all(path + ".tmp");

    // The target is a folder: the rename fails and the temporary goes away.
    std::string folderTarget = dir / "folder.dat";
    std::filesystem::create_directories(folderTarget + "/keep");
    EXPECT_NE(SaveSettings(folderTarget.c_str()), 0);
    EXPECT_TRUE(std::filesystem::is_directory(folderTarget + "/keep"));
    EXPECT_FALSE(std::filesystem::exists(folderTarget + ".tmp"));

    // No such folder.
    EXPECT_NE(SaveSettings((dir / "missing/wolt.dat").c_str()), 0);
    EXPECT_EQ(ReadBytes(path), old);
}

// The program's sequence after a load of `dataDir`: the filter, the current record, the lists.
void Prepare(int current, const std::string& dataDir = WOLT_SOURCE_DIR "/tests/data/catalogue/Data") {
    LocalTime now{2024, 3, 6, 9, 0, 0};
    SetClockOverride(&now);
    ClearSettings();
    SetDefaultSettings();
    SetDataFolder(dataDir.c_str());
    ASSERT_EQ(AllocateCatalogue(), 0);
    ASSERT_EQ(EQSet(), EQSET_OK);
    ASSERT_EQ(AllocateList(&gConditionList) + AllocateList(&gRegionList), 0);
    RunConditionChange();
    SelectRecord(current < 0 ? AppSettings.selFirstIndex : current, SELECT_AFTER_FILTER);
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

class Reports : public ::testing::Test {
protected:
    void TearDown() override {
        SetClockOverride(nullptr);
        SetDataFolder("Data");
    }
    TempDir dir;
};

TEST_F(Reports, AlertRowsFromLevelOne) {
    const std::vector<std::vector<float>> cases = {{0.85f, 0.5f}, {5.5f, 1.0f, 0.99f}, {0.99f, NAN, -3.0f, 1.0f}};
    const std::vector<std::vector<int>> listed = {{}, {1, 2}, {4}};   // regions printed, in table order
    Prepare(-1);
    for (size_t k = 0; k < cases.size(); k++) {
        std::memset(AlertTable, 0, sizeof AlertTable);
        for (size_t i = 0; i < cases[k].size(); i++) {
            AlertTable[i].regionIndex = int16_t(i + 1);
            AlertTable[i].alertLevel = cases[k][i];
            AlertTable[i].m6Count = 1;
            AlertTable[i].latestIndex = 12;
        }
        const std::string path = dir / "alert.txt";
        ASSERT_EQ(WriteAlertReport(path.c_str()), 0);
        std::vector<std::string> lines = Lines(ReadBytes(path));
        ASSERT_EQ(lines.size(), 7 + listed[k].size());
        for (size_t j = 0; j < listed[k].size(); j++) {
            char name[32];
            std::snprintf(name, sizeof name, "%20s    ", RegionName(listed[k][j]));
            EXPECT_EQ(lines[7 + j].compare(0, std::strlen(name), name), 0) << lines[7 + j];
        }
    }
}

TEST_F(Reports, FailuresAndTheEmptyCatalogue) {
    Prepare(1);
    // /dev/full takes the open and fails every write.
    EXPECT_EQ(WriteAlertReport("/dev/full") + WriteRegionReport(gCurrentRecord, "/dev/full") +
                  SaveListText(&gConditionList, false, gCurrentRecord, "/dev/full") + SaveListText(&gRegionList, true, gCurrentRecord, "/dev/full"),
              4);
    SelectRecord(-1, SELECT_AFTER_FILTER);
    EXPECT_EQ(WriteRegionReport(gCurrentRecord, (dir / "region.txt").c_str()), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "region.txt"));
    // An empty catalogue writes every file, without rows.
    std::filesystem::create_directory(dir / "Data");
    Prepare(-1, dir / "Data");
    const std::string path = dir / "out.txt";
    ASSERT_EQ(WriteAlertReport(path.c_str()), 0);
    EXPECT_EQ(Lines(ReadBytes(path)).size(), 7u);
    ASSERT_EQ(SaveListText(&gRegionList, true, gCurrentRecord, path.c_str()), 0);
    std::vector<std::string> lines = Lines(ReadBytes(path));
    ASSERT_EQ(lines.size(), 7u);
    std::string none;
    ASSERT_EQ(Utf8ToSjis("該当件数:0", &none), 0);
    EXPECT_NE(lines[5].find(none), std::string::npos) << lines[5];
}

// Names whose second byte is 0x5C ('\') and the wave dash that only code
// page 932 (not plain Shift_JIS) maps to 0x81 0x60; a failure (the other
// side nullptr) leaves the output alone.
TEST(Platform, ShiftJisBothWays) {
    const struct {
        const char *utf8, *sjis;
    } cases[] = {
        {"能", "\x94\x5c"},
        {"表", "\x95\x5c"},
        {"ソ", "\x83\x5c"},
        {"十", "\x8f\x5c"},
        {"～", "\x81\x60"},
        {"石川県能登地方", "\x90\xce\x90\xec\x8c\xa7\x94\x5c\x93\x6f\x92\x6e\x95\xfb"},
        {"5弱 6強", "5\x8e\xe3 6\x8b\xad"},
        {"ｱｲｳ", "\xb1\xb2\xb3"},
        {"plain ASCII \\ / 0-9", "plain ASCII \\ / 0-9"},
        {"", ""},
        {"abc\xff", nullptr},            // invalid UTF-8
        {"\xf0\x9f\x98\x80", nullptr},  // no code page 932 character
        {nullptr, "ab\x94"},             // lead byte without trail
        {nullptr, "\x81\x20"},          // invalid trail byte
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8 ? c.utf8 : c.sjis);
        std::string sjis = "untouched", utf8 = "untouched";
        EXPECT_EQ(c.utf8 ? Utf8ToSjis(c.utf8, &sjis) == 0 : false, c.utf8 && c.sjis);
        EXPECT_EQ(c.sjis ? SjisToUtf8(c.sjis, &utf8) == 0 : false, c.utf8 && c.sjis);
        EXPECT_EQ(sjis, c.utf8 && c.sjis ? c.sjis : "untouched");
        EXPECT_EQ(utf8, c.utf8 && c.sjis ? c.utf8 : "untouched");
    }
}

}  // namespace
