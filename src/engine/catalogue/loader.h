// EQSet: loads the catalogue from the data folder into gpEQ.
#pragma once

// The data folder, "Data" below the current directory unless set (wolt-cli --data).
void SetDataFolder(const char* utf8Dir);
const char* DataFolder();

enum {
    EQSET_OK = 0,
    EQSET_NO_STORE = 1,   // gpEQ not allocated, or no memory for the read buffer
};
int EQSet();

// A generated sample catalogue, not the national record, carries this file
// in its Data folder; the program then says "sample" where it would credit
// the national database. True after a load that found it.
extern const char* const kSampleMarkFile;   // "sample.txt"
bool DataIsSample();

struct QuakeRecord;
// Fills the missing (0) mapX / mapY of records[0..count) in index order, each
// from the newer records of its region, as the loader does after reading.
// Linear time. Records with a regionIndex of kRegionSlots or more take no part.
void BorrowPositions(QuakeRecord* records, int count);
