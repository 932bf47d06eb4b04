// The settings block and its file wolt.dat: 54 little-endian int32, read,
// repaired and clamped at start-up, written back through a temporary file.
#include "engine/rules/settings.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"

SettingsBlock AppSettings;
const WorkArea kFixedWorkArea = {0, 0, 1920, 1040};

enum { kFields = sizeof(SettingsBlock) / 4 };

void SetDefaultSettings() {
    static const int32_t kWinX[8] = {0, 860, 860, 1359, 0, 0, 0, 0};
    static const int32_t kWinY[8] = {0, 0, 516, 0, 0, 0, 0, 0};
    SettingsBlock& s = AppSettings;
    s.tag = 100;
    s.winWidth = 864;
    s.winHeight = 768;
    std::memcpy(s.winX, kWinX, sizeof kWinX);
    std::memcpy(s.winY, kWinY, sizeof kWinY);
    s.placeMode = 0;
    s.alpha = 255;
    s.magMin = 1;
    s.magMax = 9;
    s.depthMin = 0;
    s.depthMax = 999;
    s.intMin = 1;
    s.intMax = 9;
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
    ClampRange(&AppSettings.magMin, &AppSettings.magMax, 1, 9);
    ClampRange(&AppSettings.depthMin, &AppSettings.depthMax, 0, 999);
    ClampRange(&AppSettings.intMin, &AppSettings.intMax, 1, 9);
}

static void EncodeBlock(unsigned char* bytes) {
    const int32_t* fields = &AppSettings.tag;
    for (int i = 0; i < kFields; i++) {
        uint32_t v = uint32_t(fields[i]);
        for (int b = 0; b < 4; b++) bytes[i * 4 + b] = (unsigned char)(v >> (8 * b));
    }
}

static void DecodeBlock(const unsigned char* bytes) {
    int32_t* fields = &AppSettings.tag;
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
    if (result == SETTINGS_FRESH) std::memset(&AppSettings, 0, sizeof AppSettings);
    if (result != SETTINGS_LOADED) SetDefaultSettings();
}

static void PlaceMainWindow(int result, const WorkArea& area) {
    SettingsBlock& s = AppSettings;
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
    PlaceMainWindow(result, workArea);
    return result;
}

int ReadSettingsOnly(const char* path) {
    int result = ReadBlock(path);
    ApplyDefaultsFor(result);
    ClampFilterSettings();
    PlaceMainWindow(result, kFixedWorkArea);
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
