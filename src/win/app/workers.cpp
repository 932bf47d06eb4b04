#include "win/app/workers.h"

#include <process.h>

#include "engine/model/commands.h"

WorkerBlock gFrameClock;
WorkerBlock gIdleWorker;

static bool Post(const WorkerBlock* block, int command) {
    return PostMessageW(block->target, WM_COMMAND, command, 0) != 0;
}

unsigned __stdcall FrameClockThread(void* parameter) {
    WorkerBlock* block = static_cast<WorkerBlock*>(parameter);
    block->state = FRAME_CLOCK_RUNNING;
    while (!block->stop) {
        if (block->tickQueued.exchange(1) == 0 && !Post(block, CMD_TICK)) block->tickQueued = 0;
        Sleep(kTickMs);
    }
    block->state = FRAME_CLOCK_ENDED;
    Post(block, CMD_TICK_END);
    block->running = 0;
    return 0;
}

unsigned __stdcall IdleWorkerThread(void* parameter) {
    WorkerBlock* block = static_cast<WorkerBlock*>(parameter);
    block->state = IDLE_FIRST_WAIT;
    Sleep(1000);
    block->state = IDLE_WAITING;
    while (!block->stop) {
        Sleep(20);
        block->waits++;
    }
    block->state = IDLE_ENDING;
    Post(block, CMD_IDLE_END);
    block->running = 0;
    return 0;
}

int StartWorker(WorkerBlock* block, HWND target, unsigned(__stdcall* body)(void*)) {
    block->target = target;
    block->stop = 0;
    block->running = 1;
    block->state = 0;
    block->waits = 0;
    block->tickQueued = 0;
    block->text[0] = 0;
    uintptr_t thread = _beginthreadex(nullptr, 0, body, block, 0, &block->threadId);
    if (thread == 0) {
        block->running = 0;
        return 1;
    }
    block->thread = reinterpret_cast<HANDLE>(thread);
    return 0;
}

int StopWorker(WorkerBlock* block, DWORD busyWaitMs) {
    if (!block->thread) return 0;
    block->stop = 1;
    if (block->running) {
        Sleep(busyWaitMs);
        return 1;
    }
    WaitForSingleObject(block->thread, 3000);
    CloseHandle(block->thread);
    block->thread = nullptr;
    block->running = 0;
    return 0;
}
