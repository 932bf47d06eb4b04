#include "win/app/dialogs.h"

#include <shellapi.h>

#include <string>

#include "engine/catalogue/data_source.h"
#include "engine/catalogue/loader.h"
#include "engine/controls/period.h"
#include "engine/controls/period.h"
#include "engine/model/settings.h"
#include "win/app/dialog_ids.h"
#include "win/app/shell.h"
#include "platform/wide_text.h"

void ShowPopupMenu() {
    HMENU menu = LoadMenuW(gInstance, MAKEINTRESOURCEW(IDR_POPUP_MENU));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, 0);
    POINT cursor;
    SetForegroundWindow(gMainWindow);
    if (popup && GetCursorPos(&cursor)) TrackPopupMenuEx(popup, 0, cursor.x, cursor.y, gMainWindow, nullptr);
    DestroyMenu(menu);
}

INT_PTR RunDialog(int templateId) {
    DLGPROC procedure = templateId == IDD_ABOUT      ? AboutDlgProc
                        : templateId == IDD_SETTINGS ? SettingsDlgProc
                                                     : PeriodDlgProc;
    return DialogBoxParamW(gInstance, MAKEINTRESOURCEW(templateId), gMainWindow, procedure, 0);
}

static void SetItemText(HWND dialog, int id, const std::string& utf8) {
    SetDlgItemTextW(dialog, id, ToWide(utf8.c_str()).c_str());
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetItemText(dialog, IDC_ABOUT_SITE, DataSourceTopPage());
        if (DataIsSample()) {
            SetItemText(dialog, IDC_ABOUT_SOURCE, "サンプルデータを表示中");
            SetItemText(dialog, IDC_ABOUT_CREDIT, "生成した架空の地震で、気象庁の記録ではありません");
        }
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (id == IDOK || id == IDCANCEL) {
        EndDialog(dialog, id);
        return TRUE;
    }
    if (id == IDC_ABOUT_SITE) {
        // Results of 32 or less are failures; the dialog stays open either way.
        INT_PTR result = INT_PTR(
            ShellExecuteW(dialog, L"open", ToWide(DataSourceTopPage().c_str()).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
        if (result <= 32) ShowErrorBox(nullptr, L"接続に失敗しました");
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

static void WritePeriodTexts(HWND dialog) {
    const SettingsBlock& a = AppSettings;
    char text[64];
    FormatPeriodText(text, sizeof text, a.startYear, a.startMonth, a.startDay, a.startHour, a.startMinute);
    SetItemText(dialog, IDC_PERIOD_START, text);
    FormatPeriodText(text, sizeof text, a.endYear, a.endMonth, a.endDay, a.endHour, a.endMinute);
    SetItemText(dialog, IDC_PERIOD_END, text);
}

// The edit's text, at most 256 characters, as UTF-8.
static std::string ReadItemText(HWND dialog, int id) {
    wchar_t wide[257] = {};
    GetDlgItemTextW(dialog, id, wide, 257);
    return FromWide(wide);
}

INT_PTR CALLBACK PeriodDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        WritePeriodTexts(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: {
        std::string start = ReadItemText(dialog, IDC_PERIOD_START);
        std::string end = ReadItemText(dialog, IDC_PERIOD_END);
        ApplyPeriodTexts(start.c_str(), end.c_str());
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case IDC_PERIOD_DEFAULT:
        // Stored at once: a later "キャンセル" keeps it.
        SetDefaultPeriod();
        WritePeriodTexts(dialog);
        return TRUE;
    default: return FALSE;
    }
}
