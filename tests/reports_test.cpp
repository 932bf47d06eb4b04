// The report and list writers in-process: region names as file name parts
// (walked as Shift-JIS), the alert rows from level 1.0, failures reported,
// and the empty catalogue. The files' bytes are checked against the golden
// files through wolt-cli (cli_test.cpp).
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/alert.h"
#include "analysis/reports.h"
#include "app/settings.h"
#include "catalogue/loader.h"
#include "platform/platform.h"
#include "test_util.h"
#include "windows/list_data.h"

namespace fs = std::filesystem;

namespace {

const char kStamp[] = "20240306090000";

// The program's sequence after a load of `dataDir`: the filter, the current record, the lists.
void Prepare(int current, const std::string& dataDir = WOLT_SOURCE_DIR "/tests/data/catalogue/Data") {
    LocalTime now{2024, 3, 6, 9, 0, 0};
    SetClockOverride(&now);
    std::memset(&AppSettings, 0, sizeof AppSettings);
    SetDefaultSettings();
    SetDataFolder(dataDir.c_str());
    ASSERT_EQ(AllocateCatalogue(), 0);
    ASSERT_EQ(EQSet(), EQSET_OK);
    ASSERT_EQ(AllocateList(&gConditionList) + AllocateList(&gRegionList), 0);
    ApplyConditions();
    gCurrentRecord = current < 0 ? AppSettings.selFirstIndex : current;
    LocateCurrent(&gConditionList);
    RefreshRegionList();
}

std::string Sjis(const char* utf8) {
    std::string out;
    EXPECT_EQ(Utf8ToSjis(utf8, &out), 0) << utf8;
    return out;
}

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

class Reports : public ::testing::Test {
protected:
    void SetUp() override { dir = MakeTempDir(); }
    void TearDown() override {
        RemoveTree(dir);
        SetClockOverride(nullptr);
        SetDataFolder("Data");
    }
    std::string dir;
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
        const std::string path = dir + "/alert.txt";
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
    EXPECT_EQ(WriteAlertReport("/dev/full") + WriteRegionReport("/dev/full") +
                  SaveListText(&gConditionList, false, "/dev/full") + SaveListText(&gRegionList, true, "/dev/full"),
              4);
    gCurrentRecord = -1;
    EXPECT_EQ(WriteRegionReport((dir + "/region.txt").c_str()), 1);
    EXPECT_FALSE(fs::exists(dir + "/region.txt"));
    // An empty catalogue writes every file, without rows.
    fs::create_directory(dir + "/Data");
    Prepare(-1, dir + "/Data");
    const std::string path = dir + "/out.txt";
    ASSERT_EQ(WriteAlertReport(path.c_str()), 0);
    EXPECT_EQ(Lines(ReadBytes(path)).size(), 7u);
    ASSERT_EQ(SaveListText(&gRegionList, true, path.c_str()), 0);
    std::vector<std::string> lines = Lines(ReadBytes(path));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_NE(lines[5].find(Sjis("該当件数:0")), std::string::npos) << lines[5];
}

}  // namespace
