// The importer: every kind of rejected row, both encodings alike, a Data
// folder that is never half written, and a catalogue that survives export
// and import.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "csv_import.h"
#include "engine/catalogue/geo.h"
#include "kit/region_table.h"
#include "kit_test_util.h"
#include "platform/platform.h"

namespace {

const char* kHeader = "地震の発生日,地震の発生時刻,震央地名,緯度,経度,深さ,Ｍ,最大震度\n";

ImportState ImportRows(const std::string& rows, int* result = nullptr) {
    ImportState state;
    int r = ImportCsvText("t.csv", rows, &state);
    if (result) *result = r;
    return state;
}

std::string Source(const std::string& name) { return std::string(WOLT_SOURCE_DIR) + "/" + name; }

}  // namespace

TEST(Import, ReportsEveryBadRowWithItsLineAndReason) {
    struct Case {
        const char* row;
        const char* reason;
    } cases[] = {
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,16,7.6", "expected 8 fields, found 7"},
        {"2024/01/01,16:10,\"石川県能登地方,37.5,137.3,16,7.6,7", "unterminated quote"},
        {"yesterday,16:10,石川県能登地方,37.5,137.3,16,7.6,7", "unreadable date"},
        {"2024/02/30,16:10,石川県能登地方,37.5,137.3,16,7.6,7", "no such date"},
        {"1969/12/31,23:59,石川県能登地方,37.5,137.3,16,7.6,7", "date before 1970"},
        {"2024/01/01,24:10,石川県能登地方,37.5,137.3,16,7.6,7", "unreadable time"},
        {"2024/01/01,16:10, ,37.5,137.3,16,7.6,7", "no region name"},
        {"2024/01/01,16:10,石川県能登地方,north,137.3,16,7.6,7", "unreadable latitude"},
        {"2024/01/01,16:10,石川県能登地方,N37.5N,137.3,16,7.6,7", "unreadable latitude"},
        {"2024/01/01,16:10,石川県能登地方,91.0,137.3,16,7.6,7", "latitude out of range"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3N,16,7.6,7", "unreadable longitude"},
        {"2024/01/01,16:10,石川県能登地方,37.5,181,16,7.6,7", "longitude out of range"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,deep,7.6,7", "unreadable depth"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,-3,7.6,7", "depth out of range"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,1000 km,7.6,7", "depth out of range"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,16,big,7", "unreadable magnitude"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,16,10.0,7", "magnitude above 9.9"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,16,7.6,8", "unreadable intensity"},
        {"2024/01/01,16:10,震央地名がとても長くて四十四バイトに収まらない地域,37.5,137.3,16,7.6,7",
         "region name longer than 43 bytes in Shift-JIS"},
        {"2024/01/01,16:10,\xF0\x9F\x98\x80沖,37.5,137.3,16,7.6,7", "region name not expressible in Shift-JIS"},
    };
    for (const Case& c : cases) {
        std::string text = std::string(kHeader) + "2024/01/02,00:00,三陸沖,38,143,10,5.0,3\n\n" + c.row + "\n";
        ImportState s = ImportRows(text);
        EXPECT_EQ(s.events.size(), 1u) << c.row;
        EXPECT_EQ(s.rows, 2) << c.row;
        ASSERT_EQ(s.rejected.size(), 1u) << c.row;
        EXPECT_EQ(s.rejected[0].file, "t.csv");
        EXPECT_EQ(s.rejected[0].line, 4) << c.row;   // header, good row, blank line, this row
        EXPECT_EQ(s.rejected[0].reason, c.reason) << c.row;
    }
}

TEST(Import, ReadsTheExampleFilesInBothEncodingsAlike) {
    std::string utf8 = FileBytes(Source("tests/data/import/example.csv"));
    std::string sjis = FileBytes(Source("tests/data/import/example_sjis.csv"));
    ASSERT_FALSE(utf8.empty());
    ASSERT_NE(utf8, sjis);
    std::string converted;
    ASSERT_EQ(SjisToUtf8(sjis.c_str(), &converted), 0);
    ASSERT_EQ(converted, utf8);   // the same text, stored as Shift-JIS
    for (const std::string& bytes : {utf8, sjis, "\xEF\xBB\xBF" + utf8, std::string(utf8).replace(0, 0, "")}) {
        ImportState s;
        ASSERT_EQ(ImportCsvText("example.csv", bytes, &s), IMPORT_OK);
        EXPECT_EQ(s.rows, 16);
        EXPECT_EQ(s.events.size(), 13u);
        EXPECT_EQ(s.withoutMagnitude, 2);
        ASSERT_EQ(s.rejected.size(), 1u);
        EXPECT_EQ(s.rejected[0].line, 17);
        EXPECT_EQ(s.offMap, 1);                    // north of the map's top edge
        EXPECT_EQ(s.unknownPositions, 1);
        ASSERT_EQ(s.newRegions.size(), 1u);
        EXPECT_EQ(s.newRegions[0], "カムチャツカ半島東方沖");
        const QuakeRecord& noto = s.events[0].rec;
        EXPECT_EQ(PackCmpRecord(noto).date, 20240101);
        EXPECT_EQ(noto.intensity, 9);
        EXPECT_EQ(noto.regionIndex, FindKitRegion("石川県能登地方"));
        EXPECT_EQ(s.events[8].rec.regionIndex, KitRegionCount());
    }
    // CRLF line ends read the same.
    std::string crlf;
    for (char c : utf8) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ImportState s;
    ASSERT_EQ(ImportCsvText("crlf.csv", crlf, &s), IMPORT_OK);
    EXPECT_EQ(s.events.size(), 13u);
}

// ---- The Data folder ----------------------------------------------------------

namespace {

int gWritesLeft;
int FailingWrite(const std::string& path, const std::string& bytes) {
    if (gWritesLeft-- <= 0) return 1;
    return WriteWholeFile(path, bytes);
}

std::vector<QuakeRecord> SomeRecords(int year) {
    ImportState s = ImportRows(std::to_string(year) + "/05/01,10:00,三陸沖,38,143,10,3.0,1\n" +
                               std::to_string(year - 2) + "/05/01,10:00,宮城県沖,38.3,142,40,4.0,2\n");
    int dropped;
    return FinishImport(s, &dropped);
}

std::vector<RegionEntry> Regions() {
    std::vector<RegionEntry> table;
    BuildRegionTable({}, &table);
    return table;
}

std::vector<std::string> Listing(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(ImportFolder, AFailedWriteLeavesTheOldFolderUntouched) {
    for (int failAt = 0; failAt < 5; failAt++) {
        TempDir tmp;
        std::string out = tmp / "Data";
        ASSERT_EQ(CommitDataFolder(out, SomeRecords(2010), Regions()), COMMIT_OK);
        std::vector<std::string> before = Listing(out);
        std::string year2010 = FileBytes(out + "/cmp_2010.dat");
        gWritesLeft = failAt;
        EXPECT_EQ(CommitDataFolder(out, SomeRecords(2021), Regions(), FailingWrite), COMMIT_WRITE_FAILED);
        EXPECT_EQ(Listing(out), before) << failAt;
        EXPECT_EQ(FileBytes(out + "/cmp_2010.dat"), year2010) << failAt;
        EXPECT_EQ(Listing(tmp.path), std::vector<std::string>{"Data"}) << failAt;
    }
    // With no folder before, a failure leaves no folder.
    TempDir tmp;
    gWritesLeft = 2;
    EXPECT_EQ(CommitDataFolder(tmp / "Data", SomeRecords(2021), Regions(), FailingWrite), COMMIT_WRITE_FAILED);
    EXPECT_TRUE(Listing(tmp.path).empty());
}

TEST(ImportFolder, GeneratedCatalogueSurvivesExportAndImport) {
    TempDir tmp;
    std::string sample = tmp / "sample";
    ASSERT_EQ(RunTool("make-sample", "--out " + sample + " --seed 11 --end 1979-12-31 --records 15000 >/dev/null"),
              0);
    for (const char* encoding : {"", " --sjis"}) {
        std::string csv = tmp / "export.csv", back = tmp / "back";
        ASSERT_EQ(RunTool("export-csv", "--data " + sample + encoding + " > " + csv), 0);
        ASSERT_EQ(RunTool("import-csv", "--out " + back + " " + csv + " >/dev/null"), 0) << encoding;
        for (const std::string& name : Listing(sample))
            EXPECT_EQ(FileBytes(back + "/" + name), FileBytes(sample + "/" + name)) << name << encoding;
        EXPECT_EQ(Listing(back), Listing(sample));
        std::filesystem::remove_all(back);
    }
}
