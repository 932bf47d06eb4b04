// A list in the formats of the exports (UTF-8 CSV, GeoJSON, KML): its
// records in the order on screen, under the list file's name with the
// format's extension. The list window's export and wolt-cli's list --format.
#pragma once

#include <string>
#include <vector>

struct RecordList;

// The records of the list in display order, up to the end of the data.
std::vector<int> ListedRecords(const RecordList* list);
// The export of those records in `format` (an ExportFormat).
std::string ListExportText(const RecordList* list, int format);
// text/wolt_list_[<region of `record`>_]<time>.csv / .geojson / .kml
std::string ListExportPath(bool regionList, int record, int format);
// Writes the export under ListExportPath (text/ created when missing), the
// file replaced only whole. 0 on success with the path in *path; 1 when it
// could not be written (*path untouched).
int SaveListExport(const RecordList* list, bool regionList, int record, int format, std::string* path);
