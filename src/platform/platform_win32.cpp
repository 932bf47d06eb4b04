// Win32 services for the program and wolt-cli.exe. Paths arrive as UTF-8 and
// go to the wide API; Shift-JIS conversion uses code page 932 through UTF-16,
// so the results match the POSIX build's iconv "CP932" byte for byte.
#include "platform/platform_os.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <io.h>

#include <climits>
#include <cstring>
#include <string>


// UTF-16 from `length` bytes in `codePage`; false on invalid input.
static bool ToWide(UINT codePage, const char* text, int length, std::wstring* wide) {
    wide->clear();
    if (length == 0) return true;
    int needed = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text, length, nullptr, 0);
    if (needed <= 0) return false;
    wide->resize(size_t(needed));
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text, length, &(*wide)[0],
                               needed) == needed;
}

// `codePage` bytes from UTF-16; false when a character has no encoding.
static bool FromWide(UINT codePage, const std::wstring& wide, std::string* out) {
    out->clear();
    if (wide.empty()) return true;
    int length = int(wide.size());
    // For UTF-8 the "default used" check must not be requested.
    BOOL usedDefault = FALSE;
    BOOL* check = codePage == CP_UTF8 ? nullptr : &usedDefault;
    DWORD flags = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    int needed = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, check);
    if (needed <= 0 || usedDefault) return false;
    out->resize(size_t(needed));
    int done = WideCharToMultiByte(codePage, flags, wide.data(), length, &(*out)[0], needed, nullptr,
                                   check);
    return done == needed && !usedDefault;
}

static bool Utf8ToWide(const char* utf8, std::wstring* wide) {
    return ToWide(CP_UTF8, utf8, int(strlen(utf8)), wide);
}

static int Convert(UINT fromPage, UINT toPage, const char* in, std::string* out) {
    std::wstring wide;
    std::string result;
    if (!ToWide(fromPage, in, int(strlen(in)), &wide) || !FromWide(toPage, wide, &result)) return 1;
    *out = result;
    return 0;
}

void OsLocalNow(LocalTime* out) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    *out = {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// The program replaces this with a message box through SetMessageHandler.
void OsDefaultMessage(const char* utf8Text) { fprintf(stderr, "%s\n", utf8Text); }

FILE* OpenFile(const char* utf8Path, const char* mode) {
    std::wstring path, wideMode;
    if (!Utf8ToWide(utf8Path, &path) || !Utf8ToWide(mode, &wideMode)) return nullptr;
    return _wfopen(path.c_str(), wideMode.c_str());
}

long FileLength(FILE* file) {
    long long length = _filelengthi64(_fileno(file));
    if (length < 0) return -1;
    return length > LONG_MAX ? LONG_MAX : long(length);
}

bool IsDirectory(const char* utf8Path) {
    std::wstring path;
    if (!Utf8ToWide(utf8Path, &path)) return false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int MoveFileOver(const char* utf8From, const char* utf8To) {
    std::wstring from, to;
    if (!Utf8ToWide(utf8From, &from) || !Utf8ToWide(utf8To, &to)) return 1;
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : 1;
}

int MakeFolder(const char* utf8Path) {
    std::wstring path;
    if (!Utf8ToWide(utf8Path, &path)) return 1;
    return CreateDirectoryW(path.c_str(), nullptr) || IsDirectory(utf8Path) ? 0 : 1;
}

int RemoveFile(const char* utf8Path) {
    std::wstring path;
    if (!Utf8ToWide(utf8Path, &path)) return 1;
    return _wremove(path.c_str()) == 0 ? 0 : 1;
}

int Utf8ToSjis(const char* utf8, std::string* sjis) { return Convert(CP_UTF8, 932, utf8, sjis); }

int SjisToUtf8(const char* sjis, std::string* utf8) { return Convert(932, CP_UTF8, sjis, utf8); }
