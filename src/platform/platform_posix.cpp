// POSIX services for the native build (wolt-cli, tests, tools).
#include <iconv.h>
#include <sys/stat.h>
#include <ctime>

#include "platform/platform_os.h"

void OsLocalNow(LocalTime* out) {
    time_t now = time(nullptr);
    struct tm t;
    localtime_r(&now, &t);
    *out = {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

void OsDefaultMessage(const char* utf8Text) { fprintf(stderr, "%s\n", utf8Text); }

FILE* OpenFile(const char* utf8Path, const char* mode) { return fopen(utf8Path, mode); }

long FileLength(FILE* file) {
    struct stat st;
    if (fstat(fileno(file), &st) != 0) return -1;
    return long(st.st_size);
}

bool IsDirectory(const char* utf8Path) {
    struct stat st;
    return stat(utf8Path, &st) == 0 && S_ISDIR(st.st_mode);
}

int MoveFileOver(const char* utf8From, const char* utf8To) {
    return rename(utf8From, utf8To) == 0 ? 0 : 1;
}

int RemoveFile(const char* utf8Path) { return remove(utf8Path) == 0 ? 0 : 1; }

int MakeFolder(const char* utf8Path) { return mkdir(utf8Path, 0777) == 0 || IsDirectory(utf8Path) ? 0 : 1; }

static int Convert(const char* to, const char* from, const char* in, std::string* out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == (iconv_t)-1) return 1;
    std::string input(in);
    // One Shift-JIS byte becomes at most three UTF-8 bytes (half-width katakana).
    std::string result(input.size() * 3 + 4, '\0');
    char* src = &input[0];
    size_t srcLeft = input.size();
    char* dst = &result[0];
    size_t dstLeft = result.size();
    size_t done = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (done == size_t(-1)) return 1;
    result.resize(result.size() - dstLeft);
    *out = result;
    return 0;
}

int Utf8ToSjis(const char* utf8, std::string* sjis) { return Convert("CP932", "UTF-8", utf8, sjis); }
int SjisToUtf8(const char* sjis, std::string* utf8) { return Convert("UTF-8", "CP932", sjis, utf8); }
