// The window class of the list, graph and section windows. Win32 only.
#pragma once

#include <windows.h>

// Registers `className` with `procedure`, the arrow cursor and `background`.
// A second call for the same class fails harmlessly: the class stays, and
// the window's creation decides.
void RegisterOwnedWindowClass(const wchar_t* className, WNDPROC procedure, HBRUSH background);
