// The right-button pop-up menu and the three modal dialogs of the main
// window: About, settings and the period. Win32 only; every text is wide.
#pragma once

#include <windows.h>

// Opens menu 113 at the cursor; the chosen item reaches the main window as
// its command (CMD_SETTINGS, CMD_ABOUT, CMD_EXIT).
void ShowPopupMenu();

// Runs dialog `templateId` (IDD_ABOUT, IDD_SETTINGS, IDD_PERIOD) modally
// with the main window as owner; returns the dialog's result.
INT_PTR RunDialog(int templateId);

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The period: both ends as "YYYY/MM/DD hh:mm" texts; OK stores them (see
// ApplyPeriodTexts), "デフォルト" sets the catalogue's range at once.
INT_PTR CALLBACK PeriodDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
