// The epicentre regions of the sample catalogue and of the importer: the
// shipped part of the national list (engine/catalogue/region_list.h), from
// which s_tbl.dat is written, with what the sample generator needs of each
// region derived from the record's figures by fixed rules (docs/data.md):
// a disc around the median epicentre, a depth range around the median
// depth, the record's rate of felt earthquakes and whether it is a land
// region (used as "land" by the intensity estimate).
//
// A region's index in this table is the regionIndex of its records.
#pragma once

#include <string>
#include <vector>

#include "engine/model/records.h"

struct KitRegion {
    int code;            // non-zero; grouped by area (100s Hokkaido ... 900s overseas)
    const char* name;    // UTF-8
    double lat, lon;     // centre: the median epicentre
    double radiusKm;     // the region as a disc
    int depthMinKm, depthMaxKm;
    double feltPerYear;  // felt earthquakes per year in the record
    bool land;
};

const KitRegion* KitRegions();
int KitRegionCount();   // kShippedRegionCount

// Index of the region whose name matches `utf8Name` (compared after folding
// full-width ASCII to half-width and dropping spaces), or -1.
int FindKitRegion(const std::string& utf8Name);

