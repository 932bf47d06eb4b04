// Identifiers of the pop-up menu and the three dialogs, shared by wolt.rc
// and the dialog procedures (preprocessor definitions only: the resource
// compiler reads this file too).
#pragma once

#define IDR_POPUP_MENU 113
#define IDM_SETTINGS 112         // CMD_SETTINGS; "情報" and "終了" are CMD_ABOUT, CMD_EXIT
#define IDM_REPLAY 120           // CMD_REPLAY: "再生" starts and ends the replay
#define IDM_SECTION 121          // CMD_SECTION: "断面図" asks for a line on the map
#define IDD_ABOUT 103
#define IDD_SETTINGS 109
#define IDD_PERIOD 116
#define IDC_PERIOD_START 40001   // edit: the period start
#define IDC_PERIOD_END 40002     // edit: the period end
#define IDC_PERIOD_DEFAULT 40005 // "デフォルト"
#define IDC_ABOUT_SITE 40006     // the data source's top page
#define IDC_ABOUT_SOURCE 40007   // the credit, or the note that a sample is shown
#define IDC_ABOUT_CREDIT 40008
