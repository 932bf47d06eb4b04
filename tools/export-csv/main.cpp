// export-csv: writes the catalogue of a Data folder as CSV in the format
// import-csv reads (the layout of the national catalogue's exports):
//   地震の発生日,地震の発生時刻,震央地名,緯度,経度,深さ,Ｍ,最大震度
//   2024/01/01,16:10,石川県能登地方,37°29.7′N,137°16.2′E,16 km,7.6,震度7
// Records are written as stored (newest first), an unknown coordinate as
// 不明. usage: export-csv --data DIR [--sjis] > FILE.csv
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/model/geo.h"
#include "engine/catalogue/data_files.h"
#include "platform/platform.h"

static std::string DegreesMinutes(double value, const char* positive, const char* negative) {
    const char* hemisphere = value < 0 ? negative : positive;
    long tenths = std::lround(std::fabs(value) * 600);   // tenths of a minute
    char text[48];
    std::snprintf(text, sizeof text, "%ld°%02ld.%ld′%s", tenths / 600, tenths % 600 / 10, tenths % 10, hemisphere);
    return text;
}

int main(int argc, char** argv) {
    std::string dir;
    bool sjis = false;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "--data" && i + 1 < argc) dir = argv[++i];
        else if (arg == "--sjis") sjis = true;
        else dir.clear(), i = argc;
    }
    if (dir.empty()) {
        std::fprintf(stderr, "usage: export-csv --data DIR [--sjis] > FILE.csv\n");
        return 2;
    }
    std::vector<RegionEntry> regions;
    if (ReadRegionFile(dir, &regions) != 0) {
        std::fprintf(stderr, "export-csv: cannot read %s/s_tbl.dat\n", dir.c_str());
        return 1;
    }
    static const char* kIntensity[] = {"0", "1", "2", "3", "4", "5弱", "5強", "6弱", "6強", "7"};
    std::string out = "地震の発生日,地震の発生時刻,震央地名,緯度,経度,深さ,Ｍ,最大震度\n";
    for (int year = 2200; year >= kFirstYear; year--) {
        std::vector<QuakeRecord> records;
        if (ReadYearFile(dir, year, &records) != 0) continue;
        for (const QuakeRecord& r : records) {
            std::string name;
            if (r.regionIndex < kRegionSlots) {
                char raw[kRegionNameBytes + 1] = {};
                for (int k = 0; k < kRegionNameBytes; k++) raw[k] = regions[r.regionIndex].name[k];
                if (SjisToUtf8(raw, &name) != 0) name.clear();
            }
            double lat, lon;
            GridToGeo(r.mapX, r.mapY, &lat, &lon);
            char line[256];
            std::snprintf(line, sizeof line, "%04d/%02d/%02d,%02d:%02d,%s,%s,%s,%d km,%.1f,震度%s\n", r.year, r.month,
                          r.day, r.hour, r.minute, name.c_str(),
                          r.mapY ? DegreesMinutes(lat, "N", "S").c_str() : "不明",
                          r.mapX ? DegreesMinutes(lon, "E", "W").c_str() : "不明", r.depthKm, r.magnitude10 / 10.0,
                          r.intensity < 10 ? kIntensity[r.intensity] : "不明");
            out += line;
        }
    }
    if (sjis && Utf8ToSjis(out.c_str(), &out) != 0) {
        std::fprintf(stderr, "export-csv: a region name has no Shift-JIS form\n");
        return 1;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
