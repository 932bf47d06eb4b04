// The condition filter with its whole refresh chain, the list sort on every
// column (against the literal stable selection kept in the tests), and the
// per-tick class statistics (cache gathering and reads against the literal
// walks the panels would otherwise repeat every 40 ms).
#include <benchmark/benchmark.h>

#include "bench_data.h"
#include "engine/pipeline/pipeline.h"
#include "engine/analysis/alert.h"
#include "engine/analysis/backtest.h"
#include "engine/analysis/gutenberg_richter.h"
#include "engine/analysis/month_series.h"
#include "engine/analysis/region_stats.h"
#include "engine/analysis/stats_cache.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "engine/selection/conditions.h"
#include "engine/selection/current_record.h"
#include "engine/selection/lists.h"
#include "engine/selection/sorting.h"
#include "literal_lists.h"
#include "literal_stats.h"

namespace {

enum { kRecords = 200000 };

// The benchmark catalogue under the default conditions over its whole
// period, filtered once, with both lists allocated and the newest match
// current (as after a filter run in the program).
void PrepareFiltered() {
    PrepareFilteredCatalogue(kRecords, 1);
}

void BM_ApplyConditions(benchmark::State& state) {
    PrepareFiltered();
    for (auto _ : state) {
        RunConditionChange();
        benchmark::ClobberMemory();
    }
    state.counters["matches"] = AppSettings.selCount;
    state.counters["listed"] = gConditionList.count;
}
BENCHMARK(BM_ApplyConditions)->Unit(benchmark::kMillisecond);

// The chain without the lists (their windows closed), and two of its parts.
// The whole backtest: 35 test years (1991-2025) on the 200,000 records,
// the smoothed-seismicity baseline (50 km), 10,000 random rankings for the p-values.
void BM_Backtest(benchmark::State& state) {
    PrepareFiltered();
    BacktestResult result;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunBacktest(gpEQ, DataEnd(), RegionTable, {1991, 2025, 60, 50, 10000, 1}, &result));
    state.counters["targets"] = result.targets;
}
BENCHMARK(BM_Backtest)->Unit(benchmark::kMillisecond);

// gr --all: every region's Mc (range(0): b-value stability or maximum
// curvature), b, b-positive, a, recurrence and 200 bootstrap resamples on the selected records.
void BM_GrAll(benchmark::State& state) {
    PrepareFiltered();
    GrOptions options;
    options.method = int(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(FitSelectedSets(gpEQ, DataEnd(), true, 0, options));
}
BENCHMARK(BM_GrAll)->Arg(GR_MC_STABILITY)->Arg(GR_MC_MAXC)->Unit(benchmark::kMillisecond);

void BM_ApplyConditionsWithoutLists(benchmark::State& state) {
    PrepareFiltered();
    FreeList(&gConditionList);
    FreeList(&gRegionList);
    for (auto _ : state) {
        RunConditionChange();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ApplyConditionsWithoutLists)->Unit(benchmark::kMillisecond);

void BM_ApplyConditionsRankAlertRegions(benchmark::State& state) {
    PrepareFiltered();
    for (auto _ : state) {
        RankAlertRegions();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ApplyConditionsRankAlertRegions)->Unit(benchmark::kMillisecond);

void BM_ApplyConditionsBuildMonthSeries(benchmark::State& state) {
    PrepareFiltered();
    for (auto _ : state) {
        BuildMonthSeries();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ApplyConditionsBuildMonthSeries)->Unit(benchmark::kMillisecond);

int32_t* OrderOf(RecordList* list, int column) {
    switch (column) {
    case SORT_DATE: return &list->dateOrder;
    case SORT_REGION: return &list->regionOrder;
    case SORT_DEPTH: return &list->depthOrder;
    case SORT_MAGNITUDE: return &list->magOrder;
    default: return &list->intensityOrder;
    }
}

// One header click that leads to sort state range(1) (1 descending / reversed,
// 2 ascending) on column range(0) of the 200,000-entry condition list.
template <void (*Sort)(RecordList*, int)>
void SortBenchmark(benchmark::State& state) {
    PrepareFiltered();
    const int column = int(state.range(0)), target = int(state.range(1));
    for (auto _ : state) {
        *OrderOf(&gConditionList, column) = target - 1;
        Sort(&gConditionList, column);
        benchmark::ClobberMemory();
    }
    state.counters["entries"] = gConditionList.count;
}

void SortArguments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"column", "state"});
    b->Args({SORT_DATE, 1});
    for (int column = SORT_REGION; column <= SORT_INTENSITY; column++) {
        b->Args({column, 1});
        b->Args({column, 2});
    }
}

void BM_SortList(benchmark::State& state) { SortBenchmark<SortList>(state); }
void BM_SortListLiteral(benchmark::State& state) { SortBenchmark<LiteralSortList>(state); }
BENCHMARK(BM_SortList)->Apply(SortArguments)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortListLiteral)->Apply(SortArguments)->Unit(benchmark::kMillisecond)->Iterations(3);

// The control panel's nine magnitude classes over the whole catalogue: a
// fresh gathering (as after a filter run) and nine reads.
void BM_ClassStats(benchmark::State& state) {
    PrepareFiltered();
    int count, since, mean, latest;
    for (auto _ : state) {
        InvalidateStatsCache();
        for (int c = 1; c <= 9; c++) ClassStatsByMagnitude(-1, c, &count, &since, &mean, &latest);
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_ClassStats)->Unit(benchmark::kMicrosecond);

// The same nine questions on every later tick: reads only.
void BM_ClassStatsRead(benchmark::State& state) {
    PrepareFiltered();
    int count, since, mean, latest;
    for (auto _ : state) {
        for (int c = 1; c <= 9; c++) ClassStatsByMagnitude(-1, c, &count, &since, &mean, &latest);
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_ClassStatsRead)->Unit(benchmark::kMicrosecond);

void BM_ClassStatsLiteral(benchmark::State& state) {
    PrepareFiltered();
    int count, since, mean, latest;
    for (auto _ : state) {
        for (int c = 1; c <= 9; c++) LiteralClassStats(-1, false, c, &count, &since, &mean, &latest);
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_ClassStatsLiteral)->Unit(benchmark::kMicrosecond);

// The region page's questions for the current record: nine magnitude
// classes, nine intensity classes and the six recurrence bands.
void BM_ClassStatsRegion(benchmark::State& state) {
    PrepareFiltered();
    int count, since, mean, latest;
    float due, share;
    for (auto _ : state) {
        InvalidateStatsCache();
        for (int c = 1; c <= 9; c++) {
            ClassStatsByMagnitude(gCurrentRecord, c, &count, &since, &mean, &latest);
            ClassStatsByIntensity(gCurrentRecord, c, &count, &since, &mean, &latest);
        }
        for (int band = 0; band <= 5; band++) ClassRecurrence(gCurrentRecord, band, &due, &share);
        benchmark::DoNotOptimize(count);
        benchmark::DoNotOptimize(due);
    }
}
BENCHMARK(BM_ClassStatsRegion)->Unit(benchmark::kMicrosecond);

void BM_ClassStatsRegionLiteral(benchmark::State& state) {
    PrepareFiltered();
    int count, since, mean, latest;
    float due, share;
    for (auto _ : state) {
        for (int c = 1; c <= 9; c++) {
            LiteralClassStats(gCurrentRecord, false, c, &count, &since, &mean, &latest);
            LiteralClassStats(gCurrentRecord, true, c, &count, &since, &mean, &latest);
        }
        for (int band = 0; band <= 5; band++) LiteralClassRecurrence(band, &due, &share);
        benchmark::DoNotOptimize(count);
        benchmark::DoNotOptimize(due);
    }
}
BENCHMARK(BM_ClassStatsRegionLiteral)->Unit(benchmark::kMicrosecond);

}  // namespace
