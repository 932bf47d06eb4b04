#include "engine/model/records.h"

#include <cstdlib>
#include <cstring>

QuakeRecord* gpEQ = nullptr;
unsigned char* gpNE = nullptr;
RegionEntry RegionTable[kRegionSlots];
char IntensityLabels[10][20];
DateTime gDataFirst;
DateTime gDataLast;
int gTodayDay;

int AllocateCatalogue() {
    if (!gpEQ) gpEQ = static_cast<QuakeRecord*>(std::calloc(kMaxRecords, sizeof(QuakeRecord)));
    if (!gpNE) gpNE = static_cast<unsigned char*>(std::calloc(kNeTableBytes, 1));
    return gpEQ && gpNE ? 0 : 1;
}

void FreeCatalogue() {
    std::free(gpEQ);
    std::free(gpNE);
    gpEQ = nullptr;
    gpNE = nullptr;
}

int32_t ReadWord(const unsigned char* bytes) {
    return int32_t(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                   uint32_t(bytes[3]) << 24);
}

CmpRecord ReadCmpRecord(const unsigned char* bytes) {
    return CmpRecord{ReadWord(bytes), ReadWord(bytes + 4), ReadWord(bytes + 8), ReadWord(bytes + 12)};
}

bool IsCmpRecordOfYear(const CmpRecord& r, int year) {
    if (r.date < 0 || r.position < 0 || r.event < 0) return false;
    const int month = r.date % 10000 / 100, day = r.date % 100;
    const int hhmm = int(uint32_t(r.time) & 0xFFFFu);
    return r.date / 10000 == year && month >= 1 && month <= 12 && day >= 1 && day <= 31 && hhmm / 100 <= 23 &&
           hhmm % 100 <= 59;
}

void UnpackCmpRecord(const CmpRecord& in, QuakeRecord* out) {
    QuakeRecord r{};
    r.year = uint16_t(in.date / 10000);
    r.month = uint16_t(in.date % 10000 / 100);
    r.day = uint16_t(in.date % 100);
    int time = int(uint32_t(in.time) & 0xFFFFu);
    r.hour = uint16_t(time / 100);
    r.minute = uint16_t(time % 100);
    r.mapX = uint16_t(in.position / 1000000);
    r.mapY = uint16_t(in.position % 1000000 / 1000);
    r.depthKm = uint16_t(in.position % 1000);
    r.regionIndex = uint16_t(in.event / 1000);
    r.magnitude10 = uint8_t(in.event % 1000 / 10);
    r.intensity = uint8_t(in.event % 10);
    *out = r;
}

CmpRecord PackCmpRecord(const QuakeRecord& in) {
    CmpRecord c;
    c.date = in.year * 10000 + in.month * 100 + in.day;
    c.time = in.hour * 100 + in.minute;
    c.position = in.mapX * 1000000 + in.mapY * 1000 + in.depthKm;
    c.event = in.regionIndex * 1000 + in.magnitude10 * 10 + in.intensity;
    return c;
}

int IsDataRecord(int record) {
    return gpEQ && record >= 0 && record < kMaxRecords && gpEQ[record].magnitude10 != 0;
}

int DataEnd() {
    if (!gpEQ) return 0;
    int i = 0;
    while (i < kMaxRecords && gpEQ[i].magnitude10 != 0) i++;
    return i;
}

const char* RegionName(int regionIndex) {
    // A small ring of terminated copies, so that a caller may hold two names
    // at once (for instance in one printf).
    static char copies[4][kRegionNameBytes + 1];
    static int next = 0;
    char* out = copies[next];
    next = (next + 1) % 4;
    out[0] = 0;
    if (regionIndex >= 0 && regionIndex < kRegionSlots) {
        std::memcpy(out, RegionTable[regionIndex].name, kRegionNameBytes);
        out[kRegionNameBytes] = 0;
    }
    return out;
}

// Days since 1970-01-01 of a proleptic Gregorian date (any integers; the
// month is normalised into 1..12 first so the formula stays defined).
long long DayNumber(long long year, long long month, long long day) {
    long long m0 = month - 1;
    year += m0 >= 0 ? m0 / 12 : (m0 - 11) / 12;
    month = (m0 % 12 + 12) % 12 + 1;
    year -= month <= 2;
    long long era = (year >= 0 ? year : year - 399) / 400;
    long long yoe = year - era * 400;
    long long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long days, int* year, int* month, int* day) {
    days += 719468;
    long long era = (days >= 0 ? days : days - 146096) / 146097;
    long long doe = days - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    *day = int(doy - (153 * mp + 2) / 5 + 1);
    *month = int(mp < 10 ? mp + 3 : mp - 9);
    *year = int(yoe + era * 400 + (*month <= 2));
}

int DaysBetween(int fromYear, int fromMonth, int fromDay, int toYear, int toMonth, int toDay) {
    // Equal to stepping day by day from the first date to the second; a first
    // date later than the second gives 0 instead of stepping past it.
    long long days = DayNumber(toYear, toMonth, toDay) - DayNumber(fromYear, fromMonth, fromDay);
    if (days <= 0) return 0;
    return days > 0x7FFFFFFF ? 0x7FFFFFFF : int(days);
}

int DaysBetweenRecords(const QuakeRecord& older, const QuakeRecord& newer) {
    return DaysBetween(older.year, older.month, older.day, newer.year, newer.month, newer.day);
}

const QuakeRecord& RecordAt(int index) {
    static const QuakeRecord kNoRecord{};
    return gpEQ && index >= 0 && index < kMaxRecords ? gpEQ[index] : kNoRecord;
}

bool SameDay(const QuakeRecord& a, const QuakeRecord& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}
