// The sample catalogue keeps the Gutenberg-Richter law make-sample draws its
// magnitudes from (b = 0.95) where it is complete: in land regions, whose
// felt earthquakes miss little above M3.
#include <gtest/gtest.h>

#include <cstdlib>

#include "kit_test_util.h"

TEST(SampleCatalogue, LandRegionsShowTheModelsBValue) {
    TempDir dir;
    ASSERT_EQ(RunTool("make-sample", "--out " + dir / "Data" + " --seed 1 --end 2026-11-30 >/dev/null"), 0);
    for (const char* region : {"熊本県熊本地方", "新潟県中越地方"}) {
        SCOPED_TRACE(region);
        const std::string csv = dir / (std::string(region) + ".csv");
        ASSERT_EQ(RunTool("wolt-cli", "--data " + dir / "Data" + " gr --region " + region + " --mc 3.0 -o '" + csv + "'"), 0);
        const std::string text = FileBytes(csv);
        const size_t row = text.find('\n') + 1;   // region,n,mc,b,...
        double n = 0, mc = 0, b = 0;
        ASSERT_EQ(std::sscanf(text.c_str() + text.find(',', row) + 1, "%lf,%lf,%lf", &n, &mc, &b), 3) << text;
        EXPECT_GT(n, 500);
        EXPECT_NEAR(b, 0.95, 0.07);
    }
}
