// The replay on the map: whether it runs, its clock, speed and time line,
// and the markers it shows. The main window starts and ends it, feeds it
// the time between ticks and the keys; the view asks it for the markers,
// the top-left panel for its read-out. One replay at a time; its state is
// this module's own.
#pragma once

#include "engine/analysis/replay.h"

enum ReplayState {
    REPLAY_OFF = 0,
    REPLAY_PLAYING = 1,
    REPLAY_PAUSED = 2,
};

enum { kReplaySpeedCount = 10, kDefaultReplaySpeed = 5 };

struct ReplaySpeed {
    double daysPerSecond;
    const char* label;   // UTF-8, "1か月/秒"
};
extern const ReplaySpeed kReplaySpeeds[kReplaySpeedCount];   // 1 day to 1 year of record per second

// What the read-out shows.
struct ReplayReadout {
    int state;             // ReplayState
    int ended;             // 1 once the clock has reached the end of the period
    int year, month, day, hour, minute;   // the replay clock
    int shown, total;      // events happened so far, events of the time line
    int speed;             // index into kReplaySpeeds
    double progress;       // 0 .. 1 through the period
};

int CurrentReplayState();
// Starts at the period's start with the selection of the last filter run,
// at the default speed, with an empty map.
void StartReplay();
// Ends it; the view writes the map's own markers again.
void StopReplay();
void ToggleReplayPause();
// Faster (steps > 0) or slower, held at the ends.
void ChangeReplaySpeed(int steps);
// `seconds` of wall time since the last tick (not while paused).
void AdvanceReplay(double seconds);
// The conditions changed (a filter run or a reload): the time line is made
// again from the new selection and the markers placed again; the clock
// stays, inside the new period.
void ReplayAfterFilter();
// The time line, the clock (minutes) and the speed, for the replay's
// markers; the count changes whenever the time line is made anew (a start,
// a filter run).
const ReplayTimeline& CurrentReplayTimeline();
double CurrentReplayClock();
double CurrentReplayDaysPerSecond();
int ReplayTimelineGeneration();
ReplayReadout CurrentReplayReadout();
