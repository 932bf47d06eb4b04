// wolt-cli's analysis commands: backtest (the alert ranking against what
// happened next) and gr (Gutenberg-Richter per region). Each returns the
// program's exit code.
#pragma once

#include <string>

struct BacktestCommand {
    int fromYear = 1990, toYear = 0;   // 0: the last complete year
    double minMag = 6.0;
    const char* csv = nullptr;         // -o; stdout when nullptr
    const char* svg = nullptr;
};

struct GrCommand {
    std::string region;                // UTF-8 name; "" with `all` false: the whole selection
    bool all = false;
    int mc10 = -1;                     // kMcMaxCurvature or a fixed Mc x 10
    int minEvents = 50;
    const char* csv = nullptr;
    const char* svg = nullptr;
};

// On the loaded catalogue, after the filter.
int RunBacktestCommand(const BacktestCommand& c);
int RunGrCommand(const GrCommand& c);
