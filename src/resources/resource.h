// Resource identifiers of wolt.rc (also included by the program).
#pragma once

#define IDI_WOLT 107
#define IDA_WOLT 40000
#define IDS_CLASS 40000        // "wolt": main window class and instance mutex
#define IDS_TITLE 40001        // "wolt 1.45": window title, message box caption
#define IDS_LIST_CLASS 40002
#define IDS_GRAPH_CLASS 40003
#define IDS_LIST2_CLASS 40004
#define IDM_ABOUT 104          // CMD_ABOUT
#define IDM_EXIT 110           // CMD_EXIT
