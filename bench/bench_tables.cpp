// The analyses a user runs on the whole record: an aftershock sequence found
// and fitted in a 200,000-record catalogue, the count table per day over the
// catalogue's 57 years, and the GeoJSON export of every record.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "bench_data.h"
#include "engine/analysis/aftershocks.h"
#include "engine/analysis/counts.h"
#include "engine/analysis/exports.h"
#include "engine/model/records.h"

namespace {

enum { kRecords = 200000, kSequence = 10000 };

long long MinuteOf(const QuakeRecord& r) { return DayNumber(r.year, r.month, r.day) * 1440 + r.hour * 60 + r.minute; }

// The benchmark catalogue of kRecords - kSequence records with, after its
// strongest placed earthquake, kSequence aftershocks in 30 days (K / (t +
// 0.01)^1.1, M2.0+ with b = 1, within 20 km), merged in time order.
std::vector<QuakeRecord> CatalogueWithSequence(QuakeRecord* main) {
    MakeBenchCatalogue(kRecords - kSequence, 1);
    std::vector<QuakeRecord> records(gpEQ, gpEQ + DataEnd());
    *main = records[0];
    for (const QuakeRecord& r : records)
        if (r.mapX != 0 && r.mapY != 0 && r.year < 2020 && r.magnitude10 > main->magnitude10) *main = r;
    std::mt19937_64 random(1);
    std::uniform_real_distribution<double> uniform(0, 1);
    const double q = -0.1, a = std::pow(0.01, q), z = std::pow(30.01, q);
    for (int k = 0; k < kSequence; k++) {
        const double t = std::pow(a + uniform(random) * (z - a), 1 / q) - 0.01;
        const long long minute = MinuteOf(*main) + 1 + (long long)(t * 1440);
        QuakeRecord r = *main;
        int year, month, day;
        CivilFromDays(minute / 1440, &year, &month, &day);
        r.year = uint16_t(year), r.month = uint16_t(month), r.day = uint16_t(day);
        r.hour = uint16_t(minute % 1440 / 60), r.minute = uint16_t(minute % 60);
        r.mapX = uint16_t(main->mapX + int(random() % 5) - 2), r.mapY = uint16_t(main->mapY + int(random() % 5) - 2);
        r.magnitude10 = uint8_t(std::min(79.0, std::floor((1.95 - std::log10(1 - uniform(random))) * 10 + 0.5)));
        records.push_back(r);
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const QuakeRecord& a, const QuakeRecord& b) { return MinuteOf(a) > MinuteOf(b); });
    for (QuakeRecord& r : records) r.inFilter = 1;
    return records;
}

void BM_Aftershocks(benchmark::State& state) {
    QuakeRecord main;
    const std::vector<QuakeRecord> records = CatalogueWithSequence(&main);
    AftershockQuery q;
    q.year = main.year, q.month = main.month, q.day = main.day, q.hour = main.hour, q.minute = main.minute;
    q.radiusKm = 50, q.days = 30;
    AftershockSequence sequence;
    AftershockFit fit;
    int status = 0;
    for (auto _ : state) {
        status = FindAftershocks(records.data(), int(records.size()), q, &sequence);
        status |= FitAftershocks(records.data(), sequence, q, &fit);
    }
    state.counters["status"] = status;
    state.counters["fitted"] = double(sequence.times.size());
    state.counters["p"] = fit.omori.p;
}
BENCHMARK(BM_Aftershocks)->Unit(benchmark::kMillisecond);

void BM_CountsByDay(benchmark::State& state) {
    PrepareFilteredCatalogue(kRecords, 1);
    const int count = DataEnd();
    const QuakeRecord &newest = gpEQ[0], &oldest = gpEQ[count - 1];
    const long long from = DayNumber(oldest.year, oldest.month, oldest.day);
    const long long to = DayNumber(newest.year, newest.month, newest.day);
    size_t rows = 0;
    for (auto _ : state) {
        const CountTable t = CountRecords(gpEQ, count, {}, from, to, COUNT_BY_DAY, COUNT_INTENSITY);
        std::string csv;
        for (size_t row = 0; row < t.firstDay.size(); row++) {   // the CSV text as wolt-cli writes it
            csv += CountPeriodLabel(COUNT_BY_DAY, t.firstDay[row]);
            for (int k = 0; k < kCountClasses; k++) csv += "," + std::to_string(t.cells[row * kCountClasses + size_t(k)]);
            csv += "," + std::to_string(t.totals[row]) + "\n";
        }
        rows = t.firstDay.size();
        benchmark::DoNotOptimize(csv);
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(BM_CountsByDay)->Unit(benchmark::kMillisecond);

void BM_ListGeoJson(benchmark::State& state) {
    PrepareFilteredCatalogue(kRecords, 1);
    std::vector<int> order(static_cast<size_t>(DataEnd()));
    for (size_t k = 0; k < order.size(); k++) order[k] = int(k);
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string text =
            ExportRecords(gpEQ, order.data(), int(order.size()), RegionTable, IntensityLabels, EXPORT_GEOJSON);
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_ListGeoJson)->Unit(benchmark::kMillisecond);

}  // namespace
