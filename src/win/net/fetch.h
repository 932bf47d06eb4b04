// The worker that runs the feed against the search service for the program:
// the update of the Data folder's newest days, or the whole national record
// into the fetch folder, checked and swapped in for the sample. It reports
// like the data server's download: CMD_UPDATE_PROGRESS with the stage (30
// with the fetch's progress), then CMD_UPDATE_DONE or CMD_UPDATE_FAILED with
// the final code. Win32 only.
#pragma once

#include <windows.h>

#include "engine/catalogue/feed.h"

enum FetchKind {
    FETCH_UPDATE = 0,        // the Data folder's newest days
    FETCH_REAL_RECORD = 1,   // the whole record in place of the sample
};

// Starts the worker for `options` (whose progress and cancel fields it sets).
// Returns UPDATE_STARTED, UPDATE_START_FAILED or UPDATE_STILL_RUNNING (update.h).
int StartFetch(HWND target, int kind, const FeedOptions& options);
// The kind of the worker that runs or ran last.
int FetchKindOf();
// Asks a running worker to stop before its next request.
void CancelFetch();
// Cancels and gives the worker `waitMs` to end. 0 when it has ended.
int StopFetch(DWORD waitMs);
// The progress the worker reported last.
FeedProgress FetchProgress();
