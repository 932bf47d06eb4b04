// The period dialog's procedure under Wine, on a window with the two edit
// fields: the texts it writes, OK with typed texts (wide, at most 256
// characters), "デフォルト", and "キャンセル".
#include <gtest/gtest.h>

#include <string>

#include "app/dialog_ids.h"
#include "app/dialogs.h"
#include "app/settings.h"
#include "catalogue/model.h"
#include "platform/platform.h"

namespace {

class PeriodDialog : public ::testing::Test {
protected:
    void SetUp() override {
        window = CreateWindowExW(0, L"STATIC", L"period", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        for (int id : {IDC_PERIOD_START, IDC_PERIOD_END})
            ASSERT_NE(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 200, 20, window,
                                      HMENU(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr),
                      nullptr);
        gDataFirst = {2019, 5, 20, 10, 0};
        gDataLast = {2024, 3, 5, 10, 20};
        SettingsBlock& a = AppSettings;
        a.startYear = 2021, a.startMonth = 6, a.startDay = 1, a.startHour = 9, a.startMinute = 5;
        a.endYear = 2023, a.endMonth = 12, a.endDay = 31, a.endHour = 23, a.endMinute = 59;
    }
    void TearDown() override { DestroyWindow(window); }

    std::wstring Text(int id) const {
        wchar_t text[400] = {};
        GetDlgItemTextW(window, id, text, 400);
        return text;
    }
    void Command(int id) { PeriodDlgProc(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    std::vector<int> Start() const {
        const SettingsBlock& a = AppSettings;
        return {a.startYear, a.startMonth, a.startDay, a.startHour, a.startMinute};
    }
    std::vector<int> End() const {
        const SettingsBlock& a = AppSettings;
        return {a.endYear, a.endMonth, a.endDay, a.endHour, a.endMinute};
    }

    HWND window = nullptr;
};

TEST_F(PeriodDialog, OpensWithBothEndsDefaultWritesAtOnceCancelKeepsIt) {
    EXPECT_EQ(PeriodDlgProc(window, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(Text(IDC_PERIOD_START), L"2021/06/01 09:05");
    EXPECT_EQ(Text(IDC_PERIOD_END), L"2023/12/31 23:59");
    Command(IDC_PERIOD_DEFAULT);
    EXPECT_EQ(Text(IDC_PERIOD_START), L"2019/05/20 10:00");
    EXPECT_EQ(Text(IDC_PERIOD_END), L"2024/03/05 10:20");
    EXPECT_EQ(Start(), (std::vector<int>{2019, 5, 20, 10, 0}));
    SetDlgItemTextW(window, IDC_PERIOD_START, L"2022/2/2 2:2");
    Command(IDCANCEL);
    EXPECT_EQ(Start(), (std::vector<int>{2019, 5, 20, 10, 0})) << "キャンセル ignores the edits";
    EXPECT_EQ(End(), (std::vector<int>{2024, 3, 5, 10, 20}));
}

}  // namespace
