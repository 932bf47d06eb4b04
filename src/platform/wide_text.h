// Text for the wide API: the program's UTF-8 and Shift-JIS strings to UTF-16
// and back, leniently: invalid bytes become U+FFFD (the system's default), so
// a text always shows. (Paths and file contents go through platform.h, which
// refuses invalid input.) Win32 only.
#pragma once

#include <windows.h>

#include <string>

enum { CODE_PAGE_SJIS = 932 };

// `text` in `codePage` (CP_UTF8 or CODE_PAGE_SJIS) as UTF-16.
std::wstring ToWide(const char* text, UINT codePage = CP_UTF8);
// `wide` in `codePage`; characters without an encoding become the code page's default.
std::string FromWide(const wchar_t* wide, UINT codePage = CP_UTF8);
