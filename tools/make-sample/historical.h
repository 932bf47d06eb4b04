// The large earthquakes of Japan since 1970 that every sample catalogue
// contains at their real dates, places, depths and magnitudes (public
// facts, rounded), each of which starts its own aftershock sequence.
#pragma once

struct HistoricalQuake {
    int year, month, day, hour, minute;   // Japan Standard Time
    double lat, lon;
    int depthKm;
    double magnitude;
    const char* region;                   // name in the region table
    int intensity;                        // maximum intensity class 0..9
    double strike;                        // of the rupture, degrees from north
    double productivity;                  // aftershock productivity factor (swarms > 1)
};

const HistoricalQuake* HistoricalQuakes();
int HistoricalQuakeCount();
