// Loading speed: EQSet over a generated 57-year data folder, and the position
// borrowing's worst case (one region whose records never carry a position)
// against the literal walk kept in the tests.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench_data.h"
#include "engine/catalogue/loader.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "literal_borrow.h"
#include "platform/platform.h"

namespace {

enum { kRecords = 200000, kSeed = 1, kWorstRegion = 286 };

// The data folder, written once per process and removed at exit.
struct BenchFolder {
    std::string path;
    int status = 1;
    BenchFolder() {
        path = (std::filesystem::temp_directory_path() / ("wolt-bench-" + std::to_string(getpid()))).string();
        status = WriteBenchDataFolder(path.c_str(), kRecords, kSeed);
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

void BM_EQSet(benchmark::State& state) {
    static BenchFolder folder;
    if (folder.status != 0) {
        state.SkipWithError("could not write the data folder");
        return;
    }
    SetDataFolder(folder.path.c_str());
    LocalTime now = {2026, 12, 1, 12, 0, 0};
    SetClockOverride(&now);
    for (auto _ : state) {
        int result = EQSet();
        benchmark::DoNotOptimize(result);
    }
    if (AppSettings.recordCount != kRecords) state.SkipWithError("the catalogue did not load whole");
    state.counters["records"] = AppSettings.recordCount;
    SetClockOverride(nullptr);
    SetDataFolder(nullptr);
}
BENCHMARK(BM_EQSet)->Unit(benchmark::kMillisecond);

// The benchmark catalogue with every tenth record moved into a region that
// never has a position: 20,000 records for which the walk finds nothing.
const std::vector<QuakeRecord>& WorstCase() {
    static std::vector<QuakeRecord> records;
    if (records.empty()) {
        MakeBenchCatalogue(kRecords, kSeed);
        for (int i = 0; i < kRecords; i += 10) {
            gpEQ[i].regionIndex = kWorstRegion;
            gpEQ[i].mapX = gpEQ[i].mapY = 0;
        }
        records.assign(gpEQ, gpEQ + kRecords);
    }
    return records;
}

template <void (*Borrow)(QuakeRecord*, int)>
void BorrowBenchmark(benchmark::State& state) {
    const std::vector<QuakeRecord>& pristine = WorstCase();
    std::vector<QuakeRecord> work(pristine.size());
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.data(), pristine.data(), pristine.size() * sizeof(QuakeRecord));
        state.ResumeTiming();
        Borrow(work.data(), int(work.size()));
        benchmark::ClobberMemory();
    }
    state.counters["records"] = double(work.size());
}

void BM_EQSetBorrow(benchmark::State& state) { BorrowBenchmark<BorrowPositions>(state); }
void BM_EQSetBorrowLiteral(benchmark::State& state) { BorrowBenchmark<LiteralBorrowPositions>(state); }
BENCHMARK(BM_EQSetBorrow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EQSetBorrowLiteral)->Unit(benchmark::kMillisecond);

}  // namespace
