// wolt-feed: keeps the data server's yearly files current from the national
// seismic intensity database.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "feed.h"
#include "jma_source.h"

static const char kUsage[] =
    "usage: wolt-feed --out DIR [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--endpoint URL]\n"
    "                 [--delay SECONDS] [--refresh-days N] [--state FILE] [--dry-run]\n"
    "With no dates it brings DIR up to date: every day after the last one fetched (from the\n"
    "state file; a new DIR starts at 1970-01-01) through two days ago, and the last\n"
    "--refresh-days (default 14) days again, which the database still revises.\n";

static int Usage(const char* problem) {
    std::fprintf(stderr, "wolt-feed: %s\n%s", problem, kUsage);
    return FEED_USAGE;
}

// Today in Japan time (UTC+9, no daylight saving time).
static FeedDay TodayInJapan() {
    const std::time_t now = std::time(nullptr) + 9 * 3600;
    std::tm t;
    gmtime_r(&now, &t);
    return FeedDay{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday};
}

int main(int argc, char** argv) {
    FeedOptions o;
    o.endpoint = kJmaEndpoint;
    o.today = TodayInJapan();
    for (int i = 1; i < argc; i++) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--dry-run") {
            o.dryRun = true;
        } else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return FEED_DONE;
        } else if (!hasValue) {
            return Usage(("unknown option or missing value: " + a).c_str());
        } else if (a == "--out") {
            o.out = argv[++i];
        } else if (a == "--from" || a == "--to") {
            FeedDay* day = a == "--from" ? &o.from : &o.to;
            if (!ParseFeedDay(argv[++i], day)) return Usage((a + ": not a date YYYY-MM-DD from 1970").c_str());
            (a == "--from" ? o.hasFrom : o.hasTo) = true;
        } else if (a == "--endpoint") {
            o.endpoint = argv[++i];
        } else if (a == "--delay") {
            char* end;
            o.delaySeconds = std::strtod(argv[++i], &end);
            if (*end || o.delaySeconds < 0) return Usage("--delay: not a number of seconds");
        } else if (a == "--refresh-days") {
            char* end;
            o.refreshDays = int(std::strtol(argv[++i], &end, 10));
            if (*end || o.refreshDays < 0) return Usage("--refresh-days: not a number of days");
        } else if (a == "--state") {
            o.state = argv[++i];
        } else {
            return Usage(("unknown option: " + a).c_str());
        }
    }
    if (o.out.empty()) return Usage("--out DIR is required");
    if (o.hasFrom && o.hasTo && DayNumber(o.from) > DayNumber(o.to)) return Usage("--from is after --to");

    FeedReport r;
    const int code = RunFeed(o, &r);
    std::string mapped;
    for (const auto& m : r.mappedRegions) mapped += (mapped.empty() ? "" : ", ") + m.first + " x" + std::to_string(m.second);
    std::fprintf(stderr,
                 "wolt-feed: %s: %d windows, %d events%s, %d yearly files written, %d without magnitude and %d "
                 "without region left out, %d requests, %d failed attempts%s%s\n",
                 code == FEED_DONE ? "done" : "stopped", r.windows, r.events, o.dryRun ? " (dry run)" : "",
                 r.yearsWritten, r.withoutMagnitude, r.withoutRegion, r.requests, r.failures,
                 mapped.empty() ? "" : "; mapped to the nearest region: ", mapped.c_str());
    if (code != FEED_DONE) std::fprintf(stderr, "wolt-feed: %s\n", r.error.c_str());
    return code;
}
