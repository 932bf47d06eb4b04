#include "engine/picture/recent_data.h"

#include <algorithm>

#include "engine/analysis/alert.h"
#include "engine/analysis/region_stats.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "platform/platform.h"

static const PanelColor kWhite = {255, 255, 255};

int NextMatch(int record) {
    const int last = AppSettings.selLastIndex;
    if (!gpEQ) return last;
    for (int j = std::max(record + 1, 0); j <= last && j < kMaxRecords; j++)
        if (gpEQ[j].inFilter == 1) return j;
    return last;
}

// Days since 1970-01-01 of a proleptic Gregorian date; the month may lie
// outside 1..12 and the day outside the month (they carry over as in mktime).
static long long DaysFromCivil(long long year, long long month, long long day) {
    long long m0 = month - 1;
    year += m0 >= 0 ? m0 / 12 : -((11 - m0) / 12);
    m0 = (m0 % 12 + 12) % 12;
    year -= m0 < 2;                              // the year starts in March
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yoe = year - era * 400;
    const long long mp = m0 < 2 ? m0 + 10 : m0 - 2;   // March = 0
    const long long doy = (153 * mp + 2) / 5 + day - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// Japan keeps standard time all year, so local seconds are calendar seconds:
// no mktime (which fails before 1970 on Windows) is needed.
static long long LocalSeconds(const QuakeRecord& r) {
    return ((DaysFromCivil(r.year, r.month, r.day) * 24 + r.hour) * 60 + r.minute) * 60;
}

double EventGapSeconds(const QuakeRecord& newer, const QuakeRecord& older) {
    return double(LocalSeconds(newer) - LocalSeconds(older));
}

static int GapMinutes(int newer, int older) {
    return int(EventGapSeconds(RecordAt(newer), RecordAt(older)) / 60.0);
}

static int Clamp(int value, int low, int high) { return std::min(std::max(value, low), high); }

static int MagnitudeY(int magnitude10) { return int(73 - magnitude10 * 0.75); }

// The 192 steps shared by both curves: from `first` (x 190, height y0), each
// step moves to the next match and gives its height; a point is kept while
// the previous one lies right of x 1. The points come out oldest first.
template <typename Height>
static void WalkCurve(int first, int y0, Height height, RecentCurve* out) {
    OverlayPoint newestFirst[kRecentCurvePoints];
    int count = 0;
    newestFirst[count++] = OverlayPoint{190, y0};
    int previousX = 190, c = first;
    for (int k = 1; k <= kRecentEvents; k++) {
        const int n = NextMatch(c);
        const int x = std::max(190 - k, 1);
        const int y = height(c, n);
        if (previousX > 1) newestFirst[count++] = OverlayPoint{x, y};
        previousX = x;
        c = n;
        if (c > kMaxRecords - 1) break;
    }
    out->count = count;
    for (int i = 0; i < count; i++) out->points[i] = newestFirst[count - 1 - i];
}

static void BuildIntervalCurve(RecentCurve* out) {
    out->count = 0;
    const int i0 = AppSettings.selFirstIndex;
    if (i0 >= kMaxRecords - 1) return;
    const int i1 = NextMatch(i0);
    // The newest gap in whole hours, unclamped; later gaps in half hours.
    const int y0 = 73 - GapMinutes(i0, i1) / 60;
    WalkCurve(i1, y0, [](int c, int n) { return Clamp(73 - GapMinutes(c, n) / 30, 6, 73); }, out);
}

static void BuildMagnitudeCurve(RecentCurve* out) {
    const int i0 = AppSettings.selFirstIndex;
    const int y0 = std::max(MagnitudeY(RecordAt(i0).magnitude10), 5);
    WalkCurve(i0, y0,
              [](int, int n) {
                  return n == AppSettings.selLastIndex ? 73
                                                       : Clamp(MagnitudeY(RecordAt(n).magnitude10), 6, 73);
              },
              out);
}

// The card's six lines for record s (a loaded record).
static void CardTexts(int s, OverlayText* card) {
    const QuakeRecord& r = gpEQ[s];
    PanelRect row = {4, 159, 188, 175};
    auto next = [&row]() {
        PanelRect current = row;
        row.top += 18;
        row.bottom += 18;
        return current;
    };
    SetOverlayText(&card[0], next(), ALIGN_RIGHT, kWhite, SjisText("%04d年%02d月%02d日 %02d時%02d分"),
                   r.year, r.month, r.day, r.hour, r.minute);
    SetOverlayText(&card[1], next(), ALIGN_RIGHT, kWhite, SjisText("深さ %dkm  M:%.01f"), r.depthKm,
                   r.magnitude10 * 0.1);
    SetOverlayText(&card[2], next(), ALIGN_RIGHT, kWhite, "%s", RegionName(r.regionIndex));
    SetOverlayText(&card[3], next(), ALIGN_RIGHT, kWhite, SjisText("震度 %s"),
                   r.intensity < 10 ? IntensityLabels[r.intensity] : "");

    AlertEntry alert;
    RegionAlertFor(s, &alert);
    if (alert.alertLevel > 0.01 || alert.m6Count == 0)
        SetOverlayText(&card[4], next(), ALIGN_RIGHT, kWhite, SjisText("警戒度 %.02f"), alert.alertLevel);
    else
        SetOverlayText(&card[4], next(), ALIGN_RIGHT, kWhite, SjisText("警戒度 %.02f(%.02f)"),
                       alert.alertLevel, alert.previousLevel);

    // The region's latest M6+ earthquake other than s. With a single M6+
    // event there is no previous one (the entry leaves previousIndex at 0,
    // which would name record 0).
    int latest = alert.latestIndex;
    if (latest == s) latest = alert.m6Count >= 2 ? alert.previousIndex : -1;
    if (latest < 0) {
        SetOverlayText(&card[5], next(), ALIGN_RIGHT, kWhite, "%s", SjisText("直近 ----年--月--日"));
    } else {
        const QuakeRecord& m6 = RecordAt(latest);
        SetOverlayText(&card[5], next(), ALIGN_RIGHT, kWhite, SjisText("直近 %04d年%02d月%02d日"), m6.year,
                       m6.month, m6.day);
    }
}

void BuildRecentPanel(RecentPanelData* out) {
    const SettingsBlock& s = AppSettings;
    BuildIntervalCurve(&out->interval);
    BuildMagnitudeCurve(&out->magnitude);

    SetOverlayText(&out->title, PanelRect{4, 7, 144, 23}, ALIGN_LEFT, PanelColor{168, 168, 168},
                   SjisText("直近%d回分グラフ"), int(kRecentEvents));
    SetOverlayText(&out->counts[0], PanelRect{6, 77, 190, 93}, ALIGN_RIGHT, kWhite,
                   SjisText("M%d～%d %5d / %5d回"), s.magMin, s.magMax, s.selCount, s.selCount2);
    SetOverlayText(&out->counts[1], PanelRect{6, 95, 190, 111}, ALIGN_RIGHT, kWhite,
                   SjisText("最大M:%1.1f 平均M:%1.1f"), s.selMaxMag10 * 0.1, s.selMeanMag10 * 0.1);

    const int n = s.selStrongRecent;
    out->strongFill = PanelColor{std::min(3 * n + 32, 255), 32, std::max((32 - n) * 4, 0)};
    SetOverlayText(&out->strong[0], PanelRect{6, 116, 190, 132}, ALIGN_LEFT, kWhite, "%s",
                   SjisText("直近100回"));
    SetOverlayText(&out->strong[1], PanelRect{6, 134, 190, 150}, ALIGN_RIGHT, kWhite,
                   SjisText("M5以上 %3d / 100回"), n);

    // A selection that names no loaded record is never read: plain card, no lines.
    const int m = IsDataRecord(s.selFirst) ? gpEQ[s.selFirst].magnitude10 : 0;
    out->cardFill = PanelColor{std::min(m + 32, 255), 32, std::max((64 - m) * 2, 0)};
    out->cardLines = 0;
    if (IsDataRecord(s.selFirst)) {
        CardTexts(s.selFirst, out->card);
        out->cardLines = kRecentCardLines;
    }
}
