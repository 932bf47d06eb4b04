// Count tables against a direct tally; CSV, GeoJSON and KML read back by real parsers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <nlohmann/json.hpp>

#include "engine/analysis/counts.h"
#include "engine/analysis/exports.h"
#include "engine/model/geo.h"
#include "random_catalogue.h"
#include "test_util.h"

// The period label of a record, worked out without the engine's day
// arithmetic: weeks by Zeller's weekday, stepping back to Monday.
static std::string TallyLabel(int period, const QuakeRecord& r) {
    int y = r.year, m = r.month, d = r.day;
    if (period == COUNT_BY_WEEK) {
        for (;;) {
            const int yy = m < 3 ? y - 1 : y, mm = m < 3 ? m + 12 : m;
            if ((d + 13 * (mm + 1) / 5 + yy + yy / 4 - yy / 100 + yy / 400) % 7 == 2) break;   // Monday
            if (--d == 0) {
                if (--m == 0) m = 12, y--;
                d = DaysBetween(y, m, 1, m == 12 ? y + 1 : y, m % 12 + 1, 1);
            }
        }
    }
    char text[40];
    if (period == COUNT_BY_YEAR) std::snprintf(text, sizeof text, "%04d", y);
    else if (period == COUNT_BY_MONTH) std::snprintf(text, sizeof text, "%04d-%02d", y, m);
    else std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
    return text;
}

TEST(Counts, EqualADirectTallyWithEveryPeriodPresent) {
    std::mt19937 random(17);
    std::vector<QuakeRecord> records = RandomCatalogue(random, 4000, 12, 900);
    for (QuakeRecord& r : records) r.inFilter = random() % 5 != 0;
    const long long from = DayNumber(records.back().year, records.back().month, records.back().day) - 3;
    const long long to = DayNumber(records[0].year, records[0].month, records[0].day) + 40;
    for (int period : {COUNT_BY_YEAR, COUNT_BY_MONTH, COUNT_BY_WEEK, COUNT_BY_DAY})
        for (int classes : {COUNT_INTENSITY, COUNT_MAGNITUDE})
            for (const std::vector<int>& regions : {std::vector<int>{}, std::vector<int>{2, 5}}) {
                SCOPED_TRACE(testing::Message() << "period " << period << " classes " << classes << " regions "
                                                << regions.size());
                std::map<std::string, std::vector<int>> tally;
                for (const QuakeRecord& r : records)
                    if (r.inFilter && (regions.empty() || r.regionIndex == 2 || r.regionIndex == 5)) {
                        std::vector<int>& row = tally[TallyLabel(period, r)];
                        row.resize(kCountClasses);
                        row[classes == COUNT_INTENSITY ? r.intensity : r.magnitude10 / 10]++;
                    }
                const CountTable t = CountRecords(records.data(), int(records.size()), regions, from, to, period, classes);
                // Consecutive periods from the one holding `from` to the one holding `to`.
                static const int kLength[4][2] = {{365, 366}, {28, 31}, {7, 7}, {1, 1}};
                ASSERT_FALSE(t.firstDay.empty());
                EXPECT_TRUE(t.firstDay[0] <= from && t.firstDay[0] + kLength[period][1] > from);
                EXPECT_TRUE(t.firstDay.back() <= to && t.firstDay.back() + kLength[period][1] > to);
                int nonzero = 0;
                for (size_t row = 0; row < t.firstDay.size(); row++) {
                    const long long step = row > 0 ? t.firstDay[row] - t.firstDay[row - 1] : kLength[period][0];
                    ASSERT_TRUE(step >= kLength[period][0] && step <= kLength[period][1]) << row;
                    const std::vector<int> cells(t.cells.begin() + long(row) * kCountClasses,
                                                 t.cells.begin() + long(row + 1) * kCountClasses);
                    int total = 0;
                    for (int c : cells) total += c;
                    ASSERT_EQ(t.totals[row], total);
                    auto it = tally.find(CountPeriodLabel(period, t.firstDay[row]));
                    if (it == tally.end()) {
                        ASSERT_EQ(total, 0);
                        continue;
                    }
                    ASSERT_EQ(cells, it->second) << it->first;
                    nonzero++;
                }
                EXPECT_EQ(nonzero, int(tally.size()));
            }
}

// A CSV text as rows of fields (RFC 4180 quoting).
static std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    for (size_t i = 0; i < text.size(); i++) {
        const char c = text[i];
        if (c == '"') {
            while (++i < text.size() && !(text[i] == '"' && (i + 1 >= text.size() || text[i + 1] != '"')))
                rows.back().back() += text[i] == '"' ? text[++i] : text[i];
        } else if (c == ',') rows.back().emplace_back();
        else if (c == '\n') rows.emplace_back(1);
        else rows.back().back() += c;
    }
    rows.pop_back();   // after the last line end
    return rows;
}

TEST(Exports, ReadBackGiveTheRecords) {
    std::mt19937 random(4);
    std::vector<QuakeRecord> records = RandomCatalogue(random, 300, 4, 400);
    records[7].mapX = 0;   // position unknown
    LoadCatalogue(records);
    std::snprintf(RegionTable[1].name, kRegionNameBytes, "Ko,\"be\\");
    std::snprintf(RegionTable[2].name, kRegionNameBytes, "<&>");
    static const char kLabels[10][20] = {"0", "1", "2", "3", "4", "5-", "5+", "6-", "6+", "7"};
    std::vector<int> order;
    for (int k = int(records.size()) - 1; k >= 0; k -= 2) order.push_back(k);   // every other one, oldest first
    auto exported = [&](int format) { return ExportRecords(records.data(), order.data(), int(order.size()), RegionTable, kLabels, format); };
    const std::vector<std::vector<std::string>> csv = ParseCsv(exported(EXPORT_CSV));
    const nlohmann::json geo = nlohmann::json::parse(exported(EXPORT_GEOJSON));
    TempDir dir;
    WriteBytes(dir / "x.kml", exported(EXPORT_KML));
    ASSERT_EQ(std::system(("python3 -c \"import xml.etree.ElementTree as E,sys\nn='{http://www.opengis.net/kml/2.2}'\n"
                           "for p in E.parse(sys.argv[1]).getroot().iter(n+'Placemark'):\n"
                           " print(p.find(n+'name').text+'|'+p.find(n+'TimeStamp/'+n+'when').text+'|'+"
                           "(p.findtext(n+'Point/'+n+'coordinates') or ''))\" " + dir / "x.kml > " + dir / "kml.txt").c_str()), 0);
    std::istringstream kml(ReadBytes(dir / "kml.txt"));
    ASSERT_EQ(csv.size(), order.size() + 1);
    EXPECT_EQ(csv[0], std::vector<std::string>({"time", "latitude", "longitude", "depth_km", "magnitude", "intensity", "region"}));
    ASSERT_EQ(geo["type"], "FeatureCollection");
    ASSERT_EQ(geo["features"].size(), order.size());
    for (size_t k = 0; k < order.size(); k++) {
        SCOPED_TRACE(k);
        const QuakeRecord& r = records[size_t(order[k])];
        const std::vector<std::string>& row = csv[k + 1];
        const nlohmann::json& f = geo["features"][k];
        char time[40];
        std::snprintf(time, sizeof time, "%04d-%02d-%02dT%02d:%02d:00+09:00", r.year, r.month, r.day, r.hour, r.minute);
        const std::string name = r.regionIndex == 1 ? "Ko,\"be\\" : r.regionIndex == 2 ? "<&>" : "R" + std::to_string(r.regionIndex);
        double lat, lon;
        GridToGeo(r.mapX, r.mapY, &lat, &lon);
        EXPECT_EQ(std::vector<std::string>({row[0], row[3], row[5], row[6]}),
                  std::vector<std::string>({time, std::to_string(r.depthKm), kLabels[r.intensity], name}));
        EXPECT_EQ(std::lround(std::stod(row[4]) * 10), r.magnitude10);
        EXPECT_EQ(std::vector<std::string>({f["properties"]["time"], f["properties"]["intensity"], f["properties"]["region"]}),
                  std::vector<std::string>({time, kLabels[r.intensity], name}));
        EXPECT_EQ(f["properties"]["depth_km"], r.depthKm);
        EXPECT_EQ(std::lround(f["properties"]["magnitude"].get<double>() * 10), r.magnitude10);
        std::string line;
        ASSERT_TRUE(std::getline(kml, line));
        char mag[8];
        std::snprintf(mag, sizeof mag, "M%.1f ", r.magnitude10 / 10.0);
        EXPECT_EQ(line.substr(0, line.rfind('|')), mag + name + "|" + time);
        if (r.mapX == 0) {
            EXPECT_EQ(std::vector<std::string>({row[1], row[2], line.substr(line.rfind('|') + 1)}),
                      std::vector<std::string>({"", "", ""}));
            EXPECT_TRUE(f["geometry"].is_null());
            continue;
        }
        EXPECT_NEAR(std::stod(row[1]), lat, 5e-4);
        EXPECT_NEAR(std::stod(row[2]), lon, 5e-4);
        EXPECT_NEAR(f["geometry"]["coordinates"][0].get<double>(), lon, 5e-4);
        EXPECT_NEAR(f["geometry"]["coordinates"][1].get<double>(), lat, 5e-4);
        EXPECT_EQ(line.substr(line.rfind('|') + 1), row[2] + "," + row[1]);
    }
}
