// wolt-feed against the stand-in of the search service.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "engine/catalogue/data_files.h"
#include "engine/catalogue/feed.h"
#include "engine/catalogue/update_rules.h"
#include "kit_test_util.h"
#include "search_stub.h"

namespace {

// Event k of a day: 2024-MM-DD hh:mm:ss.s in 能登, M2.0 and up.
StubEvent Event(int month, int day, int k, const char* name = "石川県能登地方", const char* mag = nullptr,
                const char* intensity = "震度１") {
    char ot[32], m[8];
    std::snprintf(ot, sizeof ot, "2024/%02d/%02d %02d:%02d:%02d.%d", month, day, k / 60 % 24, k % 60, k % 60, k % 10);
    std::snprintf(m, sizeof m, "%.1f", 2.0 + k % 30 * 0.1);
    return StubEvent{ot, name, "37.5", "137.2", std::to_string(10 + k % 5) + " km", mag ? mag : m, intensity};
}

struct FeedRun {
    const SearchStub* stub;
    FeedOptions o;
    FeedReport report;
    int Run() { return stub->Publish(), RunFeed(o, &report); }
};

// No pause between requests, a one-second time-out, two retries.
FeedRun Options(const SearchStub& stub, const TempDir& dir, FeedDay today) {
    FeedRun f{&stub, {}, {}};
    f.o.folder = dir.path, f.o.state = dir / "wolt-feed.state", f.o.endpoint = stub.Url(), f.o.today = today;
    f.o.delaySeconds = 0, f.o.limits.transferSeconds = 1, f.o.retries = 2;
    return f;
}

std::vector<QuakeRecord> Year(const TempDir& dir, int year) {
    std::vector<QuakeRecord> r;
    ReadYearFile(dir.path, year, &r);
    return r;
}

bool Accepted(const TempDir& dir, int year) {
    std::string b = ReadBytes(YearFilePath(dir.path, year));
    return !b.empty() && CheckYearlyRecords(reinterpret_cast<const unsigned char*>(b.data()), b.size(), year) == 0;
}

}  // namespace

TEST(Feed, BringsAnEmptyFolderUpToDateThenKeepsItCurrent) {
    SearchStub stub;
    for (int d = 1; d <= 9; d++) stub.events.push_back(Event(3, d, d));
    TempDir dir;
    FeedRun f = Options(stub, dir, FeedDay{2024, 3, 8});   // the database reaches 2024-03-06
    ASSERT_EQ(f.Run(), FEED_DONE) << f.report.error;
    EXPECT_EQ(Year(dir, 2024).size(), 6u);
    EXPECT_EQ(ReadBytes(dir / "wolt-feed.state"), "done-through 2024-03-06\n");
    EXPECT_EQ(f.report.windows, 651);   // every month since January 1970
    EXPECT_FALSE(std::filesystem::exists(dir / "cmp_2023.dat"));   // no earthquake, no file

    // Three days later: the new days and the last 14 again, nothing twice.
    const size_t before = stub.Forms().size();
    f.o.today = FeedDay{2024, 3, 11};
    ASSERT_EQ(f.Run(), FEED_DONE);
    EXPECT_EQ(Year(dir, 2024).size(), 9u);
    std::vector<nlohmann::json> forms = stub.Forms();
    ASSERT_EQ(forms.size(), before + 2);   // February's last days, then March
    EXPECT_EQ(forms[before]["dateTimeF[]"], nlohmann::json::array({"2024-02-25", "00:00"}));
    EXPECT_EQ(forms[before + 1]["dateTimeT[]"], nlohmann::json::array({"2024-03-09", "23:59"}));
    for (const auto& [field, value] : std::map<std::string, std::string>{
             {"mode", "search"}, {"maxInt", "1"}, {"Sort", "S0"}, {"Comp", "C0"}, {"epi[]", "99"}, {"seisCount", "false"}})
        EXPECT_EQ(forms[before + 1][field], nlohmann::json::array({value})) << field;
}

TEST(Feed, SplitsFullRepliesAndRefusesAFullHour) {
    SearchStub stub;
    for (int k = 0; k < 2500; k++) stub.events.push_back(Event(5, 1 + k % 20, k));
    TempDir dir;
    FeedRun f = Options(stub, dir, FeedDay{2024, 6, 10});
    f.o.hasFrom = f.o.hasTo = true;
    f.o.from = FeedDay{2024, 5, 1}, f.o.to = FeedDay{2024, 5, 31};
    ASSERT_EQ(f.Run(), FEED_DONE) << f.report.error;
    EXPECT_EQ(Year(dir, 2024).size(), 2500u);
    EXPECT_GT(stub.Forms().size(), 3u);

    for (int k = 0; k < 1000; k++) stub.events.push_back(Event(5, 25, 600));   // one hour holds 1,000
    const std::string before = ReadBytes(dir / "cmp_2024.dat");
    EXPECT_EQ(f.Run(), FEED_SOURCE_FAILED);
    EXPECT_NE(f.report.error.find("cannot be split"), std::string::npos) << f.report.error;
    EXPECT_EQ(ReadBytes(dir / "cmp_2024.dat"), before);
}

TEST(Feed, ReplacesARevisedDayAndResumesAfterAFailure) {
    SearchStub stub;
    for (int d = 1; d <= 20; d++) stub.events.push_back(Event(2, d, d));
    TempDir dir;
    WriteBytes(dir / "wolt-feed.state", "done-through 2023-12-31\n");
    FeedRun f = Options(stub, dir, FeedDay{2024, 2, 22});
    ASSERT_EQ(f.Run(), FEED_DONE);
    // The database revises 2024-02-20 (magnitude changed, one event added);
    // the next run fetches February again, then fails in March.
    stub.events[19].mag = "4.4";
    stub.events.push_back(Event(2, 20, 59));
    // Requests 0 and 1 were the first run's January and February.
    stub.answers = {{3, 1 << 30, 503, "", "", 0}};
    f.o.today = FeedDay{2024, 3, 5};
    EXPECT_EQ(f.Run(), FEED_BUSY);
    EXPECT_TRUE(Accepted(dir, 2024));
    EXPECT_EQ(ReadBytes(dir / "wolt-feed.state"), "done-through 2024-02-29\n");
    // The next run resumes: no duplicates, the revision in.
    stub.answers.clear();
    ASSERT_EQ(f.Run(), FEED_DONE) << f.report.error;
    std::vector<QuakeRecord> year = Year(dir, 2024);
    ASSERT_EQ(year.size(), 21u);
    int m44 = 0;
    for (const QuakeRecord& r : year) m44 += r.magnitude10 == 44;
    EXPECT_EQ(m44, 1);
    EXPECT_EQ(ReadBytes(dir / "wolt-feed.state"), "done-through 2024-03-03\n");
}

TEST(Feed, RetriesWhatFailsAndStopsWithEveryFileWhole) {
    const struct {
        int status;
        const char *body, *headers;
        int stallMs, code;   // code: when every attempt gets it
    } kBad[] = {
        {200, "<!DOCTYPE html><html><body>メンテナンス中</body></html>", "", 0, FEED_SOURCE_FAILED},
        {200, "{\"res\":\"検索に失敗しました\"}", "", 0, FEED_SOURCE_FAILED},
        {200, "{\"res\":[{\"id\":\"1\",\"ot\":\"2024/04/01 00:0", "", 0, FEED_SOURCE_FAILED},   // truncated
        {200, "{\"res\":[{\"id\":\"7\",\"ot\":\"2024/04/31 00:00:00.0\",\"name\":\"x\"}]}", "", 0, FEED_SOURCE_FAILED},
        {503, "busy", "", 0, FEED_BUSY},
        {429, "slow down", "Retry-After: 1\r\n", 0, FEED_BUSY},
        {200, "{\"res\":[]}", "", 1500, FEED_NO_CONNECTION},   // stalls past the time-out
    };
    for (const auto& bad : kBad) {
        for (int failures : {1, 3}) {   // 3 of 3 attempts fail
            SCOPED_TRACE(bad.body + (" x" + std::to_string(failures)));
            SearchStub stub;
            stub.events.push_back(Event(4, 1, 1));
            stub.answers = {{0, failures, bad.status, bad.body, bad.headers, bad.stallMs}};
            TempDir dir;
            FeedRun f = Options(stub, dir, FeedDay{2024, 4, 5});
            f.o.hasFrom = true, f.o.from = FeedDay{2024, 4, 1};
            EXPECT_EQ(f.Run(), failures < 3 ? FEED_DONE : bad.code) << f.report.error;
            EXPECT_EQ(f.report.failures, failures);
            EXPECT_EQ(Accepted(dir, 2024), failures < 3);   // a failed run writes nothing
            EXPECT_TRUE(failures < 3 || f.report.error.find("2024-04-01 00:00..2024-04-03 23:59") != std::string::npos) << f.report.error;
        }
    }
}

// The same events through the feed and through a CSV export give the same
// yearly file: the feed reads the export's degrees-and-minutes text, not the
// reply's rounded decimals, and both file a name the full table lacks alike.
TEST(Feed, GivesTheImportersBytesForTheSameEvents) {
    SearchStub stub;
    const char* kNames[] = {"石川県能登地方", "石川県能登地方", "石川県能登地方", "石川県能登地方",
                            "石川県能登地方", "能登沖の新しい名", "石川県能登地方", "能登沖の新しい名"};
    const char* kIntensity[] = {"震度５弱", "震度５強", "震度６弱", "震度６強", "震度７", "震度１", "震度１", "震度２"};
    for (int k = 0; k < 8; k++) {
        StubEvent e = Event(6, 1, k + 1, kNames[k], k == 6 ? "-.-" : nullptr, kIntensity[k]);
        e.lat = "34.0", e.latS = "34°01.1′N";   // the decimal is a grid unit off
        e.lon = "137.2", e.lonS = "137°12.0′E";
        if (k == 7) e.latS = "35°20.0′N", e.lat = "35.3";   // the new name's later event lies elsewhere
        stub.events.push_back(e);
    }
    TempDir dir, csvDir;
    FeedRun f = Options(stub, dir, FeedDay{2024, 6, 5});
    f.o.hasFrom = true, f.o.from = FeedDay{2024, 6, 1};
    ASSERT_EQ(f.Run(), FEED_DONE);
    EXPECT_EQ(f.report.withoutMagnitude, 1);
    ASSERT_EQ(f.report.filedRegions.size(), 1u);
    EXPECT_EQ(f.report.filedRegions.begin()->second.events, 2);
    std::vector<QuakeRecord> year = Year(dir, 2024);
    ASSERT_EQ(year.size(), 7u);
    EXPECT_EQ(year[0].regionIndex, year[1].regionIndex);   // both events of the new name in one region
    EXPECT_EQ(std::vector<int>({year[6].intensity, year[5].intensity, year[4].intensity, year[3].intensity,
                                year[2].intensity}), std::vector<int>({5, 6, 7, 8, 9}));

    std::string csv = "地震の発生日,地震の発生時刻,震央地名,緯度,経度,深さ,Ｍ,最大震度\n";
    for (const StubEvent& e : stub.events)
        csv += e.ot.substr(0, 10) + "," + e.ot.substr(11) + "," + e.name + "," + e.latS + "," + e.lonS + "," + e.dep +
               "," + e.mag + "," + e.maxI + "\n";
    WriteBytes(csvDir / "in.csv", csv);
    ASSERT_EQ(RunTool("import-csv", "--out " + csvDir / "Data" + " " + csvDir / "in.csv" + " >/dev/null 2>&1"), 0);
    for (const std::string name : {"cmp_2024.dat", "s_tbl.dat", "regions-filed.txt"})
        EXPECT_EQ(ReadBytes(csvDir / "Data/" + name), ReadBytes(dir / name)) << name;
}

TEST(Feed, AYearAtTheSizeLimitKeepsItsLastWholeFile) {
    SearchStub stub;
    for (int k = 0; k < 16384; k++) stub.events.push_back(Event(1 + k / 1400, 1 + k % 28, k % 1400));
    TempDir dir;
    FeedRun f = Options(stub, dir, FeedDay{2025, 1, 10});
    f.o.hasFrom = true, f.o.from = FeedDay{2024, 1, 1};
    f.o.maxYearBytes = kUpdateBufferBytes;   // wolt-feed --server
    EXPECT_EQ(f.Run(), FEED_YEAR_FULL);
    EXPECT_NE(f.report.error.find("year 2024: 16384 records"), std::string::npos) << f.report.error;
    EXPECT_TRUE(Accepted(dir, 2024));   // as the month before left it
    EXPECT_LT(Year(dir, 2024).size(), 16384u);
}
