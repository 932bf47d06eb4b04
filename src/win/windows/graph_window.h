// The monthly graph window: the day-by-day counts and magnitude sums of the
// newest month and the M6+ interval, custom-drawn in a layered window owned
// by the main window. Win32 only.
#pragma once

#include <windows.h>

// Creates the window at its stored position (start-up); nullptr on failure.
HWND CreateMGVWindow();
LRESULT CALLBACK GraphWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Draws the whole picture into `dc` (a memory DC of 508 x 256 at least).
void PaintGraph(HDC dc);
