// What every window of the program shares: the instance, the main window and
// its title, the cursor relative to it, which window is active, the update
// stage shown on the panel, and the message boxes. Win32 only.
#pragma once

#include <windows.h>

extern HINSTANCE gInstance;
extern HWND gMainWindow;
extern wchar_t gAppTitle[100];   // string 40001, "wolt 1.45"
extern int gMouseX, gMouseY;     // cursor relative to the main window, set every tick
extern int gMainActive;
extern int gListActive;          // kept by the list window: 1 while it is active
extern int gGraphActive;         // kept by the graph window
extern int gUpdateStatus;        // data update stage or error (0 at start)

// A message box with the title as caption and the stop icon. While any box
// is open the tick pauses and an exit waits until the box is closed.
void ShowErrorBox(HWND owner, const wchar_t* text);
// A question with "はい" and "いいえ" (Yes the default), counted as an open box. True for Yes.
bool AskYesNo(const wchar_t* text);
// Shows a fatal error box ("ERROR : ...") once per run (owned by the main
// window), then posts CMD_EXIT.
void FatalError(const wchar_t* text);
// 1 while a message box is open.
int MessageBoxOpen();
// Posts CMD_EXIT once the last open message box has closed.
void ExitWhenBoxesClose();

// The main window's title: the application title, marked while a generated
// sample is shown, with `detail` (a running fetch's progress) after it.
void SetMainTitle(const wchar_t* detail);
