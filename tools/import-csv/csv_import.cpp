#include "csv_import.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "engine/catalogue/loader.h"
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
        if (TrimText(raw).empty()) continue;
        auto reject = [&](const std::string& reason) { state->rejected.push_back({fileName, line, reason}); };
        if (!SplitCsv(TrimText(raw), &fields)) {
            first = false;
            state->rows++;
            reject("unterminated quote");
            continue;
        }
        if (first) {
            first = false;
            if (!ReadsAsDate(fields[0]) && HeaderColumn(fields[0]) >= 0) {
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
        // 時分不明データ may share the date's field, which leaves the row one field short.
        if (int(fields.size()) == fieldCount - 1 && columns[kTime] == columns[kDate] + 1 &&
            fields[size_t(columns[kDate])].find("時分不明") != std::string::npos)
            fields.insert(fields.begin() + columns[kTime], std::string());
        if (int(fields.size()) != fieldCount) {
            reject("expected " + std::to_string(fieldCount) + " fields, found " + std::to_string(fields.size()));
            continue;
        }
        auto field = [&](int column) { return fields[size_t(columns[column])]; };
        EventText text{field(kDate), columns[kTime] >= 0 ? field(kTime) : std::string(), TrimText(field(kRegion)),
                       field(kLat), field(kLon), field(kDepth), field(kMag), field(kIntensity)};
        ParsedEvent parsed;
        const char* why = ParseEvent(text, &parsed);
        if (why) {
            reject(why);
            continue;
        }
        if (parsed.rec.magnitude10 == 0) {   // magnitude 0.0 would end the catalogue for every reader
            state->withoutMagnitude++;
            continue;
        }
        if (parsed.offMap) state->offMap++;
        if (parsed.latUnknown || parsed.lonUnknown) state->unknownPositions++;
        if (parsed.timeUnknown) state->timeUnknown++;
        state->events.push_back(ImportEvent{parsed.rec, parsed.seconds, parsed, text.region});
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

void FinishImport(const ImportState& state, ImportResult* result) {
    std::vector<ImportEvent> events = state.events;
    SortNewestFirst(&events);
    ImportResult r;
    r.dropped = std::max(0, int(events.size()) - kMaxRecords);
    if (r.dropped) events.resize(kMaxRecords);
    OpenShippedRegionBook(&r.regions);
    for (auto e = events.rbegin(); e != events.rend(); ++e) {
        int kind;
        e->rec.regionIndex = uint16_t(ChooseRegion(&r.regions, e->region, e->parsed, &kind));
        NoteRegion(r.regions, e->region, e->rec.regionIndex, kind, &r.addedRegions, &r.filedRegions);
    }
    r.records.reserve(events.size());
    for (const ImportEvent& e : events) r.records.push_back(e.rec);
    *result = std::move(r);
}

static bool IsCatalogueFile(const std::string& name) {
    return name == "s_tbl.dat" || name == "ne_tbl.dat" || name == kFiledNamesFile || name == kSampleMarkFile ||
           (name.size() == 12 && name.compare(0, 4, "cmp_") == 0 && name.compare(8, 4, ".dat") == 0);
}

int CommitDataFolder(const std::string& outDir, const std::vector<QuakeRecord>& records,
                     const RegionBook& regions, WriteFileFn write) {
    std::string base = outDir;
    while (base.size() > 1 && (base.back() == '/' || base.back() == '\\')) base.pop_back();
    fs::path out = fs::u8path(base), temp = fs::u8path(base + ".importing");
    std::error_code ec;
    MendInterruptedSwap(base);
    bool hadOut = fs::exists(out, ec);
    if (hadOut && !fs::is_directory(out, ec)) return COMMIT_NOT_A_FOLDER;
    fs::remove_all(temp, ec);
    if (!fs::create_directories(temp, ec)) return COMMIT_WRITE_FAILED;

    int first = kFirstYear, last = kFirstYear;
    if (!records.empty()) {
        first = records.back().year;
        last = records.front().year;
    }
    bool ok = WriteCatalogueFiles(temp.u8string(), records, first, last, regions.table, write) == 0;
    if (ok && !regions.filed.empty())
        ok = write(temp.u8string() + "/" + kFiledNamesFile, FiledNamesText(regions)) == 0;
    if (ok && hadOut)
        for (const fs::directory_entry& entry : fs::directory_iterator(out, ec)) {
            if (IsCatalogueFile(entry.path().filename().u8string())) continue;
            fs::copy(entry.path(), temp / entry.path().filename(), fs::copy_options::recursive, ec);
            if (ec) ok = false;
        }
    if (!ok || ec || SwapInFolder(temp.u8string(), base) != SWAP_OK) {
        std::error_code ignored;
        fs::remove_all(temp, ignored);
        return ok && !ec ? COMMIT_SWAP_FAILED : COMMIT_WRITE_FAILED;
    }
    return COMMIT_OK;
}
