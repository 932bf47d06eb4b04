// The feed: brings the yearly files of a Data folder up to date from the
// national seismic intensity database's search service, window by window,
// never leaving a file the loader or the program's update would refuse.
// wolt-feed runs it for a data server's folder; the program runs it on a
// worker thread for its own Data folder (the update, the real record in
// place of the sample).
#pragma once

#include <atomic>
#include <map>
#include <set>
#include <string>

#include "engine/catalogue/region_names.h"
#include "platform/http.h"

struct FeedDay {
    int year, month, day;
};

// Days since 1970-01-01 and back (proleptic Gregorian).
int DayNumber(const FeedDay& d);
FeedDay DayFromNumber(int n);
// "YYYY-MM-DD" → day; false for anything else or a date that does not exist.
bool ParseFeedDay(const char* text, FeedDay* out);
std::string FeedDayText(const FeedDay& d);
// Today in Japan time (UTC+9, no daylight saving time), the service's clock.
FeedDay JapanToday();

struct FeedProgress {
    FeedDay windowFrom, windowTo;    // the window just done
    int monthsDone, monthsTotal;     // month windows of the run
    long events;                     // records so far
    int secondsLeft;                 // estimated from the time per month so far
};
typedef void (*FeedProgressFn)(const FeedProgress& progress, void* context);

struct FeedOptions {
    std::string folder;              // the Data folder (cmp_YYYY.dat, s_tbl.dat)
    std::string endpoint;            // the search service
    std::string userAgent;
    std::string state;               // "done-through" file; "" keeps none
    bool hasFrom = false, hasTo = false;
    FeedDay from{}, to{};            // without from: the day after the state's, less the refresh days
    FeedDay today{};                 // in Japan time
    double delaySeconds = 3;         // between requests
    int refreshDays = 14;            // recent days the database still revises, fetched again
    bool dryRun = false;
    HttpLimits limits;
    int retries = 5;                 // per window
    long maxYearBytes = 0;           // a yearly file must stay below this; 0: no limit
    const std::atomic<int>* cancel = nullptr;   // non-zero: stop before the next request
    FeedProgressFn progress = nullptr;
    void* progressContext = nullptr;
};

struct FeedReport {
    int requests = 0, failures = 0;  // failed attempts (time-outs, 5xx, 429, unreadable replies)
    int windows = 0, events = 0, withoutMagnitude = 0, timeUnknown = 0;
    std::map<std::string, RegionNote> addedRegions, filedRegions;   // by the source's name
    std::set<int> yearsWritten;      // years whose file changed
    std::string error;               // why the run stopped, "" when it finished
};

enum FeedExit {
    FEED_DONE = 0,
    FEED_USAGE = 2,                  // wolt-feed's command line
    FEED_SOURCE_FAILED = 3,          // error statuses or unreadable replies after every retry
    FEED_WRITE_FAILED = 4,
    FEED_YEAR_FULL = 5,              // a year would reach maxYearBytes
    FEED_NO_CONNECTION = 6,          // no reply at all after every retry
    FEED_BUSY = 7,                   // 429 or 503 after every retry
    FEED_CANCELLED = 8,
};

// Runs the feed; files already committed stay when it stops early.
int RunFeed(const FeedOptions& options, FeedReport* report);

// The User-Agent of wolt's requests: the program and its project page.
std::string FeedUserAgent(const char* program);
