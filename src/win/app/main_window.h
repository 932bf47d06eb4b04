// The main window: its handle and state, the command hub MainWndProc, the
// message boxes, the placement services and the shutdown. Win32 only.
#pragma once

#include <windows.h>

extern HINSTANCE gInstance;
extern HWND gMainWindow;
extern wchar_t gAppTitle[100];   // string 40001, "wolt 1.45"
extern wchar_t gClassName[100];  // string 40000, "wolt"
extern wchar_t gStartDir[MAX_PATH];
extern int gMouseX, gMouseY;     // cursor relative to the main window, set every tick
extern int gMainActive;
extern int gListActive;          // kept by the list window: 1 while it is active
extern int gGraphActive;         // kept by the graph window
extern HWND gListWindow, gList2Window, gGraphWindow;  // 0 until those windows exist
extern int gOpacity;             // layered-window opacity 0..255
extern int gFramePainted;        // 1 when the last requested paint has run
extern int gUpdateStatus;        // data update stage or error (0 at start)
extern int gDragCount;           // mouse moves counted while dragging the window
extern UINT gTimerPeriod;        // raised minimum timer period; 0 when not raised

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A message box with the title as caption and the stop icon. While any box
// is open the tick pauses and CMD_EXIT waits until the box is closed.
void ShowErrorBox(HWND owner, const wchar_t* text);
// Shows a fatal error box ("ERROR : ...") once per run (owned by the main
// window), then posts CMD_EXIT.
void FatalError(const wchar_t* text);

// The change branch of the tick: the condition filter, the current record
// := the newest match, its place in the condition list, the region list.
void RunConditionChange();

// The work area of the desktop (SPI_GETWORKAREA).
struct WorkArea;
WorkArea DesktopWorkArea();
// Moves the main window inside the work area when needed; winX[0]/winY[0]
// become its position.
void PlaceMainWindow();
// gMouseX, gMouseY := the cursor relative to the main window.
void TrackCursor();

// Stops the workers, releases the view and the memory bitmaps, saves the
// settings and frees the catalogue. 0 when done (also on a repeated call),
// 1 when a worker still runs: CMD_EXIT has been posted again.
int ShutdownApp();
