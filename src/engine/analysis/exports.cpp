#include "engine/analysis/exports.h"

#include <cstdio>
#include <vector>

#include "engine/catalogue/geo.h"
#include "engine/catalogue/model.h"
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

struct Row {
    std::string time, lat, lon, depth, magnitude, intensity, region;
    bool placed;
};

Row RowOf(const QuakeRecord& r, const std::vector<std::string>& regionNames, const std::vector<std::string>& labels) {
    Row row;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:00+09:00", r.year, r.month, r.day, r.hour, r.minute);
    row.time = text;
    row.placed = r.mapX != 0 && r.mapY != 0;
    if (row.placed) {
        double lat, lon;
        GridToGeo(r.mapX, r.mapY, &lat, &lon);
        std::snprintf(text, sizeof text, "%.3f", lat);
        row.lat = text;
        std::snprintf(text, sizeof text, "%.3f", lon);
        row.lon = text;
    }
    row.depth = std::to_string(r.depthKm);
    std::snprintf(text, sizeof text, "%.1f", r.magnitude10 / 10.0);
    row.magnitude = text;
    row.intensity = r.intensity < 10 ? labels[r.intensity] : "";
    row.region = r.regionIndex < kRegionSlots ? regionNames[r.regionIndex] : std::to_string(r.regionIndex);
    return row;
}

void AppendCsv(const Row& r, std::string* out) {
    *out += r.time + "," + r.lat + "," + r.lon + "," + r.depth + "," + r.magnitude + "," + CsvField(r.intensity) + "," +
            CsvField(r.region) + "\n";
}

void AppendGeoJson(const Row& r, bool first, std::string* out) {
    *out += first ? "\n" : ",\n";
    *out += "{\"type\":\"Feature\",\"geometry\":";
    *out += r.placed ? "{\"type\":\"Point\",\"coordinates\":[" + r.lon + "," + r.lat + "]}" : std::string("null");
    *out += ",\"properties\":{\"time\":" + JsonString(r.time) + ",\"depth_km\":" + r.depth + ",\"magnitude\":" +
            r.magnitude + ",\"intensity\":" + JsonString(r.intensity) + ",\"region\":" + JsonString(r.region) + "}}";
}

void AppendKml(const Row& r, std::string* out) {
    *out += "<Placemark><name>M" + r.magnitude + " " + XmlText(r.region) + "</name><TimeStamp><when>" + r.time +
            "</when></TimeStamp><description>" + XmlText("depth " + r.depth + " km, intensity " + r.intensity) +
            "</description>";
    if (r.placed) *out += "<Point><coordinates>" + r.lon + "," + r.lat + "</coordinates></Point>";
    *out += "</Placemark>\n";
}

}  // namespace

std::string ExportRecords(const QuakeRecord* records, const int* order, int n, const RegionEntry* regions,
                          const char (*intensityLabels)[20], int format) {
    std::vector<std::string> regionNames, labels;
    for (int k = 0; k < kRegionSlots; k++)
        regionNames.push_back(Utf8Of(regions[k].name, kRegionNameBytes, std::to_string(k)));
    for (int k = 0; k < 10; k++) labels.push_back(Utf8Of(intensityLabels[k], 20, std::to_string(k)));
    std::string out;
    out.reserve(size_t(n) * (format == EXPORT_CSV ? 80 : 220));
    if (format == EXPORT_CSV) out = "time,latitude,longitude,depth_km,magnitude,intensity,region\n";
    if (format == EXPORT_GEOJSON) out = "{\"type\":\"FeatureCollection\",\"features\":[";
    if (format == EXPORT_KML)
        out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
              "<Document><name>wolt</name>\n";
    for (int k = 0; k < n; k++) {
        const Row row = RowOf(records[order[k]], regionNames, labels);
        if (format == EXPORT_CSV) AppendCsv(row, &out);
        else if (format == EXPORT_GEOJSON) AppendGeoJson(row, k == 0, &out);
        else AppendKml(row, &out);
    }
    if (format == EXPORT_GEOJSON) out += "\n]}\n";
    if (format == EXPORT_KML) out += "</Document>\n</kml>\n";
    return out;
}
