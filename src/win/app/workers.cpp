#include "win/app/workers.h"

#include <process.h>

#include <atomic>
#include <cstdint>

#include "engine/model/commands.h"

namespace {

struct WorkerBlock {
    unsigned threadId;
    HANDLE thread;                   // 0 when no thread
    HWND target;                     // where the thread posts its commands
    std::atomic<int32_t> stop;       // set by the main thread
    std::atomic<int32_t> running;    // 1 from just before the start to the thread's last act
    std::atomic<int32_t> tickQueued; // frame clock: a CMD_TICK waits in the queue
    int stopRetries;                 // main thread: stops that found it still running
};

WorkerBlock sWorkers[2];
const DWORD kStopWaitMs[2] = {100, 1000};

bool Post(const WorkerBlock* block, int command) { return PostMessageW(block->target, WM_COMMAND, command, 0) != 0; }

unsigned __stdcall FrameClockThread(void* parameter) {
    WorkerBlock* block = static_cast<WorkerBlock*>(parameter);
    while (!block->stop) {
        if (block->tickQueued.exchange(1) == 0 && !Post(block, CMD_TICK)) block->tickQueued = 0;
        Sleep(kTickMs);
    }
    Post(block, CMD_TICK_END);
    block->running = 0;
    return 0;
}

unsigned __stdcall IdleWorkerThread(void* parameter) {
    WorkerBlock* block = static_cast<WorkerBlock*>(parameter);
    Sleep(1000);
    while (!block->stop) Sleep(20);
    Post(block, CMD_IDLE_END);
    block->running = 0;
    return 0;
}

}  // namespace

int StartWorker(int worker, HWND target) {
    WorkerBlock* block = &sWorkers[worker];
    block->target = target;
    block->stop = 0;
    block->running = 1;
    block->tickQueued = 0;
    block->stopRetries = 0;
    unsigned(__stdcall * body)(void*) = worker == WORKER_FRAME_CLOCK ? FrameClockThread : IdleWorkerThread;
    uintptr_t thread = _beginthreadex(nullptr, 0, body, block, 0, &block->threadId);
    if (thread == 0) {
        block->running = 0;
        return 1;
    }
    block->thread = reinterpret_cast<HANDLE>(thread);
    return 0;
}

void TickHandled() { sWorkers[WORKER_FRAME_CLOCK].tickQueued = 0; }

int StopWorker(int worker) {
    WorkerBlock* block = &sWorkers[worker];
    if (!block->thread) return 0;
    block->stop = 1;
    if (block->running && block->stopRetries < 3) {
        block->stopRetries++;
        Sleep(kStopWaitMs[worker]);
        return 1;
    }
    // Gone, or given up on after three waits: the wait below is bounded.
    WaitForSingleObject(block->thread, 3000);
    CloseHandle(block->thread);
    block->thread = nullptr;
    block->running = 0;
    return 0;
}
