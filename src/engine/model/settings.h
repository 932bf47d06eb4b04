// The settings block: the user's conditions, the window positions and the
// derived selection summary. The whole 216-byte block is the file wolt.dat.
#pragma once

#include <cstdint>

struct SettingsBlock {
    int32_t tag;
    int32_t winWidth, winHeight;
    int32_t winX[8];
    int32_t winY[8];
    int32_t placeMode;
    int32_t alpha;
    int32_t magMin, magMax;
    int32_t depthMin, depthMax;
    int32_t intMin, intMax;
    int32_t selCount;
    int32_t selMaxMag10;
    int32_t selMeanMag10;
    int32_t selMeanDepth;
    int32_t selStrongRecent;
    int32_t recordCount;
    int32_t dataDays;
    int32_t selCount2;
    int32_t selFirst;
    int32_t selMaxMag10b;
    int32_t selMeanMag10b;
    int32_t selMeanDepthB;
    int32_t selLastIndex;
    int32_t selFirstIndex;
    int32_t lastFullYear;
    int32_t newestFileSize;
    int32_t lastUpdateDay;
    int32_t startYear, startMonth, startDay, startHour, startMinute;
    int32_t endYear, endMonth, endDay, endHour, endMinute;
};
static_assert(sizeof(SettingsBlock) == 216, "wolt.dat is 216 bytes");

// The block, for reading. Its parts are written through the functions below,
// each by the part's one writer: the conditions (the control panel, the period
// dialog, the filter's own clamp, wolt-cli), the selection summary (the
// filter), the catalogue's values (the loader), the window places (the
// windows), the day of the last update (the update button).
extern const SettingsBlock& AppSettings;

// Copies the period start and end and the six filter values from `from`.
void StoreConditions(const SettingsBlock& from);
// Copies the selection summary (selCount .. selMeanDepthB, selLastIndex, selFirstIndex).
void StoreSelectionSummary(const SettingsBlock& from);
// The newest match the lists and the map start from (the selection's).
void StoreSelFirst(int record);
// The loader's values of the catalogue.
void StoreCatalogueValues(int recordCount, int dataDays, int lastFullYear, int newestFileSize);
// The outer position of window `slot` (0 the main window, 1 the list, 2 the
// graph, 3 the second list, 4 the cross-section), and the main window's size.
void StoreWindowPlace(int slot, int x, int y);
void StoreMainSize(int width, int height);
void StoreLastUpdateDay(int day);
// Zeroes the whole block (shutdown, after the block was saved).
void ClearSettings();

struct WorkArea {
    int left, top, right, bottom;
};
// The area wolt-cli and the tests use in place of the desktop's work area.
extern const WorkArea kFixedWorkArea;  // 0, 0, 1920, 1040

// The ranges of the magnitude, depth and intensity values; the defaults
// (and "Reset") are the full ranges.
struct FilterRange {
    int low, high;
};
enum { FILTER_MAGNITUDE = 0, FILTER_DEPTH = 1, FILTER_INTENSITY = 2 };
extern const FilterRange kFilterRanges[3];
// Sets the six filter values of `block` to the full ranges.
void SetFullFilterRanges(SettingsBlock* block);

// Writes the defaults into the block; fields without a default are untouched.
void SetDefaultSettings();
// Clamps the filter ranges into their valid ranges (never below 0).
void ClampFilterSettings();

enum {
    SETTINGS_LOADED = 0,   // 216 bytes read
    SETTINGS_FRESH = 1,    // no file: defaults, written back
    SETTINGS_REPAIRED = 2, // wrong length: defaults over the old block, written back
};
// Reads the settings file at `path`, repairs and clamps it; returns one of
// the codes above. Never fails: a bad file gives defaults.
int LoadSettings(const char* path, const WorkArea& workArea);
// Reads the file without writing anything back (wolt-cli). Returns the same
// codes; a missing or wrong-length file leaves the defaults in the block.
int ReadSettingsOnly(const char* path);
// Writes the block to `path` through a temporary file; 0 on success.
int SaveSettings(const char* path);
