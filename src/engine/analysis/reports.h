// The two text reports and the list files, Shift-JIS with CR LF line ends.
#pragma once

#include <string>

struct RecordList;
struct Section;

// Each writes to `path`, or, when path is nullptr, to the time-stamped name
// in text/ that the program uses. 0 on success, 1 when the file could not be
// created or written (the program shows a message; wolt-cli reports it,
// with errno as the operating system left it). A missing folder the file
// goes into (text/) is created.
int WriteAlertReport(const char* path = nullptr);
// The region report of `record`'s region (the current record's); 1 also
// without a record.
int WriteRegionReport(int record, const char* path = nullptr);
// The list file of a list window: the condition list, or with `regionList`
// the region list of `record` (the current record).
int SaveListText(const RecordList* list, bool regionList, int record, const char* path = nullptr);

// The events of a cross-section with their distances along and from the line.
int SaveSectionText(const Section& section, const char* path = nullptr);

// What the program shows when a save button's file could not be written.
extern const char* const kSaveFailedText;

// The default file names (UTF-8 paths below text/).
std::string AlertReportPath();
std::string RegionReportPath(int record);
std::string ListTextPath(bool regionList, int record);
// text/wolt_section_<time><extension>
std::string SectionFilePath(const char* extension);
