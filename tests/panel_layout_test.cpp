// What the control panel shows: every text of the settings and statistics
// boxes for a known catalogue and state, the status lines, the highlight
// rectangles and the button colours of every state.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "analysis_fixture.h"
#include "panel/layout.h"
#include "platform/platform.h"

namespace {

void SetLabels() {
    static const char* const kLabels[10] = {"0", "1", "2", "3", "4", "5弱", "5強", "6弱", "6強", "7"};
    for (int i = 0; i < 10; i++)
        std::snprintf(IntensityLabels[i], sizeof IntensityLabels[i], "%s", SjisText(kLabels[i]));
}

// Four matching records: M6.1 on 06-20, M2.5 on 06-19, M6.8 on 06-18, M9.0 on 06-17.
void LoadFour() {
    LoadCatalogue({DayRec(0, 1, 61), DayRec(1, 2, 25), DayRec(2, 3, 68), DayRec(3, 4, 90, 500)});
    OpenConditions();
    ApplyConditions();
    SetLabels();
    SettingsBlock& a = AppSettings;
    a.startYear = 2011, a.startMonth = 3, a.startDay = 11, a.startHour = 14, a.startMinute = 46;
    a.endYear = 2024, a.endMonth = 6, a.endDay = 20, a.endHour = 23, a.endMinute = 59;
    a.magMin = 3, a.depthMin = 20, a.intMin = 5, a.magMax = 8, a.depthMax = 700, a.intMax = 9;
    a.selMeanDepthB = 132, a.selMaxMag10b = 90, a.selMeanMag10b = 61;
}

TEST(ControlPanelTexts, EveryTextOfAKnownState) {
    LoadFour();
    ASSERT_EQ(AppSettings.selCount2, 4);
    ASSERT_EQ(AppSettings.recordCount, 4);
    PanelText texts[kPanelTextCapacity];
    ASSERT_EQ(ControlPanelTexts(texts), 29);
    struct Expected {
        PanelRect rect;
        int align;
        const char* text;
    } expected[29] = {
        {{18, 2, 332, 26}, ALIGN_LEFT, "設定"},
        {{18, 28, 332, 52}, ALIGN_LEFT, "開始 2011年 03月 11日 14 : 46"},
        {{18, 52, 332, 76}, ALIGN_LEFT, "終了 2024年 06月 20日 23 : 59"},
        {{18, 76, 332, 100}, ALIGN_LEFT, "規模(M)    3 以上"},
        {{18, 100, 332, 124}, ALIGN_LEFT, "深さ(km)  20 以上"},
        {{18, 124, 154, 148}, ALIGN_RIGHT, "5弱 以上"},
        {{18, 124, 154, 148}, ALIGN_LEFT, "震度"},
        {{178, 76, 308, 100}, ALIGN_LEFT, "  8 以下"},
        {{178, 100, 308, 124}, ALIGN_LEFT, "700 以下"},
        {{178, 124, 242, 148}, ALIGN_RIGHT, "7 以下"},
        {{18, 160, 330, 178}, ALIGN_LEFT, "地震記録データ       4 回分"},
        {{18, 179, 330, 197}, ALIGN_RIGHT, "2011年03月11日～2024年06月20日   4851日"},
        {{18, 197, 330, 215}, ALIGN_RIGHT, "平均深さ:132km 最大M:9.0 平均M:6.1"},
        {{18, 215, 330, 233}, ALIGN_RIGHT, "規模    回数       日付    間隔    平均"},
        {{18, 233, 330, 251}, ALIGN_RIGHT, "M1       0 0000/00/00       0/      0"},
        {{18, 251, 330, 269}, ALIGN_RIGHT, "M2       1 2024/06/19       1/      4"},
        {{18, 269, 330, 287}, ALIGN_RIGHT, "M3       0 0000/00/00       0/      0"},
        {{18, 287, 330, 305}, ALIGN_RIGHT, "M4       0 0000/00/00       0/      0"},
        {{18, 305, 330, 323}, ALIGN_RIGHT, "M5       0 0000/00/00       0/      0"},
        {{18, 323, 330, 341}, ALIGN_RIGHT, "M6       2 2024/06/20       0/      2"},
        {{18, 341, 330, 359}, ALIGN_RIGHT, "M7       0 0000/00/00       0/      0"},
        {{18, 359, 330, 377}, ALIGN_RIGHT, "M8       0 0000/00/00       0/      0"},
        {{18, 377, 330, 395}, ALIGN_RIGHT, "M9       1 2024/06/17       3/      4"},
        {{18, 395, 330, 413}, ALIGN_RIGHT, "規模    確率       間隔    平均    確率"},
        {{18, 413, 330, 431}, ALIGN_RIGHT, "M5    0.00% (      0/      0)/  0.00%"},
        {{18, 431, 330, 449}, ALIGN_RIGHT, "M6    0.00% (      0/      2)/ 50.00%"},
        {{18, 449, 330, 467}, ALIGN_RIGHT, "M7    0.00% (      0/      0)/  0.00%"},
        {{18, 467, 330, 485}, ALIGN_RIGHT, "M8    0.00% (      0/      0)/  0.00%"},
        {{18, 485, 330, 503}, ALIGN_RIGHT, "M9   75.00% (      3/      4)/ 25.00%"},
    };
    for (int i = 0; i < 29; i++) {
        const PanelText& t = texts[i];
        const Expected& e = expected[i];
        EXPECT_EQ(std::string(t.text), e.text) << "text " << i;
        EXPECT_EQ(t.align, e.align) << "text " << i;
        EXPECT_EQ((std::vector<int>{t.rect.left, t.rect.top, t.rect.right, t.rect.bottom}),
                  (std::vector<int>{e.rect.left, e.rect.top, e.rect.right, e.rect.bottom}))
            << "text " << i;
    }
}

TEST(ControlPanelTexts, RatioOfSinceToMeanInPerCent) {
    // Eleven records, M5 classes at 2 and 9: since 2, mean 11 / 2 = 5 -> 40.00%.
    std::vector<QuakeRecord> records;
    for (int i = 0; i < 11; i++) records.push_back(DayRec(i, 1, i == 2 || i == 9 ? 55 : 20));
    LoadCatalogue(records);
    OpenConditions();
    ApplyConditions();
    PanelText texts[kPanelTextCapacity];
    ControlPanelTexts(texts);
    EXPECT_EQ(std::string(texts[24].text), "M5   40.00% (      2/      5)/ 18.18%");
    EXPECT_EQ(std::string(texts[18].text), "M5       2 2024/06/18       2/      5");
}

TEST(UpdateStatusText, EveryStatus) {
    struct Case {
        int status;
        const char* text;
    } cases[] = {
        {0, "データ更新は1日1回までです"},
        {1, "Error InternetConnect"},
        {2, "Error malloc"},
        {3, "Error InternetOpen"},
        {4, "Error InternetOpenUrl"},
        {5, "Error InternetReadFile"},
        {6, "Error fopen_s"},
        {7, "データは最新です"},
        {8, "データ更新は1日1回までです"},
        {9, "サーバー負荷によりデータ更新できません"},
        {10, ""},
        {11, "データ更新 開始"},
        {12, "データ更新 接続"},
        {13, "データ更新 読込"},
        {14, "データ保存中・・・"},
        {15, "データ保存 完了"},
        {16, ""},
        {19, ""},
        {20, "データ更新 完了"},
        {21, ""},
        {-1, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(std::string(UpdateStatusText(c.status)), c.text) << c.status;
}

}  // namespace
