#include "engine/catalogue/data_files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/platform.h"

int WriteWholeFile(const std::string& utf8Path, const std::string& bytes) {
    FILE* f = OpenFile(utf8Path.c_str(), "wb");
    if (!f) return 1;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    return ok ? 0 : 1;
}

int ReadWholeFile(const std::string& utf8Path, std::string* bytes) {
    FILE* f = OpenFile(utf8Path.c_str(), "rb");
    if (!f) return 1;
    std::string data;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) return 1;
    *bytes = data;
    return 0;
}

int WriteFileReplacing(const std::string& utf8Path, const std::string& bytes) {
    const std::string temp = utf8Path + ".part";
    if (WriteWholeFile(temp, bytes) == 0 && MoveFileOver(temp.c_str(), utf8Path.c_str()) == 0) return 0;
    RemoveFile(temp.c_str());
    return 1;
}

std::string YearFileName(int year) {
    char name[32];
    std::snprintf(name, sizeof name, "cmp_%04d.dat", year);
    return name;
}

int YearOfFileName(const std::string& name) {
    int year = 0;
    if (std::sscanf(name.c_str(), "cmp_%4d", &year) != 1) return 0;
    return YearFileName(year) == name ? year : 0;   // exactly the loader's name, nothing around it
}

std::string YearFilePath(const std::string& dir, int year) { return dir + "/" + YearFileName(year); }

static void PutInt32(std::string* out, int32_t v) {
    uint32_t u = uint32_t(v);
    for (int i = 0; i < 4; i++) out->push_back(char((u >> (8 * i)) & 0xFF));
}

std::string PackYearFile(const std::vector<QuakeRecord>& records) {
    std::string out;
    out.reserve(records.size() * kCmpRecordBytes);
    for (const QuakeRecord& r : records) {
        CmpRecord c = PackCmpRecord(r);
        PutInt32(&out, c.date);
        PutInt32(&out, c.time);
        PutInt32(&out, c.position);
        PutInt32(&out, c.event);
    }
    return out;
}

int ReadYearFile(const std::string& dir, int year, std::vector<QuakeRecord>* records) {
    std::string bytes;
    if (ReadWholeFile(YearFilePath(dir, year), &bytes) != 0) return 1;
    records->clear();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t at = 0; at + kCmpRecordBytes <= bytes.size(); at += kCmpRecordBytes) {
        QuakeRecord r;
        UnpackCmpRecord(ReadCmpRecord(p + at), &r);
        records->push_back(r);
    }
    return 0;
}

std::string PackRegionTable(const std::vector<RegionEntry>& regions) {
    std::string table(kRegionSlots * sizeof(RegionEntry), '\0');
    for (size_t i = 0; i < regions.size() && i < size_t(kRegionSlots); i++) {
        std::string entry;
        PutInt32(&entry, regions[i].code);
        entry.append(regions[i].name, kRegionNameBytes);
        table.replace(i * sizeof(RegionEntry), entry.size(), entry);
    }
    return table;
}

int WriteCatalogueFiles(const std::string& dir, const std::vector<QuakeRecord>& records, int firstYear,
                        int lastYear, const std::vector<RegionEntry>& regions, WriteFileFn write) {
    std::vector<std::vector<QuakeRecord>> byYear(size_t(lastYear - firstYear + 1));
    for (const QuakeRecord& r : records)
        if (r.year >= firstYear && r.year <= lastYear) byYear[size_t(r.year - firstYear)].push_back(r);
    for (int year = firstYear; year <= lastYear; year++)
        if (write(YearFilePath(dir, year), PackYearFile(byYear[size_t(year - firstYear)])) != 0) return 1;

    if (write(dir + "/s_tbl.dat", PackRegionTable(regions)) != 0) return 1;
    return write(dir + "/ne_tbl.dat", std::string(kNeTableBytes, '\0'));
}

int ReadRegionFile(const std::string& dir, std::vector<RegionEntry>* regions) {
    std::string bytes;
    if (ReadWholeFile(dir + "/s_tbl.dat", &bytes) != 0) return 1;
    std::vector<RegionEntry> table(kRegionSlots);
    std::memset(table.data(), 0, table.size() * sizeof(RegionEntry));
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0; i < size_t(kRegionSlots) && (i + 1) * sizeof(RegionEntry) <= bytes.size(); i++) {
        table[i].code = ReadWord(p + i * sizeof(RegionEntry));
        std::memcpy(table[i].name, p + i * sizeof(RegionEntry) + 4, kRegionNameBytes);
    }
    *regions = table;
    return 0;
}

namespace fs = std::filesystem;

void MendInterruptedSwap(const std::string& dir) {
    std::error_code ec;
    const fs::path out = fs::u8path(dir), old = fs::u8path(dir + ".previous");
    if (!fs::exists(out, ec) && fs::is_directory(old, ec)) fs::rename(old, out, ec);
}

int SwapInFolder(const std::string& fresh, const std::string& dir) {
    std::error_code ec;
    const fs::path out = fs::u8path(dir), old = fs::u8path(dir + ".previous"), in = fs::u8path(fresh);
    const bool hadOut = fs::exists(out, ec);
    if (hadOut && !fs::is_directory(out, ec)) return SWAP_NOT_A_FOLDER;
    if (hadOut) {
        fs::remove_all(old, ec);
        fs::rename(out, old, ec);
        if (ec) return SWAP_FAILED;
    }
    fs::rename(in, out, ec);
    if (ec) {
        std::error_code ignored;
        if (hadOut) fs::rename(old, out, ignored);
        return SWAP_FAILED;
    }
    if (hadOut) fs::remove_all(old, ec);   // a leftover is removed by the next swap
    return SWAP_OK;
}
