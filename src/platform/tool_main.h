// main() of the kit's command-line programs: the arguments in UTF-8 on every
// platform (wide arguments on Windows, so that paths with Japanese names
// survive any code page) and UTF-8 text on the Windows console.
#pragma once

#include <string>
#include <vector>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <filesystem>

#define TOOL_MAIN(run)                                                                        \
    int wmain(int argc, wchar_t** argv) {                                                     \
        SetConsoleOutputCP(CP_UTF8); /* fails harmlessly when the output is not a console */ \
        std::vector<std::string> args;                                                        \
        for (int i = 1; i < argc; i++) args.push_back(std::filesystem::path(argv[i]).u8string()); \
        return run(args);                                                                     \
    }
#else
#define TOOL_MAIN(run) \
    int main(int argc, char** argv) { return run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
