#include "csv_import.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "engine/picture/geometry.h"
#include "kit/region_table.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

enum Column { kDate, kTime, kRegion, kLat, kLon, kDepth, kMag, kIntensity, kColumns };

// ---- Text -----------------------------------------------------------------

bool ValidUtf8(const std::string& s) {
    size_t i = 0, n = s.size();
    while (i < n) {
        unsigned char c = s[i];
        int extra;
        if (c < 0x80)
            extra = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            extra = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            extra = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            extra = 3;
        else
            return false;
        if (i + size_t(extra) >= n && extra > 0) return false;
        for (int k = 1; k <= extra; k++)
            if ((static_cast<unsigned char>(s[i + size_t(k)]) >> 6) != 2) return false;
        i += size_t(extra) + 1;
    }
    return true;
}

// Splits one CSV line into fields (double quotes may enclose a field and
// "" stands for one quote inside it). False for an unterminated quote.
bool SplitCsv(const std::string& line, std::vector<std::string>* fields) {
    fields->clear();
    std::string field;
    bool quoted = false, wasQuoted = false;
    for (size_t i = 0; i < line.size(); i++) {
        char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                i++;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"' && !wasQuoted && field.find_first_not_of(" \t") == std::string::npos) {
            field.clear();
            quoted = wasQuoted = true;
        } else if (c == ',') {
            fields->push_back(field);
            field.clear();
            wasQuoted = false;
        } else {
            field += c;
        }
    }
    fields->push_back(field);
    return !quoted;
}

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
    std::string s;
    for (size_t i = 0; i < utf8.size(); i++) {   // full-width ASCII to ASCII
        unsigned char c = utf8[i];
        if (c == 0xEF && i + 2 < utf8.size()) {
            unsigned char c1 = utf8[i + 1], c2 = utf8[i + 2];
            int code = -1;
            if (c1 == 0xBC && c2 >= 0x81 && c2 <= 0xBF) code = 0xFF00 + (c2 - 0x80);
            if (c1 == 0xBD && c2 >= 0x80 && c2 <= 0x9E) code = 0xFF40 + (c2 - 0x80);
            if (code >= 0) {
                s += char(code - 0xFF00 + 0x20);
                i += 2;
                continue;
            }
        }
        s += char(c);
    }
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
};

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
    if (at < v.size() && (!ParseTime(v, &at, row) || at != v.size())) return "unreadable time";
    return nullptr;
}

const char* ParseTimeField(const std::string& raw, Row* row) {
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
            if (i >= v.size() || v[i] != 'm' || minutes < 0 || minutes >= 60) return bad;
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

// ---- Header ---------------------------------------------------------------

int HeaderColumn(const std::string& raw) {
    std::string v = FoldRegionName(raw);
    for (char& c : v) c = char(tolower(static_cast<unsigned char>(c)));
    static const struct {
        const char* name;
        int column;
    } kNames[] = {
        {"地震の発生日", kDate}, {"発生日", kDate}, {"日付", kDate}, {"date", kDate},
        {"地震の発生時刻", kTime}, {"発生時刻", kTime}, {"時刻", kTime}, {"time", kTime},
        {"震央地名", kRegion}, {"震央", kRegion}, {"region", kRegion},
        {"緯度", kLat}, {"latitude", kLat}, {"lat", kLat},
        {"経度", kLon}, {"longitude", kLon}, {"lon", kLon},
        {"深さ", kDepth}, {"depth", kDepth},
        {"m", kMag}, {"マグニチュード", kMag}, {"magnitude", kMag}, {"mag", kMag},
        {"最大震度", kIntensity}, {"震度", kIntensity}, {"intensity", kIntensity},
    };
    for (const auto& n : kNames)
        if (v == n.name) return n.column;
    return -1;
}

int RegionIndex(const std::string& name, ImportState* state, const char** reason) {
    int found = FindKitRegion(name);
    if (found >= 0) return found;
    std::string key = FoldRegionName(name);
    for (size_t k = 0; k < state->newRegions.size(); k++)
        if (FoldRegionName(state->newRegions[k]) == key) return KitRegionCount() + int(k);
    std::string sjis;
    if (Utf8ToSjis(name.c_str(), &sjis) != 0) {
        *reason = "region name not expressible in Shift-JIS";
        return -1;
    }
    if (sjis.size() >= size_t(kRegionNameBytes)) {
        *reason = "region name longer than 43 bytes in Shift-JIS";
        return -1;
    }
    if (KitRegionCount() + int(state->newRegions.size()) > kMaxRegionIndex) {
        *reason = "region table full (287 regions)";
        return -1;
    }
    state->newRegions.push_back(name);
    return KitRegionCount() + int(state->newRegions.size()) - 1;
}

}  // namespace

int ImportCsvText(const std::string& fileName, const std::string& bytes, ImportState* state) {
    std::string text = bytes;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    if (text.find('\0') != std::string::npos) return IMPORT_BAD_ENCODING;
    if (!ValidUtf8(text)) {
        std::string converted;
        if (SjisToUtf8(text.c_str(), &converted) != 0) return IMPORT_BAD_ENCODING;
        text = converted;
    }
    int columns[kColumns] = {kDate, kTime, kRegion, kLat, kLon, kDepth, kMag, kIntensity};
    int fieldCount = kColumns;
    bool first = true;
    size_t fileStart = state->events.size();
    std::vector<std::string> fields;
    int line = 0;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string raw = text.substr(at, end - at);
        at = end + 1;
        line++;
        if (Trim(raw).empty()) continue;
        auto reject = [&](const std::string& reason) { state->rejected.push_back({fileName, line, reason}); };
        if (!SplitCsv(Trim(raw), &fields)) {
            first = false;
            state->rows++;
            reject("unterminated quote");
            continue;
        }
        Row row{};
        if (first) {
            first = false;
            if (ParseDate(fields[0], &row) != nullptr && HeaderColumn(fields[0]) >= 0) {
                int seen[kColumns];
                std::fill(seen, seen + kColumns, -1);
                for (size_t f = 0; f < fields.size(); f++) {
                    int c = HeaderColumn(fields[f]);
                    if (c >= 0 && seen[c] < 0) seen[c] = int(f);
                }
                if (seen[kTime] < 0) seen[kTime] = -2;   // the time may stand in the date column
                for (int c = 0; c < kColumns; c++)
                    if (seen[c] == -1) return IMPORT_BAD_HEADER;
                std::copy(seen, seen + kColumns, columns);
                fieldCount = int(fields.size());
                continue;
            }
        }
        state->rows++;
        if (int(fields.size()) != fieldCount) {
            reject("expected " + std::to_string(fieldCount) + " fields, found " + std::to_string(fields.size()));
            continue;
        }
        const char* why = ParseDate(fields[size_t(columns[kDate])], &row);
        if (!why && columns[kTime] >= 0) why = ParseTimeField(fields[size_t(columns[kTime])], &row);
        if (!why && !row.timeSeen) why = "no time";
        std::string region = Trim(fields[size_t(columns[kRegion])]);
        if (!why && region.empty()) why = "no region name";
        double lat = 0, lon = 0;
        bool latUnknown = false, lonUnknown = false;
        if (!why) why = ParseCoordinate(fields[size_t(columns[kLat])], 'N', 'S', 90, &lat, &latUnknown);
        if (!why) why = ParseCoordinate(fields[size_t(columns[kLon])], 'E', 'W', 180, &lon, &lonUnknown);
        int depth = 0, mag10 = 0, intensity = 0;
        if (!why) why = ParseDepth(fields[size_t(columns[kDepth])], &depth);
        if (!why) why = ParseMagnitude(fields[size_t(columns[kMag])], &mag10);
        if (!why) why = ParseIntensity(fields[size_t(columns[kIntensity])], &intensity);
        if (why) {
            reject(why);
            continue;
        }
        if (mag10 == 0) {   // magnitude 0.0 would end the catalogue for every reader
            state->withoutMagnitude++;
            continue;
        }
        int regionIndex = RegionIndex(region, state, &why);
        if (regionIndex < 0) {
            reject(why);
            continue;
        }
        ImportEvent e;
        e.rec = QuakeRecord{};
        e.rec.year = uint16_t(row.year);
        e.rec.month = uint16_t(row.month);
        e.rec.day = uint16_t(row.day);
        e.rec.hour = uint16_t(row.hour);
        e.rec.minute = uint16_t(row.minute);
        // x depends on the longitude only and y on the latitude only, so
        // an unknown half of the position leaves just that coordinate 0.
        int gx, gy;
        if (GeoToRecordGrid(latUnknown ? 35.0 : lat, lonUnknown ? 136.0 : lon, &gx, &gy) != 0) state->offMap++;
        e.rec.mapX = uint16_t(lonUnknown ? 0 : gx);
        e.rec.mapY = uint16_t(latUnknown ? 0 : gy);
        if (latUnknown || lonUnknown) state->unknownPositions++;
        e.rec.depthKm = uint16_t(depth);
        e.rec.regionIndex = uint16_t(regionIndex);
        e.rec.magnitude10 = uint8_t(mag10);
        e.rec.intensity = uint8_t(intensity);
        e.seconds = row.seconds;
        state->events.push_back(e);
    }
    // Exports list either newest or oldest first; keep newest first so that
    // earthquakes within one minute stay in their true order.
    auto key = [](const ImportEvent& e) {
        const QuakeRecord& r = e.rec;
        return ((((r.year * 100.0 + r.month) * 100 + r.day) * 100 + r.hour) * 100 + r.minute) * 100 + e.seconds;
    };
    if (state->events.size() - fileStart > 1 && key(state->events[fileStart]) < key(state->events.back()))
        std::reverse(state->events.begin() + long(fileStart), state->events.end());
    return IMPORT_OK;
}

std::vector<QuakeRecord> FinishImport(const ImportState& state, int* dropped) {
    std::vector<ImportEvent> events = state.events;
    std::stable_sort(events.begin(), events.end(), [](const ImportEvent& a, const ImportEvent& b) {
        const QuakeRecord &x = a.rec, &y = b.rec;
        if (x.year != y.year) return x.year > y.year;
        if (x.month != y.month) return x.month > y.month;
        if (x.day != y.day) return x.day > y.day;
        if (x.hour != y.hour) return x.hour > y.hour;
        if (x.minute != y.minute) return x.minute > y.minute;
        return a.seconds > b.seconds;
    });
    *dropped = std::max(0, int(events.size()) - kMaxRecords);
    if (*dropped) events.resize(kMaxRecords);
    std::vector<QuakeRecord> out;
    out.reserve(events.size());
    for (const ImportEvent& e : events) out.push_back(e.rec);
    return out;
}

static bool IsCatalogueFile(const std::string& name) {
    return name == "s_tbl.dat" || name == "ne_tbl.dat" ||
           (name.size() == 12 && name.compare(0, 4, "cmp_") == 0 && name.compare(8, 4, ".dat") == 0);
}

int CommitDataFolder(const std::string& outDir, const std::vector<QuakeRecord>& records,
                     const std::vector<RegionEntry>& regions, WriteFileFn write) {
    std::string base = outDir;
    while (base.size() > 1 && (base.back() == '/' || base.back() == '\\')) base.pop_back();
    fs::path out = fs::u8path(base), temp = fs::u8path(base + ".importing"), old = fs::u8path(base + ".previous");
    std::error_code ec;
    // An import interrupted between its two renames left the old folder
    // beside the missing one: put it back first.
    if (!fs::exists(out, ec) && fs::is_directory(old, ec)) fs::rename(old, out, ec);
    bool hadOut = fs::exists(out, ec);
    if (hadOut && !fs::is_directory(out, ec)) return COMMIT_NOT_A_FOLDER;
    fs::remove_all(temp, ec);
    if (!fs::create_directories(temp, ec)) return COMMIT_WRITE_FAILED;

    int first = kFirstYear, last = kFirstYear;
    if (!records.empty()) {
        first = records.back().year;
        last = records.front().year;
    }
    bool ok = WriteCatalogueFiles(temp.u8string(), records, first, last, regions, write) == 0;
    if (ok && hadOut)
        for (const fs::directory_entry& entry : fs::directory_iterator(out, ec)) {
            if (IsCatalogueFile(entry.path().filename().u8string())) continue;
            fs::copy(entry.path(), temp / entry.path().filename(), fs::copy_options::recursive, ec);
            if (ec) ok = false;
        }
    if (!ok || ec) {
        fs::remove_all(temp, ec);
        return COMMIT_WRITE_FAILED;
    }
    if (hadOut) {
        fs::remove_all(old, ec);
        fs::rename(out, old, ec);
        if (ec) {
            fs::remove_all(temp, ec);
            return COMMIT_SWAP_FAILED;
        }
    }
    fs::rename(temp, out, ec);
    if (ec) {
        std::error_code ignored;
        if (hadOut) fs::rename(old, out, ignored);
        fs::remove_all(temp, ignored);
        return COMMIT_SWAP_FAILED;
    }
    if (hadOut) fs::remove_all(old, ec);
    return COMMIT_OK;
}
