// The list window (condition list) and the second list window (the region
// list of the current record): one custom-drawn, layered, owned window
// component, parameterised by ListLayout. Win32 only.
#pragma once

#include <windows.h>

struct ListControls;
struct ListLayout;
struct RecordList;

// Create the windows at their stored positions (start-up, in this order);
// nullptr on failure. The second list window takes over the region list's
// title from then on.
HWND List_CreateWindow();
HWND List2_CreateWindow();
LRESULT CALLBACK ListWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Draws one list window's whole picture into `dc` (a memory DC of the
// layout's size); clamps the list's topRow as drawn.
void PaintList(HDC dc, const ListLayout& layout, RecordList* list, const ListControls& controls);
