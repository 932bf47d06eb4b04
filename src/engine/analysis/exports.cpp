#include "engine/analysis/exports.h"

#include <cstdio>
#include <vector>

#include "engine/model/geo.h"
#include "engine/model/records.h"
#include "platform/platform.h"

namespace {

// A Shift-JIS text of at most `bytes` bytes as UTF-8; `fallback` when it does not convert.
std::string Utf8Of(const char* sjis, size_t bytes, const std::string& fallback) {
    std::string terminated(sjis, bytes), utf8;
    terminated.resize(terminated.find('\0') == std::string::npos ? bytes : terminated.find('\0'));
    return SjisToUtf8(terminated.c_str(), &utf8) == 0 ? utf8 : fallback;
}

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') out += '\\', out += char(c);
        else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else out += char(c);
    }
    return out + "\"";
}

std::string XmlText(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c >= 0x20 || c == '\t' || c == '\n') out += char(c);   // XML 1.0 has no other control characters
    }
    return out;
}

// RFC 4180: a field with a comma, quote or line end is quoted, quotes doubled.
std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

typedef std::string (*Escape)(const std::string&);

// The region names and intensity labels as the format writes them.
struct Names {
    std::vector<std::string> region, label;
};

Names NamesFor(const RegionEntry* regions, const char (*intensityLabels)[20], Escape escape) {
    Names names;
    for (int k = 0; k < kRegionSlots; k++)
        names.region.push_back(escape(Utf8Of(regions[k].name, kRegionNameBytes, std::to_string(k))));
    for (int k = 0; k < 10; k++) names.label.push_back(escape(Utf8Of(intensityLabels[k], 20, std::to_string(k))));
    return names;
}

// One record in the format; `first` for the GeoJSON separator.
void Append(const QuakeRecord& r, const Names& names, int format, bool first, std::string* out) {
    const std::string& region = r.regionIndex < kRegionSlots ? names.region[r.regionIndex] : names.region[0];
    const char* label = r.intensity < 10 ? names.label[r.intensity].c_str() : "\"\"";
    char time[40], place[64] = "", line[768];
    std::snprintf(time, sizeof time, "%04d-%02d-%02dT%02d:%02d:00+09:00", r.year, r.month, r.day, r.hour, r.minute);
    const bool placed = r.mapX != 0 && r.mapY != 0;
    double lat = 0, lon = 0;
    if (placed) GridToGeo(r.mapX, r.mapY, &lat, &lon);
    const double magnitude = r.magnitude10 / 10.0;
    if (format == EXPORT_CSV) {
        if (placed) std::snprintf(place, sizeof place, "%.3f,%.3f", lat, lon);
        std::snprintf(line, sizeof line, "%s,%s,%d,%.1f,%s,%s\n", time, placed ? place : ",", r.depthKm, magnitude,
                      label, region.c_str());
    } else if (format == EXPORT_GEOJSON) {
        if (placed) std::snprintf(place, sizeof place, "{\"type\":\"Point\",\"coordinates\":[%.3f,%.3f]}", lon, lat);
        std::snprintf(line, sizeof line,
                      "%s{\"type\":\"Feature\",\"geometry\":%s,\"properties\":{\"time\":\"%s\",\"depth_km\":%d,"
                      "\"magnitude\":%.1f,\"intensity\":%s,\"region\":%s}}",
                      first ? "\n" : ",\n", placed ? place : "null", time, r.depthKm, magnitude, label, region.c_str());
    } else {
        if (placed) std::snprintf(place, sizeof place, "<Point><coordinates>%.3f,%.3f</coordinates></Point>", lon, lat);
        std::snprintf(line, sizeof line,
                      "<Placemark><name>M%.1f %s</name><TimeStamp><when>%s</when></TimeStamp><description>depth %d "
                      "km, intensity %s</description>%s</Placemark>\n",
                      magnitude, region.c_str(), time, r.depthKm, label, place);
    }
    *out += line;
}

}  // namespace

std::string ExportRecords(const QuakeRecord* records, const int* order, int n, const RegionEntry* regions,
                          const char (*intensityLabels)[20], int format) {
    static const Escape kEscape[] = {CsvField, JsonString, XmlText};
    const Names names = NamesFor(regions, intensityLabels, kEscape[format]);
    std::string out;
    out.reserve(size_t(n) * (format == EXPORT_CSV ? 80 : 220));
    if (format == EXPORT_CSV) out = "time,latitude,longitude,depth_km,magnitude,intensity,region\n";
    if (format == EXPORT_GEOJSON) out = "{\"type\":\"FeatureCollection\",\"features\":[";
    if (format == EXPORT_KML)
        out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
              "<Document><name>wolt</name>\n";
    for (int k = 0; k < n; k++) Append(records[order[k]], names, format, k == 0, &out);
    if (format == EXPORT_GEOJSON) out += "\n]}\n";
    if (format == EXPORT_KML) out += "</Document>\n</kml>\n";
    return out;
}
