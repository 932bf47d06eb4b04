// The importer: accepted formats, every kind of rejected row, encodings,
// ordering, the region table, and a Data folder that is never half written.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "csv_import.h"
#include "kit/region_table.h"
#include "kit_test_util.h"
#include "mapview/geometry.h"
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

int GridX(double lon) {
    int x, y;
    GeoToRecordGrid(35, lon, &x, &y);
    return x;
}

int GridY(double lat) {
    int x, y;
    GeoToRecordGrid(lat, 136, &x, &y);
    return y;
}

}  // namespace

TEST(Import, AcceptsTheFormatsExportsUse) {
    struct Case {
        const char* row;
        int date, time, mag10, intensity, depth;
        double lat, lon;   // 0: unknown
    } cases[] = {
        {"2024/01/01,16:10:09.5,石川県能登地方,37°29.7′N,137°16.2′E,16 km,7.6,震度７", 20240101, 1610, 76, 9, 16,
         37.495, 137.27},
        {"2024/1/1,16:10,石川県能登地方,37.495,137.27,16,7.6,7", 20240101, 1610, 76, 9, 16, 37.495, 137.27},
        {"2024-01-01,16:10:09,石川県能登地方,37°29.7'N,137°16.2'E,16km,M7.6,震度7", 20240101, 1610, 76, 9, 16, 37.495,
         137.27},
        {"2024/01/01,16:10,石川県能登地方,北緯37度29.7分,東経137度16.2分,１６ｋｍ,Ｍ７．６,７", 20240101, 1610, 76, 9,
         16, 37.495, 137.27},
        {"2024/01/01,16:10,石川県能登地方,N37°29′42″,E137°16′12″,16 km,7.6,7", 20240101, 1610, 76, 9, 16, 37.495,
         137.27},
        {"2000/07/01, 9:05 ,新島・神津島近海, 34.19 , 139.19 ,ごく浅い,6.5,6弱", 20000701, 905, 65, 7, 0, 34.19, 139.19},
        {"2000/07/01,09:05,新島・神津島近海,34.19,139.19,不明,6.5,6-", 20000701, 905, 65, 7, 0, 34.19, 139.19},
        {"2000/07/01,09:05,新島・神津島近海,34.19,139.19,-,6.5,5+", 20000701, 905, 65, 6, 0, 34.19, 139.19},
        {"2000/07/01,09:05,新島・神津島近海,不明,139.19,10,6.5,5弱", 20000701, 905, 65, 5, 10, 0, 139.19},
        {"2000/07/01,09:05,新島・神津島近海,34.19,-,10,6.5,5-", 20000701, 905, 65, 5, 10, 34.19, 0},
        {"1983/05/26,11:59,秋田県沖,40.36,139.07,14,7.7,5", 19830526, 1159, 77, 5, 14, 40.36, 139.07},
        {"1983/05/26,11:59,秋田県沖,40.36,139.07,14,7.7,6", 19830526, 1159, 77, 7, 14, 40.36, 139.07},
        {"1983/05/26,11:59,秋田県沖,40.36,139.07,14,7.7,震度6強", 19830526, 1159, 77, 8, 14, 40.36, 139.07},
        {"1983/05/26,11:59,秋田県沖,40.36,139.07,14,7.7,不明", 19830526, 1159, 77, 0, 14, 40.36, 139.07},
        {"1983/05/26,11:59,秋田県沖,40.36,139.07,14.6,0.05,1", 19830526, 1159, 1, 1, 15, 40.36, 139.07},
        {"\"1983/05/26\",\"11:59\",\"秋田県沖\",\"40.36\",\"139.07\",\"14\",\"7.7\",\"1\"", 19830526, 1159, 77, 1, 14,
         40.36, 139.07},
        {"1983/05/26,11:59,東京都23区,35.7,139.75,50,4.0,3", 19830526, 1159, 40, 3, 50, 35.7, 139.75},
    };
    for (const Case& c : cases) {
        ImportState s = ImportRows(c.row);
        ASSERT_EQ(s.events.size(), 1u) << c.row << (s.rejected.empty() ? "" : ": " + s.rejected[0].reason);
        const QuakeRecord& r = s.events[0].rec;
        CmpRecord p = PackCmpRecord(r);
        EXPECT_EQ(p.date, c.date) << c.row;
        EXPECT_EQ(p.time, c.time) << c.row;
        EXPECT_EQ(r.magnitude10, c.mag10) << c.row;
        EXPECT_EQ(r.intensity, c.intensity) << c.row;
        EXPECT_EQ(r.depthKm, c.depth) << c.row;
        EXPECT_EQ(r.mapY, c.lat ? GridY(c.lat) : 0) << c.row;
        EXPECT_EQ(r.mapX, c.lon ? GridX(c.lon) : 0) << c.row;
        EXPECT_LT(int(r.regionIndex), KitRegionCount()) << c.row;
        EXPECT_TRUE(s.newRegions.empty()) << c.row;
    }
}

TEST(Import, ReportsEveryBadRowWithItsLineAndReason) {
    struct Case {
        const char* row;
        const char* reason;
    } cases[] = {
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,16,7.6", "expected 8 fields, found 7"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,16,7.6,7,x", "expected 8 fields, found 9"},
        {"2024/01/01,16:10,\"石川県能登地方,37.5,137.3,16,7.6,7", "unterminated quote"},
        {"yesterday,16:10,石川県能登地方,37.5,137.3,16,7.6,7", "unreadable date"},
        {"2024/02/30,16:10,石川県能登地方,37.5,137.3,16,7.6,7", "no such date"},
        {"2023/02/29,16:10,石川県能登地方,37.5,137.3,16,7.6,7", "no such date"},
        {"2024/13/01,16:10,石川県能登地方,37.5,137.3,16,7.6,7", "no such date"},
        {"1969/12/31,23:59,石川県能登地方,37.5,137.3,16,7.6,7", "date before 1970"},
        {"2024/01/01,24:10,石川県能登地方,37.5,137.3,16,7.6,7", "unreadable time"},
        {"2024/01/01,16:60,石川県能登地方,37.5,137.3,16,7.6,7", "unreadable time"},
        {"2024/01/01,1610,石川県能登地方,37.5,137.3,16,7.6,7", "unreadable time"},
        {"2024/01/01,,石川県能登地方,37.5,137.3,16,7.6,7", "unreadable time"},
        {"2024/01/01,16:10, ,37.5,137.3,16,7.6,7", "no region name"},
        {"2024/01/01,16:10,石川県能登地方,north,137.3,16,7.6,7", "unreadable latitude"},
        {"2024/01/01,16:10,石川県能登地方,37°61.0′N,137.3,16,7.6,7", "unreadable latitude"},
        {"2024/01/01,16:10,石川県能登地方,37.5E,137.3,16,7.6,7", "unreadable latitude"},
        {"2024/01/01,16:10,石川県能登地方,N37.5N,137.3,16,7.6,7", "unreadable latitude"},
        {"2024/01/01,16:10,石川県能登地方,91.0,137.3,16,7.6,7", "latitude out of range"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3N,16,7.6,7", "unreadable longitude"},
        {"2024/01/01,16:10,石川県能登地方,37.5,181,16,7.6,7", "longitude out of range"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,deep,7.6,7", "unreadable depth"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,16 m,7.6,7", "unreadable depth"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,-3,7.6,7", "depth out of range"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,1000 km,7.6,7", "depth out of range"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,16,big,7", "unreadable magnitude"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,16,7.6.1,7", "unreadable magnitude"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,16,10.0,7", "magnitude above 9.9"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,16,7.6,8", "unreadable intensity"},
        {"2024/01/01,16:10,石川県能登地方,37.5,137.3,16,7.6,5中", "unreadable intensity"},
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

TEST(Import, LeavesOutAndCountsEarthquakesWithoutAMagnitude) {
    const char* rows[] = {"不明", "-", "", "0.0", "0.04", "-1.2", "Ｍ０．０"};
    for (const char* m : rows) {
        ImportState s = ImportRows(std::string("2024/01/01,16:10,三陸沖,38,143,10,") + m + ",1\n");
        EXPECT_TRUE(s.events.empty()) << m;
        EXPECT_TRUE(s.rejected.empty()) << m;
        EXPECT_EQ(s.withoutMagnitude, 1) << m;
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
        EXPECT_EQ(s.newRegions[0], "サハリン西方沖");
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

TEST(Import, RefusesTextInNeitherEncodingAndHeadersItCannotMap) {
    int result;
    ImportRows(std::string("2024/01/01,16:10,三陸沖,38,143,10,5.0,3\n") + '\0', &result);
    EXPECT_EQ(result, IMPORT_BAD_ENCODING);
    ImportRows("2024/01/01,16:10,\x82\x20\xFF\xFF,38,143,10,5.0,3\n", &result);
    EXPECT_EQ(result, IMPORT_BAD_ENCODING);
    ImportState s = ImportRows("date,time,region,latitude,longitude,depth\n2024/01/01,16:10,三陸沖,38,143,10\n", &result);
    EXPECT_EQ(result, IMPORT_BAD_HEADER);
    EXPECT_TRUE(s.events.empty());
}

TEST(Import, MapsColumnsByTheHeader) {
    struct Case {
        const char* text;
    } cases[] = {
        {"最大震度,Ｍ,深さ,経度,緯度,震央地名,地震の発生時刻,地震の発生日\n震度3,5.0,10 km,143,38,三陸沖,16:10,2024/01/01\n"},
        {"date,region,latitude,longitude,depth,magnitude,intensity\n2024/01/01 16:10:30.2,三陸沖,38,143,10,5.0,3\n"},
        {"Date,Time,Region,Lat,Lon,Depth,Mag,Intensity\n2024/01/01,16:10,三陸沖,38,143,10,5.0,3\n"},
    };
    for (const Case& c : cases) {
        ImportState s = ImportRows(c.text);
        ASSERT_EQ(s.events.size(), 1u) << c.text << (s.rejected.empty() ? "" : s.rejected[0].reason);
        const QuakeRecord& r = s.events[0].rec;
        EXPECT_EQ(PackCmpRecord(r).date, 20240101);
        EXPECT_EQ(PackCmpRecord(r).time, 1610);
        EXPECT_EQ(r.magnitude10, 50);
        EXPECT_EQ(r.intensity, 3);
        EXPECT_EQ(r.depthKm, 10);
        EXPECT_EQ(r.regionIndex, FindKitRegion("三陸沖"));
    }
}

TEST(Import, OrdersNewestFirstKeepingOrderWithinAMinute) {
    // Oldest first in the file, three earthquakes in one minute.
    std::string rows =
        "2020/05/01,10:00:05.0,三陸沖,38,143,10,3.0,1\n"
        "2020/05/01,10:00:20.0,三陸沖,38,143,10,3.1,1\n"
        "2020/05/01,10:00:40.0,三陸沖,38,143,10,3.2,1\n"
        "2021/01/01,00:00,三陸沖,38,143,10,3.3,1\n";
    std::string newestFirst =
        "2021/01/01,00:00,三陸沖,38,143,10,3.3,1\n"
        "2020/05/01,10:00,三陸沖,38,143,10,3.2,1\n"
        "2020/05/01,10:00,三陸沖,38,143,10,3.1,1\n"
        "2020/05/01,10:00,三陸沖,38,143,10,3.0,1\n";
    for (const std::string& text : {rows, newestFirst}) {
        int dropped;
        std::vector<QuakeRecord> out = FinishImport(ImportRows(text), &dropped);
        ASSERT_EQ(out.size(), 4u);
        EXPECT_EQ(dropped, 0);
        int expected[] = {33, 32, 31, 30};
        for (int i = 0; i < 4; i++) EXPECT_EQ(out[size_t(i)].magnitude10, expected[i]) << i;
    }
}

TEST(Import, AddsUnknownRegionsUntilTheTableIsFull) {
    int room = kMaxRegionIndex + 1 - KitRegionCount();
    std::string text;
    for (int i = 0; i <= room; i++)
        text += "2020/05/01,10:00,未登録地域" + std::to_string(i) + ",38,143,10,3.0,1\n";
    text += "2020/05/01,10:00,未登録地域0,38,143,10,3.0,1\n";   // known by now
    ImportState s = ImportRows(text);
    EXPECT_EQ(int(s.newRegions.size()), room);
    EXPECT_EQ(int(s.events.size()), room + 1);
    ASSERT_EQ(s.rejected.size(), 1u);
    EXPECT_EQ(s.rejected[0].line, room + 1);
    EXPECT_EQ(s.rejected[0].reason, "region table full (287 regions)");
    EXPECT_EQ(s.events.back().rec.regionIndex, KitRegionCount());
    for (const ImportEvent& e : s.events) EXPECT_LE(e.rec.regionIndex, kMaxRegionIndex);
    std::vector<RegionEntry> table;
    EXPECT_EQ(BuildRegionTable(s.newRegions, &table), 0);
}

TEST(Import, KeepsTheNewestWhenOverCapacity) {
    ImportState s;
    for (int i = 0; i < kMaxRecords + 5; i++) {
        ImportEvent e{};
        e.rec.year = uint16_t(1970 + i / 4000);
        e.rec.month = 1;
        e.rec.day = 1;
        e.rec.magnitude10 = 30;
        s.events.push_back(e);
    }
    int dropped;
    std::vector<QuakeRecord> out = FinishImport(s, &dropped);
    EXPECT_EQ(dropped, 5);
    ASSERT_EQ(out.size(), size_t(kMaxRecords));
    EXPECT_EQ(out.front().year, 1970 + (kMaxRecords + 4) / 4000);
    EXPECT_EQ(out.back().year, 1970);
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

TEST(ImportFolder, ReplacesTheCatalogueAndKeepsOtherFiles) {
    TempDir tmp;
    std::string out = tmp / "Data";
    std::filesystem::create_directories(out);
    WriteWholeFile(out + "/MAP01_512.bmp", "map");
    WriteWholeFile(out + "/cmp_1999.dat", std::string(32, 'x'));   // an old catalogue
    ASSERT_EQ(CommitDataFolder(out, SomeRecords(2021), Regions()), COMMIT_OK);
    std::vector<std::string> expected = {"MAP01_512.bmp", "cmp_2019.dat", "cmp_2020.dat", "cmp_2021.dat",
                                         "ne_tbl.dat",    "s_tbl.dat"};
    EXPECT_EQ(Listing(out), expected);
    EXPECT_EQ(FileBytes(out + "/MAP01_512.bmp"), "map");
    EXPECT_EQ(FileBytes(out + "/cmp_2020.dat"), "");
    EXPECT_EQ(FileBytes(out + "/cmp_2021.dat").size(), 16u);
    EXPECT_EQ(Listing(tmp.path), std::vector<std::string>{"Data"});   // nothing left beside it
}

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

TEST(ImportFolder, RecoversFromAnImportInterruptedEarlier) {
    TempDir tmp;
    std::string out = tmp / "Data";
    // Killed while writing: a stale temporary folder with a stray file.
    std::filesystem::create_directories(out + ".importing");
    WriteWholeFile(out + ".importing/cmp_1980.dat", std::string(16, 'x'));
    ASSERT_EQ(CommitDataFolder(out, SomeRecords(2021), Regions()), COMMIT_OK);
    EXPECT_FALSE(std::filesystem::exists(out + "/cmp_1980.dat"));
    // Killed between the two renames: the old folder waits beside a missing one.
    std::filesystem::rename(out, out + ".previous");
    ASSERT_EQ(CommitDataFolder(out, SomeRecords(2015), Regions()), COMMIT_OK);
    EXPECT_TRUE(std::filesystem::exists(out + "/cmp_2015.dat"));
    EXPECT_FALSE(std::filesystem::exists(out + "/cmp_2021.dat"));
    EXPECT_EQ(Listing(tmp.path), std::vector<std::string>{"Data"});
    // An output path that is a file is refused and kept.
    WriteWholeFile(tmp / "file", "keep");
    EXPECT_EQ(CommitDataFolder(tmp / "file", SomeRecords(2015), Regions()), COMMIT_NOT_A_FOLDER);
    EXPECT_EQ(FileBytes(tmp / "file"), "keep");
}

TEST(ImportFolder, CommandLineFailuresWriteNothing) {
    TempDir tmp;
    std::string out = tmp / "Data";
    std::string example = Source("tests/data/import/example.csv");
    ASSERT_EQ(RunTool("import-csv", "--out " + out + " " + example + " >/dev/null 2>&1"), 0);
    std::string before = FileBytes(out + "/cmp_2024.dat");
    WriteWholeFile(tmp / "binary.csv", std::string("\0\1\2", 3));
    WriteWholeFile(tmp / "nothing.csv", "2024/01/01,16:10,三陸沖,38,143,10,不明,3\n");
    struct Case {
        std::string args;
        int status;
    } cases[] = {
        {"--out " + out + " " + example + " " + tmp / "missing.csv", 1},
        {"--out " + out + " " + tmp / "binary.csv", 1},
        {"--out " + out + " " + tmp / "nothing.csv", 1},
        {"--out " + out, 2},
        {example, 2},
        {"--bogus --out " + out + " " + example, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunTool("import-csv", c.args + " >/dev/null 2>&1"), c.status) << c.args;
        EXPECT_EQ(FileBytes(out + "/cmp_2024.dat"), before) << c.args;
        EXPECT_EQ(Listing(tmp.path).size(), 3u) << c.args;   // Data and the two inputs
    }
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
