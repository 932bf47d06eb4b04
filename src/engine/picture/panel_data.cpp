#include "engine/picture/panel_data.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "engine/analysis/alert.h"
#include "engine/analysis/region_stats.h"
#include "engine/analysis/region_summary.h"
#include "engine/catalogue/data_source.h"
#include "engine/catalogue/loader.h"
#include "engine/model/records.h"
#include "engine/model/geo.h"
#include "engine/picture/markers.h"
#include "engine/controls/bottom_panel.h"
#include "engine/model/settings.h"
#include "engine/selection/conditions.h"
#include "engine/selection/selection.h"
#include "platform/platform.h"

static const PanelColor kWhite = {255, 255, 255};

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
    for (int i = MatchWindowStart(); InMatchWindow(i) && n <= kRegionGraphPoints; i++)
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
        char row[64];
        MagnitudeClassRow(gCurrentRecord, m, row, int(sizeof row));
        SetOverlayText(&out[n++], Below(table, m), ALIGN_RIGHT, kWhite, "%s", row);
    }

    SetOverlayText(&out[n++], PanelRect{12, 143, 64, 161}, ALIGN_LEFT, PanelColor{0, 255, 0}, "%s",
                   SjisText("規模"));
    SetOverlayText(&out[n++], PanelRect{12, 161, 64, 179}, ALIGN_LEFT, PanelColor{0, 255, 255}, "%s",
                   SjisText("間隔"));

    const PanelRect recurrence = {322, 26, 514, 50};
    SetOverlayText(&out[n++], recurrence, ALIGN_RIGHT, kWhite, "%s", SjisText("  確率     間隔    回数"));
    for (int band = 1; band <= 5; band++) {
        float due, share;
        ClassRecurrence(gCurrentRecord, band, &due, &share);
        SetOverlayText(&out[n++], Below(recurrence, band), ALIGN_RIGHT, kWhite, " M%d   :%6.02f%% %6.02f%%",
                       4 + band, due, share);
    }
    return n;
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



BottomButton BottomButtonAt(int button) {
    const int hovered = gBottomPanel.button == button;
    const ButtonColors colors = LargeButtonColors(hovered, hovered && gBottomPanel.pressed != 0);
    const PanelButton& b = kBottomButtons[button - 1];
    return BottomButton{b.box, b.textBox, colors, SjisText(button == 1 ? "保存" : "終了")};
}
