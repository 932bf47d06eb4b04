// The settings file: defaults, the filter clamps, fresh and wrong-length
// files, window placement, and a save that never damages the old file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "app/settings.h"
#include "test_util.h"

namespace {

std::string Encode(const SettingsBlock& block) {
    std::string bytes(sizeof block, '\0');
    const int32_t* fields = &block.tag;
    for (size_t i = 0; i < sizeof block / 4; i++)
        for (int b = 0; b < 4; b++) bytes[i * 4 + b] = char(uint32_t(fields[i]) >> (8 * b));
    return bytes;
}

SettingsBlock Defaults() {
    std::memset(&AppSettings, 0, sizeof AppSettings);
    SetDefaultSettings();
    return AppSettings;
}

class SettingsTest : public testing::Test {
protected:
    void SetUp() override {
        dir = MakeTempDir();
        path = dir + "/wolt.dat";
        std::memset(&AppSettings, 0, sizeof AppSettings);
    }
    void TearDown() override { RemoveTree(dir); }
    std::string dir, path;
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
        int32_t out[6];
        std::memcpy(out, &AppSettings.magMin, sizeof out);
        for (int i = 0; i < 6; i++) EXPECT_EQ(out[i], c.out[i]) << "field " << i;
        EXPECT_EQ(ReadBytes(path), Encode(stored)) << "a good file is not rewritten";
    }
}

TEST_F(SettingsTest, WrongLengthFilesAreRepairedWithoutZeroing) {
    for (size_t length : {size_t(0), size_t(4), size_t(215), size_t(217), size_t(432)}) {
        SCOPED_TRACE(length);
        std::memset(&AppSettings, 0, sizeof AppSettings);
        AppSettings.selCount = 77;
        AppSettings.lastUpdateDay = 12;
        WriteBytes(path, std::string(length, '\x07'));
        ASSERT_EQ(LoadSettings(path.c_str(), kFixedWorkArea), SETTINGS_REPAIRED);
        EXPECT_EQ(AppSettings.selCount, 77);
        EXPECT_EQ(AppSettings.lastUpdateDay, 12);
        EXPECT_EQ(AppSettings.magMax, 9);
        EXPECT_EQ(AppSettings.winX[1], 860);
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
    RemoveTree(path + ".tmp");

    // The target is a folder: the rename fails and the temporary goes away.
    std::string folderTarget = dir + "/folder.dat";
    std::filesystem::create_directories(folderTarget + "/keep");
    EXPECT_NE(SaveSettings(folderTarget.c_str()), 0);
    EXPECT_TRUE(std::filesystem::is_directory(folderTarget + "/keep"));
    EXPECT_FALSE(std::filesystem::exists(folderTarget + ".tmp"));

    // No such folder.
    EXPECT_NE(SaveSettings((dir + "/missing/wolt.dat").c_str()), 0);
    EXPECT_EQ(ReadBytes(path), old);
}

TEST_F(SettingsTest, ReadSettingsOnlyNeverWrites) {
    EXPECT_EQ(ReadSettingsOnly(path.c_str()), SETTINGS_FRESH);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(AppSettings.intMax, 9);

    WriteBytes(path, std::string(217, '\x01'));
    EXPECT_EQ(ReadSettingsOnly(path.c_str()), SETTINGS_REPAIRED);
    EXPECT_EQ(ReadBytes(path), std::string(217, '\x01'));
    EXPECT_EQ(AppSettings.depthMax, 999);

    SettingsBlock stored = Defaults();
    stored.intMax = -5;
    stored.magMin = 12;
    stored.magMax = 5;
    stored.winX[0] = 99999;
    WriteBytes(path, Encode(stored));
    EXPECT_EQ(ReadSettingsOnly(path.c_str()), SETTINGS_LOADED);
    EXPECT_EQ(AppSettings.intMin, 0);
    EXPECT_EQ(AppSettings.intMax, 0);
    EXPECT_EQ(AppSettings.magMin, 5);
    EXPECT_EQ(AppSettings.winX[0], kFixedWorkArea.right - 8);
    EXPECT_EQ(ReadBytes(path), Encode(stored));
}

}  // namespace
