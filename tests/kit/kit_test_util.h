// Helpers of the data kit tests: temporary folders, the kit's programs,
// whole files.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/model/records.h"
#include "engine/catalogue/data_files.h"

// A fresh folder below the system's temporary folder, removed with the object.
struct TempDir {
    std::string path;
    TempDir() {
        static int serial = 0;
        path = (std::filesystem::temp_directory_path() /
                ("wolt-kit-" + std::to_string(getpid()) + "-" + std::to_string(serial++)))
                   .string();
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

// Runs one of the kit's programs from the build folder with a shell
// command line tail; returns its exit status.
inline int RunTool(const std::string& tool, const std::string& arguments) {
    std::string command = std::string(WOLT_BINARY_DIR) + "/" + tool + " " + arguments;
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string FileBytes(const std::string& path) {
    std::string bytes;
    ReadWholeFile(path, &bytes);
    return bytes;
}

inline long long TimeKey(const QuakeRecord& r) {
    return (((r.year * 100LL + r.month) * 100 + r.day) * 100 + r.hour) * 100 + r.minute;
}
