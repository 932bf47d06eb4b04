// The sample catalogue: an ETAS-style model of Japanese seismicity seen
// through a felt-earthquake filter.
//
// Background earthquakes arise in every region of the region table at a
// rate derived from the record's felt earthquakes there, with
// Gutenberg-Richter magnitudes and the region's depth range; every earthquake (background, historical or itself an
// aftershock) triggers aftershocks whose number grows with its magnitude and
// whose times follow the Omori-Utsu law. Each earthquake gets a maximum
// intensity from its magnitude, depth and distance to land; those that
// nobody would feel are not in the catalogue.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/model/records.h"

struct SampleOptions {
    uint64_t seed;
    int endYear, endMonth, endDay;   // last day of the catalogue
    int endMinuteOfDay;              // the catalogue ends before this minute of that day (1440: whole day)
    int records;                     // exact record count wanted; 0: the model's own count
};

struct SampleReport {
    long long simulated;   // earthquakes simulated, felt or not
    int felt;              // earthquakes felt anywhere
    int records;           // records in the catalogue
    int missingPositions;  // records written with a position of 0
};

enum {
    SAMPLE_OK = 0,
    SAMPLE_BAD_OPTIONS = 1,   // end date before 1970 or invalid, or records out of range
    kSampleMaxRecords = 190000,   // cap of the model's own count
};

// The catalogue, newest first, every record ready for a yearly file.
int GenerateSample(const SampleOptions& options, std::vector<QuakeRecord>* records, SampleReport* report);

// The maximum intensity (JMA scale, a real number) that an earthquake of
// magnitude `m` at `depthKm` produces at land `landKm` away from its
// epicentre, and its class 0..9.
double EstimateIntensity(double m, double depthKm, double landKm);
int IntensityClassOf(double intensity);
