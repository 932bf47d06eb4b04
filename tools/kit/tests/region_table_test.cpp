// The region table: real names, correct Shift-JIS, positions that agree
// with the map image, and the s_tbl.dat built from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <regex>
#include <set>

#include "kit/bmp.h"
#include "kit/region_table.h"
#include "kit_test_util.h"
#include "mapview/geometry.h"
#include "platform/platform.h"

namespace {

std::string SjisName(const RegionEntry& e) { return std::string(e.name, strnlen(e.name, kRegionNameBytes)); }

const RgbImage& Map() {
    static RgbImage image;
    if (image.width == 0) DecodeBmp(FileBytes(std::string(WOLT_SOURCE_DIR) + "/data/MAP01_512.bmp"), &image);
    return image;
}

// Red channel of the 3 x 3 pixels around a position: sea is dark blue
// (red below 0x20), land and coast are grey (red 0x28 and more).
std::vector<int> RedAround(double lat, double lon) {
    double gx, gy, px, py;
    GeoToGrid(lat, lon, &gx, &gy);
    GridToPixel(gx, gy, &px, &py);
    std::vector<int> reds;
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) reds.push_back(int(GetPixel(Map(), int(px) + dx, int(py) + dy) >> 16));
    return reds;
}

}  // namespace

TEST(RegionTable, HasUniqueCodesAndNamesWithinTheLoaderLimit) {
    int n = KitRegionCount();
    EXPECT_GE(n, 100);
    EXPECT_LE(n, kMaxRegionIndex + 1);
    std::set<int> codes;
    std::set<std::string> names;
    for (int i = 0; i < n; i++) {
        const KitRegion& r = KitRegions()[i];
        EXPECT_NE(r.code, 0) << r.name;
        EXPECT_TRUE(codes.insert(r.code).second) << "duplicate code " << r.code;
        EXPECT_TRUE(names.insert(FoldRegionName(r.name)).second) << "duplicate name " << r.name;
        EXPECT_EQ(FindKitRegion(r.name), i) << r.name;
        EXPECT_LE(r.depthMinKm, r.depthMaxKm) << r.name;
        EXPECT_LE(r.depthMaxKm, 700) << r.name;
        EXPECT_GE(r.acrossKm, 5) << r.name;
        EXPECT_GE(r.alongKm, r.acrossKm) << r.name;
        EXPECT_GT(r.activity, 0) << r.name;
        double gx, gy, px, py;
        GeoToGrid(r.lat, r.lon, &gx, &gy);
        GridToPixel(gx, gy, &px, &py);
        EXPECT_TRUE(px >= 0 && px < kMapPixels && py >= 0 && py < kMapPixels) << r.name << " off the map";
    }
}

TEST(RegionTable, ContainsTheWellKnownNames) {
    const char* names[] = {"石狩地方北部", "十勝沖",       "三陸沖",         "宮城県沖",       "福島県沖",
                           "茨城県南部",   "千葉県北西部", "東京湾",         "伊豆大島近海",   "新潟県中越地方",
                           "石川県能登地方", "熊本県熊本地方", "日向灘",     "奄美大島近海",   "沖縄本島近海",
                           "与那国島近海", "東京都23区",   "愛媛県南予",     "トカラ列島近海", "大阪湾"};
    for (const char* name : names) EXPECT_GE(FindKitRegion(name), 0) << name;
    EXPECT_EQ(FindKitRegion("東京都２３区"), FindKitRegion(" 東京都23区 "));
    EXPECT_EQ(FindKitRegion("架空の地方"), -1);
}

TEST(RegionTable, NamesRoundTripThroughShiftJis) {
    std::vector<RegionEntry> table;
    ASSERT_EQ(BuildRegionTable({}, &table), 0);
    ASSERT_EQ(table.size(), size_t(kRegionSlots));
    int trail5C = 0;
    for (int i = 0; i < kRegionSlots; i++) {
        if (i >= KitRegionCount()) {
            EXPECT_EQ(table[i].code, 0);
            EXPECT_EQ(table[i].name[0], 0);
            continue;
        }
        std::string sjis = SjisName(table[i]), back;
        ASSERT_LT(sjis.size(), size_t(kRegionNameBytes)) << i;
        ASSERT_EQ(SjisToUtf8(sjis.c_str(), &back), 0) << i;
        EXPECT_EQ(back, KitRegions()[i].name);
        EXPECT_EQ(table[i].code, KitRegions()[i].code);
        for (size_t k = 0; k + 1 < sjis.size(); k++) {   // walk characters, not bytes
            unsigned char lead = sjis[k];
            if ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) {
                trail5C += sjis[k + 1] == 0x5C;
                k++;
            }
        }
    }
    EXPECT_GE(trail5C, 10);   // 能, 十, 予, 表 ... carry 0x5C as their second byte
    // The second byte of 能 is a backslash: the name must still be whole.
    std::string noto = SjisName(table[size_t(FindKitRegion("石川県能登地方"))]);
    EXPECT_EQ(noto.size(), 14u);
    EXPECT_NE(noto.find('\x5C'), std::string::npos);
}

TEST(RegionTable, AppendsExtraNamesUpToTheLimit) {
    struct Case {
        std::vector<std::string> extra;
        int result;
    } cases[] = {
        {{"架空の地方", "テスト海域"}, 0},
        {std::vector<std::string>(size_t(kMaxRegionIndex + 1 - KitRegionCount()), "某所"), 0},
        {std::vector<std::string>(size_t(kMaxRegionIndex + 2 - KitRegionCount()), "某所"), 2},
        {{std::string(22, 'a')}, 0},
        {{std::string(43, 'a')}, 0},
        {{std::string(44, 'a')}, 1},
        {{"\xF0\x9F\x98\x80"}, 1},   // no Shift-JIS form
    };
    for (const Case& c : cases) {
        std::vector<RegionEntry> table(1);
        EXPECT_EQ(BuildRegionTable(c.extra, &table), c.result) << c.extra.size();
        if (c.result != 0) {
            EXPECT_EQ(table.size(), 1u);
            continue;
        }
        int at = KitRegionCount();
        std::string back;
        ASSERT_EQ(SjisToUtf8(SjisName(table[size_t(at)]).c_str(), &back), 0);
        EXPECT_EQ(back, c.extra[0]);
        EXPECT_EQ(table[size_t(at)].code, 1000 + at);
        EXPECT_EQ(table[size_t(at + int(c.extra.size()))].code, 0);
    }
}

TEST(RegionTable, LandRegionsLieOnLandAndSeaRegionsAtSeaInTheMap) {
    ASSERT_EQ(Map().width, kMapPixels);
    std::regex sea("(沖|灘|湾|近海|海峡|水道)$");
    for (int i = 0; i < KitRegionCount(); i++) {
        const KitRegion& r = KitRegions()[i];
        std::vector<int> reds = RedAround(r.lat, r.lon);
        if (r.land) {
            EXPECT_TRUE(std::any_of(reds.begin(), reds.end(), [](int red) { return red >= 0x28; })) << r.name;
        } else if (std::regex_search(std::string(r.name), sea)) {
            EXPECT_TRUE(std::any_of(reds.begin(), reds.end(), [](int red) { return red < 0x20; })) << r.name;
        }
    }
}
