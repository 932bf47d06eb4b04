// libFuzzer target: the input becomes the data folder (a yearly file or two,
// and optionally s_tbl.dat and ne_tbl.dat); EQSet must load it without a
// fault, and whatever it stores must be a plausible catalogue.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "engine/catalogue/loader.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "platform/platform.h"

static std::string gFolder;

static void WriteOrRemove(const std::string& name, const uint8_t* data, size_t size, bool present) {
    std::string path = gFolder + "/" + name;
    if (!present) {
        std::remove(path.c_str());
        return;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size) std::fwrite(data, 1, size, file);
    std::fclose(file);
}

static void Setup() {
    gFolder = (std::filesystem::temp_directory_path() / ("wolt-fuzz-loader-" + std::to_string(getpid())))
                  .string();
    std::filesystem::create_directories(gFolder);
    SetDataFolder(gFolder.c_str());
    LocalTime now = {2024, 6, 15, 12, 0, 0};
    SetClockOverride(&now);
    SetMessageHandler([](const char*) {});
    if (AllocateCatalogue() != 0) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (gFolder.empty()) Setup();
    uint8_t flags = size > 0 ? data[0] : 0;
    size_t tableBytes = size > 1 ? size_t(data[1]) * 64 : 0;
    size_t at = size < 2 ? size : 2;
    if (tableBytes > size - at) tableBytes = size - at;
    WriteOrRemove("s_tbl.dat", data + at, tableBytes, flags & 1);
    WriteOrRemove("ne_tbl.dat", data + at, tableBytes, flags & 2);
    at += tableBytes;
    size_t rest = size - at;
    size_t newest = flags & 4 ? rest / 2 : rest;
    WriteOrRemove("cmp_2024.dat", data + at, newest, true);
    WriteOrRemove("cmp_2023.dat", data + at + newest, rest - newest, flags & 4);

    if (EQSet() != EQSET_OK) std::abort();
    int count = AppSettings.recordCount;
    if (count < 0 || count > kMaxRecords || DataEnd() > count) std::abort();
    for (int i = 0; i < count; i++) {
        const QuakeRecord& r = gpEQ[i];
        if (r.year != 2024 && r.year != 2023) std::abort();
        if (r.month < 1 || r.month > 12 || r.day < 1 || r.day > 31) std::abort();
        if (r.hour > 23 || r.minute > 59 || r.regionIndex > kMaxRegionIndex) std::abort();
        RegionName(r.regionIndex);
    }
    if (AppSettings.dataDays < 1) std::abort();
    return 0;
}
