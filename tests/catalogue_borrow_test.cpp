// The linear position borrowing against the literal walk, on random
// catalogues in memory and through EQSet.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "app/settings.h"
#include "catalogue/loader.h"
#include "catalogue/model.h"
#include "literal_borrow.h"
#include "platform/platform.h"
#include "test_util.h"

namespace {

// Few regions and many missing coordinates, so that every branch of the
// walk (skip, take x, take y, take both, nothing found) occurs often.
std::vector<QuakeRecord> RandomRecords(std::mt19937& random, int count, int regions, int missingPercent) {
    std::vector<QuakeRecord> records(static_cast<size_t>(count));
    for (QuakeRecord& r : records) {
        r = Rec(2024, 1, 1, 0, 0, 0, 0, 10, 0, 30, 1);
        r.regionIndex = uint16_t(random() % unsigned(regions));
        if (int(random() % 100) >= missingPercent) r.mapX = uint16_t(1 + random() % 600);
        if (int(random() % 100) >= missingPercent) r.mapY = uint16_t(1 + random() % 600);
    }
    return records;
}

void ExpectSamePositions(const std::vector<QuakeRecord>& fast, const std::vector<QuakeRecord>& literal) {
    ASSERT_EQ(fast.size(), literal.size());
    for (size_t i = 0; i < fast.size(); i++) {
        ASSERT_EQ(fast[i].mapX, literal[i].mapX) << "record " << i;
        ASSERT_EQ(fast[i].mapY, literal[i].mapY) << "record " << i;
        ASSERT_EQ(fast[i].regionIndex, literal[i].regionIndex) << "record " << i;
    }
}

TEST(Borrowing, MatchesTheLiteralWalkOnRandomCatalogues) {
    std::mt19937 random(1970);
    const int regionChoices[] = {1, 2, 3, 7, 40, kMaxRegionIndex + 1};
    const int missingChoices[] = {5, 30, 60, 90, 100};
    for (int round = 0; round < 600; round++) {
        int regions = regionChoices[round % 6];
        int missing = missingChoices[round / 6 % 5];
        std::vector<QuakeRecord> fast = RandomRecords(random, 1 + int(random() % 400), regions, missing);
        std::vector<QuakeRecord> literal = fast;
        BorrowPositions(fast.data(), int(fast.size()));
        LiteralBorrowPositions(literal.data(), int(literal.size()));
        SCOPED_TRACE(testing::Message() << "round " << round << ", regions " << regions << ", missing "
                                        << missing << "%");
        ExpectSamePositions(fast, literal);
    }
}

TEST(Borrowing, EQSetBorrowsLikeTheLiteralWalk) {
    std::string root = MakeTempDir();
    SetDataFolder(root.c_str());
    LocalTime now = {2024, 12, 1, 0, 0, 0};
    SetClockOverride(&now);
    AllocateCatalogue();
    std::mt19937 random(2024);
    for (int round = 0; round < 10; round++) {
        std::vector<QuakeRecord> expected;
        for (int year : {2024, 2023, 2021}) {
            std::vector<QuakeRecord> file = RandomRecords(random, int(random() % 3000), 5 + round * 25, 40);
            for (size_t i = 0; i < file.size(); i++) {
                file[i].year = uint16_t(year);
                file[i].month = uint16_t(12 - i * 12 / (file.size() + 1));
            }
            WriteYearFile(root, year, file);
            expected.insert(expected.end(), file.begin(), file.end());
        }
        LiteralBorrowPositions(expected.data(), int(expected.size()));
        ASSERT_EQ(EQSet(), EQSET_OK);
        ASSERT_EQ(AppSettings.recordCount, int(expected.size()));
        ExpectSamePositions(std::vector<QuakeRecord>(gpEQ, gpEQ + expected.size()), expected);
    }
    SetClockOverride(nullptr);
    SetDataFolder(nullptr);
    RemoveTree(root);
}

}  // namespace
