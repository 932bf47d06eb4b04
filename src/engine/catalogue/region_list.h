// The epicentre region names (震央地名) of the national seismic intensity
// database's felt record 1970-2024, with the record's own figures for each
// (data/epicentre-regions.tsv, taken from the database's export). The first
// kShippedRegionCount entries are the region table that Data folders ship:
// an entry's position is the regionIndex its records store, so an entry
// never moves. The rest are the names the record format has no room for.
#pragma once

struct RegionFacts {
    int code;              // non-zero; our own numbering, grouped by area (docs/data.md)
    const char* name;      // UTF-8
    double lat, lon;       // median epicentre of the name's events
    int depthKm;           // median depth
    int events;            // felt earthquakes 1970-2024
    int maxMag10;          // largest magnitude x 10; 0 if unknown
    int firstYear, lastYear;
};

enum { kShippedRegionCount = 287 };

// Entries 0..286: the shipped table in regionIndex order; then the names
// that do not fit.
const RegionFacts* NationalRegions();
int NationalRegionCount();   // 290
