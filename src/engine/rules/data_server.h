// The data server: the HTTPS host that serves the yearly catalogue files
// and the top page opened by the About dialog's button. Host and port are
// fixed at build time (CMake cache variables WOLT_DATA_HOST, default
// "wolt.example.org", a placeholder that resolves nowhere, and
// WOLT_DATA_PORT, default 443), so every part of the program names the
// same server. They live in data_server.cpp alone, so that a test build of
// the program for another server relinks instead of recompiling. Portable.
#pragma once

#include <string>

extern const char* const kDataServerHost;   // also the site name shown
extern const int kDataServerPort;
// Path of a yearly file on the server; the year in four digits.
constexpr const char* kDataServerFileFormat = "/wolt/data/cmp_%4d.dat";

// The top page, "https://HOST/wolt/", with ":PORT" after the host unless
// the port is 443.
const std::string& DataServerTopPage();
