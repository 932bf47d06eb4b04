// The data server: the HTTPS host that serves the yearly catalogue files
// and the top page opened by the About dialog's button. Host and port are
// fixed at build time (CMake cache variables WOLT_DATA_HOST, default
// "wolt.example.org", a placeholder that resolves nowhere, and
// WOLT_DATA_PORT, default 443), so every part of the program names the
// same server. Portable.
#pragma once

#include <string>

#if !defined(WOLT_DATA_HOST) || !defined(WOLT_DATA_PORT)
#error "WOLT_DATA_HOST and WOLT_DATA_PORT are set by the build (see CMakeLists.txt)"
#endif

constexpr const char* kDataServerHost = WOLT_DATA_HOST;   // also the site name shown
constexpr int kDataServerPort = WOLT_DATA_PORT;
// Path of a yearly file on the server; the year in four digits.
constexpr const char* kDataServerFileFormat = "/wolt/data/cmp_%4d.dat";

// The top page, "https://HOST/wolt/", with ":PORT" after the host unless
// the port is 443.
inline const std::string& DataServerTopPage() {
    static const std::string page = std::string("https://") + kDataServerHost +
                                    (kDataServerPort == 443 ? std::string()
                                                            : ":" + std::to_string(kDataServerPort)) +
                                    "/wolt/";
    return page;
}
