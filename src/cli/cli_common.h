// What wolt-cli's commands share: exit codes, writing a result file whole,
// number formats, and region names.
#pragma once

#include <string>

enum CliExit {
    EXIT_OK = 0,
    EXIT_USAGE = 2,
    EXIT_NO_DATA = 3,
    EXIT_NO_OUTPUT = 4,
};

// Writes `text` to `path` whole: into PATH.part first, moved over `path` once
// complete, so a failed write leaves an existing file as it was; a file that
// cannot be written (read-only) is not replaced. 0 on success, 1 on failure
// (errno as the system left it).
int WriteWhole(const char* path, const std::string& text);
// The same with a message on stderr and EXIT_NO_OUTPUT on failure.
int WriteText(const char* path, const std::string& text);

// `digits` decimals; "" for a negative value (not estimated).
std::string Fixed(double v, int digits = 3);
// Three significant digits without an exponent (0.0589, 10.9, 245, 1230); "" for a negative value.
std::string Significant(double v);

// The UTF-8 name of region `region`, "all" for -1.
std::string RegionLabel(int region);
// The region of that UTF-8 name, or -1.
int RegionNamed(const std::string& utf8);
