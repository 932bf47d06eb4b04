// The few services the engine needs from the operating system: files by
// UTF-8 path, local time, "show a message", and Shift-JIS conversion.
// Implemented once for POSIX (platform_posix.cpp) and once for Win32
// (platform_win32.cpp); nothing else in the engine includes a system header.
#pragma once

#include <cstdio>
#include <string>

struct LocalTime {
    int year, month, day, hour, minute, second;
};

// Current local date and time. Tests and wolt-cli may pin the clock.
void GetLocalNow(LocalTime* out);
void SetClockOverride(const LocalTime* fixed);  // nullptr restores the real clock

// "YYYYMMDDhhmmss" of the current local time, as used in report file names.
std::string LocalTimeStamp();

// Files by UTF-8 path ('/' separators work everywhere).
FILE* OpenFile(const char* utf8Path, const char* mode);
long FileLength(FILE* file);                      // -1 when unknown
bool IsDirectory(const char* utf8Path);
// Moves `from` over `to` in one step (replacing `to`). 0 on success.
int MoveFileOver(const char* utf8From, const char* utf8To);
int RemoveFile(const char* utf8Path);
// Creates one folder (its parent must exist). 0 when created or already there.
int MakeFolder(const char* utf8Path);

// Shift-JIS (code page 932) conversion. Return 0 on success; on failure
// the output is left untouched.
int Utf8ToSjis(const char* utf8, std::string* sjis);
int SjisToUtf8(const char* sjis, std::string* utf8);
// A UTF-8 literal converted once to code page 932; the pointer stays valid
// for the life of the process. For report and list formats.
const char* SjisText(const char* utf8Literal);

// "Show a message": the program shows a message box, wolt-cli prints to
// stderr, tests record it. The text is UTF-8.
typedef void (*MessageHandler)(const char* utf8Text);
void SetMessageHandler(MessageHandler handler);   // nullptr: print to stderr
void ShowMessage(const char* utf8Text);
