#include "engine/controls/replay_controls.h"

#include "engine/analysis/replay.h"
#include "engine/model/records.h"
#include "engine/model/settings.h"
#include "engine/selection/conditions.h"

const ReplaySpeed kReplaySpeeds[kReplaySpeedCount] = {
    {1, "1日/秒"},         {2, "2日/秒"},         {4, "4日/秒"},          {7, "1週/秒"},
    {14, "2週/秒"},        {365.25 / 12, "1か月/秒"}, {365.25 / 6, "2か月/秒"}, {365.25 / 4, "3か月/秒"},
    {365.25 / 2, "半年/秒"}, {365.25, "1年/秒"},
};

static int sState = REPLAY_OFF;
static int sSpeed = kDefaultReplaySpeed;
static double sClock;
static ReplayTimeline sTimeline;
static int sTimelineGeneration;   // counts the time lines made

static void MakeTimeline() {
    const SettingsBlock& s = AppSettings;
    BuildReplayTimeline(gpEQ, gpEQ ? DataEnd() : 0,
                        MinuteOf(s.startYear, s.startMonth, s.startDay, s.startHour, s.startMinute),
                        MinuteOf(s.endYear, s.endMonth, s.endDay, s.endHour, s.endMinute), &sTimeline);
}

int CurrentReplayState() { return sState; }

void StartReplay() {
    MakeTimeline();
    sClock = sTimeline.startMinute;
    sSpeed = kDefaultReplaySpeed;
    sState = REPLAY_PLAYING;
    sTimelineGeneration++;
}

void StopReplay() {
    if (sState == REPLAY_OFF) return;
    sState = REPLAY_OFF;
    sTimeline = ReplayTimeline();
}

void ToggleReplayPause() {
    if (sState != REPLAY_OFF) sState = sState == REPLAY_PLAYING ? REPLAY_PAUSED : REPLAY_PLAYING;
}

void ChangeReplaySpeed(int steps) {
    sSpeed += steps;
    sSpeed = sSpeed < 0 ? 0 : sSpeed >= kReplaySpeedCount ? kReplaySpeedCount - 1 : sSpeed;
}

void AdvanceReplay(double seconds) {
    if (sState == REPLAY_PLAYING && seconds > 0)
        sClock = ReplayClockAfter(sTimeline, sClock, kReplaySpeeds[sSpeed].daysPerSecond, seconds);
}

void ReplayAfterFilter() {
    if (sState == REPLAY_OFF) return;
    MakeTimeline();
    if (sClock < sTimeline.startMinute) sClock = sTimeline.startMinute;
    if (sClock > sTimeline.endMinute) sClock = sTimeline.endMinute;
    sTimelineGeneration++;
}

const ReplayTimeline& CurrentReplayTimeline() { return sTimeline; }
double CurrentReplayClock() { return sClock; }
double CurrentReplayDaysPerSecond() { return kReplaySpeeds[sSpeed].daysPerSecond; }
int ReplayTimelineGeneration() { return sTimelineGeneration; }

ReplayReadout CurrentReplayReadout() {
    ReplayReadout r = {};
    r.state = sState;
    r.ended = sClock >= sTimeline.endMinute;
    const long long minute = (long long)sClock;
    CivilFromDays(minute / 1440, &r.year, &r.month, &r.day);
    r.hour = int(minute % 1440 / 60);
    r.minute = int(minute % 60);
    r.shown = ReplayVisibleCount(sTimeline, sClock);
    r.total = int(sTimeline.records.size());
    r.speed = sSpeed;
    const double span = sTimeline.endMinute - sTimeline.startMinute;
    r.progress = span > 0 ? (sClock - sTimeline.startMinute) / span : 1;
    return r;
}
