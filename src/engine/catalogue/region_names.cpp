#include "engine/catalogue/region_names.h"

#include <cstdio>
#include <cstring>

#include "engine/catalogue/data_files.h"
#include "engine/model/geo.h"
#include "engine/catalogue/region_list.h"
#include "platform/platform.h"

const char* const kFiledNamesFile = "regions-filed.txt";

// Where a name is expected to lie when nothing else tells: the middle of the map.
static const double kMapMiddleLat = 35.0, kMapMiddleLon = 136.0;

std::string FoldRegionName(const std::string& utf8Name) {
    const std::string half = HalfWidthAscii(utf8Name);
    std::string out;
    for (size_t i = 0; i < half.size(); i++) {
        const unsigned char c = half[i];
        if (c == 0xE3 && i + 2 < half.size() && (unsigned char)half[i + 1] == 0x80 && (unsigned char)half[i + 2] == 0x80) {
            i += 2;   // ideographic space
            continue;
        }
        if (c != ' ' && c != '\t') out += char(c);
    }
    return out;
}

// The national record's facts of a folded name, or nullptr.
static const RegionFacts* FactsOf(const std::string& key) {
    static const std::map<std::string, const RegionFacts*> byKey = [] {
        std::map<std::string, const RegionFacts*> m;
        for (int i = 0; i < NationalRegionCount(); i++) m[FoldRegionName(NationalRegions()[i].name)] = &NationalRegions()[i];
        return m;
    }();
    const auto found = byKey.find(key);
    return found == byKey.end() ? nullptr : found->second;
}

// An s_tbl.dat entry for a UTF-8 name; false when it has no Shift-JIS form or does not fit.
static bool MakeEntry(int code, const std::string& utf8Name, RegionEntry* entry) {
    std::string sjis;
    if (utf8Name.empty() || Utf8ToSjis(utf8Name.c_str(), &sjis) != 0 || sjis.size() >= size_t(kRegionNameBytes))
        return false;
    std::memset(entry, 0, sizeof *entry);
    entry->code = code;
    std::memcpy(entry->name, sjis.data(), sjis.size());
    return true;
}

int ShippedRegionTable(std::vector<RegionEntry>* table) {
    std::vector<RegionEntry> out(kRegionSlots);
    std::memset(out.data(), 0, out.size() * sizeof(RegionEntry));
    for (int i = 0; i < kShippedRegionCount; i++)
        if (!MakeEntry(NationalRegions()[i].code, NationalRegions()[i].name, &out[size_t(i)])) return 1;
    *table = out;
    return 0;
}

std::string RegionNameUtf8(const RegionBook& book, int region) {
    char sjis[kRegionNameBytes + 1] = {};
    std::memcpy(sjis, book.table[size_t(region)].name, kRegionNameBytes);
    std::string utf8;
    return SjisToUtf8(sjis, &utf8) == 0 ? utf8 : std::string("?");
}

static void IndexTable(RegionBook* book) {
    book->keys.assign(book->table.size(), std::string());
    for (size_t i = 0; i < book->table.size() && i <= size_t(kMaxRegionIndex); i++)
        if (book->table[i].code != 0) book->keys[i] = FoldRegionName(RegionNameUtf8(*book, int(i)));
}

void OpenShippedRegionBook(RegionBook* book) {
    // Made once: 287 names through Shift-JIS and back are not for every caller to repeat.
    static const RegionBook shipped = [] {
        RegionBook b;
        ShippedRegionTable(&b.table);   // the shipped names all have a Shift-JIS form (tested)
        IndexTable(&b);
        return b;
    }();
    *book = shipped;
}

static int TableIndex(const RegionBook& book, const std::string& key) {
    if (key.empty()) return -1;
    for (size_t i = 0; i < book.keys.size(); i++)
        if (book.keys[i] == key) return int(i);
    return -1;
}

// Lines "name<TAB>region name"; a line whose region the table lacks is dropped.
static void ReadFiledNames(const std::string& folder, RegionBook* book) {
    std::string text;
    if (ReadWholeFile(folder + "/" + kFiledNamesFile, &text) != 0) return;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        const size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
        const int region = TableIndex(*book, FoldRegionName(TrimText(line.substr(tab + 1))));
        if (region >= 0) book->filed.push_back(FiledName{TrimText(line.substr(0, tab)), region});
    }
}

void OpenRegionBook(const std::string& folder, RegionBook* book) {
    std::vector<RegionEntry> table;
    if (ReadRegionFile(folder, &table) != 0) {
        OpenShippedRegionBook(book);
        book->tableChanged = true;
    } else {
        *book = RegionBook{};
        book->table = table;
        IndexTable(book);
    }
    ReadFiledNames(folder, book);
}

std::string FiledNamesText(const RegionBook& book) {
    std::string text = "# Epicentre names the region table has no room for, and the region each is filed under.\n";
    for (const FiledName& f : book.filed) text += f.name + "\t" + RegionNameUtf8(book, f.region) + "\n";
    return text;
}

int SaveRegionBook(const std::string& folder, RegionBook* book) {
    if (book->tableChanged) {
        if (WriteFileReplacing(folder + "/s_tbl.dat", PackRegionTable(book->table)) != 0) return 1;
        book->tableChanged = false;
    }
    if (book->filedChanged) {
        if (WriteFileReplacing(folder + "/" + kFiledNamesFile, FiledNamesText(*book)) != 0) return 1;
        book->filedChanged = false;
    }
    return 0;
}

// The defined region whose centre (the national record's median of its name)
// lies nearest to (lat, lon); regions of names the record does not list take no part.
static int NearestRegion(const RegionBook& book, double lat, double lon) {
    int best = -1;
    double bestKm = 0;
    for (size_t i = 0; i < book.keys.size(); i++) {
        const RegionFacts* facts = book.keys[i].empty() ? nullptr : FactsOf(book.keys[i]);
        if (!facts) continue;
        const double km = GreatCircleKm(lat, lon, facts->lat, facts->lon);
        if (best < 0 || km < bestKm) best = int(i), bestKm = km;
    }
    return best < 0 ? 0 : best;
}

int ChooseRegion(RegionBook* book, const std::string& utf8Name, const ParsedEvent& event, int* kind) {
    const std::string name = TrimText(utf8Name), key = FoldRegionName(name);
    const int named = TableIndex(*book, key);
    if (named >= 0) {
        *kind = REGION_NAMED;
        return named;
    }
    *kind = REGION_FILED;
    for (const FiledName& f : book->filed)
        if (FoldRegionName(f.name) == key) return f.region;
    int free = -1;
    for (int i = 0; i <= kMaxRegionIndex && free < 0; i++)
        if (book->table[size_t(i)].code == 0) free = i;
    const RegionFacts* facts = FactsOf(key);
    if (free >= 0 && MakeEntry(facts ? facts->code : 1000 + free, name, &book->table[size_t(free)])) {
        book->keys[size_t(free)] = key;
        book->tableChanged = true;
        *kind = REGION_ADDED;
        return free;
    }
    double lat = kMapMiddleLat, lon = kMapMiddleLon;
    if (facts) {
        lat = facts->lat, lon = facts->lon;
    } else if (!event.latUnknown && !event.lonUnknown) {
        lat = event.lat, lon = event.lon;
    }
    const int region = NearestRegion(*book, lat, lon);
    book->filed.push_back(FiledName{name, region});
    book->filedChanged = true;
    return region;
}

void NoteRegion(const RegionBook& book, const std::string& utf8Name, int region, int kind,
                std::map<std::string, RegionNote>* added, std::map<std::string, RegionNote>* filed) {
    if (kind == REGION_NAMED) return;
    RegionNote& note = (kind == REGION_ADDED ? *added : *filed)[TrimText(utf8Name)];
    note.region = RegionNameUtf8(book, region);
    note.events++;
}
