// make-sample: writes a realistic sample Data folder (yearly catalogue
// files, s_tbl.dat, ne_tbl.dat) for a seed and an end date.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/catalogue/data_files.h"
#include "engine/catalogue/region_names.h"
#include "engine/catalogue/loader.h"
#include "kit/region_table.h"
#include "platform/platform.h"
#include "sample_model.h"

static int Usage() {
    std::fprintf(stderr,
                 "usage: make-sample --out DIR [--seed N] [--end YYYY-MM-DD] [--records N]\n"
                 "  --seed     random seed (default 1)\n"
                 "  --end      last day of the catalogue (default: today, up to now)\n"
                 "  --records  exact number of records, 1..200000 (default: the model's own,\n"
                 "             about 170,000 for 1970 to the present)\n");
    return 2;
}

static bool ParseInt(const char* text, long long low, long long high, long long* out) {
    char* end = nullptr;
    long long v = std::strtoll(text, &end, 10);
    if (end == text || *end != 0 || v < low || v > high) return false;
    *out = v;
    return true;
}

int main(int argc, char** argv) {
    LocalTime now;
    GetLocalNow(&now);
    // By default the catalogue ends now, so that no earthquake lies in the future.
    SampleOptions options{1, now.year, now.month, now.day, now.hour * 60 + now.minute + 1, 0};
    std::string out;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        long long v;
        if (arg == "--out") {
            out = value;
        } else if (arg == "--seed" && ParseInt(value, 0, 0x7FFFFFFFFFFFFFFFll, &v)) {
            options.seed = uint64_t(v);
        } else if (arg == "--records" && ParseInt(value, 1, kMaxRecords, &v)) {
            options.records = int(v);
        } else if (arg == "--end" && std::strlen(value) == 10 && value[4] == '-' && value[7] == '-') {
            options.endYear = std::atoi(value);
            options.endMonth = std::atoi(value + 5);
            options.endDay = std::atoi(value + 8);
            options.endMinuteOfDay = 1440;
        } else {
            return Usage();
        }
    }
    if (out.empty()) return Usage();

    auto started = std::chrono::steady_clock::now();
    std::vector<QuakeRecord> records;
    SampleReport report;
    if (GenerateSample(options, &records, &report) != SAMPLE_OK) {
        std::fprintf(stderr, "make-sample: the end date must be a valid date from 1970-01-01 on\n");
        return 2;
    }
    std::vector<RegionEntry> regions;
    if (ShippedRegionTable(&regions) != 0) {
        std::fprintf(stderr, "make-sample: the region table does not encode in Shift-JIS\n");
        return 1;
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::u8path(out), error);
    static const char kSampleNote[] =
        "This Data folder holds a generated sample catalogue (wolt's make-sample), not real earthquakes.\n"
        "wolt shows it as a sample and offers to replace it with the national record (the update button).\n";
    if (WriteCatalogueFiles(out, records, kFirstYear, options.endYear, regions) != 0 ||
        WriteWholeFile(out + "/" + kSampleMarkFile, kSampleNote) != 0) {
        std::fprintf(stderr, "make-sample: cannot write into %s\n", out.c_str());
        return 1;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("make-sample: %d records (%d felt of %lld simulated, %d positions cleared), "
                "1970-01-01 to %04d-%02d-%02d, seed %llu, %.1f s -> %s\n",
                report.records, report.felt, report.simulated, report.missingPositions, options.endYear,
                options.endMonth, options.endDay, (unsigned long long)options.seed, seconds, out.c_str());
    return 0;
}
