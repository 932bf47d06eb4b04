// wolt-feed: keeps a folder's yearly files (a data server's, or any Data
// folder) current from the national seismic intensity database.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/catalogue/feed.h"
#include "engine/catalogue/search_source.h"
#include "engine/catalogue/update_rules.h"
#include "platform/tool_main.h"

static const char kUsage[] =
    "usage: wolt-feed --out DIR [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--endpoint URL]\n"
    "                 [--delay SECONDS] [--refresh-days N] [--state FILE] [--server] [--dry-run]\n"
    "With no dates it brings DIR up to date: every day after the last one fetched (from the\n"
    "state file, DIR/wolt-feed.state; a new DIR starts at 1970-01-01) through two days ago,\n"
    "and the last --refresh-days (default 14) days again, which the database still revises.\n"
    "--server keeps every yearly file below the size the program's download accepts.\n";

static int Usage(const char* problem) {
    std::fprintf(stderr, "wolt-feed: %s\n%s", problem, kUsage);
    return FEED_USAGE;
}

static void ShowProgress(const FeedProgress& p, void*) {
    std::fprintf(stderr, "wolt-feed: %s..%s: %d of %d months, %ld events so far, about %d:%02d left\n",
                 FeedDayText(p.windowFrom).c_str(), FeedDayText(p.windowTo).c_str(), p.monthsDone, p.monthsTotal,
                 p.events, p.secondsLeft / 60, p.secondsLeft % 60);
}

static std::string Names(const std::map<std::string, RegionNote>& notes) {
    std::string text;
    for (const auto& n : notes)
        text += "\n  " + (n.first.empty() ? std::string("(no name)") : n.first) + " -> " + n.second.region + ": " +
                std::to_string(n.second.events) + " events";
    return text;
}

static int Run(const std::vector<std::string>& args) {
    FeedOptions o;
    o.endpoint = kJmaEndpoint;
    o.userAgent = FeedUserAgent("wolt-feed/1.45");
    o.today = JapanToday();
    o.progress = ShowProgress;
    bool stateGiven = false;
    for (size_t i = 0; i < args.size(); i++) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--dry-run") {
            o.dryRun = true;
        } else if (a == "--server") {
            o.maxYearBytes = kUpdateBufferBytes;
        } else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return FEED_DONE;
        } else if (!hasValue) {
            return Usage(("unknown option or missing value: " + a).c_str());
        } else if (a == "--out") {
            o.folder = args[++i];
        } else if (a == "--from" || a == "--to") {
            FeedDay* day = a == "--from" ? &o.from : &o.to;
            if (!ParseFeedDay(args[++i].c_str(), day)) return Usage((a + ": not a date YYYY-MM-DD from 1970").c_str());
            (a == "--from" ? o.hasFrom : o.hasTo) = true;
        } else if (a == "--endpoint") {
            o.endpoint = args[++i];
        } else if (a == "--delay") {
            char* end;
            o.delaySeconds = std::strtod(args[++i].c_str(), &end);
            if (*end || !(o.delaySeconds >= 0)) return Usage("--delay: not a number of seconds");
        } else if (a == "--refresh-days") {
            char* end;
            o.refreshDays = int(std::strtol(args[++i].c_str(), &end, 10));
            if (*end || o.refreshDays < 0) return Usage("--refresh-days: not a number of days");
        } else if (a == "--state") {
            o.state = args[++i];
            stateGiven = true;
        } else {
            return Usage(("unknown option: " + a).c_str());
        }
    }
    if (o.folder.empty()) return Usage("--out DIR is required");
    if (!stateGiven) o.state = o.folder + "/wolt-feed.state";
    if (o.hasFrom && o.hasTo && DayNumber(o.from) > DayNumber(o.to)) return Usage("--from is after --to");

    FeedReport r;
    const int code = RunFeed(o, &r);
    std::fprintf(stderr,
                 "wolt-feed: %s: %d windows, %d events%s, %d yearly files written, %d without magnitude left out, "
                 "%d with the day only (stored at 00:00), %d requests, %d failed attempts\n",
                 code == FEED_DONE ? "done" : "stopped", r.windows, r.events, o.dryRun ? " (dry run)" : "",
                 int(r.yearsWritten.size()), r.withoutMagnitude, r.timeUnknown, r.requests, r.failures);
    if (!r.addedRegions.empty()) std::fprintf(stderr, "wolt-feed: names added to the region table:%s\n", Names(r.addedRegions).c_str());
    if (!r.filedRegions.empty())
        std::fprintf(stderr, "wolt-feed: names the full region table lacks, filed under the nearest region:%s\n",
                     Names(r.filedRegions).c_str());
    if (code != FEED_DONE) std::fprintf(stderr, "wolt-feed: %s\n", r.error.c_str());
    return code;
}

TOOL_MAIN(Run)
