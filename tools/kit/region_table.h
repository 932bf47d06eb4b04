// The epicentre regions of the sample catalogue and of the importer: the
// one source from which s_tbl.dat is written. Each region has the name the
// national seismic service uses, an approximate centre and extent (an
// ellipse), a typical depth range, a relative background activity and
// whether it is a land region (used as "land" by the intensity estimate).
//
// A region's index in this table is the regionIndex of its records, so the
// table only ever grows at its end.
#pragma once

#include <string>
#include <vector>

#include "engine/catalogue/model.h"

struct KitRegion {
    int code;            // non-zero; grouped by area (100s Hokkaido ... 900s overseas)
    const char* name;    // UTF-8
    double lat, lon;     // centre
    double alongKm;      // semi-axis along `azimuth`
    double acrossKm;     // semi-axis across it
    double azimuth;      // degrees clockwise from north
    int depthMinKm, depthMaxKm;
    double activity;     // relative background rate of earthquakes
    bool land;
};

const KitRegion* KitRegions();
int KitRegionCount();

// Index of the region whose name matches `utf8Name` (compared after folding
// full-width ASCII to half-width and dropping spaces), or -1.
int FindKitRegion(const std::string& utf8Name);

// The 300 entries of s_tbl.dat for the table plus `extraNames` (UTF-8,
// appended in order with codes 1000 + index). 0 on success; 1 when a name
// cannot be encoded in Shift-JIS or does not fit its 44 bytes, 2 when the
// names exceed kMaxRegionIndex + 1 regions.
int BuildRegionTable(const std::vector<std::string>& extraNames, std::vector<RegionEntry>* out);
