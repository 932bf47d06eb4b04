// The national record in the program's own Data folder, from the search
// service: the daily update of the newest days, and the whole record from
// 1970 in place of the generated sample. The whole record is fetched into a
// folder beside the Data folder (DATA.fetching, resumable through its state
// file), checked, and only then swapped in, in one step; until then the
// sample stays in use. Portable: the program runs these on a worker thread.
#pragma once

#include <string>

#include "engine/catalogue/data_source.h"
#include "engine/catalogue/feed.h"

// "DATA.fetching", the folder the whole record is fetched into.
std::string FetchFolder(const std::string& dataFolder);
// True when a fetch of the whole record has begun and not been swapped in.
bool FetchPending(const std::string& dataFolder);

// The main thread's note that a fetch of the whole record runs.
void SetFetchRunning(bool running);
bool FetchRunning();
// True when the update button is about the whole record: the sample is
// shown (offer it), a fetch was left unfinished (resume it) or runs (cancel it).
bool RealRecordOffered();

// The feed's options for the update of `dataFolder`: from `newestDay` (the
// newest record's day) less the days the service still revises, to two days
// ago (Japan time).
FeedOptions UpdateFeedOptions(const std::string& dataFolder, const DataSource& source, const FeedDay& newestDay);
// The feed's options for the whole record into FetchFolder(dataFolder),
// resuming from its state file.
FeedOptions RealRecordFeedOptions(const std::string& dataFolder, const DataSource& source);

enum RealRecordResult {
    REAL_RECORD_OK = 0,
    REAL_RECORD_BAD_YEAR = 1,      // a fetched yearly file fails the loader's record check: nothing swapped
    REAL_RECORD_WRITE_FAILED = 2,  // the folder could not be completed: nothing swapped
    REAL_RECORD_SWAP_FAILED = 3,   // the Data folder could not be replaced: it is as it was
};
// After a complete fetch: checks every yearly file of the fetch folder,
// completes it (ne_tbl.dat, and every file of the Data folder that is not
// catalogue data, such as the map image) and puts it in place of the Data
// folder, the sample mark left behind.
int FinishRealRecord(const std::string& dataFolder);

// The final code of a feed run for the update's status line (update_rules.h):
// UPDATE_OK when files changed (reload), "up to date", or the failure's code;
// a cancelled run is UPDATE_STATUS_FETCH_PAUSED.
int FeedUpdateCode(int feedExit, const FeedReport& report);

// The status line while the whole record is fetched, UTF-8, at most the
// line's 28 half-width places: "183/684月 45,678件 残31分".
std::string FetchStatusText(const FeedProgress& progress);
// The same for the window title: "実データ取得中 1985年3月まで 183/684か月 45,678件 残り約31分".
std::string FetchTitleText(const FeedProgress& progress);
