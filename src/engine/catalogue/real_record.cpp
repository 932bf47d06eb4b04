#include "engine/catalogue/real_record.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/catalogue/data_files.h"
#include "engine/catalogue/loader.h"
#include "engine/model/records.h"
#include "engine/catalogue/region_names.h"
#include "engine/catalogue/update_rules.h"

namespace fs = std::filesystem;

static const char kStateFile[] = "wolt-feed.state";

std::string FetchFolder(const std::string& dataFolder) { return dataFolder + ".fetching"; }

bool FetchPending(const std::string& dataFolder) {
    std::error_code ec;
    return fs::is_directory(fs::u8path(FetchFolder(dataFolder)), ec);
}

static bool sFetchRunning = false;

void SetFetchRunning(bool running) { sFetchRunning = running; }
bool FetchRunning() { return sFetchRunning; }

bool RealRecordOffered() { return sFetchRunning || DataIsSample() || FetchPending(DataFolder()); }

static FeedOptions SourceOptions(const DataSource& source) {
    FeedOptions o;
    o.endpoint = source.searchUrl;
    o.delaySeconds = source.searchDelaySeconds;
    o.userAgent = FeedUserAgent("wolt/1.45");
    o.today = JapanToday();
    return o;
}

FeedOptions UpdateFeedOptions(const std::string& dataFolder, const DataSource& source, const FeedDay& newestDay) {
    FeedOptions o = SourceOptions(source);
    o.folder = dataFolder;
    o.hasFrom = true;
    o.from = DayFromNumber(DayNumber(newestDay) - o.refreshDays);
    return o;
}

FeedOptions RealRecordFeedOptions(const std::string& dataFolder, const DataSource& source) {
    FeedOptions o = SourceOptions(source);
    o.folder = FetchFolder(dataFolder);
    o.state = o.folder + "/" + kStateFile;
    return o;
}

static bool IsCatalogueData(const std::string& name) {
    return name == "s_tbl.dat" || name == "ne_tbl.dat" || name == kFiledNamesFile || name == kSampleMarkFile ||
           YearOfFileName(name) != 0;
}

int FinishRealRecord(const std::string& dataFolder) {
    const std::string fetched = FetchFolder(dataFolder);
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::u8path(fetched), ec)) {
        const std::string name = entry.path().filename().u8string();
        const int year = YearOfFileName(name);
        if (year == 0) continue;
        std::string bytes;
        if (ReadWholeFile(entry.path().u8string(), &bytes) != 0 ||
            CheckYearlyRecords(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), year) != 0)
            return REAL_RECORD_BAD_YEAR;
    }
    if (ec) return REAL_RECORD_WRITE_FAILED;
    if (WriteWholeFile(fetched + "/ne_tbl.dat", std::string(kNeTableBytes, '\0')) != 0)
        return REAL_RECORD_WRITE_FAILED;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::u8path(dataFolder), ec)) {
        if (IsCatalogueData(entry.path().filename().u8string())) continue;
        fs::copy(entry.path(), fs::u8path(fetched) / entry.path().filename(),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
        if (ec) return REAL_RECORD_WRITE_FAILED;
    }
    fs::remove(fs::u8path(fetched + "/" + kStateFile), ec);
    return SwapInFolder(fetched, dataFolder) == SWAP_OK ? REAL_RECORD_OK : REAL_RECORD_SWAP_FAILED;
}

int FeedUpdateCode(int feedExit, const FeedReport& report) {
    switch (feedExit) {
    case FEED_DONE: return !report.yearsWritten.empty() ? UPDATE_OK : UPDATE_UP_TO_DATE;
    case FEED_NO_CONNECTION: return UPDATE_NO_URL;
    case FEED_BUSY: return UPDATE_BUSY;
    case FEED_CANCELLED: return UPDATE_STATUS_FETCH_PAUSED;
    case FEED_WRITE_FAILED:
    case FEED_YEAR_FULL: return UPDATE_WRITE_FAILED;
    default: return UPDATE_BAD_REPLY;
    }
}

// "45,678".
static std::string Thousands(long n) {
    std::string s = std::to_string(n);
    for (int i = int(s.size()) - 3; i > 0; i -= 3) s.insert(size_t(i), ",");
    return s;
}

std::string FetchStatusText(const FeedProgress& p) {
    char text[96];
    std::snprintf(text, sizeof text, "%d/%d月 %s件 残%d分", p.monthsDone, p.monthsTotal, Thousands(p.events).c_str(),
                  std::min(999, (p.secondsLeft + 59) / 60));
    return text;
}

std::string FetchTitleText(const FeedProgress& p) {
    char text[160];
    std::snprintf(text, sizeof text, "実データ取得中 %d年%d月まで %d/%dか月 %s件 残り約%d分", p.windowTo.year,
                  p.windowTo.month, p.monthsDone, p.monthsTotal, Thousands(p.events).c_str(), (p.secondsLeft + 59) / 60);
    return text;
}
