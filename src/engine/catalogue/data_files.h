// The files of a Data folder as whole byte strings: the yearly catalogue
// files, s_tbl.dat and ne_tbl.dat, written so that a reader never meets a
// half-written one.
#pragma once

#include <string>
#include <vector>

#include "engine/model/records.h"

// Writes `bytes` to `utf8Path`, replacing the file. 0 on success.
typedef int (*WriteFileFn)(const std::string& utf8Path, const std::string& bytes);
int WriteWholeFile(const std::string& utf8Path, const std::string& bytes);
// Writes `bytes` to PATH.part and moves it over `utf8Path` only when it was
// written completely, so the path always holds either the old file or the
// whole new one. 0 on success; on failure the temporary file is removed.
int WriteFileReplacing(const std::string& utf8Path, const std::string& bytes);
// Reads a whole file. 0 on success; `bytes` is untouched on failure.
int ReadWholeFile(const std::string& utf8Path, std::string* bytes);

// "cmp_YYYY.dat", the only name the loader reads for a year, and "DIR/cmp_YYYY.dat".
std::string YearFileName(int year);
// The year of a yearly file's name; 0 when `name` is not one.
int YearOfFileName(const std::string& name);
std::string YearFilePath(const std::string& dir, int year);

// The bytes of a yearly file for records given newest first.
std::string PackYearFile(const std::vector<QuakeRecord>& records);
// The records of a yearly file as stored (positions not borrowed). 0 when
// the file was read; a trailing partial record is ignored.
int ReadYearFile(const std::string& dir, int year, std::vector<QuakeRecord>* records);

// The bytes of s_tbl.dat for `regions` (kRegionSlots entries).
std::string PackRegionTable(const std::vector<RegionEntry>& regions);
// The region table of a Data folder (kRegionSlots entries, zero where the
// file is short). 0 when the file was read.
int ReadRegionFile(const std::string& dir, std::vector<RegionEntry>* regions);

// Writes the catalogue (all records newest first) into `dir`, which must
// exist: one file per year from firstYear to lastYear (empty where a year
// has no record), s_tbl.dat from `regions` (kRegionSlots entries) and a
// zero-filled ne_tbl.dat. Records outside the years are not written.
// 0 on success, 1 when a write failed (files already written stay).
int WriteCatalogueFiles(const std::string& dir, const std::vector<QuakeRecord>& records, int firstYear,
                        int lastYear, const std::vector<RegionEntry>& regions,
                        WriteFileFn write = WriteWholeFile);

enum SwapResult {
    SWAP_OK = 0,
    SWAP_NOT_A_FOLDER = 1,   // `dir` exists and is not a folder
    SWAP_FAILED = 2,         // a rename failed; `dir` is as it was
};
// Puts the complete folder `fresh` in place of `dir` (which may be missing):
// dir → DIR.previous, fresh → dir, then DIR.previous is removed. A run
// stopped between the two renames is mended by MendInterruptedSwap.
int SwapInFolder(const std::string& fresh, const std::string& dir);
// Puts DIR.previous back where a swap left `dir` missing.
void MendInterruptedSwap(const std::string& dir);
