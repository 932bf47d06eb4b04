// The main window: its state shared with start-up, the command hub
// MainWndProc and the shutdown. Win32 only.
#pragma once

#include <windows.h>

extern wchar_t gClassName[100];  // string 40000, "wolt"
extern wchar_t gStartDir[MAX_PATH];
extern HWND gListWindow, gList2Window, gGraphWindow;  // 0 until those windows exist

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Stops the workers, releases the view and the memory bitmaps, saves the
// settings and frees the catalogue. 0 when done (also on a repeated call),
// 1 when a worker still runs: CMD_EXIT has been posted again.
int ShutdownApp();
// Lowers the minimum timer period the window raised when it was created.
void RestoreTimerPeriod();
