// Reading CSV exports of felt earthquakes (one row per earthquake: date,
// time, epicentre region, latitude, longitude, depth, magnitude, maximum
// intensity) into catalogue records, and writing a Data folder from them
// without ever leaving a half-written one.
#pragma once

#include <string>
#include <vector>

#include "engine/catalogue/data_files.h"
#include "engine/catalogue/event_text.h"
#include "engine/model/records.h"
#include "engine/catalogue/region_names.h"

struct ImportRejection {
    std::string file;
    int line;
    std::string reason;
};

struct ImportEvent {
    QuakeRecord rec;          // regionIndex not yet chosen
    double seconds;           // seconds of the minute, orders earthquakes within one minute
    ParsedEvent parsed;       // the position, for the region rule
    std::string region;       // the name as the file wrote it
};

struct ImportState {
    std::vector<ImportEvent> events;        // in reading order, newest first per file
    std::vector<ImportRejection> rejected;
    int rows = 0;                           // data rows read
    int withoutMagnitude = 0;               // left out: no magnitude, or below M0.1
    int offMap = 0;                         // positions beyond the storable grid, clamped
    int unknownPositions = 0;               // latitude or longitude unknown (stored as 0)
    int timeUnknown = 0;                    // the day only: stored at 00:00
};

enum {
    IMPORT_OK = 0,
    IMPORT_BAD_ENCODING = 1,   // neither UTF-8 nor Shift-JIS
    IMPORT_BAD_HEADER = 2,     // a header row without the columns it needs
};
// Adds the rows of one file's bytes; rejected rows are recorded in the state.
int ImportCsvText(const std::string& fileName, const std::string& bytes, ImportState* state);

struct ImportResult {
    std::vector<QuakeRecord> records;       // newest first
    RegionBook regions;                     // the shipped table and what the rule added or filed
    std::map<std::string, RegionNote> addedRegions, filedRegions;
    int dropped = 0;                        // the oldest, beyond what the catalogue holds
};
// The records to write, newest first, their regions chosen by the region
// rule from the oldest earthquake on; when there are more than the
// catalogue holds, the oldest are dropped first.
void FinishImport(const ImportState& state, ImportResult* result);

enum {
    COMMIT_OK = 0,
    COMMIT_NOT_A_FOLDER = 1,    // the output path exists and is not a folder
    COMMIT_WRITE_FAILED = 2,    // writing the temporary folder failed; nothing changed
    COMMIT_SWAP_FAILED = 3,     // the old folder could not be replaced; it is unchanged
};
// Writes the catalogue into a temporary folder beside `outDir`, copies over
// every other file of an existing `outDir` (the map image, for instance),
// and only then puts the new folder in place of the old one.
int CommitDataFolder(const std::string& outDir, const std::vector<QuakeRecord>& records,
                     const RegionBook& regions, WriteFileFn write = WriteWholeFile);
