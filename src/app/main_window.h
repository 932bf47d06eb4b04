// The main window: its handle, the cursor position the tick tracks, and the
// application title used as every message box caption. Win32 only.
#pragma once

#include <windows.h>

extern HWND gMainWindow;
extern wchar_t gAppTitle[100];   // string 40001, "wolt 1.45"
extern int gMouseX, gMouseY;     // cursor relative to the main window, set every tick
extern int gMainActive;

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Shows a fatal error box ("ERROR : ...", stop icon, the title as caption)
// once, then posts CMD_EXIT.
void FatalError(const wchar_t* text);
