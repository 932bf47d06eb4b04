// The data kit tests run the kit's programs; the rest they share with the
// engine tests (temporary folders, whole files).
#pragma once

#include <cstdlib>
#include <string>

#include "../test_util.h"

// Runs one of the kit's programs from the build folder with a shell
// command line tail; returns its exit status.
inline int RunTool(const std::string& tool, const std::string& arguments) {
    std::string command = std::string(WOLT_BINARY_DIR) + "/" + tool + " " + arguments;
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
