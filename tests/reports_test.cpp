// The alert report, the region report and the list files, byte for byte
// against golden files worked out by hand from the small catalogue in
// tests/data/catalogue (its records are the table below).
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/alert.h"
#include "analysis/region_summary.h"
#include "analysis/reports.h"
#include "app/settings.h"
#include "catalogue/loader.h"
#include "catalogue/model.h"
#include "platform/platform.h"
#include "test_util.h"
#include "windows/list_data.h"

namespace fs = std::filesystem;

static const std::string kTop = WOLT_SOURCE_DIR;
static const std::string kDataDir = kTop + "/tests/data/catalogue/Data";
static const char kStamp[] = "20240306090000";

static std::string Golden(const char* name) {
    return ReadBytes(kTop + "/tests/data/golden/" + name);
}

// The program's sequence after a load: the filter, the current record
// (-1: the newest matching record), the lists and both region summaries.
// `periodEnd` (year, month, day at 23:59) narrows the period when given.
static void Prepare(int current, const std::string& dataDir = kDataDir,
                    const int* periodEnd = nullptr) {
    LocalTime now{2024, 3, 6, 9, 0, 0};
    SetClockOverride(&now);
    std::memset(&AppSettings, 0, sizeof AppSettings);
    SetDefaultSettings();
    SetDataFolder(dataDir.c_str());
    ASSERT_EQ(AllocateCatalogue(), 0);
    ASSERT_EQ(EQSet(), EQSET_OK);
    if (periodEnd) {
        AppSettings.endYear = periodEnd[0];
        AppSettings.endMonth = periodEnd[1];
        AppSettings.endDay = periodEnd[2];
    }
    ASSERT_EQ(AllocateList(&gConditionList), 0);
    ASSERT_EQ(AllocateList(&gRegionList), 0);
    ApplyConditions();
    gCurrentRecord = current < 0 ? AppSettings.selFirstIndex : current;
    LocateCurrent(&gConditionList);
    RefreshRegionList();
    UpdateRegionPanelSummary();
    UpdateRegionPageSummary();
}

enum Writer { ALERT, REGION, CONDITION_LIST, REGION_LIST };

static int Write(Writer writer, const char* path) {
    switch (writer) {
        case ALERT: return WriteAlertReport(path);
        case REGION: return WriteRegionReport(path);
        case CONDITION_LIST: return SaveListText(&gConditionList, false, path);
        case REGION_LIST: return SaveListText(&gRegionList, true, path);
    }
    return -1;
}

class Reports : public ::testing::Test {
protected:
    void SetUp() override {
        dir = MakeTempDir();
        home = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(home);
        RemoveTree(dir);
        SetClockOverride(nullptr);
        SetDataFolder("Data");
    }
    std::string dir;
    fs::path home;
};

// The golden files rest on exactly these records (newest first).
TEST_F(Reports, CatalogueIsTheHandMadeTable) {
    struct Row {
        int year, month, day, hour, minute, mapX, mapY, depth, region, mag10, intensity;
    } rows[] = {
        {2024, 3, 5, 10, 20, 430, 40, 50, 3, 70, 5},   {2024, 3, 5, 8, 15, 300, 150, 10, 1, 35, 5},
        {2024, 3, 4, 23, 59, 302, 152, 12, 1, 61, 6},  {2024, 2, 20, 12, 0, 350, 200, 45, 2, 48, 4},
        {2024, 2, 1, 0, 0, 301, 151, 10, 1, 25, 1},    {2024, 1, 10, 7, 7, 352, 198, 70, 2, 32, 2},
        {2024, 1, 1, 16, 10, 318, 214, 16, 1, 52, 5},  {2024, 1, 1, 16, 6, 310, 160, 9, 1, 19, 0},
        {2023, 12, 31, 23, 50, 305, 155, 11, 1, 65, 7}, {2023, 11, 11, 11, 11, 351, 201, 45, 2, 50, 3},
        {2023, 9, 1, 11, 58, 353, 199, 62, 2, 41, 3},  {2023, 7, 7, 7, 0, 440, 50, 100, 3, 55, 4},
        {2023, 5, 5, 5, 5, 420, 120, 30, 5, 63, 5},    {2023, 4, 1, 9, 30, 300, 150, 10, 1, 10, 1},
        {2023, 3, 15, 14, 45, 421, 121, 35, 5, 45, 3}, {2023, 2, 28, 20, 0, 354, 202, 999, 2, 42, 1},
        {2023, 1, 2, 3, 4, 303, 153, 0, 1, 27, 2},
    };
    Prepare(-1);
    ASSERT_EQ(DataEnd(), 17);
    for (int i = 0; i < 17; i++) {
        const Row& w = rows[i];
        const QuakeRecord& r = gpEQ[i];
        int got[] = {r.year, r.month, r.day, r.hour, r.minute, r.mapX, r.mapY, r.depthKm,
                     r.regionIndex, r.magnitude10, r.intensity};
        int want[] = {w.year, w.month, w.day, w.hour, w.minute, w.mapX, w.mapY, w.depth,
                      w.region, w.mag10, w.intensity};
        for (int f = 0; f < 11; f++) EXPECT_EQ(got[f], want[f]) << "record " << i << " field " << f;
    }
    struct Name {
        int region;
        const char* utf8;
    } names[] = {{1, "石川県能登地方"}, {2, "千葉県北西部"}, {3, "十勝地方南部"},
                 {4, "茨城県南部"}, {5, "宮城県沖"}, {0, ""}};
    for (const Name& n : names) {
        std::string sjis;
        ASSERT_EQ(Utf8ToSjis(n.utf8, &sjis), 0);
        EXPECT_EQ(RegionName(n.region), sjis) << n.region;
    }
}

TEST_F(Reports, MatchGoldenFiles) {
    struct Case {
        const char* golden;
        int current;
        Writer writer;
        std::vector<int> sorts;
        std::vector<int> periodEnd;
    } cases[] = {
        {"alert_report.txt", -1, ALERT, {}},
        {"alert_report.txt", 1, ALERT, {}},  // the alert report does not depend on the region
        {"region_report_tokachi.txt", -1, REGION, {}},
        {"region_report_noto.txt", 1, REGION, {}},
        {"region_report_noto.txt", 7, REGION, {}},  // record 7 fails the filter: its region stays
        // A window narrower than the catalogue: the region page's numbers (count,
        // largest and mean magnitude) differ from the region panel's, and the
        // page's summary runs last; the smallest magnitude is the panel's.
        {"region_report_noto_2023.txt", -1, REGION, {}, {2023, 12, 31}},
        {"list.txt", -1, CONDITION_LIST, {}},
        {"list.txt", -1, CONDITION_LIST, {SORT_DATE, SORT_DATE}},
        {"list.txt", -1, CONDITION_LIST, {SORT_MAGNITUDE, SORT_MAGNITUDE, SORT_MAGNITUDE}},
        {"list_sorted_depth_ascending.txt", -1, CONDITION_LIST, {SORT_DEPTH, SORT_DEPTH}},
        {"list_sorted_region.txt", -1, CONDITION_LIST, {SORT_REGION}},
        {"list_region_noto.txt", 1, REGION_LIST, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.golden) + " current " + std::to_string(c.current));
        Prepare(c.current, kDataDir, c.periodEnd.empty() ? nullptr : c.periodEnd.data());
        RecordList* list = c.writer == REGION_LIST ? &gRegionList : &gConditionList;
        for (int column : c.sorts) SortList(list, column);
        std::string path = dir + "/out.txt";
        ASSERT_EQ(Write(c.writer, path.c_str()), 0);
        std::string want = Golden(c.golden);
        ASSERT_FALSE(want.empty());
        EXPECT_EQ(ReadBytes(path), want);
    }
}

// Without a path the files go to text/ under the program's own names, which
// carry the region name converted to UTF-8 (石 川 県 能 登: 能 ends in 0x5C).
TEST_F(Reports, DefaultNamesInTextFolder) {
    struct Case {
        int current;
        Writer writer;
        std::string name;
        const char* golden;
    } cases[] = {
        {-1, ALERT, std::string("wolt 要警戒_") + kStamp + ".txt", "alert_report.txt"},
        {1, REGION, std::string("wolt_石川県能登地方_") + kStamp + ".txt", "region_report_noto.txt"},
        {-1, REGION, std::string("wolt_十勝地方南部_") + kStamp + ".txt", "region_report_tokachi.txt"},
        {-1, CONDITION_LIST, std::string("wolt_list_") + kStamp + ".txt", "list.txt"},
        {1, REGION_LIST, std::string("wolt_list_石川県能登地方_") + kStamp + ".txt",
         "list_region_noto.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Prepare(c.current);
        fs::create_directory(dir + "/text");
        fs::current_path(dir);
        ASSERT_EQ(Write(c.writer, nullptr), 0);
        std::vector<std::string> made;
        for (const auto& entry : fs::directory_iterator(dir + "/text"))
            made.push_back(entry.path().filename().string());
        ASSERT_EQ(made, std::vector<std::string>{c.name});
        EXPECT_EQ(ReadBytes(dir + "/text/" + c.name), Golden(c.golden));
        fs::current_path(home);
        fs::remove_all(dir + "/text");
    }
}

TEST_F(Reports, MissingTextFolderWritesNothingAndSaysNothing) {
    Prepare(1);
    fs::current_path(dir);
    MessageRecorder messages;
    for (Writer w : {ALERT, REGION, CONDITION_LIST, REGION_LIST}) EXPECT_EQ(Write(w, nullptr), 1) << w;
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Reports, FailedWriteIsReported) {
    Prepare(1);
    // /dev/full accepts the open and fails every write.
    for (Writer w : {ALERT, REGION, CONDITION_LIST, REGION_LIST}) EXPECT_EQ(Write(w, "/dev/full"), 1) << w;
}

TEST_F(Reports, NoCurrentRecordNoRegionReport) {
    Prepare(1);
    gCurrentRecord = -1;
    std::string path = dir + "/region.txt";
    EXPECT_EQ(WriteRegionReport(path.c_str()), 1);
    EXPECT_FALSE(fs::exists(path));
}

static std::string Sjis(const char* utf8) {
    std::string out;
    EXPECT_EQ(Utf8ToSjis(utf8, &out), 0) << utf8;
    return out;
}

// Region names as file name parts: walked as Shift-JIS, reserved and control
// characters and bytes that form no character become '_'.
TEST_F(Reports, RegionNameInFileNames) {
    struct Case {
        std::string sjis;
        std::string part;
    } cases[] = {
        {Sjis("石川県能登地方"), "石川県能登地方"},
        {Sjis("十勝地方南部"), "十勝地方南部"},
        {Sjis("表ソ十能"), "表ソ十能"},
        {"A/B\\C:D*E?F\"G<H>I|J", "A_B_C_D_E_F_G_H_I_J"},
        {"\x01X\x1fY\x7f", "_X_Y_"},
        {"AB\x94", "AB_"},                    // lead byte at the end
        {"\x94\x0a", "__"},                   // lead byte before a control byte
        {"\x85\x40Z", "_Z"},                  // unassigned double-byte code
        {"\x80\xa0\xfd", "___"},              // bytes that start no character
        {"\xb1\xb2", "ｱｲ"},                   // half-width katakana
        {Sjis("能登") + "/" + Sjis("表"), "能登_表"},
        {std::string(44, 'x'), std::string(44, 'x')},
        {"", ""},
    };
    std::string longName;
    for (int i = 0; i < 22; i++) longName += Sjis("能");
    std::string longPart;
    for (int i = 0; i < 22; i++) longPart += "能";
    Prepare(1);
    auto check = [](const std::string& sjis, const std::string& part) {
        std::memset(RegionTable[1].name, 'x', kRegionNameBytes);  // no terminator beyond 44 bytes
        std::memcpy(RegionTable[1].name, sjis.data(), sjis.size());
        if (sjis.size() < size_t(kRegionNameBytes)) RegionTable[1].name[sjis.size()] = 0;
        std::string tail = part + "_" + kStamp + ".txt";
        EXPECT_EQ(RegionReportPath(), "text/wolt_" + tail);
        EXPECT_EQ(ListTextPath(true), "text/wolt_list_" + tail);
        EXPECT_EQ(ListTextPath(false), std::string("text/wolt_list_") + kStamp + ".txt");
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.part);
        check(c.sjis, c.part);
    }
    check(longName, longPart);
}

TEST_F(Reports, MendedNameLandsInTextFolder) {
    Prepare(1);
    std::memset(RegionTable[1].name, 0, kRegionNameBytes);
    std::strcpy(RegionTable[1].name, "../A/B");
    fs::create_directory(dir + "/text");
    fs::current_path(dir);
    ASSERT_EQ(WriteRegionReport(), 0);
    ASSERT_EQ(SaveListText(&gRegionList, true), 0);
    EXPECT_TRUE(fs::exists(dir + "/text/wolt_.._A_B_" + kStamp + ".txt"));
    EXPECT_TRUE(fs::exists(dir + "/text/wolt_list_.._A_B_" + kStamp + ".txt"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir + "/text"), fs::directory_iterator()), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

static std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = bytes.find("\r\n", start)) != std::string::npos) {
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Only entries whose level is at least 1.0 are listed, in table order; a best
// level of 0.85 leaves the heading alone.
TEST_F(Reports, AlertRowsFromLevelOne) {
    struct Case {
        std::vector<float> levels;   // entry i is region i + 1
        std::vector<int> listed;     // regions printed, in order
    } cases[] = {
        {{0.85f, 0.5f}, {}},
        {{5.5f, 1.0f, 0.99f}, {1, 2}},
        {{0.99f, NAN, -3.0f, 1.0f}, {4}},
        {{1e30f, 0.0f, 2.0f}, {1, 3}},
    };
    Prepare(-1);
    std::vector<std::string> heading = Lines(Golden("alert_report.txt"));
    heading.resize(7);
    for (const Case& c : cases) {
        std::memset(AlertTable, 0, sizeof AlertTable);
        for (size_t i = 0; i < c.levels.size(); i++) {
            AlertTable[i].regionIndex = int16_t(i + 1);
            AlertTable[i].alertLevel = c.levels[i];
            AlertTable[i].m6Count = 1;
            AlertTable[i].latestIndex = 12;
        }
        std::string path = dir + "/alert.txt";
        ASSERT_EQ(WriteAlertReport(path.c_str()), 0);
        std::vector<std::string> lines = Lines(ReadBytes(path));
        ASSERT_EQ(lines.size(), heading.size() + c.listed.size());
        EXPECT_TRUE(std::equal(heading.begin(), heading.end(), lines.begin()));
        for (size_t k = 0; k < c.listed.size(); k++) {
            char name[32];
            std::snprintf(name, sizeof name, "%20s    ", RegionName(c.listed[k]));
            EXPECT_EQ(lines[7 + k].compare(0, std::strlen(name), name), 0) << lines[7 + k];
            EXPECT_NE(lines[7 + k].find("2023/05/05"), std::string::npos);
        }
    }
}

// An empty catalogue is a normal state: every file is written, without rows.
TEST_F(Reports, EmptyCatalogue) {
    std::string empty = dir + "/Data";
    fs::create_directory(empty);
    Prepare(-1, empty);
    for (Writer w : {ALERT, REGION, CONDITION_LIST, REGION_LIST}) {
        std::string path = dir + "/out" + std::to_string(w) + ".txt";
        ASSERT_EQ(Write(w, path.c_str()), 0) << w;
        std::vector<std::string> lines = Lines(ReadBytes(path));
        ASSERT_FALSE(lines.empty());
        if (w == CONDITION_LIST || w == REGION_LIST) {
            ASSERT_EQ(lines.size(), 7u);
            EXPECT_NE(lines[5].find(Sjis("該当件数:0")), std::string::npos) << lines[5];
        }
        if (w == ALERT) EXPECT_EQ(lines.size(), 7u);
    }
}
