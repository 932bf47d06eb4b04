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

std::vector<std::string> gMessages;
void Record(const char* text) { gMessages.push_back(text); }

}  // namespace

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
