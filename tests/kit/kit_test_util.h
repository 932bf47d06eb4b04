// Helpers of the data kit tests: the kit's programs, whole files; temporary
// folders are the engine tests' (TempDir).
#pragma once

#include <cstdlib>
#include <string>

#include "../test_util.h"
#include "engine/catalogue/data_files.h"

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
