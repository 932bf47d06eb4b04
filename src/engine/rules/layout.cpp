#include "engine/rules/layout.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/analysis/region_stats.h"
#include "engine/catalogue/model.h"
#include "engine/rules/settings.h"
#include "platform/platform.h"

// Highlights of controls 1..18: the date rows share their columns.
static const int kDateColumns[6][2] = {{12, 52}, {52, 108}, {108, 145}, {148, 185}, {188, 211}, {228, 251}};
static const int kFilterRows[3][2] = {{76, 98}, {100, 122}, {124, 146}};

int ControlRect(int id, PanelRect* out) {
    if (id >= 1 && id <= 12) {
        int column = (id - 1) % 6;
        int top = id <= 6 ? 28 : 52;
        *out = PanelRect{kDateColumns[column][0], top, kDateColumns[column][1], top + 22};
        return 0;
    }
    if (id >= 13 && id <= 18) {
        int row = (id - 13) % 3;
        bool maximum = id >= 16;
        *out = PanelRect{maximum ? 163 : 12, kFilterRows[row][0], maximum ? 252 : 162, kFilterRows[row][1]};
        return 0;
    }
    return 1;
}

PanelRect FieldRect(int row, int field) {
    PanelRect r{0, 0, 0, 0};
    ControlRect((row == 0 ? 2 : 8) + field, &r);
    return r;
}

ButtonColors SmallButtonColors(int hovered, int buttonDown) {
    const int h = hovered ? 64 : 0;
    const int f = buttonDown ? 2 : 1;
    const int mark = 190 + h > 254 ? 254 : 190 + h;
    return ButtonColors{{255, 168 + h, 128 + h}, {64 + h * f, 16 + h, 16 + h}, {mark, mark, mark}};
}

ButtonColors LargeButtonColors(int hovered, int pressed) {
    if (hovered && pressed) return ButtonColors{{255, 192, 128}, {128, 64, 32}, {255, 255, 255}};
    if (hovered) return ButtonColors{{255, 255, 255}, {160, 96, 64}, {255, 255, 255}};
    return ButtonColors{{160, 160, 160}, {64, 64, 64}, {255, 255, 255}};
}

static std::string sFetchStatus;

void SetFetchStatusText(const std::string& utf8) { sFetchStatus = utf8; }

const char* UpdateStatusText(int status) {
    switch (status) {
    case 0: return "データ更新は1日1回までです";
    case 1: return "Error InternetConnect";
    case 2: return "Error malloc";
    case 3: return "Error InternetOpen";
    case 4: return "Error InternetOpenUrl";
    case 5: return "Error InternetReadFile";
    case 6: return "Error fopen_s";
    case 7: return "データは最新です";
    case 8: return "データ更新は1日1回までです";
    case 9: return "サーバー負荷によりデータ更新できません";
    case 11: return "データ更新 開始";
    case 12: return "データ更新 接続";
    case 13: return "データ更新 読込";
    case 14: return "データ保存中・・・";
    case 15: return "データ保存 完了";
    case 20: return "データ更新 完了";
    case 30: return sFetchStatus.c_str();
    case 31: return "取得中断：更新で再開";
    case 32: return "サンプル：更新で実データへ";
    case 33: return "実データ確認中・・・";
    default: return "";
    }
}

// The intensity label of class `c` in UTF-8. The Shift-JIS labels are
// converted once and again only when the loader has rewritten them.
static const char* IntensityLabel(int c) {
    static char seen[10][sizeof IntensityLabels[0]];
    static std::string utf8[10];
    if (c < 0 || c > 9) return "";
    if (std::memcmp(seen[c], IntensityLabels[c], sizeof seen[c]) != 0 || utf8[c].empty()) {
        std::memcpy(seen[c], IntensityLabels[c], sizeof seen[c]);
        char label[sizeof IntensityLabels[0] + 1] = {};
        std::memcpy(label, IntensityLabels[c], sizeof IntensityLabels[c]);
        if (SjisToUtf8(label, &utf8[c]) != 0) utf8[c].clear();
    }
    return utf8[c].c_str();
}

// A ratio in per cent, computed in double precision and kept as a 32-bit
// float; 0 for a zero divisor.
static float Percent(int numerator, int denominator) {
    return denominator == 0 ? 0.0f : float(double(numerator) / denominator * 100.0);
}

struct TextList {
    PanelText* out;
    int count;
};

static PanelText* Add(TextList* list, int left, int top, int right, int bottom, int align) {
    PanelText* t = &list->out[list->count++];
    t->rect = PanelRect{left, top, right, bottom};
    t->align = align;
    t->text[0] = 0;
    return t;
}

static void SettingsTexts(TextList* list) {
    const SettingsBlock& a = AppSettings;
    PanelText* t = Add(list, 18, 2, 332, 26, ALIGN_LEFT);
    std::snprintf(t->text, sizeof t->text, "設定");
    t = Add(list, 18, 28, 332, 52, ALIGN_LEFT);
    std::snprintf(t->text, sizeof t->text, "開始 %04d年 %02d月 %02d日 %02d : %02d", a.startYear,
                  a.startMonth, a.startDay, a.startHour, a.startMinute);
    t = Add(list, 18, 52, 332, 76, ALIGN_LEFT);
    std::snprintf(t->text, sizeof t->text, "終了 %04d年 %02d月 %02d日 %02d : %02d", a.endYear,
                  a.endMonth, a.endDay, a.endHour, a.endMinute);
    t = Add(list, 18, 76, 332, 100, ALIGN_LEFT);
    std::snprintf(t->text, sizeof t->text, "規模(M)    %d 以上", a.magMin);
    t = Add(list, 18, 100, 332, 124, ALIGN_LEFT);
    std::snprintf(t->text, sizeof t->text, "深さ(km) %3d 以上", a.depthMin);
    t = Add(list, 18, 124, 154, 148, ALIGN_RIGHT);
    std::snprintf(t->text, sizeof t->text, "%s 以上", IntensityLabel(a.intMin));
    t = Add(list, 18, 124, 154, 148, ALIGN_LEFT);
    std::snprintf(t->text, sizeof t->text, "震度");
    t = Add(list, 178, 76, 308, 100, ALIGN_LEFT);
    std::snprintf(t->text, sizeof t->text, "  %d 以下", a.magMax);
    t = Add(list, 178, 100, 308, 124, ALIGN_LEFT);
    std::snprintf(t->text, sizeof t->text, "%3d 以下", a.depthMax);
    t = Add(list, 178, 124, 242, 148, ALIGN_RIGHT);
    std::snprintf(t->text, sizeof t->text, "%s 以下", IntensityLabel(a.intMax));
}

static void SummaryTexts(TextList* list) {
    const SettingsBlock& a = AppSettings;
    PanelText* t = Add(list, 18, 160, 330, 178, ALIGN_LEFT);
    std::snprintf(t->text, sizeof t->text, "地震記録データ %7d 回分", a.selCount2);
    // Both ends of the period count: a single day is 1.
    int days = DaysBetween(a.startYear, a.startMonth, a.startDay, a.endYear, a.endMonth, a.endDay) + 1;
    t = Add(list, 18, 179, 330, 197, ALIGN_RIGHT);
    std::snprintf(t->text, sizeof t->text, "%04d年%02d月%02d日～%04d年%02d月%02d日 %6d日", a.startYear,
                  a.startMonth, a.startDay, a.endYear, a.endMonth, a.endDay, days);
    t = Add(list, 18, 197, 330, 215, ALIGN_RIGHT);
    std::snprintf(t->text, sizeof t->text, "平均深さ:%3dkm 最大M:%.1f 平均M:%.1f", a.selMeanDepthB,
                  a.selMaxMag10b * 0.1, a.selMeanMag10b * 0.1);
}

static void ClassTexts(TextList* list) {
    PanelText* t = Add(list, 18, 215, 330, 233, ALIGN_RIGHT);
    std::snprintf(t->text, sizeof t->text, "規模    回数       日付    間隔    平均");
    for (int m = 1; m <= 9; m++) {
        int count, since, mean, latest;
        ClassStatsByMagnitude(-1, m, &count, &since, &mean, &latest);
        int top = 233 + (m - 1) * 18;
        t = Add(list, 18, top, 330, top + 18, ALIGN_RIGHT);
        if (latest >= 0) {
            const QuakeRecord& r = gpEQ[latest];
            std::snprintf(t->text, sizeof t->text, "M%d %7d %04d/%02d/%02d %7d/%7d", m, count, r.year,
                          r.month, r.day, since, mean);
        } else {
            std::snprintf(t->text, sizeof t->text, "M%d %7d 0000/00/00 %7d/%7d", m, count, since, mean);
        }
    }
    t = Add(list, 18, 395, 330, 413, ALIGN_RIGHT);
    std::snprintf(t->text, sizeof t->text, "規模    確率       間隔    平均    確率");
    for (int m = 5; m <= 9; m++) {
        int count, since, mean, latest;
        ClassStatsByMagnitude(-1, m, &count, &since, &mean, &latest);
        int top = 413 + (m - 5) * 18;
        t = Add(list, 18, top, 330, top + 18, ALIGN_RIGHT);
        if (latest >= 0)
            std::snprintf(t->text, sizeof t->text, "M%d %7.02f%% (%7d/%7d)/%6.02f%%", m,
                          Percent(since, mean), since, mean, Percent(count, AppSettings.recordCount));
        else
            std::snprintf(t->text, sizeof t->text, "M%d    0.00%% (      0/      0)/  0.00%%", m);
    }
}

int ControlPanelTexts(PanelText* out) {
    TextList list{out, 0};
    SettingsTexts(&list);
    SummaryTexts(&list);
    ClassTexts(&list);
    return list.count;
}
