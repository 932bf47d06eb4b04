#include "engine/analysis/reports.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "engine/analysis/alert.h"
#include "engine/analysis/region_stats.h"
#include "engine/analysis/region_summary.h"
#include "engine/analysis/section.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "engine/selection/lists.h"
#include "platform/platform.h"


static const char* Label(int intensity) {
    return intensity >= 0 && intensity < 10 ? IntensityLabels[intensity] : "";
}

static bool EndOfData(int index) { return index >= kMaxRecords || gpEQ[index].magnitude10 == 0; }

// One printf into the file. Every "\n" goes out as CR LF on every system, so
// that all builds write the same bytes (Shift-JIS trail bytes are never 0x0A).
static void Put(FILE* file, const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n <= 0) return;
    size_t length = size_t(n) < sizeof line ? size_t(n) : sizeof line - 1;
    const char* from = line;
    const char* end = line + length;
    while (from < end) {
        const char* newline = static_cast<const char*>(std::memchr(from, '\n', size_t(end - from)));
        const char* stop = newline ? newline : end;
        fwrite(from, 1, size_t(stop - from), file);
        if (!newline) break;
        fwrite("\r\n", 1, 2, file);
        from = newline + 1;
    }
}

static int Finish(FILE* file) {
    int failed = ferror(file);
    if (fclose(file) != 0) failed = 1;
    return failed ? 1 : 0;
}

// A line with the dates of the oldest and the newest matching record (O, N),
// followed by up to two numbers; printf ignores those a format does not use.
static void PutDates(FILE* file, const char* format, int extra1 = 0, int extra2 = 0) {
    const QuakeRecord& o = RecordAt(AppSettings.selLastIndex);
    const QuakeRecord& n = RecordAt(AppSettings.selFirstIndex);
    Put(file, format, o.year, o.month, o.day, n.year, n.month, n.day, extra1, extra2);
}

// The period and the conditions that head every report and list file; the
// region report spaces its labels differently, so the formats are passed in.
static void PutConditions(FILE* file, const char* magFormat, const char* depthFormat,
                          const char* intensityFormat) {
    PutDates(file, SjisText("期間 %04d年%02d月%02d日～%04d年%02d月%02d日\n"));
    Put(file, magFormat, AppSettings.magMin, AppSettings.magMax);
    Put(file, depthFormat, AppSettings.depthMin, AppSettings.depthMax);
    Put(file, intensityFormat, Label(AppSettings.intMin), Label(AppSettings.intMax));
}

static void PutShortConditions(FILE* file) {
    PutConditions(file, SjisText("規模(M)    %d ～ %d\n"), SjisText("深さ(km) %3d ～ %3d\n"),
                  SjisText("震度       %s ～ %s\n\n"));
}

static const char* ColumnHeader() {
    return SjisText("            日時               震源地   深さ  規模  震度\n");
}

// One earthquake row; `ending` prints the intensity label and the line end.
static void PutQuakeRow(FILE* file, const QuakeRecord& r, const char* ending) {
    Put(file, "%04d/%02d/%02d %02d:%02d %20s   %3d    %.01f   ", r.year, r.month, r.day, r.hour,
        r.minute, RegionName(r.regionIndex), r.depthKm, r.magnitude10 * 0.1);
    Put(file, ending, Label(r.intensity));
}

const char* const kSaveFailedText = "ERROR : 保存できません (text フォルダ)";

// The user asked to save: a missing folder the file goes into (text/) is
// created first.
static FILE* CreateReport(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !IsDirectory(path.substr(0, slash).c_str()))
        MakeFolder(path.substr(0, slash).c_str());
    return OpenFile(path.c_str(), "wb");
}

int WriteAlertReport(const char* path) {
    FILE* file = CreateReport(path ? path : AlertReportPath());
    if (!file) return 1;
    PutShortConditions(file);
    PutDates(file, SjisText("%04d年%02d月%02d日～%04d年%02d月%02d日 %7d日\n"), gRegionDays);
    Put(file, SjisText("  M6以上要警戒震源地      警戒度                    間隔                    "
                       "回数      直近日付\n"));
    for (const AlertEntry& e : AlertTable) {
        if (!(e.alertLevel >= 1.0f)) continue;
        const QuakeRecord& latest = RecordAt(e.latestIndex);
        Put(file,
            "%20s    %8.02f ( %7.02f [%5d/%5d] x %7.02f [%4d/%6d] )  %04d/%02d/%02d\n",
            RegionName(e.regionIndex), e.alertLevel, e.dueRatio, e.elapsed, e.meanInterval,
            e.shareRatio, e.m6Count, AppSettings.selCount2, latest.year, latest.month,
            latest.day);
    }
    return Finish(file);
}

// Rows 1..9 of the magnitude class table of the current region.
static void PutMagnitudeTable(FILE* file, int record) {
    for (int c = 1; c <= 9; c++) {
        int count = 0, since = 0, mean = 0, latest = -1;
        ClassStatsByMagnitude(record, c, &count, &since, &mean, &latest);
        const QuakeRecord& r = RecordAt(latest);
        if (latest >= 0)
            Put(file, "M%d   %7d %04d/%02d/%02d %7d/ %7d\n", c, count, r.year, r.month, r.day,
                since, mean);
        else
            Put(file, "M%d   %7d 0000/00/00 %7d/ %7d\n", c, count, since, mean);
    }
}

// Rows 1..9 of the intensity class table, named by the intensity labels.
static void PutIntensityTable(FILE* file, int record) {
    for (int k = 1; k <= 9; k++) {
        int count = 0, since = 0, mean = 0, latest = -1;
        ClassStatsByIntensity(record, k, &count, &since, &mean, &latest);
        const QuakeRecord& r = RecordAt(latest);
        if (latest >= 0)
            Put(file, SjisText("震度%3s %4d %04d/%02d/%02d %7d/ %7d\n"), Label(k), count, r.year,
                r.month, r.day, since, mean);
        else
            Put(file, SjisText("震度%3s %4d 0000/00/00 %7d/ %7d\n"), Label(k), count, since, mean);
    }
}

struct RecentSection {
    const char* title;
    int minMag10;
    int minIntensity;
};

static const RecentSection kRecentSections[] = {
    {"直近のM6以上\n", 60, 0},
    {"直近のM7以上\n", 70, 0},
    {"直近の震度5弱以上\n", 0, 5},
};

static void PutRecentSections(FILE* file, int region) {
    for (const RecentSection& s : kRecentSections) {
        Put(file, SjisText(s.title));
        Put(file, ColumnHeader());
        int found = -1;
        for (int i = 0; found < 0 && !EndOfData(i); i++) {
            const QuakeRecord& r = gpEQ[i];
            if (r.regionIndex == region && r.magnitude10 >= s.minMag10 &&
                r.intensity >= s.minIntensity && !SameDay(r, gpEQ[0]))
                found = i;
        }
        if (found >= 0)
            PutQuakeRow(file, gpEQ[found], "%3s\n\n");
        else
            Put(file, SjisText("なし\n\n"));
    }
}

static void PutRegionRecords(FILE* file, int region, int minIntensity) {
    for (int i = 0; !EndOfData(i); i++)
        if (gpEQ[i].regionIndex == region && gpEQ[i].intensity >= minIntensity)
            PutQuakeRow(file, gpEQ[i], "%3s\n");
}

static const char kDashes40[] = "----------------------------------------\n";
static const char kDashes56[] = "--------------------------------------------------------\n";

int WriteRegionReport(int record, const char* path) {
    // Without a record there is no region to report on.
    if (!gpEQ || record < 0 || record >= kMaxRecords) return 1;
    FILE* file = CreateReport(path ? path : RegionReportPath(record));
    if (!file) return 1;
    int region = gpEQ[record].regionIndex;
    Put(file, SjisText("%s 地震データ\n\n"), RegionName(region));
    PutConditions(file, SjisText("規模(M)      %d ～ %d\n"), SjisText("深深さ(km) %3d ～ %3d\n"),
                  SjisText("震度         %s ～ %s\n\n"));
    Put(file, kDashes40);
    PutDates(file, SjisText("%04d年%02d月%02d日～%04d年%02d月%02d日 %7d日\n"), gRegionDays);
    Put(file, SjisText("M1以上の地震発生回数   %7d/%7d回\n"), gRegionCount,
        AppSettings.recordCount);
    Put(file, SjisText("M5以上の地震発生回数           %7d回\n"), gRegionStrongCount);
    Put(file, SjisText("M5以上の地震発生間隔           %7d回\n"), gRegionSinceStrong);
    Put(file, SjisText("M5以上の地震発生平均間隔       %7d回\n"), gRegionStrongGap);
    Put(file, SjisText("深さ(KM)   最小:%3d  最大:%4d  平均:%3d\n"), gRegionMinDepth,
        gRegionMaxDepth, gRegionMeanDepth);
    Put(file, SjisText("規模(M)    最小:%.1f  最大: %.1f  平均:%.1f\n\n"), gRegionMinMag10 * 0.1,
        gRegionMaxMag10 * 0.1, gRegionMeanMag10 * 0.1);
    Put(file, SjisText("規模    回数       日付    間隔     平均\n"));
    PutMagnitudeTable(file, record);
    Put(file, "\n");
    Put(file, SjisText("震度    回数       日付    間隔     平均\n"));
    PutIntensityTable(file, record);
    Put(file, kDashes40);
    Put(file, "\n");
    Put(file, kDashes56);
    PutRecentSections(file, region);
    Put(file, SjisText("震度5弱以上\n"));
    Put(file, ColumnHeader());
    PutRegionRecords(file, region, 5);
    Put(file, kDashes56);
    Put(file, "\n");
    Put(file, kDashes56);
    Put(file, SjisText("M1.0以上\n"));
    Put(file, ColumnHeader());
    PutRegionRecords(file, region, 0);
    Put(file, kDashes56);
    return Finish(file);
}

int SaveListText(const RecordList* list, bool regionList, int record, const char* path) {
    FILE* file = CreateReport(path ? path : ListTextPath(regionList, record));
    if (!file) return 1;
    PutShortConditions(file);
    PutDates(file, SjisText("%04d年%02d月%02d日～%04d年%02d月%02d日 %7d日  該当件数:%d\n"),
             gRegionDays, list->count);
    Put(file, ColumnHeader());
    if (list->entries) {
        int from = list->first < 0 ? 0 : list->first;
        int end = list->end > kMaxRecords ? kMaxRecords : list->end;
        for (int p = from; p < end; p++) {
            const QuakeRecord& r = RecordAt(list->entries[p].displayIndex);
            if (r.magnitude10 == 0) break;
            PutQuakeRow(file, r, "%3s\n");
        }
    }
    return Finish(file);
}

int SaveSectionText(const Section& section, const char* path) {
    FILE* file = CreateReport(path ? path : SectionFilePath(".txt"));
    if (!file) return 1;
    PutShortConditions(file);
    const SectionLine& l = section.line;
    Put(file, SjisText("断面 %.3f,%.3f ～ %.3f,%.3f  長さ %.0fkm  幅 ±%gkm  該当件数:%d\n"), l.lat1, l.lon1, l.lat2,
        l.lon2, section.lengthKm, l.widthKm, int(section.events.size()));
    Put(file, SjisText("            日時               震源地   深さ  規模  震度   距離(km)  線から(km)\n"));
    for (const SectionEvent& e : section.events) {
        PutQuakeRow(file, RecordAt(e.record), "%3s");
        Put(file, "   %8.1f  %8.1f\n", e.alongKm, e.offsetKm);
    }
    return Finish(file);
}

// The region name as part of a file name, in UTF-8. Characters that a file
// name cannot hold become '_'. The name is walked as Shift-JIS, so a trail
// byte of 0x5C (能, 表, ソ, 十 ...) stays inside its character instead of
// becoming a path separator; bytes that form no character become '_' too.
static std::string RegionFileName(int regionIndex) {
    const unsigned char* name = reinterpret_cast<const unsigned char*>(RegionName(regionIndex));
    std::string out;
    for (size_t i = 0; name[i];) {
        unsigned char c = name[i];
        unsigned char t = name[i + 1];
        bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        bool trail = t >= 0x40 && t <= 0xFC && t != 0x7F;
        size_t width = lead && trail ? 2 : 1;
        std::string utf8;
        if (lead && trail) {
            char pair[3] = {char(c), char(t), 0};
            if (SjisToUtf8(pair, &utf8) != 0) utf8.clear();
        } else if (c >= 0xA1 && c <= 0xDF) {  // half-width katakana
            char single[2] = {char(c), 0};
            if (SjisToUtf8(single, &utf8) != 0) utf8.clear();
        } else if (c < 0x80) {
            utf8 = char(c);
        }
        // A converted character that came out as a reserved ASCII character
        // (or as nothing) is replaced as well.
        bool reserved = utf8.empty() || (utf8.size() == 1 && (utf8[0] < 0x20 || utf8[0] == 0x7F ||
                                                               std::strchr("\\/:*?\"<>|", utf8[0])));
        out += reserved ? std::string("_") : utf8;
        i += width;
    }
    return out;
}

std::string AlertReportPath() { return "text/wolt 要警戒_" + LocalTimeStamp() + ".txt"; }

std::string RegionReportPath(int record) {
    return "text/wolt_" + RegionFileName(RecordAt(record).regionIndex) + "_" + LocalTimeStamp() + ".txt";
}

std::string ListTextPath(bool regionList, int record) {
    if (!regionList) return "text/wolt_list_" + LocalTimeStamp() + ".txt";
    return "text/wolt_list_" + RegionFileName(RecordAt(record).regionIndex) + "_" + LocalTimeStamp() + ".txt";
}

std::string SectionFilePath(const char* extension) { return "text/wolt_section_" + LocalTimeStamp() + extension; }
