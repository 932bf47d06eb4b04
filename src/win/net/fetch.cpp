#include "win/net/fetch.h"

#include <process.h>

#include <atomic>
#include <cstdint>

#include "engine/catalogue/loader.h"
#include "engine/catalogue/real_record.h"
#include "engine/catalogue/update_rules.h"
#include "engine/model/commands.h"
#include "win/net/update.h"

// Filled by the main thread before the start; afterwards the worker writes
// the progress fields and the main thread reads them, each field by itself.
struct FetchBlock {
    HANDLE thread = nullptr;
    unsigned threadId = 0;
    HWND target = nullptr;
    int kind = FETCH_UPDATE;
    FeedOptions options;
    std::atomic<int32_t> running{0};
    std::atomic<int> cancel{0};
    std::atomic<int32_t> monthsDone{0}, monthsTotal{0}, events{0}, secondsLeft{0}, toYear{0}, toMonth{0};
};

static FetchBlock sFetch;

static void Post(int command, int code) { PostMessageW(sFetch.target, WM_COMMAND, MAKEWPARAM(command, code), 0); }

static void OnProgress(const FeedProgress& p, void*) {
    sFetch.monthsDone = p.monthsDone;
    sFetch.monthsTotal = p.monthsTotal;
    sFetch.events = int32_t(p.events);
    sFetch.secondsLeft = p.secondsLeft;
    sFetch.toYear = p.windowTo.year;
    sFetch.toMonth = p.windowTo.month;
    Post(CMD_UPDATE_PROGRESS, sFetch.kind == FETCH_REAL_RECORD ? UPDATE_STATUS_FETCHING : UPDATE_STAGE_READING);
}

static unsigned __stdcall FetchThread(void*) {
    Post(CMD_UPDATE_PROGRESS, UPDATE_STAGE_STARTED);
    FeedReport report;
    const int exit = RunFeed(sFetch.options, &report);
    int code = FeedUpdateCode(exit, report);
    if (sFetch.kind == FETCH_REAL_RECORD && exit == FEED_DONE) {
        Post(CMD_UPDATE_PROGRESS, UPDATE_STATUS_CHECKING);
        code = FinishRealRecord(DataFolder()) == REAL_RECORD_OK ? UPDATE_OK : UPDATE_WRITE_FAILED;
    }
    Post(code == UPDATE_OK ? CMD_UPDATE_DONE : CMD_UPDATE_FAILED, code);
    sFetch.running = 0;
    return 0;
}

int StartFetch(HWND target, int kind, const FeedOptions& options) {
    if (sFetch.running) return UPDATE_STILL_RUNNING;
    if (sFetch.thread) {   // the previous run has ended
        CloseHandle(sFetch.thread);
        sFetch.thread = nullptr;
    }
    sFetch.target = target;
    sFetch.kind = kind;
    sFetch.options = options;
    sFetch.options.cancel = &sFetch.cancel;
    sFetch.options.progress = OnProgress;
    sFetch.cancel = 0;
    sFetch.monthsDone = sFetch.monthsTotal = sFetch.events = sFetch.secondsLeft = 0;
    sFetch.running = 1;
    const uintptr_t thread = _beginthreadex(nullptr, 0, FetchThread, nullptr, 0, &sFetch.threadId);
    if (thread == 0) {
        sFetch.running = 0;
        return UPDATE_START_FAILED;
    }
    sFetch.thread = reinterpret_cast<HANDLE>(thread);
    return UPDATE_STARTED;
}

int FetchKindOf() { return sFetch.kind; }

void CancelFetch() { sFetch.cancel = 1; }

int StopFetch(DWORD waitMs) {
    if (!sFetch.running) return 0;
    sFetch.cancel = 1;
    // A request under way ends within its time limits; the files stay whole either way.
    if (sFetch.thread && WaitForSingleObject(sFetch.thread, waitMs) == WAIT_OBJECT_0) sFetch.running = 0;
    return sFetch.running ? 1 : 0;
}

FeedProgress FetchProgress() {
    FeedProgress p{};
    p.monthsDone = sFetch.monthsDone;
    p.monthsTotal = sFetch.monthsTotal;
    p.events = sFetch.events;
    p.secondsLeft = sFetch.secondsLeft;
    p.windowTo = FeedDay{sFetch.toYear, sFetch.toMonth, 1};
    return p;
}
