// EQSet: reads the yearly files of the data folder, newest first, into gpEQ,
// fills in missing positions and derives the catalogue-wide values. Messages
// raised while reading are collected and shown once the load is complete.
#include "engine/catalogue/loader.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/catalogue/data_files.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "platform/platform.h"

enum { kChunkRecords = 4096 };

static std::string sDataFolder = "Data";
static bool sSample = false;

const char* const kSampleMarkFile = "sample.txt";

bool DataIsSample() { return sSample; }

void SetDataFolder(const char* utf8Dir) { sDataFolder = utf8Dir && *utf8Dir ? utf8Dir : "Data"; }

const char* DataFolder() { return sDataFolder.c_str(); }

struct SkippedRecords {
    int year, count;
};

struct LoadState {
    int count = 0;             // records stored
    long newestSize = 0;
    bool missingFile = false;
    bool stopped = false;      // nothing more is read
    bool regionError = false;
    bool overflow = false;     // records left out because the store is full
    std::vector<SkippedRecords> skipped;
};

static std::string DataPath(const char* name) { return sDataFolder + "/" + name; }

static void ReadNeTable() {
    FILE* file = OpenFile(DataPath("ne_tbl.dat").c_str(), "rb");
    if (!file) return;
    if (gpNE) std::fread(gpNE, 1, kNeTableBytes, file);  // a short file fills what it holds
    std::fclose(file);
}

// Whole 48-byte entries only; a trailing partial entry is left out.
static void ReadRegionTable() {
    FILE* file = OpenFile(DataPath("s_tbl.dat").c_str(), "rb");
    if (!file) return;
    static unsigned char bytes[kRegionSlots * sizeof(RegionEntry)];
    size_t entries = std::fread(bytes, 1, sizeof bytes, file) / sizeof(RegionEntry);
    std::fclose(file);
    for (size_t i = 0; i < entries; i++) {
        const unsigned char* entry = bytes + i * sizeof(RegionEntry);
        RegionTable[i].code = ReadWord(entry);
        std::memcpy(RegionTable[i].name, entry + 4, kRegionNameBytes);
    }
}

static void SetIntensityLabels() {
    static const char* const kLabels[10] = {"0", "1", "2", "3", "4", "5弱", "5強", "6弱", "6強", "7"};
    for (int i = 0; i < 10; i++)
        std::snprintf(IntensityLabels[i], sizeof IntensityLabels[i], "%s", SjisText(kLabels[i]));
}

// A record that cannot be a real earthquake of the file of `year`.
static void StoreRecord(const unsigned char* bytes, int year, LoadState* state, int* skipped) {
    const CmpRecord packed = ReadCmpRecord(bytes);
    if (!IsCmpRecordOfYear(packed, year)) {
        (*skipped)++;
        return;
    }
    // An unknown region stops the load; the record itself is not stored, so
    // no consumer can index RegionTable with it.
    if (packed.event / 1000 > kMaxRegionIndex) {
        state->regionError = true;
        state->stopped = true;
        return;
    }
    UnpackCmpRecord(packed, &gpEQ[state->count]);
    state->count++;
}

// Reads whole records in chunks that never exceed the free capacity. With
// the store full, one more record only shows that some are left out.
static void ReadYearFile(FILE* file, int year, unsigned char* buffer, LoadState* state) {
    int skipped = 0;
    while (!state->stopped) {
        int room = kMaxRecords - state->count;
        size_t want = room == 0 ? 1 : size_t(room < kChunkRecords ? room : kChunkRecords);
        size_t got = std::fread(buffer, kCmpRecordBytes, want, file);
        if (room == 0) {
            state->overflow = got > 0;
            state->stopped = got > 0;
            break;
        }
        for (size_t i = 0; i < got && !state->stopped; i++)
            StoreRecord(buffer + i * kCmpRecordBytes, year, state, &skipped);
        if (got < want) break;
    }
    if (skipped > 0) state->skipped.push_back({year, skipped});
}

void BorrowPositions(QuakeRecord* records, int count) {
    // Per region: the first mapX and the first mapY of the newer records, and
    // the first mapY at or after the record that supplied that mapX. These
    // are exactly what the walk over the newer records of the region finds.
    struct Source {
        uint16_t firstX, firstY, yAfterX;
    };
    Source sources[kRegionSlots] = {};
    for (int i = 0; i < count; i++) {
        QuakeRecord& r = records[i];
        if (r.regionIndex >= kRegionSlots) continue;
        Source& s = sources[r.regionIndex];
        if (r.mapX == 0) {
            r.mapX = s.firstX;
            if (r.mapY == 0) r.mapY = s.yAfterX;
        } else if (r.mapY == 0) {
            r.mapY = s.firstY;
        }
        if (s.firstX == 0) s.firstX = r.mapX;
        if (s.firstX != 0 && s.yAfterX == 0) s.yAfterX = r.mapY;
        if (s.firstY == 0) s.firstY = r.mapY;
    }
}

// The newest and oldest dates and the default period; an empty catalogue
// covers today.
static void SetCatalogueDates(int count, const LocalTime& now) {
    if (count == 0) {
        gDataFirst = {now.year, now.month, now.day, 0, 0};
        gDataLast = {now.year, now.month, now.day, 23, 59};
    } else {
        const QuakeRecord& newest = gpEQ[0];
        const QuakeRecord& oldest = gpEQ[count - 1];
        gDataLast = {newest.year, newest.month, newest.day, newest.hour, newest.minute};
        gDataFirst = {oldest.year, oldest.month, oldest.day, oldest.hour, oldest.minute};
    }
    SettingsBlock s = AppSettings;
    s.startYear = gDataFirst.year;
    s.startMonth = gDataFirst.month;
    s.startDay = gDataFirst.day;
    s.startHour = 0;
    s.startMinute = 0;
    s.endYear = gDataLast.year;
    s.endMonth = gDataLast.month;
    s.endDay = gDataLast.day;
    s.endHour = 23;
    s.endMinute = 59;
    StoreConditions(s);
}

static int DataDays() {
    return DaysBetween(gDataFirst.year, gDataFirst.month, gDataFirst.day, gDataLast.year, gDataLast.month,
                       gDataLast.day) + 1;
}

// The record count, the days covered, the last complete year and the newest file's size.
static void SetFileValues(const LoadState& state, int currentYear) {
    const int count = state.count;
    int lastFullYear = AppSettings.lastFullYear;
    for (int i = 0; i < count; i++) {
        if (gpEQ[i].month == 12 && gpEQ[i].day == 31) {
            lastFullYear = gpEQ[i].year;
            break;
        }
    }
    if (lastFullYear == 0) lastFullYear = currentYear;

    long size = state.newestSize;
    if (state.missingFile) {
        bool nextYearStored = false;
        for (int i = 0; i < count && !nextYearStored; i++) nextYearStored = gpEQ[i].year == lastFullYear + 1;
        if (!nextYearStored) size = 0;
    }
    StoreCatalogueValues(count, DataDays(), lastFullYear, size < 0 ? 0 : size > INT_MAX ? INT_MAX : int(size));
}

static void ShowLoadMessages(const LoadState& state) {
    if (state.regionError) ShowMessage("ERROR : 震源地が無い");
    char text[160];
    if (state.overflow) {
        std::snprintf(text, sizeof text,
                      "記録が上限を超えたため、新しい順に %d 件だけを読み込みました", state.count);
        ShowMessage(text);
    }
    if (state.skipped.empty()) return;
    int total = 0;
    std::string files;
    for (const SkippedRecords& s : state.skipped) {
        total += s.count;
        std::snprintf(text, sizeof text, ": %d 件", s.count);
        files += (files.empty() ? "" : ", ") + YearFileName(s.year) + text;
    }
    std::snprintf(text, sizeof text, "読めない記録 %d 件を飛ばしました (", total);
    ShowMessage((text + files + ")").c_str());
}

int EQSet() {
    if (!gpEQ) return EQSET_NO_STORE;
    unsigned char* buffer = static_cast<unsigned char*>(std::malloc(kChunkRecords * kCmpRecordBytes));
    if (!buffer) return EQSET_NO_STORE;
    std::memset(gpEQ, 0, sizeof(QuakeRecord) * kMaxRecords);
    LocalTime now;
    GetLocalNow(&now);
    gTodayDay = now.day;
    ReadNeTable();
    ReadRegionTable();
    if (FILE* mark = OpenFile(DataPath(kSampleMarkFile).c_str(), "rb")) {
        sSample = true;
        std::fclose(mark);
    } else {
        sSample = false;
    }
    SetIntensityLabels();

    LoadState state;
    for (int year = now.year; year >= kFirstYear; year--) {
        FILE* file = OpenFile(YearFilePath(sDataFolder, year).c_str(), "rb");
        if (!file) {
            state.missingFile = true;
            continue;
        }
        if (state.count == 0) state.newestSize = FileLength(file);
        if (!state.stopped) ReadYearFile(file, year, buffer, &state);
        std::fclose(file);
    }
    std::free(buffer);

    BorrowPositions(gpEQ, state.count);
    SetCatalogueDates(state.count, now);
    SetFileValues(state, now.year);
    ShowLoadMessages(state);
    return EQSET_OK;
}
