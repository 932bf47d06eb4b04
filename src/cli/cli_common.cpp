#include "cli_common.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "engine/model/records.h"
#include "platform/platform.h"

int WriteWhole(const char* path, const std::string& text) {
    errno = 0;
    // An existing file is replaced only where it could be written (not a read-only one).
    if (FILE* existing = OpenFile(path, "rb")) {
        std::fclose(existing);
        FILE* writable = OpenFile(path, "r+b");
        if (!writable) return 1;
        std::fclose(writable);
    }
    const std::string part = std::string(path) + ".part";
    FILE* f = OpenFile(part.c_str(), "wb");
    bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f && std::fclose(f) != 0) ok = false;
    if (ok) ok = MoveFileOver(part.c_str(), path) == 0;
    if (!ok && f) {
        const int error = errno;
        RemoveFile(part.c_str());
        errno = error;
    }
    return ok ? 0 : 1;
}

int WriteText(const char* path, const std::string& text) {
    if (WriteWhole(path, text) == 0) return EXIT_OK;
    std::fprintf(stderr, "wolt-cli: cannot write %s: %s\n", path, errno ? std::strerror(errno) : "it could not be written");
    return EXIT_NO_OUTPUT;
}

std::string Fixed(double v, int digits) {
    if (v < 0) return "";
    char s[32];
    std::snprintf(s, sizeof s, "%.*f", digits, v);
    return s;
}

std::string Significant(double v) {
    if (v < 0 || !std::isfinite(v)) return "";
    if (v == 0) return "0";
    const int magnitude = int(std::floor(std::log10(v)));
    if (magnitude >= 2) {
        const double unit = std::pow(10.0, magnitude - 2);
        return Fixed(std::round(v / unit) * unit, 0);
    }
    std::string s = Fixed(v, 2 - magnitude);
    // Rounding up may add a digit (9.996 -> 10.00): one decimal less.
    return s.size() > 1 && std::fabs(std::stod(s)) >= std::pow(10.0, magnitude + 1) ? Fixed(v, 1 - magnitude) : s;
}

std::string RegionLabel(int region) {
    if (region < 0) return "all";
    std::string utf8;
    return SjisToUtf8(RegionName(region), &utf8) == 0 ? utf8 : std::to_string(region);
}

int RegionNamed(const std::string& utf8) {
    std::string sjis;
    if (Utf8ToSjis(utf8.c_str(), &sjis) != 0) return -1;
    for (int r = 0; r < kRegionSlots; r++)
        if (RegionTable[r].code != 0 && sjis == RegionName(r)) return r;
    return -1;
}
