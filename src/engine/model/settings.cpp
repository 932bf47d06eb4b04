// The settings block and its file wolt.dat: 54 little-endian int32, read,
// repaired and clamped at start-up, written back through a temporary file.
#include "engine/model/settings.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"

static SettingsBlock sSettings;
const SettingsBlock& AppSettings = sSettings;

void StoreConditions(const SettingsBlock& from) {
    SettingsBlock& s = sSettings;
    s.startYear = from.startYear, s.startMonth = from.startMonth, s.startDay = from.startDay;
    s.startHour = from.startHour, s.startMinute = from.startMinute;
    s.endYear = from.endYear, s.endMonth = from.endMonth, s.endDay = from.endDay;
    s.endHour = from.endHour, s.endMinute = from.endMinute;
    s.magMin = from.magMin, s.magMax = from.magMax, s.depthMin = from.depthMin, s.depthMax = from.depthMax;
    s.intMin = from.intMin, s.intMax = from.intMax;
}

void StoreSelectionSummary(const SettingsBlock& from) {
    SettingsBlock& s = sSettings;
    s.selCount = from.selCount, s.selMaxMag10 = from.selMaxMag10, s.selMeanMag10 = from.selMeanMag10;
    s.selMeanDepth = from.selMeanDepth, s.selStrongRecent = from.selStrongRecent, s.selCount2 = from.selCount2;
    s.selMaxMag10b = from.selMaxMag10b, s.selMeanMag10b = from.selMeanMag10b, s.selMeanDepthB = from.selMeanDepthB;
    s.selLastIndex = from.selLastIndex, s.selFirstIndex = from.selFirstIndex;
}

void StoreSelFirst(int record) { sSettings.selFirst = record; }

void StoreCatalogueValues(int recordCount, int dataDays, int lastFullYear, int newestFileSize) {
    sSettings.recordCount = recordCount;
    sSettings.dataDays = dataDays;
    sSettings.lastFullYear = lastFullYear;
    sSettings.newestFileSize = newestFileSize;
}

void StoreWindowPlace(int slot, int x, int y) {
    if (slot < 0 || slot >= 8) return;
    sSettings.winX[slot] = x;
    sSettings.winY[slot] = y;
}

void StoreMainSize(int width, int height) {
    sSettings.winWidth = width;
    sSettings.winHeight = height;
}

void StoreLastUpdateDay(int day) { sSettings.lastUpdateDay = day; }

void ClearSettings() { std::memset(&sSettings, 0, sizeof sSettings); }
const WorkArea kFixedWorkArea = {0, 0, 1920, 1040};
const FilterRange kFilterRanges[3] = {{1, 9}, {0, 999}, {1, 9}};

void SetFullFilterRanges(SettingsBlock* block) {
    SettingsBlock& s = *block;
    s.magMin = kFilterRanges[FILTER_MAGNITUDE].low, s.magMax = kFilterRanges[FILTER_MAGNITUDE].high;
    s.depthMin = kFilterRanges[FILTER_DEPTH].low, s.depthMax = kFilterRanges[FILTER_DEPTH].high;
    s.intMin = kFilterRanges[FILTER_INTENSITY].low, s.intMax = kFilterRanges[FILTER_INTENSITY].high;
}

enum { kFields = sizeof(SettingsBlock) / 4 };

void SetDefaultSettings() {
    static const int32_t kWinX[8] = {0, 860, 860, 1359, 0, 0, 0, 0};
    static const int32_t kWinY[8] = {0, 0, 516, 0, 0, 0, 0, 0};
    SettingsBlock& s = sSettings;
    s.tag = 100;
    s.winWidth = 864;
    s.winHeight = 768;
    std::memcpy(s.winX, kWinX, sizeof kWinX);
    std::memcpy(s.winY, kWinY, sizeof kWinY);
    s.placeMode = 0;
    s.alpha = 255;
    SetFullFilterRanges(&s);
    s.recordCount = 0;
    s.lastFullYear = 0;
    s.newestFileSize = 0;
    s.startYear = 1970;
    s.startMonth = 1;
    s.startDay = 1;
    s.startHour = 0;
    s.startMinute = 0;
    s.endYear = 1970;
    s.endMonth = 1;
    s.endDay = 1;
    s.endHour = 23;
    s.endMinute = 59;
}

// Raise the minimum, lower the maximum, then pull the minimum down to the
// maximum. A maximum below zero is raised to 0 first: the minimum follows it,
// and no value can index below the start of a table.
static void ClampRange(int32_t* low, int32_t* high, int32_t lowest, int32_t highest) {
    if (*low < lowest) *low = lowest;
    if (*high > highest) *high = highest;
    if (*high < 0) *high = 0;
    if (*low > *high) *low = *high;
}

void ClampFilterSettings() {
    SettingsBlock& s = sSettings;
    const FilterRange* r = kFilterRanges;
    ClampRange(&s.magMin, &s.magMax, r[FILTER_MAGNITUDE].low, r[FILTER_MAGNITUDE].high);
    ClampRange(&s.depthMin, &s.depthMax, r[FILTER_DEPTH].low, r[FILTER_DEPTH].high);
    ClampRange(&s.intMin, &s.intMax, r[FILTER_INTENSITY].low, r[FILTER_INTENSITY].high);
}

static void EncodeBlock(unsigned char* bytes) {
    const int32_t* fields = &sSettings.tag;
    for (int i = 0; i < kFields; i++) {
        uint32_t v = uint32_t(fields[i]);
        for (int b = 0; b < 4; b++) bytes[i * 4 + b] = (unsigned char)(v >> (8 * b));
    }
}

static void DecodeBlock(const unsigned char* bytes) {
    int32_t* fields = &sSettings.tag;
    for (int i = 0; i < kFields; i++) {
        uint32_t v = 0;
        for (int b = 3; b >= 0; b--) v = v << 8 | bytes[i * 4 + b];
        fields[i] = int32_t(v);
    }
}

// Reads exactly 216 bytes into the block; anything else leaves it untouched.
// Returns SETTINGS_LOADED, SETTINGS_FRESH (no file) or SETTINGS_REPAIRED.
static int ReadBlock(const char* path) {
    FILE* file = OpenFile(path, "rb");
    if (!file) return SETTINGS_FRESH;
    unsigned char bytes[sizeof(SettingsBlock) + 1];
    size_t got = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    if (got != sizeof(SettingsBlock)) return SETTINGS_REPAIRED;
    DecodeBlock(bytes);
    return SETTINGS_LOADED;
}

static void ApplyDefaultsFor(int result) {
    if (result == SETTINGS_FRESH) std::memset(&sSettings, 0, sizeof sSettings);
    if (result != SETTINGS_LOADED) SetDefaultSettings();
}

static void KeepStoredPlaceOnScreen(int result, const WorkArea& area) {
    SettingsBlock& s = sSettings;
    if (result == SETTINGS_FRESH) {
        s.winX[0] = 0;
        s.winY[0] = 0;
        return;
    }
    if (s.alpha < 0 || s.alpha > 255) s.alpha = 255;
    if (s.winX[0] < area.left) s.winX[0] = area.left;
    if (s.winY[0] < area.top) s.winY[0] = area.top;
    if (s.winX[0] > area.right - 8) s.winX[0] = area.right - 8;
    if (s.winY[0] > area.bottom - 8) s.winY[0] = area.bottom - 8;
}

int LoadSettings(const char* path, const WorkArea& workArea) {
    int result = ReadBlock(path);
    ApplyDefaultsFor(result);
    if (result != SETTINGS_LOADED) SaveSettings(path);  // a failure here is not an error
    ClampFilterSettings();
    KeepStoredPlaceOnScreen(result, workArea);
    return result;
}

int ReadSettingsOnly(const char* path) {
    int result = ReadBlock(path);
    ApplyDefaultsFor(result);
    ClampFilterSettings();
    KeepStoredPlaceOnScreen(result, kFixedWorkArea);
    return result;
}

int SaveSettings(const char* path) {
    unsigned char bytes[sizeof(SettingsBlock)];
    EncodeBlock(bytes);
    std::string temporary = std::string(path) + ".tmp";
    FILE* file = OpenFile(temporary.c_str(), "wb");
    if (!file) return 1;
    bool written = std::fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes;
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (written && MoveFileOver(temporary.c_str(), path) == 0) return 0;
    RemoveFile(temporary.c_str());
    return 1;
}
