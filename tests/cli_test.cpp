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
        {"frobnicate", 2, "unknown command frobnicate", ""},
        {"summary list", 2, "one command only", ""},
        {"summary --data", 2, "--data: a value is missing", ""},
        {"--mag 5 summary", 2, "--mag: cannot read \"5\"", ""},
        {"--depth 10-x summary", 2, "--depth: cannot read \"10-x\"", ""},
        {"--intensity 1-9-9 summary", 2, "--intensity: cannot read", ""},
        {"--mag 1234567890-9 summary", 2, "--mag: cannot read", ""},
        {"--from 2024-01-01 summary", 2, "--from: cannot read", ""},
        {"--to '2024/01/01 10' summary", 2, "--to: cannot read", ""},
        {"--now '2024/02/30 00:00:00' summary", 2, "--now: cannot read", ""},
        {"--now '2024/02/29 24:00' summary", 2, "--now: cannot read", ""},
        {"--record -1 summary", 2, "--record: cannot read \"-1\"", ""},
        {"--record 17 summary", 2, "--record 17: the catalogue has 17 records", ""},
        {"summary -o x.txt", 2, "-o does not go with summary", ""},
        {"alert-report --region", 2, "--region does not go with alert-report", ""},
        {"region-report --sort depth", 2, "--sort does not go with region-report", ""},
        {"list --region --sort depth,region", 2, "the region list has no region column", ""},
        {"list --sort depth,,date", 2, "unknown column \"\"", ""},
        {"list --sort size", 2, "unknown column \"size\"", ""},
        {"--settings nowhere.dat summary", 3,
         "cannot read the settings file nowhere.dat: No such file or directory", ""},
        {"alert-report -o nodir/x.txt", 4, "cannot write nodir/x.txt: No such file or directory",
         ""},
        {"list -o nodir/x.txt", 4, "cannot write nodir/x.txt: No such file or directory", ""},
        {"region-report", 4,
         "cannot write text/wolt_十勝地方南部_20240306090000.txt: No such file or directory "
         "(the folder text/ must exist)",
         ""},
        {"--help", 0, "", "exit codes: 0 success, 2 usage error"},
        {"--record 16 summary", 0, "", "currentRecord=16\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        CliRun run = RunCli(kBase + c.args, dir);
        EXPECT_EQ(run.status, c.status);
        if (*c.err)
            EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
        else
            EXPECT_EQ(run.err, "");
        EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
        if (c.status == 2) EXPECT_NE(run.err.find("usage: wolt-cli"), std::string::npos);
        EXPECT_TRUE(fs::is_empty(dir)) << "nothing is written on failure";
    }
}

TEST_F(Cli, SummaryOfTheSmallCatalogue) {
    CliRun run = RunCli(kBase + "summary", dir);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, Golden("summary.txt"));
}

static std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0, end;
    while ((end = text.find('\n', start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Conditions pass the program's clamps before the filter.
TEST_F(Cli, ConditionsThroughTheClamps) {
    struct Case {
        std::string args;
        std::vector<std::string> lines;  // each must appear in the summary
    } cases[] = {
        {"--mag 5-9 --to 2023/12/31",
         {"periodEnd=2023/12/31 23:59", "magMin=5", "selCount=4", "selMaxMag10=65",
          "selMeanMag10=58", "selMeanDepth=46", "selStrongRecent=4", "selFirstIndex=8",
          "selLastIndex=12", "currentRecord=8"}},
        {"--from 1999/01/01 --to '2030/12/31 12:00'",
         {"periodStart=2023/01/01 00:00", "periodEnd=2024/03/05 12:00", "selCount=16"}},
        {"--from '2024/03/05 08:15' --to '2024/03/04 00:00'",
         {"periodStart=2024/03/04 00:00", "periodEnd=2024/03/04 00:00", "selCount=0"}},
        {"--mag 0-12 --depth 500-100 --intensity 0-9",
         {"magMin=1", "magMax=9", "depthMin=100", "depthMax=100", "intMin=1", "intMax=9",
          "selCount=1", "selFirstIndex=11", "currentRecord=11"}},
        {"--intensity 0-0", {"intMin=0", "intMax=0", "selCount=1", "selFirstIndex=7"}},
        {"--mag 6-7 --from '2024/03/04 23:59' --to '2024/03/04 23:59'",
         {"selCount=1", "selFirstIndex=2", "selMaxMag10=61"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        CliRun run = RunCli(kBase + c.args + " summary", dir);
        ASSERT_EQ(run.status, 0);
        std::vector<std::string> got = SplitLines(run.out);
        for (const std::string& line : c.lines)
            EXPECT_NE(std::find(got.begin(), got.end(), line), got.end()) << line << "\n" << run.out;
    }
}

TEST_F(Cli, SettingsFile) {
    SettingsBlock block{};
    block.magMin = 6;
    block.magMax = 9;
    block.depthMax = 999;
    block.intMin = 1;
    block.intMax = 9;
    std::string bytes(reinterpret_cast<const char*>(&block), sizeof block);
    WriteBytes(dir + "/good.dat", bytes);
    WriteBytes(dir + "/short.dat", bytes.substr(0, 215));

    CliRun good = RunCli(kBase + "--settings good.dat summary", dir);
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.err, "");
    EXPECT_NE(good.out.find("magMin=6\n"), std::string::npos);
    EXPECT_NE(good.out.find("selCount=4\n"), std::string::npos);

    CliRun bad = RunCli(kBase + "--settings short.dat summary", dir);
    EXPECT_EQ(bad.status, 0);
    EXPECT_NE(bad.err.find("the settings file short.dat is 215 bytes, not 216; using the defaults"),
              std::string::npos)
        << bad.err;
    EXPECT_NE(bad.out.find("magMin=1\n"), std::string::npos);
    EXPECT_NE(bad.out.find("selCount=16\n"), std::string::npos);

    // The command line wins over the file.
    CliRun both = RunCli(kBase + "--settings good.dat --mag 5-9 summary", dir);
    EXPECT_NE(both.out.find("magMin=5\n"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir + "/good.dat"), bytes) << "the settings file is never written";
}

// No catalogue at all is a normal state: an empty summary, today as the period.
TEST_F(Cli, MissingOrEmptyDataFolder) {
    fs::create_directory(dir + "/Empty");
    struct Case {
        std::string data;
        const char* err;
    } cases[] = {
        {"Empty", ""},
        {"Missing", "wolt-cli: Missing: no such folder; the catalogue is empty\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        CliRun run = RunCli("--data " + c.data + " --now '2024/03/06 09:00:00' summary", dir);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, c.err);
        std::vector<std::string> got = SplitLines(run.out);
        for (const char* line :
             {"recordCount=0", "dataFirst=2024/03/06 00:00", "dataLast=2024/03/06 23:59",
              "periodStart=2024/03/06 00:00", "periodEnd=2024/03/06 23:59", "selCount=0",
              "selCount2=0", "selFirstIndex=0", "selLastIndex=0", "gM6MeanDayGap=0",
              "gM6DuePercent=0.00"})
            EXPECT_NE(std::find(got.begin(), got.end(), line), got.end()) << line;
    }
}

// The files are byte for byte those the program's save buttons write.
TEST_F(Cli, FilesMatchGoldenFiles) {
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
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(ReadBytes(dir + "/out.txt"), Golden(c.golden));
        fs::remove(dir + "/out.txt");
    }
}

// Without -o the file goes to text/ under the program's name, printed on stdout.
TEST_F(Cli, DefaultNames) {
    fs::create_directory(dir + "/text");
    struct Case {
        std::string args;
        std::string path;
        const char* golden;
    } cases[] = {
        {"alert-report", "text/wolt 要警戒_20240306090000.txt", "alert_report.txt"},
        {"--record 1 region-report", "text/wolt_石川県能登地方_20240306090000.txt",
         "region_report_noto.txt"},
        {"list", "text/wolt_list_20240306090000.txt", "list.txt"},
        {"list --region", "text/wolt_list_十勝地方南部_20240306090000.txt", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        CliRun run = RunCli(kBase + c.args, dir);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, c.path + "\n");
        ASSERT_TRUE(fs::exists(dir + "/" + c.path));
        if (c.golden) EXPECT_EQ(ReadBytes(dir + "/" + c.path), Golden(c.golden));
        fs::remove(dir + "/" + c.path);
    }
}
