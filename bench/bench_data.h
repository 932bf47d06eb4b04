// A deterministic pseudo-random catalogue for the benchmarks: newest first,
// 1970-01-01 to 2026-11-30, about 250 named regions (a few with no known
// positions at all), Gutenberg-Richter-like magnitudes, mostly shallow depths
// and mostly low intensities. Only integer arithmetic, so every platform
// generates the same bytes for a given seed.
#pragma once

// Fills gpEQ (allocating it if needed) and RegionTable with `records`
// records and sets AppSettings.recordCount. Positions that the generator
// leaves unknown stay 0, exactly as the files hold them.
void MakeBenchCatalogue(int records, unsigned seed);

// Writes the same catalogue as a data folder: cmp_1970.dat .. cmp_2026.dat,
// s_tbl.dat and ne_tbl.dat below `dir` (created if missing). gpEQ holds the
// generated catalogue afterwards. 0 on success, 1 when a file could not be
// written.
int WriteBenchDataFolder(const char* dir, int records, unsigned seed);

// The benchmark catalogue of `records` records (seed 1) over its whole period
// with minimum magnitude `magMin`, filtered once, both lists allocated, the
// newest match current and the region list refreshed (as after a filter run
// in the program).
void PrepareFilteredCatalogue(int records, int magMin);
