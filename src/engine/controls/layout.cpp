#include "engine/controls/layout.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/analysis/region_stats.h"
#include "engine/catalogue/update_rules.h"
#include "engine/controls/period.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "platform/platform.h"

// Each control of the panel: where its highlight is drawn (panel pixels,
// both edges inside) and where it takes the mouse (window pixels, the right
// and bottom edges outside). The date fields take the mouse one pixel beyond
// their highlight; by design the filter values take it from 9 pixels right
// of the highlight's left edge and 3 pixels below its bottom.
static const struct {
    PanelRect drawn;
    HitRect hit;
} kControls[18] = {
    {{12, 28, 52, 50}, {524, 565, 28, 53}},     {{52, 28, 108, 50}, {564, 621, 28, 53}},
    {{108, 28, 145, 50}, {620, 658, 28, 53}},   {{148, 28, 185, 50}, {660, 698, 28, 53}},
    {{188, 28, 211, 50}, {700, 724, 28, 53}},   {{228, 28, 251, 50}, {740, 764, 28, 53}},
    {{12, 52, 52, 74}, {524, 565, 52, 77}},     {{52, 52, 108, 74}, {564, 621, 52, 77}},
    {{108, 52, 145, 74}, {620, 658, 52, 77}},   {{148, 52, 185, 74}, {660, 698, 52, 77}},
    {{188, 52, 211, 74}, {700, 724, 52, 77}},   {{228, 52, 251, 74}, {740, 764, 52, 77}},
    {{12, 76, 162, 98}, {533, 674, 76, 101}},   {{12, 100, 162, 122}, {533, 674, 100, 125}},
    {{12, 124, 162, 146}, {533, 674, 124, 149}}, {{163, 76, 252, 98}, {674, 764, 76, 101}},
    {{163, 100, 252, 122}, {674, 764, 100, 125}}, {{163, 124, 252, 146}, {674, 764, 124, 149}},
};

// The buttons: their boxes (panel pixels) and where they take the mouse
// (window pixels, every edge inside). By design the large buttons take it a
// little right of and below their boxes: "Reset" 5 pixels right and 2
// below, "更新" 3 to 4 pixels right and 2 below.
const PanelButton kResetButton = {{257, 124, 321, 146}, {257, 126, 321, 146}, {774, 838, 124, 148}};
const PanelButton kUpdateButton = {{238, 506, 328, 528}, {238, 508, 328, 526}, {753, 844, 506, 530}};
const int kRowButtonLeft[3] = {257, 280, 303};   // minus, plus, "R"; 18 wide
const int kDateRowButtonTop[2] = {30, 54};
const int kFilterButtonTop = 102;

static bool Inside(const HitRect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

bool InsideButton(const PanelButton& b, int x, int y) {
    return x >= b.hit.left && x <= b.hit.right && y >= b.hit.top && y <= b.hit.bottom;
}

int ControlAt(int x, int y) {
    int id = 0;
    for (int i = 0; i < 18; i++)
        if (Inside(kControls[i].hit, x, y)) id = i + 1;
    // The filter's button group, every edge inside.
    if (x >= 774 && x <= 838 && y >= 100 && y <= 124) id = kFilterButtonsControl;
    return id;
}

int RowButtonAt(int x, int y, int top) {
    if (y < top || y >= top + 19) return ARROW_NONE;
    for (int i = 0; i < 3; i++)
        if (x >= kPanelLeft + kRowButtonLeft[i] && x < kPanelLeft + kRowButtonLeft[i] + 18) return ARROW_MINUS + i;
    return ARROW_NONE;
}

int FilterButtonAt(int x, int y) {
    // Within the group the buttons reach to each other's edges but for two gaps.
    if (y < kFilterButtonTop || y > kFilterButtonTop + 18) return ARROW_NONE;
    if (x < 793) return ARROW_MINUS;
    if (x >= 797 && x < 816) return ARROW_PLUS;
    if (x >= 820) return ARROW_RESET;
    return ARROW_NONE;
}

int ControlRect(int id, PanelRect* out) {
    if (id < 1 || id > 18) return 1;
    *out = kControls[id - 1].drawn;
    return 0;
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
    case UPDATE_OK: return "データ更新は1日1回までです";   // the status before any update
    case UPDATE_NO_CONNECTION: return "Error InternetConnect";
    case UPDATE_NO_MEMORY: return "Error malloc";
    case UPDATE_NO_SESSION: return "Error InternetOpen";
    case UPDATE_NO_URL: return "Error InternetOpenUrl";
    case UPDATE_BAD_REPLY: return "Error InternetReadFile";
    case UPDATE_WRITE_FAILED: return "Error fopen_s";
    case UPDATE_UP_TO_DATE: return "データは最新です";
    case UPDATE_BUSY: return "サーバー負荷によりデータ更新できません";
    case UPDATE_STAGE_STARTED: return "データ更新 開始";
    case UPDATE_STAGE_CONNECTED: return "データ更新 接続";
    case UPDATE_STAGE_READING: return "データ更新 読込";
    case UPDATE_STAGE_SAVING: return "データ保存中・・・";
    case UPDATE_STAGE_SAVED: return "データ保存 完了";
    case UPDATE_STATUS_DONE: return "データ更新 完了";
    case UPDATE_STATUS_FETCHING: return sFetchStatus.c_str();
    case UPDATE_STATUS_FETCH_PAUSED: return "取得中断：更新で再開";
    case UPDATE_STATUS_SAMPLE: return "サンプル：更新で実データへ";
    case UPDATE_STATUS_CHECKING: return "実データ確認中・・・";
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
        int top = 233 + (m - 1) * 18;
        t = Add(list, 18, top, 330, top + 18, ALIGN_RIGHT);
        MagnitudeClassRow(-1, m, t->text, int(sizeof t->text));
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
