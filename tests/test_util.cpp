#include "test_util.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "engine/analysis/alert.h"
#include "engine/analysis/region_summary.h"
#include "engine/analysis/stats_cache.h"
#include "engine/catalogue/loader.h"
#include "engine/controls/bottom_panel.h"
#include "engine/controls/control_panel.h"
#include "engine/model/settings.h"
#include "engine/selection/lists.h"
#include "engine/selection/selection.h"
#include "platform/platform.h"

QuakeRecord Rec(int year, int month, int day, int hour, int minute, int mapX, int mapY,
                int depthKm, int regionIndex, int magnitude10, int intensity) {
    return QuakeRecord{uint16_t(year), uint16_t(month), uint16_t(day), uint16_t(hour), uint16_t(minute),
                       uint16_t(mapX), uint16_t(mapY), uint16_t(depthKm), uint16_t(regionIndex), 0,
                       uint8_t(magnitude10), uint8_t(intensity), 0};
}

void SetCatalogue(const std::vector<QuakeRecord>& records) {
    AllocateCatalogue();
    std::memset(gpEQ, 0, sizeof(QuakeRecord) * kMaxRecords);
    for (size_t i = 0; i < records.size() && i < size_t(kMaxRecords); i++) gpEQ[i] = records[i];
    const SettingsBlock& s = AppSettings;
    StoreCatalogueValues(int(records.size()), s.dataDays, s.lastFullYear, s.newestFileSize);
}

std::string RecordBytes(const std::vector<CmpRecord>& records) {
    return std::string(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(CmpRecord));
}

void WriteYearFile(const std::string& dataDir, int year, const std::vector<QuakeRecord>& records) {
    std::vector<CmpRecord> packed;
    for (const QuakeRecord& r : records) packed.push_back(PackCmpRecord(r));
    char name[32];
    std::snprintf(name, sizeof name, "/cmp_%04d.dat", year);
    WriteBytes(dataDir + name, RecordBytes(packed));
}

static MessageRecorder* gRecorder = nullptr;

static void RecordMessage(const char* text) {
    if (gRecorder) gRecorder->messages.push_back(text);
}

MessageRecorder::MessageRecorder() {
    gRecorder = this;
    SetMessageHandler(RecordMessage);
}

MessageRecorder::~MessageRecorder() {
    SetMessageHandler(nullptr);
    gRecorder = nullptr;
}

static void ResetList(RecordList* list) {
    FreeList(list);
    *list = RecordList{};
    AllocateList(list);
}

void LoadCatalogue(const std::vector<QuakeRecord>& records) {
    SetDefaultSettings();
    SetCatalogue(records);
    std::memset(RegionTable, 0, sizeof RegionTable);
    for (int i = 0; i < 300; i++) {
        RegionTable[i].code = i + 1;
        std::snprintf(RegionTable[i].name, kRegionNameBytes, "R%d", i);
    }
    ResetList(&gConditionList);
    ResetList(&gRegionList);
    SelectRecord(0, SELECT_AFTER_FILTER);
    ResetBottomPanel();
    ResetControlPanel();
    ResetRegionSummaries();
    SetRegionListTitleHook(nullptr);
    InvalidateStatsCache();
}

void SetSetting(int32_t SettingsBlock::*field, int value) {
    SettingsBlock s = AppSettings;
    s.*field = value;
    StoreConditions(s);
    StoreSelectionSummary(s);
    StoreCatalogueValues(s.recordCount, s.dataDays, s.lastFullYear, s.newestFileSize);
    StoreLastUpdateDay(s.lastUpdateDay);
}

void OpenConditions() {
    SettingsBlock s = AppSettings;
    s.magMin = 0, s.magMax = 25, s.depthMin = 0, s.depthMax = 65535, s.intMin = 0, s.intMax = 255;
    StoreConditions(s);
    SetPeriod({1900, 1, 1, 0, 0}, {2100, 12, 31, 23, 59});
}

void SetPeriod(const std::vector<int>& a, const std::vector<int>& b) {
    SettingsBlock s = AppSettings;
    s.startYear = a[0], s.startMonth = a[1], s.startDay = a[2], s.startHour = a[3], s.startMinute = a[4];
    s.endYear = b[0], s.endMonth = b[1], s.endDay = b[2], s.endHour = b[3], s.endMinute = b[4];
    StoreConditions(s);
}

QuakeRecord DayRec(int daysBack, int region, int magnitude10, int depthKm, int intensity) {
    static const int kLength[13] = {0, 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int month = 6, day = 20 - daysBack;
    while (day < 1) day += kLength[--month];
    return Rec(2024, month, day, 12, 0, 300, 100, depthKm, region, magnitude10, intensity);
}

void DataFolderTest::SetUp() {
    std::filesystem::create_directories(data);
    SetDataFolder(data.c_str());
    LocalTime now = {2024, 6, 15, 10, 30, 0};
    SetClockOverride(&now);
}

void DataFolderTest::TearDown() {
    SetClockOverride(nullptr);
    SetDataFolder(nullptr);
}
