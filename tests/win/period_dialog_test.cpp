// The period dialog's procedure under Wine (OK with typed texts: end to end).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_util.h"
#include "win/app/dialog_ids.h"
#include "win/app/dialogs.h"

TEST(PeriodDialog, OpensWithBothEndsDefaultWritesAtOnceCancelKeepsIt) {
    HWND window = CreateWindowExW(0, L"STATIC", L"period", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    for (int id : {IDC_PERIOD_START, IDC_PERIOD_END})
        ASSERT_NE(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 200, 20, window,
                                  HMENU(INT_PTR(id)), GetModuleHandleW(nullptr), nullptr),
                  nullptr);
    gDataFirst = {2019, 5, 20, 10, 0};
    gDataLast = {2024, 3, 5, 10, 20};
    SetPeriod({2021, 6, 1, 9, 5}, {2023, 12, 31, 23, 59});
    const SettingsBlock& a = AppSettings;
    auto text = [window](int id) {
        wchar_t t[400] = {};
        GetDlgItemTextW(window, id, t, 400);
        return std::wstring(t);
    };
    auto command = [window](int id) { PeriodDlgProc(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
    auto stored = [&a] {
        return std::vector<int>{a.startYear, a.startMonth, a.startDay, a.startHour, a.startMinute,
                                a.endYear,   a.endMonth,   a.endDay,   a.endHour,   a.endMinute};
    };

    EXPECT_EQ(PeriodDlgProc(window, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_EQ(text(IDC_PERIOD_START), L"2021/06/01 09:05");
    EXPECT_EQ(text(IDC_PERIOD_END), L"2023/12/31 23:59");
    command(IDC_PERIOD_DEFAULT);
    EXPECT_EQ(text(IDC_PERIOD_START), L"2019/05/20 10:00");
    EXPECT_EQ(text(IDC_PERIOD_END), L"2024/03/05 10:20");
    const std::vector<int> range = {2019, 5, 20, 10, 0, 2024, 3, 5, 10, 20};
    EXPECT_EQ(stored(), range);
    SetDlgItemTextW(window, IDC_PERIOD_START, L"2022/2/2 2:2");
    command(IDCANCEL);
    EXPECT_EQ(stored(), range) << "キャンセル ignores the edits";
    DestroyWindow(window);
}
