#include "engine/catalogue/feed.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

#include "engine/catalogue/data_files.h"
#include "engine/catalogue/event_text.h"
#include "engine/model/records.h"
#include "engine/catalogue/region_names.h"
#include "engine/catalogue/search_source.h"
#include "engine/catalogue/update_rules.h"
#include "platform/platform.h"

#ifndef WOLT_PROJECT_PAGE
#error "WOLT_PROJECT_PAGE is set by the build (see CMakeLists.txt)"
#endif

// ---- Days ---------------------------------------------------------------------

int DayNumber(const FeedDay& d) { return int(DayNumber(d.year, d.month, d.day)); }

FeedDay DayFromNumber(int n) {
    FeedDay d;
    CivilFromDays(n, &d.year, &d.month, &d.day);
    return d;
}

bool ParseFeedDay(const char* text, FeedDay* out) {
    FeedDay d;
    int used = 0;
    if (std::sscanf(text, "%4d-%2d-%2d%n", &d.year, &d.month, &d.day, &used) != 3 || text[used] != '\0')
        return false;
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31 || d.year < kFirstYear) return false;
    const FeedDay back = DayFromNumber(DayNumber(d));
    if (back.year != d.year || back.month != d.month || back.day != d.day) return false;
    *out = d;
    return true;
}

std::string FeedDayText(const FeedDay& d) {
    char s[16];
    std::snprintf(s, sizeof s, "%04d-%02d-%02d", d.year, d.month, d.day);
    return s;
}

FeedDay JapanToday() { return DayFromNumber(int((std::time(nullptr) + 9 * 3600) / 86400)); }

std::string FeedUserAgent(const char* program) { return std::string(program) + " (+" WOLT_PROJECT_PAGE ")"; }

static int RecordDay(const QuakeRecord& r) { return DayNumber(FeedDay{r.year, r.month, r.day}); }

// ---- One run ---------------------------------------------------------------------

namespace {

struct Run {
    const FeedOptions& o;
    FeedReport* report;
    RegionBook regions;
    int exitCode = FEED_DONE;

    void Fail(int code, const std::string& why) {
        if (exitCode == FEED_DONE) {
            exitCode = code;
            report->error = why;
        }
    }
    bool Cancelled() {
        if (o.cancel && o.cancel->load()) Fail(FEED_CANCELLED, "cancelled");
        return exitCode == FEED_CANCELLED;
    }
};

// Waits in short steps, so that a cancel is seen at once.
bool Pause(Run& run, double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < until) {
        if (run.Cancelled()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return !run.Cancelled();
}

// Minutes since 1970-01-01 00:00 Japan time.
typedef long long Minute;

JstMinute ToJst(Minute m) {
    const FeedDay d = DayFromNumber(int(m / 1440));
    const int inDay = int(m % 1440);
    return JstMinute{d.year, d.month, d.day, inDay / 60, inDay % 60};
}

std::string WindowText(Minute from, Minute to) {
    const JstMinute a = ToJst(from), b = ToJst(to);
    char s[64];
    std::snprintf(s, sizeof s, "%04d-%02d-%02d %02d:%02d..%04d-%02d-%02d %02d:%02d", a.year, a.month, a.day,
                  a.hour, a.minute, b.year, b.month, b.day, b.hour, b.minute);
    return s;
}

// One search with its retries: time-outs, broken connections, 5xx, 429 and
// unreadable replies are tried again after a growing wait (the Retry-After
// the server names, when longer), at most o.retries times.
bool Search(Run& run, Minute from, Minute to, std::vector<SearchEvent>* events) {
    const std::string form = SearchForm(ToJst(from), ToJst(to));
    std::string last;
    int lastCode = FEED_SOURCE_FAILED;
    for (int attempt = 0; attempt <= run.o.retries; attempt++) {
        if (run.report->requests > 0 && !Pause(run, run.o.delaySeconds)) return false;
        run.report->requests++;
        HttpReply reply;
        const int result = PostForm(run.o.endpoint, form, run.o.userAgent, run.o.limits, &reply);
        double wait = run.o.delaySeconds * std::pow(2.0, attempt);
        if (result != HTTP_OK) {
            last = result == HTTP_TIMEOUT ? "timed out (" + reply.error + ")" : "no reply (" + reply.error + ")";
            lastCode = FEED_NO_CONNECTION;
        } else if (reply.status == 429 || reply.status >= 500) {
            last = "HTTP " + std::to_string(reply.status);
            lastCode = reply.status == 429 || reply.status == 503 ? FEED_BUSY : FEED_SOURCE_FAILED;
            if (reply.retryAfterSeconds >= 0) wait = std::max(wait, double(reply.retryAfterSeconds));
        } else if (reply.status != 200) {
            run.Fail(FEED_SOURCE_FAILED, WindowText(from, to) + ": HTTP " + std::to_string(reply.status));
            return false;
        } else {
            std::string message;
            if (ParseSearchReply(reply.body, events, &message) == REPLY_OK) return true;
            last = "unreadable reply: " + message;
            lastCode = FEED_SOURCE_FAILED;
        }
        run.report->failures++;
        if (attempt < run.o.retries && !Pause(run, wait)) return false;
    }
    run.Fail(lastCode, WindowText(from, to) + ": " + last + " after " + std::to_string(run.o.retries + 1) +
                           " attempts");
    return false;
}

// The events of [from, to]: a full reply may have been cut, so its window
// is halved and asked again, down to an hour.
bool Fetch(Run& run, Minute from, Minute to, std::vector<SearchEvent>* out) {
    std::vector<SearchEvent> events;
    if (!Search(run, from, to, &events)) return false;
    if (int(events.size()) < kReplyEventLimit) {
        out->insert(out->end(), events.begin(), events.end());
        return true;
    }
    if (to - from + 1 <= 60) {
        run.Fail(FEED_SOURCE_FAILED, WindowText(from, to) + ": " + std::to_string(events.size()) +
                                         " events in one hour, the most a reply holds: the hour cannot be split");
        return false;
    }
    const Minute middle = from + (to - from + 1) / 2 - 1;
    return Fetch(run, from, middle, out) && Fetch(run, middle + 1, to, out);
}

struct FedEvent {
    QuakeRecord rec;
    double seconds;
};

// The records of the fetched events, their regions chosen oldest first (the
// rule files a new name by its first event); events without a magnitude are
// counted and left out.
std::vector<FedEvent> ToRecords(Run& run, std::vector<SearchEvent> events) {
    std::stable_sort(events.begin(), events.end(), [](const SearchEvent& a, const SearchEvent& b) {
        const QuakeRecord &x = a.parsed.rec, &y = b.parsed.rec;
        const long long kx = (((x.year * 100LL + x.month) * 100 + x.day) * 100 + x.hour) * 100 + x.minute;
        const long long ky = (((y.year * 100LL + y.month) * 100 + y.day) * 100 + y.hour) * 100 + y.minute;
        return kx != ky ? kx < ky : a.parsed.seconds < b.parsed.seconds;
    });
    std::vector<FedEvent> out;
    for (const SearchEvent& event : events) {
        ParsedEvent e = event.parsed;
        if (e.rec.magnitude10 == 0) {
            run.report->withoutMagnitude++;
            continue;
        }
        if (e.timeUnknown) run.report->timeUnknown++;
        int kind;
        const int region = ChooseRegion(&run.regions, event.text.region, e, &kind);
        NoteRegion(run.regions, event.text.region, region, kind, &run.report->addedRegions, &run.report->filedRegions);
        e.rec.regionIndex = uint16_t(region);
        out.push_back(FedEvent{e.rec, e.seconds});
    }
    return out;
}

// Rebuilds the year's file with the days [firstDay, lastDay] replaced by `fed`.
bool CommitYear(Run& run, int year, int firstDay, int lastDay, const std::vector<FedEvent>& fed) {
    const std::string path = YearFilePath(run.o.folder, year);
    std::string oldBytes;
    const bool hadFile = ReadWholeFile(path, &oldBytes) == 0;
    std::vector<QuakeRecord> old;
    if (hadFile) ReadYearFile(run.o.folder, year, &old);
    std::vector<FedEvent> all;
    for (const QuakeRecord& r : old)
        if (RecordDay(r) < firstDay || RecordDay(r) > lastDay) all.push_back(FedEvent{r, 0});
    for (const FedEvent& e : fed)
        if (e.rec.year == year && RecordDay(e.rec) >= firstDay && RecordDay(e.rec) <= lastDay) all.push_back(e);
    if (all.empty() && !hadFile) return true;
    SortNewestFirst(&all);
    if (run.o.maxYearBytes > 0 && long(all.size() * kCmpRecordBytes) >= run.o.maxYearBytes) {
        run.Fail(FEED_YEAR_FULL, "year " + std::to_string(year) + ": " + std::to_string(all.size()) +
                                     " records would reach the " + std::to_string(run.o.maxYearBytes) +
                                     "-byte limit of the program's update; " + YearFileName(year) +
                                     " is kept as it was");
        return false;
    }
    std::vector<QuakeRecord> records;
    for (const FedEvent& e : all) records.push_back(e.rec);
    const std::string bytes = PackYearFile(records);
    if (!bytes.empty() &&
        CheckYearlyRecords(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), year) != 0) {
        run.Fail(FEED_WRITE_FAILED, "year " + std::to_string(year) + ": the rebuilt file fails the program's record check");
        return false;
    }
    if (run.o.dryRun || (hadFile && bytes == oldBytes)) return true;
    if (WriteFileReplacing(path, bytes) != 0) {
        run.Fail(FEED_WRITE_FAILED, "cannot write " + path);
        return false;
    }
    run.report->yearsWritten.insert(year);
    return true;
}

// The last fully fetched day from the state file; the day before 1970-01-01 when there is none.
int ReadDoneThrough(const std::string& path) {
    std::string text;
    FeedDay d;
    char day[16] = "";
    if (!path.empty() && ReadWholeFile(path, &text) == 0 && std::sscanf(text.c_str(), "done-through %15s", day) == 1 &&
        ParseFeedDay(day, &d))
        return DayNumber(d);
    return DayNumber(FeedDay{kFirstYear, 1, 1}) - 1;
}

bool WriteDoneThrough(Run& run, int day) {
    if (run.o.dryRun || run.o.state.empty()) return true;
    if (WriteFileReplacing(run.o.state, "done-through " + FeedDayText(DayFromNumber(day)) + "\n") == 0) return true;
    run.Fail(FEED_WRITE_FAILED, "cannot write the state file " + run.o.state);
    return false;
}

// The last day of the month window that starts on `day` (never across a year).
int MonthWindowEnd(int day, int to) {
    const FeedDay d = DayFromNumber(day);
    const FeedDay next = d.month == 12 ? FeedDay{d.year + 1, 1, 1} : FeedDay{d.year, d.month + 1, 1};
    return std::min(to, DayNumber(next) - 1);
}

}  // namespace

int RunFeed(const FeedOptions& o, FeedReport* report) {
    *report = FeedReport{};
    Run run{o, report, RegionBook{}};
    if (!o.dryRun && !IsDirectory(o.folder.c_str()) && MakeFolder(o.folder.c_str()) != 0) {
        report->error = "cannot create the folder " + o.folder;
        return FEED_WRITE_FAILED;
    }
    OpenRegionBook(o.folder, &run.regions);
    const int first = DayNumber(FeedDay{kFirstYear, 1, 1});
    const int newest = DayNumber(o.today) - kSourceLagDays;
    int doneThrough = ReadDoneThrough(o.state);
    int from, to = o.hasTo ? DayNumber(o.to) : newest;
    if (o.hasFrom) {
        from = DayNumber(o.from);
    } else {
        // New days, plus the recent days the database still revises.
        from = std::min(doneThrough + 1, std::max(first, to - o.refreshDays + 1));
    }
    from = std::max(from, first);
    to = std::min(to, newest);
    FeedProgress progress{};
    for (int day = from; day <= to; day = MonthWindowEnd(day, to) + 1) progress.monthsTotal++;
    const auto started = std::chrono::steady_clock::now();
    for (int day = from; day <= to && run.exitCode == FEED_DONE && !run.Cancelled();) {
        const int last = MonthWindowEnd(day, to);
        std::vector<SearchEvent> events;
        if (!Fetch(run, Minute(day) * 1440, Minute(last) * 1440 + 1439, &events)) break;
        report->windows++;
        const std::vector<FedEvent> fed = ToRecords(run, events);
        // The table first: a yearly file never names a region its folder lacks.
        if (!o.dryRun && SaveRegionBook(o.folder, &run.regions) != 0) {
            run.Fail(FEED_WRITE_FAILED, "cannot write the region table of " + o.folder);
            break;
        }
        if (!CommitYear(run, DayFromNumber(day).year, day, last, fed)) break;
        report->events += int(fed.size());
        if (day <= doneThrough + 1 && last > doneThrough) {
            doneThrough = last;
            if (!WriteDoneThrough(run, doneThrough)) break;
        }
        progress.monthsDone++;
        progress.windowFrom = DayFromNumber(day);
        progress.windowTo = DayFromNumber(last);
        progress.events = report->events;
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        progress.secondsLeft = int(elapsed / progress.monthsDone * (progress.monthsTotal - progress.monthsDone) + 0.5);
        if (o.progress) o.progress(progress, o.progressContext);
        day = last + 1;
    }
    return run.exitCode;
}
