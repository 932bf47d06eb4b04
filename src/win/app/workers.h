// The worker threads beside the main thread: the frame clock and the idle
// worker. Each has a block shared with its thread and nothing else; the
// thread reports by posting commands. The flags are lock-free atomics: set by
// one side, polled by the other.
#pragma once

#include <windows.h>

enum Worker { WORKER_FRAME_CLOCK = 0, WORKER_IDLE = 1 };

enum { kTickMs = 40 };

// Fills the worker's block for `target` and starts its thread. 0 on success;
// 1 when the thread could not start.
//   The frame clock posts CMD_TICK every 40 ms until it is stopped; while a
//   posted tick has not been handled (TickHandled) it posts none, so a slow
//   tick never lets the queue grow without bound.
//   The idle worker waits in 20 ms steps until it is stopped.
int StartWorker(int worker, HWND target);
// The main thread took the posted CMD_TICK.
void TickHandled();
// Asks the worker to stop. 0 when it is gone (handle closed); 1 when it is
// still running, after a short sleep to give it time (100 ms for the clock,
// 1 s for the idle worker). After three such answers the worker's running
// flag is no longer waited for.
int StopWorker(int worker);
