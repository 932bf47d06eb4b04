// The cross-section window: the section of the line last drawn on the map,
// with the event under the pointer, the wheel for the strip's width and
// 保存 for the SVG and the text list. Opened on demand, closed by its close
// box or Esc. Win32 only.
#pragma once

#include <windows.h>

// Shows the current section: creates the window at its stored place, or
// brings it to the front. 0 on success, 1 when it could not be created.
int ShowSectionWindow();
// Posts the refresh of the frame to the window when it is open.
void PostSectionRefresh();
LRESULT CALLBACK SectionWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
