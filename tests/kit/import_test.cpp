// The CSV importer and the Data folder it writes.
#include <gtest/gtest.h>

#include <cstdio>

#include "csv_import.h"
#include "engine/catalogue/data_files.h"
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
    };
    for (const Case& c : cases) {
        std::string text = std::string(kHeader) + "2024/01/02,00:00,三陸沖,38,143,10,5.0,3\n\n" + c.row + "\n";
        ImportState s = ImportRows(text);
        ASSERT_EQ(std::vector<size_t>({s.events.size(), size_t(s.rows), s.rejected.size()}), std::vector<size_t>({1, 2, 1})) << c.row;
        // Header, good row, blank line, this row.
        EXPECT_EQ(s.rejected[0].file + ":" + std::to_string(s.rejected[0].line) + " " + s.rejected[0].reason, "t.csv:4 " + std::string(c.reason));
    }
}

// Every kind of row the national record holds, in its export's shape.
TEST(Import, ReadsEveryKindOfRowOfTheNationalRecord) {
    struct Case {
        const char* row;
        int kept;                 // 0: left out for want of a magnitude
        const char* date;         // YYYYMMDD HHMM of the record
        int intensity, mapX, mapY, depth;
    } cases[] = {
        // 詳細不明: a position and "0 km" but no magnitude.
        {"1985/07/03,07:11:40.0,詳細不明,36°12.0′N,140°06.0′E,0 km,,震度１", 0, "", 0, 0, 0, 0},
        {"1999/02/11,10:20,福島県沖,37°20.0′N,141°30.0′E,40 km,不明,震度２", 0, "", 0, 0, 0, 0},
        // The day only, sharing the date's field (seven fields) or in its own.
        {"1972/12/04 時分不明データ,八丈島東方沖,33°12.0′N,141°06.0′E,50 km,7.2,震度５", 1, "19721204 0000", 5, 0, 0, 50},
        {"1972/12/04,時分不明データ,八丈島東方沖,33°12.0′N,141°06.0′E,50 km,7.2,震度６", 1, "19721204 0000", 7, 0, 0, 50},
        // Minutes only; 60.0 minutes is the next degree.
        {"2003/09/26,04:50,十勝沖,41°46.7′N,144°04.7′E,42 km,8.0,震度６弱", 1, "20030926 0450", 7, 0, 0, 42},
        {"1990/01/01,12:00,宮城県沖,36°60.0′N,141°60.0′E,50 km,5.0,震度３", 1, "19900101 1200", 3, 0, 0, 50},
        // Far off the map: clamped.
        {"2004/12/26,09:58,インドネシア付近,3°18.0′N,95°48.0′E,10 km,9.1,震度１", 1, "20041226 0958", 1, 1, 601, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        ImportState s = ImportRows(std::string(kHeader) + c.row + "\n");
        EXPECT_TRUE(s.rejected.empty()) << s.rejected[0].reason;
        ASSERT_EQ(int(s.events.size()), c.kept);
        EXPECT_EQ(s.withoutMagnitude, 1 - c.kept);
        if (!c.kept) continue;
        const QuakeRecord& r = s.events[0].rec;
        char date[32];
        std::snprintf(date, sizeof date, "%04d%02d%02d %02d%02d", r.year, r.month, r.day, r.hour, r.minute);
        EXPECT_STREQ(date, c.date);
        EXPECT_EQ(r.intensity, c.intensity);
        EXPECT_EQ(r.depthKm, c.depth);
        if (c.mapX) {
            EXPECT_EQ(std::vector<int>({r.mapX, r.mapY}), std::vector<int>({c.mapX, c.mapY}));
        }
    }
    // 36°60.0′N is 37°00.0′N; 37°30′36″N is 37.51°N.
    ImportState a = ImportRows(std::string(kHeader) + "1990/01/01,12:00,宮城県沖,36°60.0′N,141°60.0′E,50,5.0,3\n" +
                               "1990/01/01,12:00,宮城県沖,37°00.0′N,142°00.0′E,50,5.0,3\n" +
                               "1990/01/01,12:00,宮城県沖,37°30′36″N,142°00′00″E,50,5.0,3\n" +
                               "1990/01/01,12:00,宮城県沖,37.51,142,50,5.0,3\n");
    ASSERT_EQ(a.events.size(), 4u);
    EXPECT_EQ(PackCmpRecord(a.events[0].rec).position, PackCmpRecord(a.events[1].rec).position);
    EXPECT_EQ(PackCmpRecord(a.events[2].rec).position, PackCmpRecord(a.events[3].rec).position);
    EXPECT_EQ(ImportRows(std::string(kHeader) + "1972/12/04 時分不明データ,八丈島東方沖,33,141,50,7.2,5\n").timeUnknown, 1);
}

// A name the full table lacks, or one it could never hold (too long, no
// Shift-JIS, blank), is filed and never rejected; the summary names the region
// its events went to. The rule itself is RegionNames' (sources_test).
TEST(Import, FilesNamesTheFullTableLacksAndRejectsNone) {
    ImportState s = ImportRows(std::string(kHeader) +
                               "2024/01/01,16:10,震央地名がとても長くて四十四バイトに収まらない地域,41.0,142.0,16,5.0,3\n"
                               "2024/01/01,16:11,\xF0\x9F\x98\x80沖,33.0,135.0,16,5.0,3\n2024/01/01,16:12, ,35.0,139.0,16,5.0,3\n"
                               "2024/01/02,16:12,千島列島南東沖,33.0,131.0,0,5.8,1\n");
    EXPECT_TRUE(s.rejected.empty());
    ImportResult r;
    FinishImport(s, &r);
    ASSERT_EQ(r.records.size(), 4u);   // newest first
    EXPECT_EQ(RegionNameUtf8(r.regions, r.records[0].regionIndex), r.filedRegions["千島列島南東沖"].region);
    EXPECT_EQ(r.filedRegions.size(), 4u);
    EXPECT_TRUE(r.addedRegions.empty());
}

TEST(Import, ReadsTheExampleFilesInBothEncodingsAlike) {
    std::string utf8 = ReadBytes(Source("tests/data/import/example.csv"));
    std::string sjis = ReadBytes(Source("tests/data/import/example_sjis.csv"));
    ASSERT_FALSE(utf8.empty());
    ASSERT_NE(utf8, sjis);
    std::string converted;
    ASSERT_EQ(SjisToUtf8(sjis.c_str(), &converted), 0);
    ASSERT_EQ(converted, utf8);   // the same text, stored as Shift-JIS
    std::string crlf;   // CRLF line ends read the same
    for (char c : utf8) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    for (const std::string& bytes : {utf8, sjis, "\xEF\xBB\xBF" + utf8, crlf}) {
        ImportState s;
        ASSERT_EQ(ImportCsvText("example.csv", bytes, &s), IMPORT_OK);
        // One row off the map (north of its top edge), one without a position.
        ASSERT_EQ(std::vector<size_t>({size_t(s.rows), s.events.size(), size_t(s.withoutMagnitude), s.rejected.size(),
                                       size_t(s.offMap), size_t(s.unknownPositions)}), std::vector<size_t>({16, 13, 2, 1, 1, 1}));
        EXPECT_EQ(s.rejected[0].line, 17);
        EXPECT_EQ(std::vector<int>({PackCmpRecord(s.events[0].rec).date, s.events[0].rec.intensity}), std::vector<int>({20240101, 9}));
        ImportResult r;
        FinishImport(s, &r);
        EXPECT_EQ(r.records[0].regionIndex, FindKitRegion("石川県能登地方"));
        // The shipped table is full: the name it lacks is filed, not rejected.
        ASSERT_EQ(r.filedRegions.size(), 1u);
        EXPECT_EQ(r.filedRegions.begin()->first, "カムチャツカ半島東方沖");
        EXPECT_TRUE(r.addedRegions.empty());
    }
}

// ---- The Data folder ----------------------------------------------------------

namespace {

int gWritesLeft;   // writes that succeed before the one that fails; the later ones succeed again
int FailingWrite(const std::string& path, const std::string& bytes) {
    if (gWritesLeft-- == 0) return 1;
    return WriteWholeFile(path, bytes);
}

ImportResult SomeRecords(int year) {
    ImportState s = ImportRows(std::to_string(year) + "/05/01,10:00,三陸沖,38,143,10,3.0,1\n" +
                               std::to_string(year - 2) + "/05/01,10:00,宮城県沖,38.3,142,40,4.0,2\n");
    ImportResult r;
    FinishImport(s, &r);
    return r;
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
        ASSERT_EQ(CommitDataFolder(out, SomeRecords(2010).records, SomeRecords(2010).regions), COMMIT_OK);
        std::vector<std::string> before = Listing(out);
        std::string year2010 = ReadBytes(out + "/cmp_2010.dat");
        gWritesLeft = failAt;
        EXPECT_EQ(CommitDataFolder(out, SomeRecords(2021).records, SomeRecords(2021).regions, FailingWrite), COMMIT_WRITE_FAILED);
        EXPECT_EQ(Listing(out), before) << failAt;
        EXPECT_EQ(ReadBytes(out + "/cmp_2010.dat"), year2010) << failAt;
        EXPECT_EQ(Listing(tmp.path), std::vector<std::string>{"Data"}) << failAt;
    }
    // With no folder before, a failure leaves no folder.
    TempDir tmp;
    gWritesLeft = 2;
    EXPECT_EQ(CommitDataFolder(tmp / "Data", SomeRecords(2021).records, SomeRecords(2021).regions, FailingWrite), COMMIT_WRITE_FAILED);
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
        // The same catalogue, no longer marked as a generated sample.
        std::vector<std::string> names = Listing(sample);
        names.erase(std::find(names.begin(), names.end(), "sample.txt"));
        for (const std::string& name : names)
            EXPECT_EQ(ReadBytes(back + "/" + name), ReadBytes(sample + "/" + name)) << name << encoding;
        EXPECT_EQ(Listing(back), names);
        std::filesystem::remove_all(back);
    }
}
