// The selection in formats other tools read: UTF-8 CSV, GeoJSON and KML.
// Latitude and longitude come from the record's grid position (GridToGeo):
// approximate, to the grid's spacing (about 0.07 degrees); a record without
// a position has empty coordinates (CSV), a null geometry (GeoJSON) or no
// Point (KML). Times are the catalogue's, Japan Standard Time (+09:00).
#pragma once

#include <string>

struct QuakeRecord;
struct RegionEntry;

enum ExportFormat { EXPORT_CSV, EXPORT_GEOJSON, EXPORT_KML };

// The records `records[order[k]]`, k = 0 .. n-1, in that order. Region names
// come from `regions` (kRegionSlots entries, Shift-JIS) and the intensity
// labels from `intensityLabels` (ten Shift-JIS labels), both as UTF-8.
std::string ExportRecords(const QuakeRecord* records, const int* order, int n, const RegionEntry* regions,
                          const char (*intensityLabels)[20], int format);
