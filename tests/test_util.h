// Helpers shared by the tests.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/model/records.h"
#include "engine/model/settings.h"

// A record with the given fields (inFilter and markerColor 0).
QuakeRecord Rec(int year, int month, int day, int hour, int minute, int mapX, int mapY,
                int depthKm, int regionIndex, int magnitude10, int intensity);

// Allocates the catalogue if needed and replaces gpEQ with `records` (newest
// first), zeroing everything behind them; sets AppSettings.recordCount.
void SetCatalogue(const std::vector<QuakeRecord>& records);

// A fresh empty folder below the system's temporary folder, removed with the
// object; named by process, so that two test runs at once never share one.
struct TempDir {
    TempDir() {
        static int serial = 0;
        path = (std::filesystem::temp_directory_path() / ("wolt-test-" + std::to_string(getpid()) + "-" + std::to_string(serial++))).string();
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
    std::string path;
};
inline void WriteBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Records as the bytes of a yearly file.
std::string RecordBytes(const std::vector<CmpRecord>& records);
// Writes records as a yearly file (packed as stored).
void WriteYearFile(const std::string& dataDir, int year, const std::vector<QuakeRecord>& records);

// Records every message shown while it lives.
struct MessageRecorder {
    MessageRecorder();
    ~MessageRecorder();
    std::vector<std::string> messages;
};

// Loads `records` with 300 defined regions "R0".."R299", default settings,
// fresh lists and cleared selection state.
void LoadCatalogue(const std::vector<QuakeRecord>& records);
// Writes one field of the settings block through the block's writers.
void SetSetting(int32_t SettingsBlock::*field, int value);
// Conditions that every record of a test catalogue meets.
void OpenConditions();
// The filter's period: {year, month, day, hour, minute} of its start and end.
void SetPeriod(const std::vector<int>& start, const std::vector<int>& end);
// A record of the given region, magnitude and depth on 2024-06-20 minus
// `daysBack` days (newest first when daysBack grows with the index).
QuakeRecord DayRec(int daysBack, int region, int magnitude10, int depthKm = 10, int intensity = 1);

// A fresh Data folder below a temporary root, set as the program's, with
// the clock pinned at 2024-06-15 10:30; removed afterwards.
class DataFolderTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    TempDir root;
    std::string data = root / "Data";
};
