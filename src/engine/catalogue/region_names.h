// The one rule that turns an epicentre name (as a CSV export or the search
// service writes it) into a region index of a Data folder's table, shared by
// the importer, the feed and the program's own update:
// - a name in the table keeps its region (names are compared after folding
//   full-width ASCII to half-width and dropping spaces);
// - a name the table lacks is appended while the table has room
//   (indices up to kMaxRegionIndex);
// - only when the table is full is a name filed under the region whose
//   centre lies nearest to the name's own position (the national record's
//   median for the names it lists, else the position of the name's first
//   event), and that choice is kept in the folder (regions-filed.txt), so
//   every event of the name, in every later run, goes to the same region.
// No event is ever left out for a region reason.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/catalogue/event_text.h"
#include "engine/model/records.h"

// Full-width ASCII folded to half-width, spaces (ASCII and ideographic) dropped.
std::string FoldRegionName(const std::string& utf8Name);

// The shipped table: the national record's names in index order, as s_tbl.dat
// holds them (kRegionSlots entries, zero behind the last). 0 on success.
int ShippedRegionTable(std::vector<RegionEntry>* table);

struct FiledName {
    std::string name;   // UTF-8, as the source wrote it
    int region;
};

struct RegionBook {
    std::vector<RegionEntry> table;    // kRegionSlots entries, as s_tbl.dat holds them
    std::vector<std::string> keys;     // each entry's folded UTF-8 name; "" where none
    std::vector<FiledName> filed;      // names the full table lacks
    bool tableChanged = false, filedChanged = false;
};

enum RegionChoiceKind {
    REGION_NAMED = 0,   // the name is in the table
    REGION_ADDED = 1,   // the name was appended to the table
    REGION_FILED = 2,   // the table is full: filed under the nearest region
};

// The shipped table and no filed names.
void OpenShippedRegionBook(RegionBook* book);
// The folder's s_tbl.dat (the shipped table when the folder has none, which
// then counts as changed) and its filed names.
void OpenRegionBook(const std::string& folder, RegionBook* book);
// Writes s_tbl.dat and regions-filed.txt where they changed, each replaced
// in one step. 0 on success.
int SaveRegionBook(const std::string& folder, RegionBook* book);

// The region for an event of `utf8Name` (its position from `event`).
// Always a valid index; *kind says how it was found.
int ChooseRegion(RegionBook* book, const std::string& utf8Name, const ParsedEvent& event, int* kind);

// What became of a name the table lacked, for the run's summary.
struct RegionNote {
    std::string region;   // where the name's events went (UTF-8)
    int events = 0;
};
// Counts an event of `utf8Name` that ChooseRegion placed in `region` as `kind`
// in `added` or `filed`; a name found in the table is not noted.
void NoteRegion(const RegionBook& book, const std::string& utf8Name, int region, int kind,
                std::map<std::string, RegionNote>* added, std::map<std::string, RegionNote>* filed);

// A region's name in UTF-8, for reports.
std::string RegionNameUtf8(const RegionBook& book, int region);

// The name of the file that keeps the filed names, in every Data folder, and its text.
extern const char* const kFiledNamesFile;
std::string FiledNamesText(const RegionBook& book);
