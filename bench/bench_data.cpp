#include "bench_data.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/pipeline/pipeline.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "engine/selection/conditions.h"
#include "engine/selection/lists.h"
#include "engine/selection/selection.h"
#include "platform/platform.h"

enum {
    kBenchRegions = 250,
    kUnknownRegions = 4,     // the last regions: every position unknown
    kBenchLastYear = 2026,
};

static const char* const kAreas[] = {
    "北海道",   "青森県",   "岩手県",   "宮城県",   "秋田県",   "山形県",   "福島県",
    "茨城県",   "栃木県",   "群馬県",   "埼玉県",   "千葉県",   "東京都",   "神奈川県",
    "新潟県",   "富山県",   "石川県",   "福井県",   "山梨県",   "長野県",   "岐阜県",
    "静岡県",   "愛知県",   "三重県",   "滋賀県",   "京都府",   "大阪府",   "兵庫県",
    "奈良県",   "和歌山県", "鳥取県",   "島根県",   "岡山県",   "広島県",   "山口県",
    "徳島県",   "香川県",   "愛媛県",   "高知県",   "福岡県",   "佐賀県",   "長崎県",
    "熊本県",   "大分県",   "宮崎県",   "鹿児島県", "沖縄県",   "能登半島", "十勝地方",
    "表浜",
};
static const char* const kParts[] = {"北部", "南部", "東部", "西部", "沖"};

static uint32_t Next(std::mt19937& random) { return uint32_t(random()); }

static uint64_t Next64(std::mt19937& random) {
    uint64_t high = Next(random);  // two statements: a fixed order of draws
    return high << 32 | Next(random);
}

static void MakeRegionNames() {
    std::memset(RegionTable, 0, sizeof RegionTable);
    const int areas = int(sizeof kAreas / sizeof kAreas[0]);
    const int parts = int(sizeof kParts / sizeof kParts[0]);
    for (int i = 0; i < kBenchRegions; i++) {
        std::string utf8 = std::string(kAreas[i % areas]) + kParts[i / areas % parts];
        if (i >= kBenchRegions - kUnknownRegions) utf8 = std::string("震源不明") + char('1' + i % 10);
        std::string sjis;
        if (Utf8ToSjis(utf8.c_str(), &sjis) != 0) sjis = "R" + std::to_string(i);
        RegionTable[i].code = 1000 + i;
        std::memcpy(RegionTable[i].name, sjis.data(),
                    std::min(sjis.size(), size_t(kRegionNameBytes - 1)));
    }
}

struct BenchRegion {
    int mapX, mapY, depth, weight;
};

void MakeBenchCatalogue(int records, unsigned seed) {
    AllocateCatalogue();
    std::memset(gpEQ, 0, sizeof(QuakeRecord) * kMaxRecords);
    records = std::max(0, std::min(records, int(kMaxRecords)));
    std::mt19937 random(seed);
    MakeRegionNames();

    // Region centres on the map grid (mapX 190..500, mapY 10..320), a few
    // deep regions, and busy regions first.
    std::vector<BenchRegion> regions(kBenchRegions);
    std::vector<long long> cumulative(kBenchRegions);
    long long total = 0;
    for (int i = 0; i < kBenchRegions; i++) {
        BenchRegion& r = regions[i];
        r.mapX = 190 + int(Next(random) % 311);
        r.mapY = 10 + int(Next(random) % 311);
        r.depth = Next(random) % 10 == 0 ? 250 + int(Next(random) % 400) : int(Next(random) % 60);
        r.weight = 1 + 4000 / (i + 4);
        total += r.weight;
        cumulative[i] = total;
    }

    // Event times: uniform minutes over the whole span, newest first.
    const long long days = DaysBetween(kFirstYear, 1, 1, kBenchLastYear, 11, 30) + 1;
    const long long minutes = days * 1440;
    std::vector<long long> when(records);
    for (long long& t : when) t = (long long)(Next64(random) % uint64_t(minutes));
    std::sort(when.begin(), when.end(), [](long long a, long long b) { return a > b; });

    for (int i = 0; i < records; i++) {
        QuakeRecord& q = gpEQ[i];
        int year, month, day;
        CivilFromDays(when[i] / 1440, &year, &month, &day);
        q.year = uint16_t(year);
        q.month = uint16_t(month);
        q.day = uint16_t(day);
        q.hour = uint16_t(when[i] % 1440 / 60);
        q.minute = uint16_t(when[i] % 60);

        long long pick = (long long)(Next64(random) % uint64_t(total));
        int region = int(std::upper_bound(cumulative.begin(), cumulative.end(), pick) -
                         cumulative.begin());
        const BenchRegion& r = regions[region];
        q.regionIndex = uint16_t(region);

        // Magnitude: from 1.5 up, each further 0.1 with probability 0.851
        // (b-value about 0.7), a few below 1.5.
        int mag10 = 15;
        while (mag10 < 90 && Next(random) % 1000 < 851) mag10++;
        if (Next(random) % 8 == 0) mag10 -= int(Next(random) % 6);
        q.magnitude10 = uint8_t(mag10);

        int depth = r.depth + int(Next(random) % 41) - 20;
        q.depthKm = uint16_t(std::max(0, std::min(depth, 700)));

        // Intensity grows with magnitude and falls with depth; mostly 1..4.
        int intensity = 1 + (mag10 - 10) / 12 + (Next(random) % 4 == 0) - q.depthKm / 200;
        intensity = std::max(1, std::min(intensity, 9));
        if (Next(random) % 50 == 0) intensity = 0;
        q.intensity = uint8_t(intensity);

        bool unknown = region >= kBenchRegions - kUnknownRegions;
        uint32_t missing = Next(random) % 100;
        q.mapX = unknown || missing == 0 || missing == 2 ? 0
                 : uint16_t(r.mapX + int(Next(random) % 15) - 7);
        q.mapY = unknown || missing == 1 || missing == 2 ? 0
                 : uint16_t(r.mapY + int(Next(random) % 15) - 7);
    }
    StoreCatalogueValues(records, AppSettings.dataDays, AppSettings.lastFullYear, AppSettings.newestFileSize);
}

static int WriteFile(const std::string& path, const void* bytes, size_t size) {
    FILE* file = OpenFile(path.c_str(), "wb");
    if (!file) return 1;
    bool written = size == 0 || std::fwrite(bytes, 1, size, file) == size;
    return std::fclose(file) == 0 && written ? 0 : 1;
}

int WriteBenchDataFolder(const char* dir, int records, unsigned seed) {
    MakeBenchCatalogue(records, seed);
    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    std::string base = std::string(dir) + "/";
    int failed = 0;

    int count = AppSettings.recordCount;
    int next = 0;
    for (int year = kBenchLastYear; year >= kFirstYear; year--) {
        std::vector<CmpRecord> file;
        while (next < count && gpEQ[next].year == year) file.push_back(PackCmpRecord(gpEQ[next++]));
        char name[32];
        std::snprintf(name, sizeof name, "cmp_%04d.dat", year);
        failed |= WriteFile(base + name, file.data(), file.size() * sizeof(CmpRecord));
    }
    failed |= WriteFile(base + "s_tbl.dat", RegionTable, sizeof RegionTable);
    std::vector<unsigned char> ne(kNeTableBytes);
    for (size_t i = 0; i < ne.size(); i++) ne[i] = uint8_t(i * 7 + seed);
    failed |= WriteFile(base + "ne_tbl.dat", ne.data(), ne.size());
    return failed;
}

void PrepareFilteredCatalogue(int records, int magMin) {
    MakeBenchCatalogue(records, 1);
    SetDefaultSettings();
    StoreCatalogueValues(records, AppSettings.dataDays, AppSettings.lastFullYear, AppSettings.newestFileSize);
    const QuakeRecord& newest = gpEQ[0];
    const QuakeRecord& oldest = gpEQ[records - 1];
    SettingsBlock s = AppSettings;
    s.startYear = oldest.year, s.startMonth = oldest.month, s.startDay = oldest.day;
    s.startHour = 0, s.startMinute = 0;
    s.endYear = newest.year, s.endMonth = newest.month, s.endDay = newest.day;
    s.endHour = 23, s.endMinute = 59;
    s.magMin = magMin;
    StoreConditions(s);
    AllocateList(&gConditionList);
    AllocateList(&gRegionList);
    RunConditionChange();
    SelectRecord(s.selFirstIndex, SELECT_AFTER_FILTER);
}
