// The catalogue in memory: records, the region table, the intensity labels,
// the auxiliary table and the catalogue-wide dates.
#pragma once

#include <cstdint>

enum {
    kMaxRecords = 200000,    // capacity of gpEQ
    kRegionSlots = 300,      // entries of s_tbl.dat
    kMaxRegionIndex = 286,   // highest region index a record may carry
    kRegionNameBytes = 44,
    kNeTableBytes = 5000,
    kCmpRecordBytes = 16,
    kFirstYear = 1970,
};

struct QuakeRecord {
    uint16_t year, month, day, hour, minute;
    uint16_t mapX, mapY;
    uint16_t depthKm;
    uint16_t regionIndex;
    uint8_t inFilter;
    uint8_t magnitude10;   // 0 ends the data
    uint8_t intensity;     // IntensityClass index 0..9
    uint32_t markerColor;
};

// One 16-byte record of a yearly file, the four words as stored.
struct CmpRecord {
    int32_t date;      // YYYYMMDD
    int32_t time;      // HHMM in the low 16 bits
    int32_t position;  // mapX * 1000000 + mapY * 1000 + depthKm
    int32_t event;     // regionIndex * 1000 + magnitude10 * 10 + intensity
};

struct RegionEntry {
    int32_t code;                    // 0: no region defined here
    char name[kRegionNameBytes];     // Shift-JIS, may lack the terminating zero
};
static_assert(sizeof(RegionEntry) == 48, "s_tbl.dat entry is 48 bytes");

struct DateTime {
    int year, month, day, hour, minute;
};

extern QuakeRecord* gpEQ;                    // kMaxRecords records, newest first
extern unsigned char* gpNE;                  // kNeTableBytes, not interpreted
extern RegionEntry RegionTable[kRegionSlots];
extern char IntensityLabels[10][20];         // Shift-JIS labels "0".."7"
extern DateTime gDataFirst;                  // oldest record
extern DateTime gDataLast;                   // newest record
extern int gTodayDay;                        // local day of month at the last load

// Allocates gpEQ and gpNE zero-filled (idempotent). 0 on success.
int AllocateCatalogue();
void FreeCatalogue();

// A little-endian 32-bit word as the files store it.
int32_t ReadWord(const unsigned char* bytes);
// The 16 stored bytes of a record.
CmpRecord ReadCmpRecord(const unsigned char* bytes);
// True when the record's date is a day of `year` (month 1..12, day 1..31),
// its time a clock time (HHMM), and its position and event words are not
// negative: what a yearly file may hold.
bool IsCmpRecordOfYear(const CmpRecord& record, int year);

// Unpacks one file record into `out` (inFilter and markerColor 0).
void UnpackCmpRecord(const CmpRecord& in, QuakeRecord* out);
// Packs a record into the file format (tools and tests).
CmpRecord PackCmpRecord(const QuakeRecord& in);

// Number of records before the end of the data (the first magnitude10 of 0).
int DataEnd();
// 1 when `record` indexes a loaded record before the end of the data
// (an index behind the zero-magnitude end or outside gpEQ gives 0).
int IsDataRecord(int record);

// The record at `index`; an index outside the store reads as an empty record.
const QuakeRecord& RecordAt(int index);
// True when both records fall on the same calendar day.
bool SameDay(const QuakeRecord& a, const QuakeRecord& b);

// The region name as a terminated Shift-JIS string (at most 44 bytes).
const char* RegionName(int regionIndex);

// Days since 1970-01-01 on the proleptic Gregorian calendar (a month outside
// 1..12 carries into the year), and back.
long long DayNumber(long long year, long long month, long long day);
void CivilFromDays(long long days, int* year, int* month, int* day);
// Days from the first date to the second on the Gregorian calendar; 0 for
// the same date. Terminates for any input.
int DaysBetween(int fromYear, int fromMonth, int fromDay, int toYear, int toMonth, int toDay);
int DaysBetweenRecords(const QuakeRecord& older, const QuakeRecord& newer);
