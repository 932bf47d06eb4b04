// Helpers shared by the engine tests: hand-made catalogues in memory and on
// disk, the filter, lists and statistics in a known state around them,
// temporary folders, and a recorder for the message hook.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/analysis/alert.h"
#include "engine/analysis/region_summary.h"
#include "engine/analysis/stats_cache.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"

// A record with the given fields (inFilter and markerColor 0).
QuakeRecord Rec(int year, int month, int day, int hour, int minute, int mapX, int mapY,
                int depthKm, int regionIndex, int magnitude10, int intensity);

// Allocates the catalogue if needed and replaces gpEQ with `records` (newest
// first), zeroing everything behind them; sets AppSettings.recordCount.
void SetCatalogue(const std::vector<QuakeRecord>& records);

// Fills RegionTable with codes 1.. and names "R<i>" for regions 0..count-1.
void SetPlainRegionNames(int count);

// A fresh empty folder below the system's temporary folder; removed by the
// caller with RemoveTree when no longer needed.
std::string MakeTempDir();
void RemoveTree(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

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
// A record of the given region, magnitude and depth on 2024-06-20 minus
// `daysBack` days (newest first when daysBack grows with the index).
QuakeRecord DayRec(int daysBack, int region, int magnitude10, int depthKm = 10, int intensity = 1);

// A fresh Data folder below a temporary root, set as the program's, with
// the clock pinned at 2024-06-15 10:30; removed afterwards.
class DataFolderTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string root, data;
};
