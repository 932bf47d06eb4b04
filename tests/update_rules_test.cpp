// The data update's rules: the record test, the verdicts, and the reload that
// must forget every old record index (the reply's reading: the fuzz target).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/pipeline/pipeline.h"
#include "engine/catalogue/loader.h"
#include "engine/catalogue/update_rules.h"
#include "engine/analysis/region_summary.h"
#include "engine/analysis/stats_cache.h"
#include "engine/controls/bottom_panel.h"
#include "engine/controls/control_panel.h"
#include "engine/controls/panels.h"
#include "engine/selection/lists.h"
#include "engine/selection/selection.h"
#include "test_util.h"

namespace {

const unsigned char* U(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

CmpRecord Good(int year) { return CmpRecord{year * 10000 + 615, 1230, 300200015, 12 * 1000 + 55 * 10 + 4}; }

TEST(UpdateRecords, EachRecordMustBelongToTheYear) {
    struct Case {
        const char* what;
        CmpRecord record;
        int bad;
    } cases[] = {
        {"good", Good(2024), 0},
        {"region 286", {20241231, 0, 0, 286 * 1000 + 99 * 10 + 9}, 0},
        {"region 287", {20241231, 0, 0, 287 * 1000 + 50}, 1},
        {"another year", Good(2023), 1},
        {"magnitude 0.0 would end the catalogue", {20240615, 1200, 1, 12 * 1000 + 4}, 1},
    };
    for (const Case& c : cases) {
        std::string one = RecordBytes({Good(2024), c.record, Good(2024)});
        EXPECT_EQ(CheckYearlyRecords(U(one), one.size(), 2024), c.bad) << c.what;
    }
    std::string two = RecordBytes({Good(2024), Good(2024)});
    for (size_t length : {size_t(15), size_t(17)})
        EXPECT_EQ(CheckYearlyRecords(U(two), length, 2024), 1) << length << " bytes";
    EXPECT_EQ(CheckYearlyRecords(U(two), 32, 2024), 0);
}

TEST(UpdateVerdict, DecisionOrder) {
    const std::string records = RecordBytes({Good(2024), Good(2024), Good(2024)});
    const std::string busy(kBusyReplyBytes, 'x');
    const std::string html = "<!-- busy -->" + std::string(100, ' ');
    const std::string oldYear = RecordBytes({Good(2023)});
    const std::string odd = records.substr(0, 47);
    struct Case {
        const char* what;
        int early, status;
        long long announced;
        const std::string* body;
        int overflow, broken;
        int code;
    } cases[] = {
        {"URL never opened", UPDATE_NO_URL, 0, -1, nullptr, 0, 0, UPDATE_NO_URL},
        {"good records, no length announced", 0, 200, -1, &records, 0, 0, UPDATE_OK},
        {"empty reply whatever the status", 0, 500, 0, nullptr, 0, 0, UPDATE_UP_TO_DATE},
        {"broken before any byte is no 'up to date'", 0, 200, 48, nullptr, 0, 1, UPDATE_BAD_REPLY},
        {"busy answer with 503", 0, 503, 589, &busy, 0, 0, UPDATE_BUSY},
        {"589 bytes kept before an overflow", 0, 200, -1, &busy, 1, 0, UPDATE_BAD_REPLY},
        {"404: no file for the year yet", 0, 404, 113, &html, 0, 0, UPDATE_UP_TO_DATE},
        {"500 with record bytes", 0, 500, 48, &records, 0, 0, UPDATE_BAD_REPLY},
        {"too long in the first read", 0, 200, 300000, nullptr, 1, 0, UPDATE_BAD_REPLY},
        {"shorter than announced", 0, 200, 64, &records, 0, 0, UPDATE_BAD_REPLY},
        {"HTML page with 200", 0, 200, 113, &html, 0, 0, UPDATE_BAD_REPLY},
        {"records of another year", 0, 200, 16, &oldYear, 0, 0, UPDATE_BAD_REPLY},
        {"not whole records", 0, 200, 47, &odd, 0, 0, UPDATE_BAD_REPLY},
    };
    for (const Case& c : cases) {
        UpdateReply reply = {};
        reply.earlyFailure = c.early;
        reply.httpStatus = c.status;
        reply.announcedBytes = c.announced;
        reply.body = c.body ? U(*c.body) : nullptr;
        reply.read = ReplyRead{c.body ? c.body->size() : 0, c.overflow, c.broken};
        reply.year = 2024;
        EXPECT_EQ(DecideUpdateReply(reply), c.code) << c.what;
    }
}

// The download puts new records in front of the old ones: every remembered
// index must follow the new catalogue, not keep naming an old position.
TEST_F(DataFolderTest, ReloadPutsNewRecordsFirstAndEveryIndexFollows) {
    LoadCatalogue({});
    WriteYearFile(data, 2024, {Rec(2024, 3, 1, 8, 0, 300, 200, 10, 1, 62, 5),
                               Rec(2024, 2, 1, 8, 0, 310, 210, 20, 2, 45, 3)});
    WriteYearFile(data, 2023, {Rec(2023, 12, 31, 23, 0, 320, 220, 30, 1, 51, 4),
                               Rec(2023, 5, 5, 5, 5, 330, 230, 40, 3, 70, 6)});
    ASSERT_EQ(ReloadCatalogue(), EQSET_OK);
    ASSERT_EQ(AppSettings.recordCount, 4);
    // The user picked the M7.0 of 2023 (index 3) everywhere the program
    // remembers a record: the ranking row, the statistics row and the class
    // row under the cursor, the two region summaries.
    SetReportPage(1);
    PanelsPick(400, 567), PanelsPress(1, 567), PanelsRelease(1);
    ASSERT_EQ(gBottomPanel.alertRow, 0);
    SelectRecord(3, SELECT_PICK);
    SetReportPage(0);
    ControlPanelPick(600, 347);
    BottomPanelPick(600, 675);
    ASSERT_EQ(std::vector<int>({gControlPanel.statsPickRecord, gBottomPanel.classPickRecord}), std::vector<int>({3, 3}));
    UpdateRegionPanelSummary(3), UpdateRegionPageSummary(3);
    ASSERT_EQ(CachedClassCell(-1, STATS_MAGNITUDE, 7).newest, 3);

    // The server's 2024 file has two newer records, one of them an M7.3.
    WriteYearFile(data, 2024, {Rec(2024, 6, 14, 9, 0, 340, 240, 50, 4, 73, 6),
                               Rec(2024, 6, 10, 9, 0, 350, 250, 60, 5, 35, 2),
                               Rec(2024, 3, 1, 8, 0, 300, 200, 10, 1, 62, 5),
                               Rec(2024, 2, 1, 8, 0, 310, 210, 20, 2, 45, 3)});
    ASSERT_EQ(ReloadCatalogue(), EQSET_OK);
    EXPECT_EQ(gCurrentRecord, 0);

    // The newest match is the current record; the region list follows it
    // (region 4). A press before the next tick's pick selects nothing old.
    PanelsPress(1, 675), PanelsRelease(1);
    PanelRect mark;
    EXPECT_EQ(std::vector<int>({AppSettings.recordCount, AppSettings.selFirstIndex, gCurrentRecord, gConditionList.count,
                                gConditionList.highlight, gConditionList.entries[gConditionList.topRow].displayIndex,
                                gRegionList.count, AlertRowMark(&mark), gSelectedRecordA, gSelectedRecordB,
                                UpdateRegionPanelSummary(3), UpdateRegionPageSummary(3)}),
              std::vector<int>({6, 0, 0, 6, 0, 0, 1, 1, 0, 0, 1, 1}));
    // The statistics are gathered again: the M7 class now has two records,
    // the newest at index 0, the old M7.0 moved to index 5.
    const StatsCell m7 = CachedClassCell(-1, STATS_MAGNITUDE, 7);
    EXPECT_EQ(std::vector<int>({m7.count, m7.newest, m7.oldest}), std::vector<int>({2, 0, 5}));
    for (int i = 0; i < 6; i++) EXPECT_EQ(gpEQ[i].inFilter, 1) << "record " << i << " filtered again";
}

}  // namespace
