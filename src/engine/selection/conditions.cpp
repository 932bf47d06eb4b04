#include "engine/selection/conditions.h"

#include <cstdint>

#include "engine/model/records.h"
#include "engine/model/settings.h"

// A minute stamp as two keys that order like year, month, day, hour and
// minute compared in turn. Each field takes 17 bits as value + 1: a record's
// 16-bit field lies in 1..65536, and a settings value outside 0..65535 is
// held at 0 or 65537, where it still compares correctly with every field.
struct Stamp {
    uint64_t date;
    uint64_t time;
};

static uint64_t SettingBits(int v) { return uint64_t(v < -1 ? 0 : v > 65536 ? 65537 : v + 1); }

static Stamp SettingStamp(int year, int month, int day, int hour, int minute) {
    return Stamp{SettingBits(year) << 34 | SettingBits(month) << 17 | SettingBits(day),
                 SettingBits(hour) << 17 | SettingBits(minute)};
}

static Stamp RecordStamp(const QuakeRecord& r) {
    return Stamp{uint64_t(r.year + 1) << 34 | uint64_t(r.month + 1) << 17 | uint64_t(r.day + 1),
                 uint64_t(r.hour + 1) << 17 | uint64_t(r.minute + 1)};
}

static bool Before(const Stamp& a, const Stamp& b) {
    return a.date < b.date || (a.date == b.date && a.time < b.time);
}

static Stamp PeriodStart() {
    const SettingsBlock& s = AppSettings;
    return SettingStamp(s.startYear, s.startMonth, s.startDay, s.startHour, s.startMinute);
}

static Stamp PeriodEnd() {
    const SettingsBlock& s = AppSettings;
    return SettingStamp(s.endYear, s.endMonth, s.endDay, s.endHour, s.endMinute);
}

static bool OutsidePeriod(const QuakeRecord& r, const Stamp& start, const Stamp& end) {
    Stamp stamp = RecordStamp(r);
    return Before(stamp, start) || Before(end, stamp);
}

int IsOutsidePeriod(int recordIndex) {
    if (!gpEQ || recordIndex < 0 || recordIndex >= kMaxRecords) return 1;
    return OutsidePeriod(gpEQ[recordIndex], PeriodStart(), PeriodEnd());
}

int FirstInRegion(int record) {
    if (record < 0 || !IsDataRecord(record)) return -1;
    int region = gpEQ[record].regionIndex;
    int from = AppSettings.selFirstIndex < 0 ? 0 : AppSettings.selFirstIndex;
    for (int i = from; i <= AppSettings.selLastIndex && i < kMaxRecords; i++) {
        const QuakeRecord& r = gpEQ[i];
        if (r.magnitude10 == 0) return -1;
        if (r.inFilter == 1 && r.regionIndex == region) return i;
    }
    return -1;
}

void ApplyConditions() {
    SettingsBlock s = AppSettings;
    if (Before(PeriodEnd(), PeriodStart())) {
        s.startYear = s.endYear;
        s.startMonth = s.endMonth;
        s.startDay = s.endDay;
        s.startHour = s.endHour;
        s.startMinute = s.endMinute;
        StoreConditions(s);
    }
    s.selCount = s.selMaxMag10 = s.selMeanMag10 = s.selMeanDepth = 0;
    s.selStrongRecent = s.selLastIndex = 0;
    s.selFirstIndex = -1;
    const Stamp start = PeriodStart(), end = PeriodEnd();
    const int magLow = s.magMin * 10, magHigh = s.magMax * 10;
    int n = 0, maxMag = 0;
    long long magSum = 0, depthSum = 0;
    for (int i = 0; gpEQ && i < kMaxRecords && gpEQ[i].magnitude10 != 0; i++) {
        QuakeRecord& r = gpEQ[i];
        r.inFilter = 0;
        if (r.magnitude10 < magLow || r.magnitude10 > magHigh || r.depthKm < s.depthMin ||
            r.depthKm > s.depthMax || r.intensity < s.intMin || r.intensity > s.intMax ||
            OutsidePeriod(r, start, end))
            continue;
        r.inFilter = 1;
        if (n == 0) s.selFirstIndex = i;
        if (n < 100 && r.magnitude10 >= 50) s.selStrongRecent++;
        if (r.magnitude10 > maxMag) maxMag = r.magnitude10;
        magSum += r.magnitude10;
        depthSum += r.depthKm;
        n++;
        s.selLastIndex = i;
    }
    if (s.selFirstIndex < 0) s.selFirstIndex = 0;
    s.selCount = s.selCount2 = n;
    s.selMaxMag10 = s.selMaxMag10b = maxMag;
    s.selMeanMag10 = s.selMeanMag10b = n > 0 ? int(magSum / n) : 0;
    s.selMeanDepth = s.selMeanDepthB = n > 0 ? int(depthSum / n) : 0;
    StoreSelectionSummary(s);
}


int MatchWindowStart() { return AppSettings.selFirstIndex < 0 ? 0 : AppSettings.selFirstIndex; }

bool InMatchWindow(int record) {
    return record <= AppSettings.selLastIndex && record < kMaxRecords && gpEQ[record].magnitude10 != 0;
}
