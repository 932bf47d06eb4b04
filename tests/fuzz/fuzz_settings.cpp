// libFuzzer target: the input becomes wolt.dat; loading must never fault and
// must always leave the filter ranges and the main window position sound,
// and a read-only load must leave the file as it was.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "engine/model/settings.h"

static std::string gPath;

static void Check(int result, const WorkArea& area) {
    const SettingsBlock& s = AppSettings;
    if (s.magMin < 0 || s.magMin > s.magMax || s.magMax > 9) std::abort();
    if (s.depthMin < 0 || s.depthMin > s.depthMax || s.depthMax > 999) std::abort();
    if (s.intMin < 0 || s.intMin > s.intMax || s.intMax > 9) std::abort();
    if (result == SETTINGS_FRESH) return;
    if (s.alpha < 0 || s.alpha > 255) std::abort();
    if (s.winX[0] > area.right - 8 || s.winY[0] > area.bottom - 8) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (gPath.empty()) {
        std::filesystem::path dir =
            std::filesystem::temp_directory_path() / ("wolt-fuzz-settings-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        gPath = (dir / "wolt.dat").string();
    }
    // An odd first byte makes the rest a file of exactly 216 bytes (cut or
    // zero-padded), so that the clamps are reached at once; otherwise the
    // rest is the file as it is.
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!bytes.empty()) {
        bool exact = bytes[0] & 1;
        bytes.erase(0, 1);
        if (exact) bytes.resize(sizeof(SettingsBlock), '\0');
    }
    // Once read only, once loaded (which may repair the file).
    for (int pass = 0; pass < 2; pass++) {
        FILE* file = std::fopen(gPath.c_str(), "wb");
        if (!file) std::abort();
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        if (pass == 0) {
            Check(ReadSettingsOnly(gPath.c_str()), kFixedWorkArea);
            std::ifstream after(gPath, std::ios::binary);   // a read-only load never writes
            if (std::string(std::istreambuf_iterator<char>(after), {}) != bytes) std::abort();
        } else {
            WorkArea area = {-100, 20, 1280, 700};
            Check(LoadSettings(gPath.c_str(), area), area);
        }
    }
    return 0;
}
