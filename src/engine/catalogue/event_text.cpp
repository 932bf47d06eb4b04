#include "engine/catalogue/event_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/model/geo.h"

namespace {

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// Folds the many ways exports write a value into plain ASCII tokens:
// full-width letters and digits, Japanese unit words, prime and degree
// signs, dashes. Whatever is left non-ASCII makes the value unreadable.
std::string Normalize(const std::string& utf8) {
    static const struct {
        const char* from;
        const char* to;
    } kTokens[] = {
        {"不明", "?"}, {"ごく浅い", "shallow"}, {"震度", ""}, {"弱", "-"}, {"強", "+"},
        {"北緯", "N"}, {"南緯", "S"}, {"東経", "E"}, {"西経", "W"}, {"°", "d"}, {"度", "d"},
        {"′", "m"}, {"’", "m"}, {"分", "m"}, {"″", "s"}, {"”", "s"}, {"秒", "s"},
        {"−", "-"}, {"―", "-"}, {"—", "-"}, {"‐", "-"}, {"ー", "-"}, {"　", " "},
    };
    const std::string s = HalfWidthAscii(utf8);
    std::string out;
    for (size_t i = 0; i < s.size();) {
        bool replaced = false;
        for (const auto& t : kTokens) {
            size_t n = std::strlen(t.from);
            if (s.compare(i, n, t.from) == 0) {
                out += t.to;
                i += n;
                replaced = true;
                break;
            }
        }
        if (!replaced) out += s[i++];
    }
    for (char& c : out)
        if (c == '\'') c = 'm';
        else if (c == '"') c = 's';
    return Trim(out);
}

bool IsUnknown(const std::string& v) { return v.empty() || v == "?" || v.find_first_not_of('-') == std::string::npos; }

// A decimal number at `*at` (optional sign); advances past it.
bool Number(const std::string& s, size_t* at, double* out) {
    size_t i = *at, start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) i++;
    size_t digits = 0;
    while (i < s.size() && (isdigit(static_cast<unsigned char>(s[i])) || s[i] == '.')) {
        digits += s[i] != '.';
        i++;
    }
    if (digits == 0 || std::count(s.begin() + long(start), s.begin() + long(i), '.') > 1) return false;
    *out = std::atof(s.substr(start, i - start).c_str());
    *at = i;
    return true;
}

void SkipSpaces(const std::string& s, size_t* at) {
    while (*at < s.size() && s[*at] == ' ') (*at)++;
}

// ---- Fields ---------------------------------------------------------------

struct Row {
    int year, month, day, hour, minute;
    double seconds;
    bool timeSeen;
    bool timeUnknown;   // the source knows the day only
};

// The database writes 時分不明データ ("hour and minute unknown") for an
// earthquake it knows the day of only.
const char kTimeUnknown[] = "時分不明";

bool MarksTimeUnknown(const std::string& raw, Row* row) {
    if (raw.find(kTimeUnknown) == std::string::npos) return false;
    row->timeSeen = row->timeUnknown = true;
    return true;
}

bool ParseTime(const std::string& v, size_t* at, Row* row) {
    double h, m, sec = 0;
    size_t i = *at;
    if (!Number(v, &i, &h) || i >= v.size() || v[i] != ':') return false;
    i++;
    if (!Number(v, &i, &m)) return false;
    if (i < v.size() && v[i] == ':') {
        i++;
        if (!Number(v, &i, &sec)) return false;
    }
    if (h != std::floor(h) || m != std::floor(m) || h < 0 || h > 23 || m < 0 || m > 59 || sec < 0 || sec >= 61)
        return false;
    row->hour = int(h);
    row->minute = int(m);
    row->seconds = sec;
    row->timeSeen = true;
    *at = i;
    return true;
}

const char* ParseDate(const std::string& raw, Row* row) {
    std::string v = Normalize(raw);
    int y, m, d, used = 0;
    char s1, s2;
    if (std::sscanf(v.c_str(), "%4d%c%2d%c%2d%n", &y, &s1, &m, &s2, &d, &used) != 5 || s1 != s2 ||
        (s1 != '/' && s1 != '-'))
        return "unreadable date";
    static const int kLength[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (m < 1 || m > 12 || d < 1 || d > kLength[m - 1] + (m == 2 && leap)) return "no such date";
    if (y < kFirstYear || y > 9999) return "date before 1970";
    row->year = y;
    row->month = m;
    row->day = d;
    size_t at = size_t(used);
    SkipSpaces(v, &at);
    if (MarksTimeUnknown(raw, row)) return nullptr;
    if (at < v.size() && (!ParseTime(v, &at, row) || at != v.size())) return "unreadable time";
    return nullptr;
}

const char* ParseTimeField(const std::string& raw, Row* row) {
    if (MarksTimeUnknown(raw, row)) return nullptr;
    std::string v = Normalize(raw);
    size_t at = 0;
    if (!ParseTime(v, &at, row) || at != v.size()) return "unreadable time";
    return nullptr;
}

// Decimal degrees or degrees and minutes (and seconds), with an optional
// hemisphere letter before or after; `positive`/`negative` are the letters
// this column allows. Sets *unknown for an unknown value.
const char* ParseCoordinate(const std::string& raw, char positive, char negative, double limit, double* out,
                            bool* unknown) {
    std::string v = Normalize(raw);
    *unknown = IsUnknown(v);
    if (*unknown) return nullptr;
    const char* bad = positive == 'N' ? "unreadable latitude" : "unreadable longitude";
    int sign = 1;
    char hemisphere = 0;
    size_t i = 0;
    auto letter = [&](char c) { return toupper(static_cast<unsigned char>(c)); };
    if (i < v.size() && (letter(v[i]) == positive || letter(v[i]) == negative)) hemisphere = char(letter(v[i++]));
    SkipSpaces(v, &i);
    double value;
    if (!Number(v, &i, &value)) return bad;
    if (i < v.size() && v[i] == 'd') {
        i++;
        SkipSpaces(v, &i);
        double minutes = 0, secs = 0;
        size_t mark = i;
        if (Number(v, &i, &minutes)) {
            // Rounded minutes may read 60.0 ("36°60.0′N" is 37°00.0′N).
            if (i >= v.size() || v[i] != 'm' || minutes < 0 || minutes > 60) return bad;
            i++;
            SkipSpaces(v, &i);
            mark = i;
            if (Number(v, &i, &secs)) {
                if (i >= v.size() || v[i] != 's' || secs < 0 || secs >= 60) return bad;
                i++;
            } else {
                i = mark;
            }
        } else {
            i = mark;
        }
        if (value < 0 || value != std::floor(value)) return bad;
        value += minutes / 60 + secs / 3600;
    }
    SkipSpaces(v, &i);
    if (i < v.size() && (letter(v[i]) == positive || letter(v[i]) == negative)) {
        if (hemisphere) return bad;
        hemisphere = char(letter(v[i++]));
    }
    if (i != v.size()) return bad;
    if (hemisphere == negative) sign = -1;
    if (hemisphere && value < 0) return bad;
    value *= sign;
    if (std::fabs(value) > limit) return positive == 'N' ? "latitude out of range" : "longitude out of range";
    *out = value;
    return nullptr;
}

const char* ParseDepth(const std::string& raw, int* km) {
    std::string v = Normalize(raw);
    if (IsUnknown(v) || v == "shallow") {
        *km = 0;
        return nullptr;
    }
    size_t i = 0;
    double d;
    if (!Number(v, &i, &d)) return "unreadable depth";
    SkipSpaces(v, &i);
    if (i + 2 == v.size() && tolower(v[i]) == 'k' && tolower(v[i + 1]) == 'm') i += 2;
    if (i != v.size()) return "unreadable depth";
    if (d < 0 || d >= 999.5) return "depth out of range";
    *km = int(d + 0.5);
    return nullptr;
}

// Magnitude times ten; 0 when the magnitude is unknown.
const char* ParseMagnitude(const std::string& raw, int* mag10) {
    std::string v = Normalize(raw);
    *mag10 = 0;
    if (IsUnknown(v)) return nullptr;
    size_t i = 0;
    if (i < v.size() && toupper(v[i]) == 'M') {
        i++;
        if (i < v.size() && (v[i] == 'j' || v[i] == 'w')) i++;
    }
    double m;
    if (!Number(v, &i, &m) || i != v.size()) return "unreadable magnitude";
    double tenths = std::floor(m * 10 + 0.5);
    if (tenths > 99) return "magnitude above 9.9";
    *mag10 = tenths < 1 ? 0 : int(tenths);
    return nullptr;
}

const char* ParseIntensity(const std::string& raw, int* cls) {
    std::string v = Normalize(raw);
    if (IsUnknown(v)) {
        *cls = 0;
        return nullptr;
    }
    static const char* kForms[] = {"0", "1", "2", "3", "4", "5-", "5+", "6-", "6+", "7"};
    for (int c = 0; c < 10; c++)
        if (v == kForms[c]) {
            *cls = c;
            return nullptr;
        }
    // The scale before October 1996 had a plain 5 and 6: read as the lower half.
    if (v == "5" || v == "6") {
        *cls = v == "5" ? 5 : 7;
        return nullptr;
    }
    return "unreadable intensity";
}

}  // namespace

std::string TrimText(const std::string& s) { return Trim(s); }

std::string HalfWidthAscii(const std::string& utf8) {
    // Full-width ASCII (U+FF01..U+FF5E) is EF BC 81..EF BD 9E in UTF-8.
    std::string out;
    for (size_t i = 0; i < utf8.size(); i++) {
        const unsigned char c = utf8[i];
        if (c == 0xEF && i + 2 < utf8.size()) {
            const unsigned char c1 = utf8[i + 1], c2 = utf8[i + 2];
            int code = -1;
            if (c1 == 0xBC && c2 >= 0x81 && c2 <= 0xBF) code = 0xFF00 + (c2 - 0x80);
            if (c1 == 0xBD && c2 >= 0x80 && c2 <= 0x9E) code = 0xFF40 + (c2 - 0x80);
            if (code >= 0) {
                out += char(code - 0xFF00 + 0x20);
                i += 2;
                continue;
            }
        }
        out += char(c);
    }
    return out;
}

bool ReadsAsDate(const std::string& raw) {
    Row row{};
    return ParseDate(raw, &row) == nullptr;
}

const char* ParseEvent(const EventText& text, ParsedEvent* out) {
    Row row{};
    const char* why = ParseDate(text.date, &row);
    if (!why && !text.time.empty()) why = ParseTimeField(text.time, &row);
    if (!why && !row.timeSeen) why = "no time";
    double lat = 0, lon = 0;
    bool latUnknown = false, lonUnknown = false;
    if (!why) why = ParseCoordinate(text.lat, 'N', 'S', 90, &lat, &latUnknown);
    if (!why) why = ParseCoordinate(text.lon, 'E', 'W', 180, &lon, &lonUnknown);
    int depth = 0, mag10 = 0, intensity = 0;
    if (!why) why = ParseDepth(text.depth, &depth);
    if (!why) why = ParseMagnitude(text.magnitude, &mag10);
    if (!why) why = ParseIntensity(text.intensity, &intensity);
    if (why) return why;
    ParsedEvent e{};
    e.rec.year = uint16_t(row.year);
    e.rec.month = uint16_t(row.month);
    e.rec.day = uint16_t(row.day);
    e.rec.hour = uint16_t(row.hour);
    e.rec.minute = uint16_t(row.minute);
    // x depends on the longitude only and y on the latitude only, so an
    // unknown half of the position leaves just that coordinate 0.
    int gx, gy;
    e.offMap = GeoToRecordGrid(latUnknown ? 35.0 : lat, lonUnknown ? 136.0 : lon, &gx, &gy) != 0;
    e.rec.mapX = uint16_t(lonUnknown ? 0 : gx);
    e.rec.mapY = uint16_t(latUnknown ? 0 : gy);
    e.rec.depthKm = uint16_t(depth);
    e.rec.magnitude10 = uint8_t(mag10);
    e.rec.intensity = uint8_t(intensity);
    e.seconds = row.seconds;
    e.timeUnknown = row.timeUnknown;
    e.lat = lat;
    e.lon = lon;
    e.latUnknown = latUnknown;
    e.lonUnknown = lonUnknown;
    *out = e;
    return nullptr;
}
