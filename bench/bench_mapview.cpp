// The map view's rebuild after a filter change: markers and link lines in
// their worst case (1001 matching on-map candidates of which none has a
// partner, so every depth tolerance is tried over the whole window), with
// the one-scan search and with the literal search kept in the tests; and the
// marker walk over the whole catalogue when almost nothing matches.
#include <benchmark/benchmark.h>

#include "bench_data.h"
#include "engine/model/records.h"
#include "engine/picture/markers.h"
#include "engine/model/settings.h"
#include "literal_links.h"

namespace {

enum { kRecords = 200000, kSeed = 1, kCandidates = 1001 };

TexturedScreenVertex gQuads[kMarkerVertices];
ColoredScreenVertex gLines[kLinkVertices];

// Grid points 32 units apart times depths 191 km apart: no two candidates
// are near in both place and depth.
void PrepareNoPartners() {
    MakeBenchCatalogue(kRecords, kSeed);
    FillDistanceTable();
    for (int i = 0; i < kRecords; i++) gpEQ[i].inFilter = 0;
    for (int i = 0; i < kCandidates; i++) {
        int slot = (i * 389) % 1056;   // 389 is prime to 1056: every slot once, scattered
        QuakeRecord& r = gpEQ[i];
        r.mapX = uint16_t(32 * (slot % 16));
        r.mapY = uint16_t(32 * (slot / 16 % 11));
        r.depthKm = uint16_t(191 * (slot / 176));
        r.inFilter = 1;
    }
    SettingsBlock s = AppSettings;
    s.selFirstIndex = 0;
    s.selCount = kCandidates;
    s.startYear = kFirstYear;
    s.endYear = 9999;
    StoreSelectionSummary(s);
    StoreConditions(s);
}

template <int (*Links)(ColoredScreenVertex*)>
void RebuildBenchmark(benchmark::State& state) {
    PrepareNoPartners();
    int quads = 0, lines = 0;
    for (auto _ : state) {
        quads = BuildMarkerQuads(gQuads);
        lines = Links(gLines);
        benchmark::ClobberMemory();
    }
    if (quads != kMarkerQuads || lines != 0) state.SkipWithError("not the worst case");
    state.counters["quads"] = quads;
    state.counters["lines"] = lines;
}

void BM_MarkerLinkRebuild(benchmark::State& state) { RebuildBenchmark<BuildLinkLines>(state); }
void BM_MarkerLinkRebuildLiteral(benchmark::State& state) { RebuildBenchmark<LiteralLinkLines>(state); }
BENCHMARK(BM_MarkerLinkRebuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkerLinkRebuildLiteral)->Unit(benchmark::kMillisecond);

// Only the oldest record matches: the marker walk visits all 200,000.
void BM_MarkerWalkWholeCatalogue(benchmark::State& state) {
    MakeBenchCatalogue(kRecords, kSeed);
    for (int i = 0; i < kRecords; i++) gpEQ[i].inFilter = 0;
    gpEQ[kRecords - 1].inFilter = 1;
    gpEQ[kRecords - 1].mapX = 300;
    gpEQ[kRecords - 1].mapY = 100;
    int quads = 0;
    for (auto _ : state) {
        quads = BuildMarkerQuads(gQuads);
        benchmark::ClobberMemory();
    }
    if (quads != 1) state.SkipWithError("the oldest record was not drawn");
}
BENCHMARK(BM_MarkerWalkWholeCatalogue)->Unit(benchmark::kMillisecond);

}  // namespace
