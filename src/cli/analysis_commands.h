// wolt-cli's analysis commands: backtest (the alert ranking against what
// happened next), gr (Gutenberg-Richter), aftershocks (Omori-Utsu decay of a
// sequence), counts (tables per period and class). Each runs on the loaded
// catalogue after the filter and returns the program's exit code.
#pragma once

#include <string>
#include <vector>

#include "engine/analysis/gutenberg_richter.h"

struct BacktestCommand {
    int fromYear = 1990, toYear = 0;   // 0: the last complete year
    double minMag = 6.0;
    double smoothKm = 50;
    const char* csv = nullptr;         // -o; stdout when nullptr
    const char* svg = nullptr;
};

struct GrCommand {
    std::string region;                // UTF-8 name; "" with `all` false: the whole selection
    bool all = false;
    GrOptions options;
    int periodYears = 0;               // --by-period
    const char* csv = nullptr;
    const char* svg = nullptr;
};

struct AftershocksCommand {
    int main[5] = {};                  // year, month, day, hour, minute
    bool hasMain = false;
    double radiusKm = -1, days = -1, startDays = 0;
    double minMag = -1;                // -1: the sequence's Mc
    const char* csv = nullptr;         // one row per aftershock; the fit goes to stdout
    const char* svg = nullptr;
};

struct CountsCommand {
    int period = -1;                   // CountPeriod, -1 until --by
    int classes = 0;                   // CountClass
    std::vector<std::string> regions;  // UTF-8 names; none: every region
    const char* csv = nullptr;         // stdout when nullptr
    const char* svg = nullptr;
};

int RunBacktestCommand(const BacktestCommand& c);
int RunGrCommand(const GrCommand& c);
int RunAftershocksCommand(const AftershocksCommand& c);
int RunCountsCommand(const CountsCommand& c);

struct ReplayCommand {
    const char* frames = nullptr;      // the folder of the PNG frames
    double fps = 25;
    double daysPerSecond = 365.25 / 12;
};

struct SectionCommand {
    double from[2] = {}, to[2] = {};   // latitude, longitude of the ends
    bool hasFrom = false, hasTo = false;
    double widthKm = 50;               // either side of the line
    const char* svg = nullptr;         // -o; text/wolt_section_<time>.svg when nullptr
};

// Exit codes as the other commands; both write only whole files.
int RunReplayCommand(const ReplayCommand& c);
int RunSectionCommand(const SectionCommand& c);
