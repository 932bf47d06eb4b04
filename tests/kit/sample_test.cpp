// The sample keeps the b = 0.95 make-sample draws from where it is complete (in
// land regions, above M3), and its regions are busy in about the record's order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "engine/catalogue/data_files.h"
#include "engine/catalogue/region_list.h"
#include "kit_test_util.h"

namespace {

// Ranks 0..n-1, ties sharing their mean rank.
std::vector<double> Ranks(const std::vector<double>& v) {
    std::vector<size_t> order(v.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return v[a] < v[b]; });
    std::vector<double> ranks(v.size());
    for (size_t i = 0, j; i < order.size(); i = j) {
        for (j = i; j < order.size() && v[order[j]] == v[order[i]]; j++) {}
        for (size_t k = i; k < j; k++) ranks[order[k]] = 0.5 * (i + j - 1);
    }
    return ranks;
}

double RankCorrelation(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> ra = Ranks(a), rb = Ranks(b);
    double mean = 0.5 * (a.size() - 1), cov = 0, va = 0, vb = 0;
    for (size_t i = 0; i < a.size(); i++) {
        cov += (ra[i] - mean) * (rb[i] - mean);
        va += (ra[i] - mean) * (ra[i] - mean);
        vb += (rb[i] - mean) * (rb[i] - mean);
    }
    return cov / std::sqrt(va * vb);
}

}  // namespace

TEST(SampleCatalogue, FollowsTheRecordsRegionsAndTheModelsBValue) {
    TempDir dir;
    ASSERT_EQ(RunTool("make-sample", "--out " + dir / "Data" + " --seed 1 --end 2026-11-30 >/dev/null"), 0);
    std::vector<double> sample(kShippedRegionCount, 0), record;
    for (int year = kFirstYear; year <= 2026; year++) {
        std::vector<QuakeRecord> records;
        ASSERT_EQ(ReadYearFile(dir / "Data", year, &records), 0) << year;
        for (const QuakeRecord& r : records) sample.at(r.regionIndex)++;
    }
    for (int i = 0; i < kShippedRegionCount; i++) record.push_back(NationalRegions()[i].events);
    EXPECT_GT(RankCorrelation(sample, record), 0.88);   // 0.935 with seed 1

    for (const char* region : {"熊本県熊本地方", "新潟県中越地方"}) {
        SCOPED_TRACE(region);
        const std::string csv = dir / (std::string(region) + ".csv");
        ASSERT_EQ(RunTool("wolt-cli", "--data " + dir / "Data" + " gr --region " + region + " --mc 3.0 -o '" + csv + "'"), 0);
        const std::string text = ReadBytes(csv);
        const size_t row = text.find('\n') + 1;   // region,n,mc,b,...
        double n = 0, mc = 0, b = 0;
        ASSERT_EQ(std::sscanf(text.c_str() + text.find(',', row) + 1, "%lf,%lf,%lf", &n, &mc, &b), 3) << text;
        EXPECT_GT(n, 500);
        EXPECT_NEAR(b, 0.95, 0.07);
    }
}
