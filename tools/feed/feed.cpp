#include "feed.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

#include "engine/catalogue/update_rules.h"
#include "jma_source.h"
#include "kit/data_folder.h"
#include "kit/event_record.h"
#include "kit/region_table.h"
#include "platform/platform.h"

namespace fs = std::filesystem;

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

static int RecordDay(const QuakeRecord& r) { return DayNumber(FeedDay{r.year, r.month, r.day}); }

// ---- One run ---------------------------------------------------------------------

namespace {

struct Run {
    const FeedOptions& o;
    FeedReport* report;
    std::string statePath;
    int exitCode = FEED_DONE;

    void Fail(int code, const std::string& why) {
        if (exitCode == FEED_DONE) {
            exitCode = code;
            report->error = why;
        }
    }
};

void Note(const Run& run, const std::string& text) {
    if (run.o.progress) std::fprintf(stderr, "wolt-feed: %s\n", text.c_str());
}

void Sleep(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
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
    for (int attempt = 0; attempt <= run.o.retries; attempt++) {
        if (run.report->requests > 0) Sleep(run.o.delaySeconds);
        run.report->requests++;
        HttpReply reply;
        const int result = PostForm(run.o.endpoint, form, run.o.limits, &reply);
        double wait = run.o.delaySeconds * std::pow(2.0, attempt);
        if (result != HTTP_OK) {
            last = result == HTTP_TIMEOUT ? "timed out (" + reply.error + ")" : "no reply (" + reply.error + ")";
        } else if (reply.status == 429 || reply.status >= 500) {
            last = "HTTP " + std::to_string(reply.status);
            if (reply.retryAfterSeconds >= 0) wait = std::max(wait, double(reply.retryAfterSeconds));
        } else if (reply.status != 200) {
            run.Fail(FEED_SOURCE_FAILED, WindowText(from, to) + ": HTTP " + std::to_string(reply.status));
            return false;
        } else {
            std::string message;
            if (ParseSearchReply(reply.body, events, &message) == REPLY_OK) return true;
            last = "unreadable reply: " + message;
        }
        run.report->failures++;
        Note(run, WindowText(from, to) + ": " + last + " (attempt " + std::to_string(attempt + 1) + " of " +
                      std::to_string(run.o.retries + 1) + ")");
        if (attempt < run.o.retries) Sleep(wait);
    }
    run.Fail(FEED_SOURCE_FAILED, WindowText(from, to) + ": " + last + " after " + std::to_string(run.o.retries + 1) +
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

// The shipped region nearest to the epicentre (by distance on the sphere's surface, roughly).
int NearestRegion(double lat, double lon) {
    int best = -1;
    double bestDistance = 0;
    for (int i = 0; i < KitRegionCount(); i++) {
        const KitRegion& r = KitRegions()[i];
        const double dy = lat - r.lat, dx = (lon - r.lon) * std::cos((lat + r.lat) * 0.5 * 3.14159265358979 / 180);
        const double distance = dx * dx + dy * dy;
        if (best < 0 || distance < bestDistance) best = i, bestDistance = distance;
    }
    return best;
}

struct FedEvent {
    QuakeRecord rec;
    double seconds;
};

// The records of the fetched events; events without a magnitude or a
// region are counted and left out.
std::vector<FedEvent> ToRecords(Run& run, const std::vector<SearchEvent>& events) {
    std::vector<FedEvent> out;
    for (const SearchEvent& event : events) {
        const EventText& text = event.text;
        ParsedEvent e = event.parsed;
        if (e.rec.magnitude10 == 0) {
            run.report->withoutMagnitude++;
            continue;
        }
        int region = FindKitRegion(text.region);
        if (region < 0) {
            if (e.latUnknown || e.lonUnknown) {
                run.report->withoutRegion++;
                continue;
            }
            region = NearestRegion(e.lat, e.lon);
            run.report->mappedRegions[text.region + " -> " + KitRegions()[region].name]++;
        }
        e.rec.regionIndex = uint16_t(region);
        out.push_back(FedEvent{e.rec, e.seconds});
    }
    return out;
}

bool WriteReplacing(const std::string& path, const std::string& bytes) {
    const std::string temp = path + ".feeding";
    if (WriteWholeFile(temp, bytes) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    std::error_code ec;
    fs::rename(fs::u8path(temp), fs::u8path(path), ec);
    if (ec) std::remove(temp.c_str());
    return !ec;
}

// Rebuilds the year's file with the days [firstDay, lastDay] replaced by `fed`.
bool CommitYear(Run& run, int year, int firstDay, int lastDay, const std::vector<FedEvent>& fed) {
    std::vector<QuakeRecord> old;
    const bool hadFile = ReadYearFile(run.o.out, year, &old) == 0;
    std::vector<FedEvent> all;
    for (const QuakeRecord& r : old)
        if (RecordDay(r) < firstDay || RecordDay(r) > lastDay) all.push_back(FedEvent{r, 0});
    for (const FedEvent& e : fed)
        if (e.rec.year == year && RecordDay(e.rec) >= firstDay && RecordDay(e.rec) <= lastDay) all.push_back(e);
    if (all.empty() && !hadFile) return true;
    SortNewestFirst(&all);
    if (all.size() * kCmpRecordBytes >= size_t(kUpdateBufferBytes)) {
        run.Fail(FEED_YEAR_FULL, "year " + std::to_string(year) + ": " + std::to_string(all.size()) +
                                     " records would reach the " + std::to_string(int(kUpdateBufferBytes)) +
                                     "-byte limit of the program's update; cmp_" + std::to_string(year) +
                                     ".dat is kept as it was");
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
    if (run.o.dryRun) return true;
    if (!WriteReplacing(YearFilePath(run.o.out, year), bytes)) {
        run.Fail(FEED_WRITE_FAILED, "cannot write " + YearFilePath(run.o.out, year));
        return false;
    }
    run.report->yearsWritten++;
    return true;
}

// The last fully fetched day from the state file; the day before 1970-01-01 when there is none.
int ReadDoneThrough(const std::string& path) {
    std::string text;
    FeedDay d;
    char day[16] = "";
    if (ReadWholeFile(path, &text) == 0 && std::sscanf(text.c_str(), "done-through %15s", day) == 1 &&
        ParseFeedDay(day, &d))
        return DayNumber(d);
    return DayNumber(FeedDay{kFirstYear, 1, 1}) - 1;
}

bool WriteDoneThrough(Run& run, int day) {
    if (run.o.dryRun) return true;
    if (WriteReplacing(run.statePath, "done-through " + FeedDayText(DayFromNumber(day)) + "\n")) return true;
    run.Fail(FEED_WRITE_FAILED, "cannot write the state file " + run.statePath);
    return false;
}

std::string Thousands(long long n) {
    std::string s = std::to_string(n);
    for (int i = int(s.size()) - 3; i > 0; i -= 3) s.insert(size_t(i), ",");
    return s;
}

}  // namespace

int RunFeed(const FeedOptions& o, FeedReport* report) {
    *report = FeedReport{};
    Run run{o, report, o.state.empty() ? o.out + "/wolt-feed.state" : o.state};
    std::error_code ec;
    if (!o.dryRun && !fs::is_directory(fs::u8path(o.out), ec) && !fs::create_directories(fs::u8path(o.out), ec)) {
        report->error = "cannot create the folder " + o.out;
        return FEED_WRITE_FAILED;
    }
    const int first = DayNumber(FeedDay{kFirstYear, 1, 1});
    const int newest = DayNumber(o.today) - kSourceLagDays;
    int doneThrough = ReadDoneThrough(run.statePath);
    int from, to = o.hasTo ? DayNumber(o.to) : newest;
    if (o.hasFrom) {
        from = DayNumber(o.from);
    } else {
        // New days, plus the recent days the database still revises.
        from = std::min(doneThrough + 1, std::max(first, to - o.refreshDays + 1));
    }
    from = std::max(from, first);
    to = std::min(to, newest);
    const int totalDays = std::max(0, to - from + 1);
    const auto started = std::chrono::steady_clock::now();
    int daysDone = 0;
    for (int day = from; day <= to && run.exitCode == FEED_DONE;) {
        // A window runs to the end of its month (never across a year).
        const FeedDay d = DayFromNumber(day);
        FeedDay monthEnd = d;
        monthEnd.day = 31;
        while (DayFromNumber(DayNumber(monthEnd)).month != d.month) monthEnd.day--;
        const int last = std::min(to, DayNumber(monthEnd));
        std::vector<SearchEvent> events;
        if (!Fetch(run, Minute(day) * 1440, Minute(last) * 1440 + 1439, &events)) break;
        report->windows++;
        const std::vector<FedEvent> fed = ToRecords(run, events);
        if (!CommitYear(run, d.year, day, last, fed)) break;
        report->events += int(fed.size());
        if (day <= doneThrough + 1 && last > doneThrough) {
            doneThrough = last;
            if (!WriteDoneThrough(run, doneThrough)) break;
        }
        daysDone += last - day + 1;
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        const int left = int(elapsed / daysDone * (totalDays - daysDone) + 0.5);
        char line[200];
        std::snprintf(line, sizeof line, "%s..%s: %d events; %d of %d days, %s events so far, about %d:%02d left",
                      FeedDayText(d).c_str(), FeedDayText(DayFromNumber(last)).c_str(), int(fed.size()), daysDone,
                      totalDays, Thousands(report->events).c_str(), left / 60, left % 60);
        Note(run, line);
        day = last + 1;
    }
    return run.exitCode;
}
