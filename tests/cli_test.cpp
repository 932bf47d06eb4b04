// wolt-cli as a user runs it, on the small catalogue of tests/data/catalogue.
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

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

static CliRun RunShell(const std::string& line, const std::string& cwd) {
    std::string command = "cd '" + cwd + "' && " + line + " >cli.out 2>cli.err";
    int raw = std::system(command.c_str());
    CliRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(cwd + "/cli.out"),
            ReadBytes(cwd + "/cli.err")};
    fs::remove(cwd + "/cli.out");
    fs::remove(cwd + "/cli.err");
    return run;
}

static CliRun RunCli(const std::string& args, const std::string& cwd) {
    return RunShell("'" WOLT_CLI_PATH "' " + args, cwd);
}

static std::string Golden(const char* name) {
    return ReadBytes(kTop + "/tests/data/golden/" + name);
}

class Cli : public ::testing::Test {
protected:
    TempDir tmp;
    std::string dir = tmp.path;
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
        {"--depth 10-x summary", 2, "--depth: cannot read \"10-x\"", ""},
        {"--now '2024/02/30 00:00:00' summary", 2, "--now: cannot read", ""},
        {"--record 17 summary", 2, "--record 17: the catalogue has 17 records", ""},
        {"alert-report --region", 2, "--region does not go with alert-report", ""},
        {"list --region --sort depth,region", 2, "the region list has no region column", ""},
        {"backtest --all", 2, "--all does not go with backtest", ""},
        {"gr --min-mag 6", 2, "--min-mag does not go with gr", ""},
        {"gr --smooth-km 30", 2, "--smooth-km does not go with gr", ""},
        {"list --format xml", 2, "--format: cannot read \"xml\"", ""},
        {"counts --class intensity", 2, "counts needs --by year|month|week|day", ""},
        {"counts --by fortnight", 2, "--by: cannot read \"fortnight\"", ""},
        {"aftershocks --radius 50 --days 30", 2, "aftershocks needs --main, --radius and --days", ""},
        {"aftershocks --main '2024/03/05 10:20' --radius 50 --days 3", 3, "no earthquake within 50 km", ""},
        {"aftershocks --main '2024/03/05 10:25' --radius 50 --days 3", 3, "no selected earthquake within a minute", ""},
        {"--settings nowhere.dat summary", 3, "cannot read the settings file nowhere.dat: No such file or directory", ""},
        {"list -o no/such/x.txt", 4, "cannot write no/such/x.txt: No such file or directory", ""},
        {"replay --fps 10", 2, "replay needs --frames DIR", ""},
        {"replay --frames f --speed 0.00001", 2, "frames, more than 100000", ""},
        {"section --from 38,142", 2, "section needs --from LAT,LON and --to LAT,LON", ""},
        {"section --from 38,142 --to 38,142", 2, "less than 1 km apart", ""},
        {"section --from 38,142 --to 39,142 --width 0", 2, "--width: cannot read", ""},
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
    // Other formats of the same list: the same records in the same order.
    ASSERT_EQ(RunCli(kBase + "list --sort depth --format geojson", dir).out, "text/wolt_list_20240306090000.geojson\n");
    const nlohmann::json geo = nlohmann::json::parse(ReadBytes(dir + "/text/wolt_list_20240306090000.geojson"));
    ASSERT_EQ(geo["features"].size(), 16u);
    EXPECT_EQ(geo["features"][0]["properties"]["depth_km"], 999);   // one click: deepest first
    EXPECT_EQ(geo["features"][15]["properties"]["depth_km"], 0);
    fs::remove_all(dir + "/text");
    // The first save creates the missing text/ folder.
    for (const auto& c : {std::pair<std::string, std::string>{"alert-report", "text/wolt 要警戒_20240306090000.txt"},
                          {"--record 1 list --region", "text/wolt_list_石川県能登地方_20240306090000.txt"}}) {
        CliRun run = RunCli(kBase + c.first, dir);
        EXPECT_EQ(run.out, c.second + "\n");
        EXPECT_TRUE(fs::exists(dir + "/" + c.second)) << c.second;
    }
}

// The frames are PNG files that a standard reader decodes (ImageMagick through
// libpng and zlib: the chunks' CRC-32, the stored blocks, the Adler-32), with
// markers added over the first frame's map; the section is an SVG document
// with one circle per event.
TEST_F(Cli, ReplayFramesAndSectionSvgReadBack) {
    fs::copy(kData, dir + "/Data");
    fs::copy(kTop + "/data/MAP01_512.bmp", dir + "/Data/MAP01_512.bmp");
    const std::string base = "--data Data --now '2024/03/06 09:00:00' ";
    CliRun replay = RunCli(base + "--from 2024/03/01 replay --frames f --fps 2 --speed 1", dir);
    ASSERT_EQ(replay.status, 0) << replay.err;
    // Per frame its size and the signature of its pixels.
    CliRun run = RunShell("for f in f/frame_*.png; do convert $f -format '%w %h %#\\n' info: || exit 1; done", dir);
    ASSERT_EQ(run.status, 0) << run.err;
    const size_t frames = size_t(std::count(run.out.begin(), run.out.end(), '\n'));
    EXPECT_EQ(replay.out.substr(0, replay.out.find(" frames")), "f: " + std::to_string(frames));
    EXPECT_GT(frames, 1u);
    for (size_t at = 0; at < run.out.size(); at = run.out.find('\n', at) + 1) EXPECT_EQ(run.out.compare(at, 8, "512 512 "), 0);
    EXPECT_NE(run.out.substr(8, 64), run.out.substr(run.out.size() - 65, 64));

    run = RunCli(base + "section --from 42.5,140 --to 42.5,146 --width 300 -o s.svg", dir);
    ASSERT_EQ(run.status, 0) << run.err;
    const size_t at = run.out.find("events=");
    ASSERT_NE(at, std::string::npos);
    const std::string circles = RunShell("python3 -c 'import xml.etree.ElementTree as E; "
                                       "print(len(E.parse(\"s.svg\").getroot().findall(\".//{http://www.w3.org/2000/svg}circle\")))'",
                                       dir).out;
    EXPECT_EQ("events=" + circles, run.out.substr(at, run.out.find('\n', at) + 1 - at));
    EXPECT_NE(circles, "0\n");
}
