// The data update worker: downloads the newest yearly file from the data
// server with WinINet over HTTPS and reports each stage and the outcome to
// the main window by posted commands. Win32 only.
#pragma once

#include <windows.h>

#include <cstddef>

enum {
    UPDATE_STARTED = 0,
    UPDATE_START_FAILED = 1,   // _beginthreadex failed
    UPDATE_STILL_RUNNING = 2,  // a download is under way: nothing was started
};

// Fills the worker's block for `year` (the yearly file in the data folder below
// `startDir`) and starts UpdateThread. Returns one of the codes above.
int StartUpdate(HWND target, int year, const wchar_t* agent, const wchar_t* startDir);

// The worker: stages 11 to 15, then CMD_UPDATE_DONE or CMD_UPDATE_FAILED
// with the final code in the high word.
unsigned __stdcall UpdateThread(void* block);

// Writes `bytes` to `tempPath` and moves it over `path` only when it was
// written completely, so `path` is always either the old file or the whole
// new one. Returns 0, or UPDATE_WRITE_FAILED with the temporary file removed.
int WriteYearlyFile(const wchar_t* path, const wchar_t* tempPath, const unsigned char* bytes, size_t count);
