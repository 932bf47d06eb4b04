#include "test_util.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/settings.h"
#include "platform/platform.h"

QuakeRecord Rec(int year, int month, int day, int hour, int minute, int mapX, int mapY,
                int depthKm, int regionIndex, int magnitude10, int intensity) {
    QuakeRecord r{};
    r.year = year;
    r.month = month;
    r.day = day;
    r.hour = hour;
    r.minute = minute;
    r.mapX = mapX;
    r.mapY = mapY;
    r.depthKm = depthKm;
    r.regionIndex = regionIndex;
    r.magnitude10 = magnitude10;
    r.intensity = intensity;
    return r;
}

void SetCatalogue(const std::vector<QuakeRecord>& records) {
    AllocateCatalogue();
    std::memset(gpEQ, 0, sizeof(QuakeRecord) * kMaxRecords);
    for (size_t i = 0; i < records.size() && i < size_t(kMaxRecords); i++) gpEQ[i] = records[i];
    AppSettings.recordCount = int(records.size());
}

void SetPlainRegionNames(int count) {
    std::memset(RegionTable, 0, sizeof RegionTable);
    for (int i = 0; i < count && i < kRegionSlots; i++) {
        RegionTable[i].code = i + 1;
        std::snprintf(RegionTable[i].name, kRegionNameBytes, "R%d", i);
    }
}

std::string MakeTempDir() {
    static int serial = 0;
    const char* base = std::getenv("TMPDIR");
    std::ostringstream name;
    name << (base ? base : "/tmp") << "/wolt-test-" << std::rand() << "-" << serial++;
    std::filesystem::remove_all(name.str());
    std::filesystem::create_directories(name.str());
    return name.str();
}

void RemoveTree(const std::string& path) { std::filesystem::remove_all(path); }

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void WriteYearFile(const std::string& dataDir, int year, const std::vector<QuakeRecord>& records) {
    std::string bytes;
    for (const QuakeRecord& r : records) {
        CmpRecord c = PackCmpRecord(r);
        bytes.append(reinterpret_cast<const char*>(&c), sizeof c);
    }
    char name[32];
    std::snprintf(name, sizeof name, "/cmp_%04d.dat", year);
    WriteBytes(dataDir + name, bytes);
}

static MessageRecorder* gRecorder = nullptr;

static void RecordMessage(const char* text) {
    if (gRecorder) gRecorder->messages.push_back(text);
}

MessageRecorder::MessageRecorder() {
    gRecorder = this;
    SetMessageHandler(RecordMessage);
}

MessageRecorder::~MessageRecorder() {
    SetMessageHandler(nullptr);
    gRecorder = nullptr;
}
