#include "engine/picture/panel_data.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "engine/analysis/alert.h"
#include "engine/analysis/region_stats.h"
#include "engine/analysis/region_summary.h"
#include "engine/catalogue/data_source.h"
#include "engine/catalogue/loader.h"
#include "engine/catalogue/model.h"
#include "engine/picture/geometry.h"
#include "engine/picture/markers.h"
#include "engine/rules/hit_test.h"
#include "engine/rules/settings.h"
#include "engine/selection/selection.h"
#include "platform/platform.h"

static const QuakeRecord kNoRecord{};
static const PanelColor kWhite = {255, 255, 255};

// Indices outside the store read as the empty record.
static const QuakeRecord& RecordAt(int index) {
    return gpEQ && index >= 0 && index < kMaxRecords ? gpEQ[index] : kNoRecord;
}

// The region name of the current record; "" when it names no loaded record.
static const char* CurrentRegionName() {
    return IsDataRecord(gCurrentRecord) ? RegionName(gpEQ[gCurrentRecord].regionIndex) : "";
}

void SetOverlayText(OverlayText* out, PanelRect rect, int align, PanelColor color, const char* format,
                    ...) {
    out->rect = rect;
    out->align = align;
    out->color = color;
    va_list args;
    va_start(args, format);
    if (vsnprintf(out->text, sizeof out->text, format, args) < 0) out->text[0] = '\0';
    va_end(args);
}

static PanelRect Below(PanelRect r, int rows) {
    return PanelRect{r.left, r.top + 18 * rows, r.right, r.bottom + 18 * rows};
}

// The first record of the matching window and the end of the walk over it.
static int WindowStart() { return std::max(AppSettings.selFirstIndex, 0); }
static bool InWindow(int i) {
    return i <= AppSettings.selLastIndex && i < kMaxRecords && gpEQ[i].magnitude10 != 0;
}

// --- Hover panel -----------------------------------------------------------------

// The grid coordinates whose truncated pixel lies in [low, high]: pixels
// grow with the grid coordinate, so they form one range, found by bisection
// over the 16-bit grid. Empty when *first > *last.
static void GridRange(int (*toPixel)(int), int low, int high, int* first, int* last) {
    auto firstWith = [toPixel](int pixel) {   // the smallest grid value reaching `pixel`
        int lo = 0, hi = 65536;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (toPixel(mid) >= pixel) hi = mid;
            else lo = mid + 1;
        }
        return lo;
    };
    *first = firstWith(low);
    *last = firstWith(high + 1) - 1;
}

void HoverPick(int mouseX, int mouseY, HoverSummary* out) {
    *out = HoverSummary{0, 0, 0, 0, 0};
    SetHoverPicks(-1, -1);
    const SettingsBlock& s = AppSettings;
    if (!gpEQ || mouseX < 3 || mouseX > 513 || mouseY < 3 || mouseY > 513 || s.selFirstIndex > s.selLastIndex)
        return;
    // The marker pixel within 5 left of / above and 1 right of / below the
    // cursor, as grid ranges: the walk compares integers only.
    int xFirst, xLast, yFirst, yLast;
    GridRange(GridToPixelXi, mouseX - 5, mouseX + 1, &xFirst, &xLast);
    GridRange(GridToPixelYi, mouseY - 5, mouseY + 1, &yFirst, &yLast);
    int hovered = -1;
    for (int i = WindowStart(); InWindow(i); i++) {
        const QuakeRecord& r = gpEQ[i];
        if (r.inFilter == 1 && r.mapX >= xFirst && r.mapX <= xLast && r.mapY >= yFirst && r.mapY <= yLast) {
            hovered = i;
            break;
        }
    }
    if (hovered < 0) return;
    const int regionNewest = FirstInRegion(hovered);
    SetHoverPicks(regionNewest, -1);
    if (regionNewest < 0) return;

    const int region = gpEQ[regionNewest].regionIndex;
    long long sum = 0;
    for (int i = WindowStart(); InWindow(i); i++) {
        const QuakeRecord& r = gpEQ[i];
        if (r.inFilter != 1 || r.regionIndex != region) continue;
        if (out->count == 0) SetHoverPicks(regionNewest, i);
        out->count++;
        out->maxMag10 = std::max(out->maxMag10, int(r.magnitude10));
        sum += r.magnitude10;
    }
    out->hovered = 1;
    out->region = region;
    out->meanMag10 = out->count > 0 ? int(sum / out->count) : 0;
}

int HoverPanelTexts(const HoverSummary& summary, OverlayText out[3]) {
    const PanelRect first = {2, 0, 188, 24};
    if (summary.hovered)
        SetOverlayText(&out[0], first, ALIGN_RIGHT, kWhite, "%s", RegionName(summary.region));
    else
        SetOverlayText(&out[0], first, ALIGN_RIGHT, kWhite, "--- --- --- --- ---");
    SetOverlayText(&out[1], Below(first, 1), ALIGN_RIGHT, kWhite, SjisText("M1以上 %5d / %5d回"),
                   summary.count, AppSettings.recordCount);
    SetOverlayText(&out[2], Below(first, 2), ALIGN_RIGHT, kWhite, SjisText("最大M:%.1f 平均M:%.1f"),
                   summary.maxMag10 * 0.1, summary.meanMag10 * 0.1);
    return 3;
}

// --- Selected-region panel ---------------------------------------------------------

static const PanelColor kDepthLegend[kDepthLegendBars] = {
    {255, 0, 0},   {255, 64, 0},  {255, 96, 0},   {255, 128, 0}, {255, 160, 0},
    {255, 212, 0}, {255, 255, 0}, {192, 255, 0},  {128, 255, 0}, {0, 255, 0},
    {0, 224, 64},  {0, 192, 96},  {0, 128, 128},  {0, 96, 192},  {0, 0, 255},
};

PanelRect DepthLegendBar(int k) { return PanelRect{501, 36 + 6 * k, 506, 42 + 6 * k}; }

PanelColor DepthLegendColor(int k) { return kDepthLegend[k]; }

const PanelRect kRegionSiteLine = {96, 180, 302, 204}, kRegionCreditLine = {4, 204, 501, 228};

int RegionPanelTexts(const char* appTitle, OverlayText out[kRegionPanelTexts]) {
    int n = 0;
    const PanelRect box = {318, 124, 499, 148};
    SetOverlayText(&out[n++], box, ALIGN_LEFT, kWhite, "%s", SjisText("選択震源地"));
    SetOverlayText(&out[n++], Below(box, 1), ALIGN_RIGHT, kWhite, "%s", CurrentRegionName());
    SetOverlayText(&out[n++], Below(box, 2), ALIGN_RIGHT, kWhite, SjisText("M1以上 %5d / %5d回"),
                   gRegionCount, AppSettings.recordCount);
    SetOverlayText(&out[n++], Below(box, 3), ALIGN_RIGHT, kWhite, SjisText("最大M:%.1f 平均M:%.1f"),
                   gRegionMaxMag10 * 0.1, gRegionMeanMag10 * 0.1);
    SetOverlayText(&out[n++], PanelRect{150, 8, 508, 32}, ALIGN_RIGHT, kWhite, "%s", SjisText("深さ(km)"));
    static const char* const kLabels[4] = {"10", "50", "100", "200"};
    for (int k = 0; k < 4; k++)
        SetOverlayText(&out[n++], PanelRect{160, 30 + 28 * k, 494, 54 + 28 * k}, ALIGN_RIGHT, kWhite, "%s",
                       kLabels[k]);
    SetOverlayText(&out[n++], kRegionSiteLine, ALIGN_RIGHT, kWhite, "%s %s", DataSourceSite().c_str(),
                   appTitle);
    // A generated sample must not pass for the national record.
    SetOverlayText(&out[n++], kRegionCreditLine, ALIGN_RIGHT, kWhite, "%s",
                   DataIsSample() ? SjisText("サンプル：生成した架空の地震（気象庁の記録ではありません）")
                                  : SjisText("出典：気象庁 震度データベースを利用して作成"));
    return n;
}

// --- Bottom panel: region data page -------------------------------------------------

void BuildRegionGraph(RegionGraph* out) {
    out->magnitudeCount = out->intervalCount = 0;
    if (!IsDataRecord(gCurrentRecord)) return;
    const int region = gpEQ[gCurrentRecord].regionIndex;
    // One more record than points: the last point's interval needs it.
    int taken[kRegionGraphPoints + 1];
    int n = 0;
    for (int i = WindowStart(); InWindow(i) && n <= kRegionGraphPoints; i++)
        if (gpEQ[i].regionIndex == region) taken[n++] = i;
    for (int k = 0; k < n && k < kRegionGraphPoints; k++) {
        const QuakeRecord& r = gpEQ[taken[k]];
        const int x = 513 - 2 * k;
        out->magnitude[out->magnitudeCount++] = OverlayPoint{x, 235 - r.magnitude10};
        if (k + 1 < n) {
            const int days = DaysBetweenRecords(gpEQ[taken[k + 1]], r);
            out->interval[out->intervalCount++] = OverlayPoint{x, std::max(234 - days, 141)};
        }
    }
}

static void TabTitles(OverlayText* out) {
    SetOverlayText(&out[0], PanelRect{6, 1, 260, 25}, ALIGN_LEFT, kWhite, SjisText("%s 地震データ"),
                   CurrentRegionName());
    SetOverlayText(&out[1], PanelRect{296, 1, 440, 25}, ALIGN_CENTER, kWhite, "%s", SjisText("要警戒震源地"));
}

int RegionPageTexts(OverlayText out[kRegionPageTexts]) {
    int n = 0;
    TabTitles(out);
    n += 2;

    const PanelRect left = {6, 26, 326, 50};
    const QuakeRecord& oldest = RecordAt(AppSettings.selLastIndex);
    const QuakeRecord& newest = RecordAt(AppSettings.selFirstIndex);
    SetOverlayText(&out[n++], left, ALIGN_RIGHT, kWhite,
                   SjisText("%04d年%02d月%02d日～%04d年%02d月%02d日 %7d日"), oldest.year, oldest.month,
                   oldest.day, newest.year, newest.month, newest.day, gRegionDays);
    SetOverlayText(&out[n++], Below(left, 1), ALIGN_RIGHT, kWhite, SjisText("M1以上の地震発生回数 %7d回"),
                   gRegionCount);
    SetOverlayText(&out[n++], Below(left, 2), ALIGN_RIGHT, kWhite, SjisText("M5以上の地震発生回数 %7d回"),
                   gRegionStrongCount);
    SetOverlayText(&out[n++], Below(left, 3), ALIGN_RIGHT, kWhite, SjisText("M5以上の地震発生間隔 %7d回"),
                   gRegionSinceStrong);
    SetOverlayText(&out[n++], Below(left, 4), ALIGN_RIGHT, kWhite,
                   SjisText("M5以上の地震発生平均間隔 %7d回"), gRegionStrongGap);
    SetOverlayText(&out[n++], Below(left, 5), ALIGN_RIGHT, kWhite,
                   SjisText("平均深さ:%3dkm 最大M:%.1f 平均M:%.1f"), gRegionMeanDepth, gRegionMaxMag10 * 0.1,
                   gRegionMeanMag10 * 0.1);

    const PanelRect table = {530, 26, 842, 50};
    SetOverlayText(&out[n++], table, ALIGN_RIGHT, kWhite, "%s",
                   SjisText("規模    回数       日付    間隔    平均"));
    for (int m = 1; m <= 9; m++) {
        int count, since, mean, latest;
        ClassStatsByMagnitude(gCurrentRecord, m, &count, &since, &mean, &latest);
        if (latest >= 0) {
            const QuakeRecord& r = RecordAt(latest);
            SetOverlayText(&out[n++], Below(table, m), ALIGN_RIGHT, kWhite, "M%d %7d %04d/%02d/%02d %7d/%7d", m,
                           count, r.year, r.month, r.day, since, mean);
        } else {
            SetOverlayText(&out[n++], Below(table, m), ALIGN_RIGHT, kWhite, "M%d %7d 0000/00/00 %7d/%7d", m,
                           count, since, mean);
        }
    }

    SetOverlayText(&out[n++], PanelRect{12, 143, 64, 161}, ALIGN_LEFT, PanelColor{0, 255, 0}, "%s",
                   SjisText("規模"));
    SetOverlayText(&out[n++], PanelRect{12, 161, 64, 179}, ALIGN_LEFT, PanelColor{0, 255, 255}, "%s",
                   SjisText("間隔"));

    const PanelRect recurrence = {322, 26, 514, 50};
    SetOverlayText(&out[n++], recurrence, ALIGN_RIGHT, kWhite, "%s", SjisText("  確率     間隔    回数"));
    for (int band = 1; band <= 5; band++) {
        float due, share;
        ClassRecurrence(band, &due, &share);
        SetOverlayText(&out[n++], Below(recurrence, band), ALIGN_RIGHT, kWhite, " M%d   :%6.02f%% %6.02f%%",
                       4 + band, due, share);
    }
    return n;
}

int ClassRowPick(int mouseX, int mouseY) {
    gClassPick = 0;
    const int r = ClassRowAt(mouseX, mouseY);
    if (r < 1 || r > 9) return -1;
    int count, since, mean, latest;
    ClassStatsByMagnitude(gCurrentRecord, r, &count, &since, &mean, &latest);
    gClassPick = 1;
    gClassPickRecord = latest >= 0 ? latest : -1;
    return 18 * r + 44;
}

// --- Bottom panel: alert ranking page -------------------------------------------------

int AlertPageTexts(OverlayText out[kAlertPageTexts]) {
    int n = 0;
    TabTitles(out);
    n += 2;
    SetOverlayText(&out[n++], PanelRect{6, 25, 842, 49}, ALIGN_RIGHT, kWhite, "%s",
                   SjisText("M6以上要警戒震源地       警戒度                     間隔                    回数      直近日付"));
    for (int row = 0; row < kAlertPageRows; row++) {
        const int entry = PrintedAlertEntry(row);
        if (entry < 0) break;
        const AlertEntry& e = AlertTable[entry];
        const QuakeRecord& latest = RecordAt(e.latestIndex);
        SetOverlayText(&out[n++], PanelRect{6, 43 + 18 * row, 842, 67 + 18 * row}, ALIGN_RIGHT, kWhite,
                       "%20s      %7.02f  ( %7.02f [%5d/%5d] x %7.02f [%4d/%6d] )  %04d/%02d/%02d",
                       RegionName(e.regionIndex), e.alertLevel, e.dueRatio, e.elapsed, e.meanInterval,
                       e.shareRatio, e.m6Count, AppSettings.recordCount, latest.year, latest.month, latest.day);
    }
    return n;
}

int AlertRowHover(int mouseX, int mouseY) {
    gAlertHover = 0;
    const int r = AlertHoverRowAt(mouseX, mouseY);
    if (r == 0) return -1;
    gAlertHover = 1;
    return 18 * r + 44;
}

int AlertRowMark(PanelRect* out) {
    if (gAlertRow < 0 || gAlertRow >= kAlertPageRows) return 1;
    *out = PanelRect{4, 46 + 18 * gAlertRow, 842, 62 + 18 * gAlertRow};
    return 0;
}

BottomButton BottomButtonAt(int button) {
    const int hovered = gBottomButton == button;
    const ButtonColors colors = LargeButtonColors(hovered, hovered && gBottomPressed != 0);
    if (button == 1)
        return BottomButton{{621, 216, 711, 238}, {621, 219, 711, 237}, colors, SjisText("保存")};
    return BottomButton{{756, 219, 846, 241}, {756, 221, 846, 239}, colors, SjisText("終了")};
}
