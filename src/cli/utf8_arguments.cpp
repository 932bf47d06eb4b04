#include "utf8_arguments.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> out;
    for (int i = 0; wide && i < count; i++) {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(size_t(bytes > 0 ? bytes : 1), '\0');
        if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, &utf8[0], bytes, nullptr, nullptr);
        utf8.resize(utf8.size() - 1);
        out.push_back(utf8);
    }
    if (wide) LocalFree(wide);
    if (int(out.size()) != argc) out.assign(argv, argv + argc);   // the ANSI arguments rather than none
    return out;
}
#else
std::vector<std::string> Utf8Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }
#endif
