// Random catalogues for the differential tests: newest first, many ties in
// every sortable key, a chosen number of regions.
#pragma once

#include <algorithm>
#include <random>
#include <vector>

#include "engine/model/records.h"

// `count` records from about `spanDays` days before 2024-06-20 up to that day,
// newest first, in regions 0..regions-1. Magnitudes lean to the small ones
// (with a few M6+), depths come in steps of 10 km, intensities 0..9.
inline std::vector<QuakeRecord> RandomCatalogue(std::mt19937& random, int count, int regions,
                                                int spanDays = 3000) {
    const long long newestDay = 19894;  // 2024-06-20
    std::vector<long long> minutes(count);
    for (long long& m : minutes)
        m = (newestDay - (long long)(random() % unsigned(spanDays))) * 1440 + random() % 1440;
    std::sort(minutes.begin(), minutes.end(), [](long long a, long long b) { return a > b; });
    std::vector<QuakeRecord> records;
    for (long long m : minutes) {
        QuakeRecord r{};
        int year, month, day;
        CivilFromDays(m / 1440, &year, &month, &day);
        r.year = uint16_t(year);
        r.month = uint16_t(month);
        r.day = uint16_t(day);
        r.hour = uint16_t(m % 1440 / 60);
        r.minute = uint16_t(m % 60);
        r.mapX = uint16_t(180 + random() % 330);
        r.mapY = uint16_t(1 + random() % 330);
        r.depthKm = uint16_t(10 * (random() % 30));
        // Busy regions first: the square of a uniform draw.
        unsigned pick = random() % 1000;
        r.regionIndex = uint16_t(pick * pick / 1000 * unsigned(regions) / 1000);
        int mag10 = 10 + int(random() % 30);
        if (random() % 8 == 0) mag10 += int(random() % 50);
        if (random() % 40 == 0) mag10 = 60 + int(random() % 35);
        r.magnitude10 = uint8_t(mag10);
        r.intensity = uint8_t(random() % 10);
        records.push_back(r);
    }
    return records;
}
