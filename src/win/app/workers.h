// The worker threads beside the main thread and the block each shares with
// it. A worker touches only its own block and reports by posting commands.
// The flags are lock-free atomics: set by one side, polled by the other.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

struct WorkerBlock {
    unsigned threadId;
    HANDLE thread;                   // 0 when no thread
    HWND target;                     // where the thread posts its commands
    std::atomic<int32_t> stop;       // set by the main thread
    std::atomic<int32_t> running;    // 1 from just before the start to the thread's last act
    std::atomic<int32_t> state;      // progress stage, per thread
    std::atomic<int32_t> waits;      // idle worker: 20 ms waits counted
    std::atomic<int32_t> tickQueued; // frame clock: a CMD_TICK waits in the queue
    wchar_t text[256];               // idle worker: ""
};

extern WorkerBlock gFrameClock;
extern WorkerBlock gIdleWorker;

enum {
    FRAME_CLOCK_RUNNING = 3,
    FRAME_CLOCK_ENDED = 4,
    IDLE_FIRST_WAIT = 1,
    IDLE_WAITING = 2,
    IDLE_ENDING = 3,
};
enum { kTickMs = 40, kClockStopWaitMs = 100, kIdleStopWaitMs = 1000 };

// Posts CMD_TICK every 40 ms until its stop flag is set; while a posted
// tick has not been handled yet (the main thread clears tickQueued) it
// posts none, so a slow tick never lets the queue grow without bound.
unsigned __stdcall FrameClockThread(void* block);
// Waits in 20 ms steps until its stop flag is set.
unsigned __stdcall IdleWorkerThread(void* block);

// Fills the block for `target` and starts the thread. 0 on success; 1 when
// the thread could not start (the running flag is cleared again).
int StartWorker(WorkerBlock* block, HWND target, unsigned(__stdcall* body)(void*));
// Asks the worker to stop. 0 when it is gone (handle closed); 1 when it is
// still running, after sleeping `busyWaitMs` to give it time.
int StopWorker(WorkerBlock* block, DWORD busyWaitMs);
