// The catalogue's sources: JSON, the name-to-region rule, wolt-source.txt.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "engine/catalogue/data_files.h"
#include "engine/catalogue/data_source.h"
#include "engine/catalogue/json_text.h"
#include "engine/catalogue/real_record.h"
#include "engine/catalogue/search_source.h"
#include "engine/catalogue/region_list.h"
#include "engine/catalogue/region_names.h"
#include "test_util.h"

TEST(JsonText, ReadsWhatTheServiceWritesAndRefusesTheRest) {
    struct Case {
        const char* text;
        int result;
        const char* firstString;   // the "s" member of the object
    } cases[] = {
        {"{\"s\":\"\\u6771\\u4eac\"}", JSON_OK, "東京"},              // PHP's default escaping
        {"{\"s\":\"東京\"}", JSON_OK, "東京"},
        {"\xEF\xBB\xBF{\"s\":\"a\\\"b\\\\c\\/d\\n\"}", JSON_OK, "a\"b\\c/d\n"},
        {"{\"s\":\"\\ud83d\\ude00\"}", JSON_OK, "\xF0\x9F\x98\x80"},   // a surrogate pair
        {" { \"s\" : \"x\" , \"n\" : -1.5e3 , \"a\" : [ true , false , null , {} ] } ", JSON_OK, "x"},
        {"{\"s\":\"\\ud83d\"}", JSON_BAD, "untouched"},                          // a high surrogate alone
        {"{\"s\":\"\\ude00\"}", JSON_BAD, "untouched"},
        {"{\"s\":\"tab\there\"}", JSON_BAD, "untouched"},                        // a raw control character
        {"{\"s\":\"x\"", JSON_BAD, "untouched"},
        {"{\"s\":\"x\"} x", JSON_BAD, "untouched"},
        {"{\"n\":01}", JSON_BAD, "untouched"},
        {"{\"n\":1.}", JSON_BAD, "untouched"},
        {"{\"a\":[1,]}", JSON_BAD, "untouched"},
        {"{s:1}", JSON_BAD, "untouched"},
        {"", JSON_BAD, "untouched"},
    };
    for (const Case& c : cases) {
        JsonValue v;
        v.text = "untouched";
        ASSERT_EQ(ParseJson(c.text, &v), c.result) << c.text;
        const JsonValue* s = c.result == JSON_OK ? v.Find("s") : &v;   // a refused text leaves the value alone
        ASSERT_NE(s, nullptr) << c.text;
        EXPECT_EQ(s->text, c.firstString) << c.text;
    }
    JsonValue n;
    EXPECT_EQ(ParseJson(std::string(kJsonMaxDepth + 2, '[') + std::string(kJsonMaxDepth + 2, ']'), &n), JSON_TOO_DEEP);
    ASSERT_EQ(ParseJson("[-0.25e-1, 7]", &n), JSON_OK);
    EXPECT_EQ(n.items[0].text, "-0.25e-1");
}

namespace {

ParsedEvent At(double lat, double lon) {
    ParsedEvent e{};
    e.lat = lat, e.lon = lon;
    return e;
}

ParsedEvent Nowhere() {
    ParsedEvent e{};
    e.latUnknown = e.lonUnknown = true;
    return e;
}

int IndexOf(const char* name) {
    for (int i = 0; i < kShippedRegionCount; i++)
        if (std::strcmp(NationalRegions()[i].name, name) == 0) return i;
    return -1;
}

// {region, kind} of a name.
std::pair<int, int> Choose(RegionBook* book, const char* name, const ParsedEvent& event) {
    int kind = -1, region = ChooseRegion(book, name, event, &kind);
    return {region, kind};
}

}  // namespace

TEST(RegionNames, TheShippedTableHoldsEveryNameItCanAndFilesTheRest) {
    RegionBook book;
    OpenShippedRegionBook(&book);
    // Known names keep their region, however the width of their letters.
    EXPECT_EQ(Choose(&book, " 東京都２３区 ", Nowhere()), std::make_pair(IndexOf("東京都２３区"), int(REGION_NAMED)));
    EXPECT_EQ(Choose(&book, "東京都23区", At(20, 120)), std::make_pair(IndexOf("東京都２３区"), int(REGION_NAMED)));
    EXPECT_EQ(Choose(&book, "福井県沖", At(45, 145)), std::make_pair(IndexOf("福井県沖"), int(REGION_NAMED)));
    EXPECT_EQ(Choose(&book, "ウラジオストク付近", At(30, 140)), std::make_pair(IndexOf("ウラジオストク付近"), int(REGION_NAMED)));
    // The names of the record that do not fit go to a neighbour of their own
    // median position, wherever their events lie.
    const auto kuril = Choose(&book, "千島列島南東沖", At(33, 131));
    EXPECT_TRUE(kuril.second == REGION_FILED && (kuril.first == IndexOf("千島列島東方") || kuril.first == IndexOf("千島列島")));
    // A new name: its first event's position decides, for every later event too.
    const auto first = Choose(&book, "新しい沖", At(43.0, 144.5));
    EXPECT_EQ(first.second, REGION_FILED);
    EXPECT_EQ(Choose(&book, "新しい沖", At(26.0, 127.5)), first);
    EXPECT_NE(Choose(&book, "別の新しい沖", At(26.0, 127.5)).first, first.first);
    EXPECT_FALSE(book.tableChanged);
    EXPECT_TRUE(book.filedChanged);
}

TEST(RegionNames, AppendsWhileThereIsRoomAndKeepsEveryChoiceInTheFolder) {
    TempDir dir;
    // An older folder's table: the first 280 shipped names only.
    std::vector<RegionEntry> table;
    ASSERT_EQ(ShippedRegionTable(&table), 0);
    for (int i = 280; i < kRegionSlots; i++) std::memset(&table[size_t(i)], 0, sizeof(RegionEntry));
    WriteBytes(dir / "s_tbl.dat", PackRegionTable(table));

    RegionBook book;
    OpenRegionBook(dir.path, &book);
    for (int k = 0; k < 7; k++)
        EXPECT_EQ(Choose(&book, ("新しい名" + std::to_string(k + 1)).c_str(), At(35, 135)), std::make_pair(280 + k, int(REGION_ADDED)));
    const auto filed = Choose(&book, "新しい名8", At(43.0, 144.5));   // index 286 was the last
    EXPECT_EQ(filed.second, REGION_FILED);
    EXPECT_EQ(Choose(&book, "", At(26, 127.5)), Choose(&book, "", At(43, 144.5)));
    EXPECT_EQ(Choose(&book, "", At(26, 127.5)).second, REGION_FILED);
    ASSERT_EQ(SaveRegionBook(dir.path, &book), 0);

    // A later run reads the same choices back.
    RegionBook again;
    OpenRegionBook(dir.path, &again);
    EXPECT_FALSE(again.tableChanged);
    EXPECT_EQ(Choose(&again, "新しい名3", Nowhere()), std::make_pair(282, int(REGION_NAMED)));
    EXPECT_EQ(Choose(&again, "新しい名8", At(26.0, 127.5)), filed);
    EXPECT_EQ(ReadBytes(dir / "s_tbl.dat").size(), size_t(kRegionSlots * sizeof(RegionEntry)));
}

TEST(DataSourceFile, GoodMissingAndBadLines) {
    TempDir dir;
    const std::string path = dir / "wolt-source.txt";
    std::vector<std::string> problems;
    auto text = [](const DataSource& d) {
        return std::to_string(d.kind) + " " + d.searchUrl + " " + std::to_string(d.searchDelaySeconds) + " " + std::to_string(d.serverPort);
    };
    DataSource missing = ReadDataSource(path.c_str(), &problems);
    EXPECT_EQ(text(missing), std::to_string(SOURCE_SEARCH) + " " + kJmaEndpoint + " 3.000000 443");

    WriteBytes(path, "# a mirror\r\nsearch-url = http://mirror.example:8080/api.php  # ours\r\n\r\nsearch-delay=0.5\r\n");
    DataSource mirror = ReadDataSource(path.c_str(), &problems);
    EXPECT_EQ(text(mirror), std::to_string(SOURCE_SEARCH) + " http://mirror.example:8080/api.php 0.500000 443");
    EXPECT_TRUE(problems.empty());
    SetDataSource(mirror);
    EXPECT_EQ(DataSourceSite(), "mirror.example:8080");
    EXPECT_EQ(DataSourceTopPage(), "http://mirror.example:8080/");

    WriteBytes(path, "source = server\nserver-host = data.example.org\nserver-port = 8443\n"
                     "server-port = 0\ndelay 3\nsearch-url = ftp://x\ncolour = blue\n");
    DataSource server = ReadDataSource(path.c_str(), &problems);
    EXPECT_EQ(text(server), std::to_string(SOURCE_SERVER) + " " + kJmaEndpoint + " 3.000000 8443");   // the bad lines changed nothing
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0].rfind("wolt-source.txt:4: ", 0), 0u) << problems[0];
    EXPECT_EQ(problems[3].rfind("wolt-source.txt:7: ", 0), 0u) << problems[3];
    SetDataSource(server);
    EXPECT_EQ(DataSourceTopPage(), "https://data.example.org:8443/wolt/");

    problems.clear();
    WriteBytes(path, "source = server\n");   // no host: the search service stays
    EXPECT_EQ(ReadDataSource(path.c_str(), &problems).kind, SOURCE_SEARCH);
    EXPECT_EQ(problems.size(), 1u);
    SetDataSource(missing);
}

// The status line holds 28 half-width places: the fetch's progress must fit
// at its largest.
TEST(RealRecord, ProgressFitsTheStatusLine) {
    FeedProgress p{};
    p.monthsDone = p.monthsTotal = 684;
    p.events = 200000;
    p.secondsLeft = 99999;
    const std::string text = FetchStatusText(p);
    int places = 0;
    for (unsigned char c : text) places += c < 0x80 ? 1 : (c >= 0xE0 ? 2 : 0);
    EXPECT_LE(places, 28) << text;
    EXPECT_NE(text.find("684/684"), std::string::npos) << text;
    EXPECT_NE(text.find("200,000"), std::string::npos) << text;
}
