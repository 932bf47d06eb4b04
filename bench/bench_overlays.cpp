// The numbers of the overlay panels on the 200,000-record catalogue: what
// every tick computes (the recent-events panel with its 2 x 193 event gaps
// and the card's stand-alone alert entry, the map pick with the cursor over
// no marker and over one, the ranking page) and what a change of the current
// record costs (the region box summary, the region page's summary, graph
// and texts).
#include <benchmark/benchmark.h>

#include "bench_data.h"
#include "engine/analysis/region_summary.h"
#include "engine/controls/map_pick.h"
#include "engine/model/records.h"
#include "engine/model/geo.h"
#include "engine/picture/markers.h"
#include "engine/picture/recent_data.h"
#include "engine/model/settings.h"
#include "engine/selection/selection.h"

namespace {

enum { kRecords = 200000 };

// The whole period under the given minimum magnitude, filtered once, the
// newest match current.
void PrepareFiltered(int magMin) {
    PrepareFilteredCatalogue(kRecords, magMin);
}

RecentPanelData gRecent;

// 1: every record matches; 6: about one in a thousand, spread over the
// whole catalogue (the next-match walks are long).
void BM_RecentPanel(benchmark::State& state) {
    PrepareFiltered(int(state.range(0)));
    for (auto _ : state) {
        BuildRecentPanel(&gRecent);
        benchmark::ClobberMemory();
    }
    state.counters["matches"] = AppSettings.selCount;
}
BENCHMARK(BM_RecentPanel)->Arg(1)->Arg(6)->Unit(benchmark::kMicrosecond);

// The cursor over the map where no matching earthquake lies: the search
// visits the whole matching window.
void BM_HoverPickMiss(benchmark::State& state) {
    PrepareFiltered(1);
    for (int i = 0; i < kRecords; i++)
        if (GridToPixelXi(gpEQ[i].mapX) > 500 && GridToPixelYi(gpEQ[i].mapY) > 500) gpEQ[i].inFilter = 0;
    for (auto _ : state) {
        MapPick(508, 508);
        benchmark::ClobberMemory();
    }
    if (MapHoverSummary().hovered) state.SkipWithError("a record lies under the cursor");
}
BENCHMARK(BM_HoverPickMiss)->Unit(benchmark::kMicrosecond);

// The cursor over the oldest match: the search and the region summary each
// visit the whole window.
void BM_HoverPickOldest(benchmark::State& state) {
    PrepareFiltered(1);
    const QuakeRecord& oldest = gpEQ[AppSettings.selLastIndex];
    const int mx = GridToPixelXi(oldest.mapX), my = GridToPixelYi(oldest.mapY);
    for (auto _ : state) {
        MapPick(mx, my);
        benchmark::ClobberMemory();
    }
    state.counters["regionCount"] = MapHoverSummary().count;
}
BENCHMARK(BM_HoverPickOldest)->Unit(benchmark::kMicrosecond);

void BM_AlertPageTexts(benchmark::State& state) {
    PrepareFiltered(1);
    static OverlayText texts[kAlertPageTexts];
    int n = 0;
    for (auto _ : state) {
        n = AlertPageTexts(texts);
        benchmark::ClobberMemory();
    }
    state.counters["texts"] = n;
}
BENCHMARK(BM_AlertPageTexts)->Unit(benchmark::kMicrosecond);

// A new current record: both region summaries, the region graph and the
// page's texts (with its class statistics and recurrence bands).
void BM_CurrentRecordChange(benchmark::State& state) {
    PrepareFiltered(1);
    static RegionGraph graph;
    static OverlayText texts[kRegionPageTexts];
    static OverlayText box[kRegionPanelTexts];
    int k = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SelectRecord((k++ * 7919) % 20000, SELECT_AFTER_FILTER);
        state.ResumeTiming();
        UpdateRegionPanelSummary(gCurrentRecord);
        RegionPanelTexts("wolt 1.45", box);
        UpdateRegionPageSummary(gCurrentRecord);
        BuildRegionGraph(&graph);
        RegionPageTexts(texts);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CurrentRecordChange)->Unit(benchmark::kMicrosecond);

}  // namespace
