// wolt-cli as a user runs it: exit codes, messages, the summary and the
// files it writes, on the small catalogue of tests/data/catalogue.
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/settings.h"
#include "test_util.h"

namespace fs = std::filesystem;

static const std::string kTop = WOLT_SOURCE_DIR;
static const std::string kData = kTop + "/tests/data/catalogue/Data";
// The clock pinned the day after the newest record.
static const std::string kBase = "--data '" + kData + "' --now '2024/03/06 09:00:00' ";

struct CliRun {
    int status;
    std::string out, err;
};

static CliRun RunCli(const std::string& args, const std::string& cwd) {
    std::string command = "cd '" + cwd + "' && '" WOLT_CLI_PATH "' " + args +
                          " >cli.out 2>cli.err";
    int raw = std::system(command.c_str());
    CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(cwd + "/cli.out"),
            ReadBytes(cwd + "/cli.err")};
    fs::remove(cwd + "/cli.out");
    fs::remove(cwd + "/cli.err");
    return run;
}

static std::string Golden(const char* name) {
    return ReadBytes(kTop + "/tests/data/golden/" + name);
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override { dir = MakeTempDir(); }
    void TearDown() override { RemoveTree(dir); }
    std::string dir;
};

TEST_F(Cli, ExitCodesAndMessages) {
    struct Case {
        std::string args;
        int status;
        const char* err;  // expected in stderr ("" : stderr empty)
        const char* out;  // expected in stdout
    } cases[] = {
        {"", 2, "wolt-cli: no command\nusage: wolt-cli [--data DIR]", ""},
        {"--bogus summary", 2, "wolt-cli: unknown option --bogus\nusage:", ""},
        {"summary list", 2, "one command only", ""},
        {"--depth 10-x summary", 2, "--depth: cannot read \"10-x\"", ""},
        {"--mag 1234567890-9 summary", 2, "--mag: cannot read", ""},
        {"--now '2024/02/30 00:00:00' summary", 2, "--now: cannot read", ""},
        {"--record 17 summary", 2, "--record 17: the catalogue has 17 records", ""},
        {"alert-report --region", 2, "--region does not go with alert-report", ""},
        {"list --region --sort depth,region", 2, "the region list has no region column", ""},
        {"list --sort size", 2, "unknown column \"size\"", ""},
        {"--settings nowhere.dat summary", 3, "cannot read the settings file nowhere.dat: No such file or directory", ""},
        {"list -o nodir/x.txt", 4, "cannot write nodir/x.txt: No such file or directory", ""},
        {"region-report", 4,
         "cannot write text/wolt_十勝地方南部_20240306090000.txt: No such file or directory "
         "(the folder text/ must exist)",
         ""},
        {"--help", 0, "", "exit codes: 0 success, 2 usage error"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        CliRun run = RunCli(kBase + c.args, dir);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(*c.err ? run.err.find(c.err) != std::string::npos : run.err.empty()) << run.err;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
        EXPECT_EQ(c.status == 2, run.err.find("usage: wolt-cli") != std::string::npos);
        EXPECT_TRUE(fs::is_empty(dir)) << "nothing is written on failure";
    }
}

static std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

// Conditions pass the program's clamps before the filter; the settings file
// gives its conditions, the command line wins, a wrong-length file gives the
// defaults with a warning, and a missing catalogue is an empty one.
TEST_F(Cli, ConditionsSettingsAndTheEmptyCatalogue) {
    SettingsBlock block{};
    block.magMin = 6, block.magMax = 9, block.depthMax = 999, block.intMin = 1, block.intMax = 9;
    const std::string bytes(reinterpret_cast<const char*>(&block), sizeof block);
    WriteBytes(dir + "/good.dat", bytes);
    WriteBytes(dir + "/short.dat", bytes.substr(0, 215));
    struct Case {
        std::string args;
        std::vector<std::string> lines;   // each must appear in the summary
        std::string err;
    } cases[] = {
        {kBase + "--mag 5-9 --to 2023/12/31",
         {"periodEnd=2023/12/31 23:59", "magMin=5", "selCount=4", "selMaxMag10=65", "selMeanMag10=58",
          "selMeanDepth=46", "selStrongRecent=4", "selFirstIndex=8", "selLastIndex=12", "currentRecord=8"}, ""},
        {kBase + "--from 1999/01/01 --to '2030/12/31 12:00'",
         {"periodStart=2023/01/01 00:00", "periodEnd=2024/03/05 12:00", "selCount=16"}, ""},
        {kBase + "--from '2024/03/05 08:15' --to '2024/03/04 00:00'",
         {"periodStart=2024/03/04 00:00", "periodEnd=2024/03/04 00:00", "selCount=0"}, ""},
        {kBase + "--mag 0-12 --depth 500-100 --intensity 0-9",
         {"magMin=1", "magMax=9", "depthMin=100", "depthMax=100", "selCount=1", "selFirstIndex=11"}, ""},
        {kBase + "--intensity 0-0", {"intMin=0", "intMax=0", "selCount=1", "selFirstIndex=7"}, ""},
        {kBase + "--settings good.dat", {"magMin=6", "selCount=4"}, ""},
        {kBase + "--settings good.dat --mag 5-9", {"magMin=5"}, ""},
        {kBase + "--settings short.dat", {"magMin=1", "selCount=16"},
         "the settings file short.dat is 215 bytes, not 216; using the defaults"},
        {"--data Missing --now '2024/03/06 09:00:00'",
         {"recordCount=0", "dataFirst=2024/03/06 00:00", "periodEnd=2024/03/06 23:59", "selCount=0",
          "gM6DuePercent=0.00"}, "wolt-cli: Missing: no such folder; the catalogue is empty"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        CliRun run = RunCli(c.args + " summary", dir);
        ASSERT_EQ(run.status, 0);
        EXPECT_TRUE(c.err.empty() ? run.err.empty() : run.err.find(c.err) != std::string::npos) << run.err;
        std::vector<std::string> got = SplitLines(run.out);
        for (const std::string& line : c.lines)
            EXPECT_NE(std::find(got.begin(), got.end(), line), got.end()) << line << "\n" << run.out;
    }
    EXPECT_EQ(ReadBytes(dir + "/good.dat"), bytes) << "the settings file is never written";
}

// The files are byte for byte those the program's save buttons write; without
// -o they go to text/ under the program's names, printed on stdout.
TEST_F(Cli, FilesMatchGoldenFiles) {
    EXPECT_EQ(RunCli(kBase + "summary", dir).out, Golden("summary.txt"));
    struct Case {
        std::string args;
        const char* golden;
    } cases[] = {
        {"alert-report -o out.txt", "alert_report.txt"},
        {"region-report -o out.txt", "region_report_tokachi.txt"},
        {"--record 1 region-report -o out.txt", "region_report_noto.txt"},
        {"--to 2023/12/31 region-report -o out.txt", "region_report_noto_2023.txt"},
        {"list -o out.txt", "list.txt"},
        {"list --sort date,date -o out.txt", "list.txt"},
        {"list --sort depth,depth -o out.txt", "list_sorted_depth_ascending.txt"},
        {"list -o out.txt --sort region", "list_sorted_region.txt"},
        {"--record 1 list --region -o out.txt", "list_region_noto.txt"},
        {"list --region -o out.txt --record 4", "list_region_noto.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        CliRun run = RunCli(kBase + c.args, dir);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out + run.err, "");
        EXPECT_EQ(ReadBytes(dir + "/out.txt"), Golden(c.golden));
        fs::remove(dir + "/out.txt");
    }
    fs::create_directory(dir + "/text");
    for (const auto& c : {std::pair<std::string, std::string>{"alert-report", "text/wolt 要警戒_20240306090000.txt"},
                          {"--record 1 list --region", "text/wolt_list_石川県能登地方_20240306090000.txt"}}) {
        CliRun run = RunCli(kBase + c.first, dir);
        EXPECT_EQ(run.out, c.second + "\n");
        EXPECT_TRUE(fs::exists(dir + "/" + c.second)) << c.second;
    }
}
