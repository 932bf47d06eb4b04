// wolt-feed's run: brings the yearly files of a folder up to date from the
// intensity database, window by window, never leaving a file the program's
// update would refuse.
#pragma once

#include <map>
#include <string>

#include "http_client.h"

struct FeedDay {
    int year, month, day;
};

// Days since 1970-01-01 and back (proleptic Gregorian).
int DayNumber(const FeedDay& d);
FeedDay DayFromNumber(int n);
// "YYYY-MM-DD" → day; false for anything else or a date that does not exist.
bool ParseFeedDay(const char* text, FeedDay* out);
std::string FeedDayText(const FeedDay& d);

struct FeedOptions {
    std::string out;                 // the folder of cmp_YYYY.dat files
    std::string endpoint;            // the search service
    std::string state;               // the state file; "" = OUT/wolt-feed.state
    bool hasFrom = false, hasTo = false;
    FeedDay from{}, to{};
    FeedDay today{};                 // in Japan time
    double delaySeconds = 3;         // between requests
    int refreshDays = 14;
    bool dryRun = false;
    HttpLimits limits;
    int retries = 5;                 // per window
    bool progress = true;            // progress lines on stderr
};

struct FeedReport {
    int requests = 0, failures = 0;  // failed attempts (time-outs, 5xx, 429, unreadable replies)
    int windows = 0, events = 0, withoutMagnitude = 0, withoutRegion = 0;
    std::map<std::string, int> mappedRegions;   // names the table lacks → events mapped to the nearest region
    int yearsWritten = 0;
    std::string error;               // why the run stopped, "" when it finished
};

enum FeedExit {
    FEED_DONE = 0,
    FEED_USAGE = 2,
    FEED_SOURCE_FAILED = 3,
    FEED_WRITE_FAILED = 4,
    FEED_YEAR_FULL = 5,
};

int RunFeed(const FeedOptions& options, FeedReport* report);
