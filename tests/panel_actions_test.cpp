// The control panel's button logic: the step rules of the period start and
// end at the catalogue's first and last dates, the hold repeat timing, the
// filter rules, press, release, wheel, the change check and the period
// dialog's texts.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/alert.h"
#include "analysis/region_stats.h"
#include "analysis/reports.h"
#include "analysis_fixture.h"
#include "panel/actions.h"
#include "panel/hit_test.h"
#include "platform/platform.h"

namespace {

struct Date {
    int y, m, d, h, n;
    bool operator==(const Date& o) const {
        return y == o.y && m == o.m && d == o.d && h == o.h && n == o.n;
    }
};

std::ostream& operator<<(std::ostream& out, const Date& d) {
    return out << d.y << "-" << d.m << "-" << d.d << " " << d.h << ":" << d.n;
}

void SetStart(const Date& d) {
    SettingsBlock& a = AppSettings;
    a.startYear = d.y, a.startMonth = d.m, a.startDay = d.d, a.startHour = d.h, a.startMinute = d.n;
}

void SetEnd(const Date& d) {
    SettingsBlock& a = AppSettings;
    a.endYear = d.y, a.endMonth = d.m, a.endDay = d.d, a.endHour = d.h, a.endMinute = d.n;
}

Date Start() {
    const SettingsBlock& a = AppSettings;
    return {a.startYear, a.startMonth, a.startDay, a.startHour, a.startMinute};
}

Date End() {
    const SettingsBlock& a = AppSettings;
    return {a.endYear, a.endMonth, a.endDay, a.endHour, a.endMinute};
}

// Screen points (window pixels) of the buttons used below.
const int kStartMinus[2] = {775, 40}, kStartPlus[2] = {800, 40}, kStartR[2] = {820, 40};
const int kEndMinus[2] = {775, 60}, kEndPlus[2] = {800, 60}, kEndR[2] = {820, 60};
const int kFilterMinus[2] = {780, 110}, kFilterPlus[2] = {805, 110}, kFilterR[2] = {825, 110};
const int kNowhere[2] = {300, 300};

// The catalogue's dates F and L of these tests, and a clean panel state.
void ResetPanel(const DateTime& first = {2019, 5, 20, 10, 0}, const DateTime& last = {2024, 3, 5, 10, 20}) {
    gDataFirst = first;
    gDataLast = last;
    gHoverControl = gStartArrow = gEndArrow = gFilterButton = 0;
    gResetHover = gUpdateHover = gTabHover = gBottomButton = 0;
    gPressedControl = gResetPressed = gUpdatePressed = gBottomPressed = 0;
    gStartField = gEndField = 0;
    gFilterField = FIELD_MAG_MIN;
    gReportPage = 0;
    gStatsPick = gClassPick = 0;
    gButtonDown = 0;
    gStartTimer = gEndTimer = gFilterTimer = 0;
    gStartTicks = gStartRepeats = gEndTicks = gEndRepeats = 0;
    gMagTicks = gIntTicks = gDepthTicks = gDepthRepeats = 0;
    gStartStep = gEndStep = gDepthStep = 1;
    gSelectedRecordA = gSelectedRecordB = -1;
    gAlertHover = 0;
    SettingsBlock& a = AppSettings;
    a.magMin = 1, a.magMax = 9, a.depthMin = 0, a.depthMax = 999, a.intMin = 1, a.intMax = 9;
}

// A press at `p` (after a hover tick there), `ticks` more ticks held there,
// and the release; returns the requests of the whole gesture.
int Click(const int p[2], int ticks = 0) {
    HitTestPanel(p[0], p[1], 0);
    HitTestBottom(p[0], p[1]);
    PanelPress(1, p[1]);
    int requests = 0;
    for (int i = 0; i < ticks; i++) {
        requests |= HitTestPanel(p[0], p[1], 1);
        HitTestBottom(p[0], p[1]);
    }
    return requests | PanelRelease(1);
}

// ---------------------------------------------------------------------------
// Step rules (F = 2019-05-20, L = 2024-03-05)

struct StepCase {
    const char* what;
    Date start, end;
    int field, direction, step;
    Date expectStart, expectEnd;
};

const int M = ARROW_MINUS, P = ARROW_PLUS;

TEST(PeriodStartRules, AtTheCatalogueEdgesAndTheEnd) {
    const Date e = {2024, 3, 5, 23, 59};
    const StepCase cases[] = {
        {"year minus at F's year stays", {2019, 6, 1, 0, 0}, e, 0, M, 1, {2019, 6, 1, 0, 0}, e},
        {"year minus 1", {2021, 6, 1, 0, 0}, e, 0, M, 1, {2020, 6, 1, 0, 0}, e},
        {"year minus 5 stops at F", {2021, 6, 1, 0, 0}, e, 0, M, 5, {2019, 6, 1, 0, 0}, e},
        {"year plus stops at L", {2023, 1, 1, 0, 0}, {2030, 1, 1, 0, 0}, 0, P, 3, {2024, 1, 1, 0, 0}, {2030, 1, 1, 0, 0}},
        {"year plus stops at E", {2020, 1, 1, 0, 0}, {2021, 1, 1, 0, 0}, 0, P, 3, {2021, 1, 1, 0, 0}, {2021, 1, 1, 0, 0}},
        {"month minus below 1", {2021, 1, 9, 0, 0}, e, 1, M, 1, {2021, 12, 9, 0, 0}, e},
        {"month minus by 3 below 1 is 12", {2021, 2, 9, 0, 0}, e, 1, M, 3, {2021, 12, 9, 0, 0}, e},
        {"month minus in F's year", {2019, 6, 9, 0, 0}, e, 1, M, 1, {2019, 5, 9, 0, 0}, e},
        {"month minus below F's month", {2019, 5, 9, 0, 0}, e, 1, M, 1, {2019, 12, 9, 0, 0}, e},
        {"month minus past E's month", {2022, 1, 9, 0, 0}, {2022, 8, 20, 0, 0}, 1, M, 1, {2022, 8, 9, 0, 0}, {2022, 8, 20, 0, 0}},
        {"month plus above 12", {2021, 12, 9, 0, 0}, e, 1, P, 1, {2021, 1, 9, 0, 0}, e},
        {"month plus wraps below F's month", {2019, 12, 9, 0, 0}, e, 1, P, 1, {2019, 5, 9, 0, 0}, e},
        {"month plus past E's month", {2022, 8, 9, 0, 0}, {2022, 8, 20, 0, 0}, 1, P, 1, {2022, 1, 9, 0, 0}, {2022, 8, 20, 0, 0}},
        {"day minus below 1, March", {2021, 3, 1, 0, 0}, e, 2, M, 1, {2021, 3, 31, 0, 0}, e},
        {"day minus below 1, leap February", {2020, 2, 1, 0, 0}, e, 2, M, 1, {2020, 2, 29, 0, 0}, e},
        {"day minus below 1, February", {2021, 2, 1, 0, 0}, e, 2, M, 1, {2021, 2, 28, 0, 0}, e},
        {"day minus below 1, April", {2021, 4, 1, 0, 0}, e, 2, M, 1, {2021, 4, 30, 0, 0}, e},
        {"day minus below F's day", {2019, 5, 20, 0, 0}, e, 2, M, 1, {2019, 5, 31, 0, 0}, e},
        {"day minus above F's day", {2019, 5, 25, 0, 0}, e, 2, M, 1, {2019, 5, 24, 0, 0}, e},
        {"day minus wraps past E's day", {2022, 8, 1, 0, 0}, {2022, 8, 15, 0, 0}, 2, M, 1, {2022, 8, 15, 0, 0}, {2022, 8, 15, 0, 0}},
        {"day plus above 31", {2021, 1, 31, 0, 0}, e, 2, P, 1, {2021, 1, 1, 0, 0}, e},
        {"day plus to leap day", {2020, 2, 28, 0, 0}, e, 2, P, 1, {2020, 2, 29, 0, 0}, e},
        {"day plus past leap day", {2020, 2, 29, 0, 0}, e, 2, P, 1, {2020, 2, 1, 0, 0}, e},
        {"day plus past February 28", {2021, 2, 28, 0, 0}, e, 2, P, 1, {2021, 2, 1, 0, 0}, e},
        {"day plus wraps below F's day", {2019, 5, 31, 0, 0}, e, 2, P, 1, {2019, 5, 20, 0, 0}, e},
        {"day plus past L's day", {2024, 3, 5, 0, 0}, e, 2, P, 1, {2024, 3, 1, 0, 0}, e},
        {"day plus past E's day", {2022, 8, 15, 0, 0}, {2022, 8, 15, 0, 0}, 2, P, 1, {2022, 8, 1, 0, 0}, {2022, 8, 15, 0, 0}},
        {"day plus by 10", {2021, 1, 5, 0, 0}, e, 2, P, 10, {2021, 1, 15, 0, 0}, e},
        {"hour minus below 0", {2021, 1, 1, 0, 0}, e, 3, M, 1, {2021, 1, 1, 23, 0}, e},
        {"hour minus 5 below 0 is 23", {2021, 1, 1, 2, 0}, e, 3, M, 5, {2021, 1, 1, 23, 0}, e},
        {"hour plus above 23", {2021, 1, 1, 23, 0}, e, 3, P, 1, {2021, 1, 1, 0, 0}, e},
        {"hour plus 5 above 23 is 0", {2021, 1, 1, 20, 0}, e, 3, P, 5, {2021, 1, 1, 0, 0}, e},
        {"minute minus below 0", {2021, 1, 1, 0, 0}, e, 4, M, 1, {2021, 1, 1, 0, 59}, e},
        {"minute plus above 59", {2021, 1, 1, 0, 59}, e, 4, P, 1, {2021, 1, 1, 0, 0}, e},
        {"minute plus 10", {2021, 1, 1, 0, 30}, e, 4, P, 10, {2021, 1, 1, 0, 40}, e},
    };
    for (const StepCase& c : cases) {
        ResetPanel();
        SetStart(c.start);
        SetEnd(c.end);
        StepPeriodStart(c.field, c.direction, c.step);
        EXPECT_EQ(Start(), c.expectStart) << c.what;
        EXPECT_EQ(End(), c.expectEnd) << c.what;
    }
}

struct EndStepCase {
    const char* what;
    Date start, end;
    int field, direction, step, rules;
    Date expectStart, expectEnd;
};

TEST(PeriodEndRules, AtTheCatalogueEdgesAndTheStart) {
    const int C = END_RULES_CLICK, H = END_RULES_HOLD;
    const Date s = {2020, 1, 1, 0, 0};
    const EndStepCase cases[] = {
        {"year minus stops at F", {2019, 6, 1, 0, 0}, {2020, 6, 1, 0, 0}, 0, M, 3, C, {2019, 6, 1, 0, 0}, {2019, 6, 1, 0, 0}},
        {"year minus stops at S", {2021, 6, 1, 0, 0}, {2022, 6, 1, 0, 0}, 0, M, 2, C, {2021, 6, 1, 0, 0}, {2021, 6, 1, 0, 0}},
        {"year plus stops at L", s, {2023, 6, 1, 0, 0}, 0, P, 3, C, s, {2024, 6, 1, 0, 0}},
        {"month minus below 1", s, {2022, 1, 9, 0, 0}, 1, M, 1, C, s, {2022, 12, 9, 0, 0}},
        {"month minus in L's year stops at L's month", s, {2024, 1, 9, 0, 0}, 1, M, 1, C, s, {2024, 3, 9, 0, 0}},
        {"month minus below S's month", {2022, 6, 1, 0, 0}, {2022, 6, 9, 0, 0}, 1, M, 1, C, {2022, 6, 1, 0, 0}, {2022, 6, 9, 0, 0}},
        {"month minus", s, {2022, 6, 9, 0, 0}, 1, M, 4, C, s, {2022, 2, 9, 0, 0}},
        {"month plus above 12", s, {2022, 12, 9, 0, 0}, 1, P, 1, C, s, {2022, 1, 9, 0, 0}},
        {"month plus past L's month", s, {2024, 3, 9, 0, 0}, 1, P, 1, C, s, {2024, 1, 9, 0, 0}},
        {"month plus wraps below S's month", {2022, 6, 1, 0, 0}, {2022, 12, 9, 0, 0}, 1, P, 1, C, {2022, 6, 1, 0, 0}, {2022, 6, 9, 0, 0}},
        {"day minus below 1", s, {2022, 3, 1, 0, 0}, 2, M, 1, C, s, {2022, 3, 31, 0, 0}},
        {"day minus below 1, leap February", s, {2020, 2, 1, 0, 0}, 2, M, 1, C, s, {2020, 2, 29, 0, 0}},
        {"day minus below S's day", {2022, 8, 10, 0, 0}, {2022, 8, 10, 0, 0}, 2, M, 1, C, {2022, 8, 10, 0, 0}, {2022, 8, 31, 0, 0}},
        {"day minus below S's day in F's year gives L's day", {2019, 8, 10, 0, 0}, {2019, 8, 10, 0, 0}, 2, M, 1, C, {2019, 8, 10, 0, 0}, {2019, 8, 5, 0, 0}},
        {"click: day minus below F's day in F's month", {2019, 5, 20, 0, 0}, {2019, 5, 20, 0, 0}, 2, M, 1, C, {2019, 5, 20, 0, 0}, {2019, 5, 31, 0, 0}},
        {"hold: the F's-month rule needs L's year", {2019, 5, 20, 0, 0}, {2019, 5, 20, 0, 0}, 2, M, 1, H, {2019, 5, 20, 0, 0}, {2019, 5, 5, 0, 0}},
        {"hold: L's year, F's month, below F's day", s, {2024, 5, 10, 0, 0}, 2, M, 1, H, s, {2024, 5, 31, 0, 0}},
        {"click: the same day in L's year is kept", s, {2024, 5, 10, 0, 0}, 2, M, 1, C, s, {2024, 5, 9, 0, 0}},
        {"day minus wraps past L's day", s, {2024, 3, 1, 0, 0}, 2, M, 1, C, s, {2024, 3, 5, 0, 0}},
        {"day plus above 31", s, {2022, 1, 31, 0, 0}, 2, P, 1, C, s, {2022, 1, 1, 0, 0}},
        {"day plus to leap day", s, {2020, 2, 28, 0, 0}, 2, P, 1, C, s, {2020, 2, 29, 0, 0}},
        {"day plus past leap day", s, {2020, 2, 29, 0, 0}, 2, P, 1, C, s, {2020, 2, 1, 0, 0}},
        {"day plus wraps below S's day", {2022, 8, 10, 0, 0}, {2022, 8, 31, 0, 0}, 2, P, 1, C, {2022, 8, 10, 0, 0}, {2022, 8, 10, 0, 0}},
        {"day plus wraps in F's month", {2019, 5, 20, 0, 0}, {2019, 5, 31, 0, 0}, 2, P, 1, C, {2019, 5, 20, 0, 0}, {2019, 5, 20, 0, 0}},
        {"day plus past L's day", s, {2024, 3, 5, 0, 0}, 2, P, 1, C, s, {2024, 3, 1, 0, 0}},
        {"day plus past L's day back to S's day", {2024, 3, 3, 0, 0}, {2024, 3, 5, 0, 0}, 2, P, 1, C, {2024, 3, 3, 0, 0}, {2024, 3, 3, 0, 0}},
        {"day plus past L's day, S on the 1st", {2024, 3, 1, 0, 0}, {2024, 3, 5, 0, 0}, 2, P, 1, C, {2024, 3, 1, 0, 0}, {2024, 3, 1, 0, 0}},
        {"hour minus below 0", s, {2022, 1, 1, 0, 0}, 3, M, 1, C, s, {2022, 1, 1, 23, 0}},
        {"hour plus above 23", s, {2022, 1, 1, 23, 0}, 3, P, 1, C, s, {2022, 1, 1, 0, 0}},
        {"minute minus below 0", s, {2022, 1, 1, 0, 0}, 4, M, 1, C, s, {2022, 1, 1, 0, 59}},
        {"minute plus above 59", s, {2022, 1, 1, 0, 59}, 4, P, 1, C, s, {2022, 1, 1, 0, 0}},
    };
    for (const EndStepCase& c : cases) {
        ResetPanel();
        SetStart(c.start);
        SetEnd(c.end);
        StepPeriodEnd(c.field, c.direction, c.step, c.rules);
        EXPECT_EQ(Start(), c.expectStart) << c.what;
        EXPECT_EQ(End(), c.expectEnd) << c.what;
    }
}

TEST(PeriodEndRules, OneYearCatalogueMovesTheStartMonth) {
    // F and L in the same year: an end month below F's month lifts the start's month.
    ResetPanel({2024, 2, 10, 0, 0}, {2024, 11, 5, 0, 0});
    SetStart({2024, 4, 1, 0, 0});
    SetEnd({2024, 2, 12, 0, 0});
    StepPeriodEnd(1, ARROW_MINUS, 1, END_RULES_CLICK);
    EXPECT_EQ(Start(), (Date{2024, 2, 1, 0, 0}));
    EXPECT_EQ(End(), (Date{2024, 2, 12, 0, 0}));
}

// ---------------------------------------------------------------------------
// Hold repeat timing

// The step of the k-th repeated date step (k from 1): 1, 1, 1, 2 x 4, 3 x 4, ... 10.
int DateStepOfRepeat(int k) {
    if (k <= 3) return 1;
    int step = 2 + (k - 4) / 4;
    return step > 10 ? 10 : step;
}

// The step of the k-th repeated depth step: 1 x 5, 11 x 6, 21 x 6, ... 191 x 6, 200.
int DepthStepOfRepeat(int k) {
    if (k <= 5) return 1;
    int step = 11 + 10 * ((k - 6) / 6);
    return step > 200 ? 200 : step;
}

TEST(HoldTiming, DatesRepeatEvery11TicksWithGrowingSteps) {
    // A catalogue wide enough that the year never meets a bound.
    ResetPanel({1970, 1, 1, 0, 0}, {3000, 12, 31, 0, 0});
    SetStart({1970, 6, 1, 0, 0});
    SetEnd({3000, 12, 31, 0, 0});
    gStartField = 0;
    HitTestPanel(kStartPlus[0], kStartPlus[1], 0);
    PanelPress(1, kStartPlus[1]);
    int repeats = 0;
    for (int tick = 1; tick <= 11 * 60; tick++) {
        int before = AppSettings.startYear;
        HitTestPanel(kStartPlus[0], kStartPlus[1], 1);
        int step = AppSettings.startYear - before;
        if (tick % 11 != 0) {
            ASSERT_EQ(step, 0) << "tick " << tick;
            continue;
        }
        repeats++;
        ASSERT_EQ(step, DateStepOfRepeat(repeats)) << "repeat " << repeats << " at tick " << tick;
        ASSERT_EQ(gStartTimer, 10);
    }
    PanelRelease(1);
    EXPECT_EQ(gStartStep, 1);
    EXPECT_EQ(gStartTicks, 0);
    EXPECT_EQ(gStartRepeats, 0);
}

TEST(HoldTiming, EndDatesUseTheirOwnCounters) {
    ResetPanel({1970, 1, 1, 0, 0}, {3000, 12, 31, 0, 0});
    SetStart({1970, 1, 1, 0, 0});
    SetEnd({2990, 1, 1, 0, 0});
    gEndField = 0;
    HitTestPanel(kEndMinus[0], kEndMinus[1], 0);
    PanelPress(1, kEndMinus[1]);
    std::vector<int> steps;
    for (int tick = 1; tick <= 11 * 9; tick++) {
        int before = AppSettings.endYear;
        HitTestPanel(kEndMinus[0], kEndMinus[1], 1);
        if (AppSettings.endYear != before) steps.push_back(before - AppSettings.endYear);
    }
    EXPECT_EQ(steps, (std::vector<int>{1, 1, 1, 2, 2, 2, 2, 3, 3}));
    EXPECT_EQ(gStartStep, 1);
    EXPECT_EQ(gStartTicks, 0);
}

TEST(HoldTiming, ReleaseAddsAStepOnlyWhenNoRepeatFiredWithin10Ticks) {
    struct Case {
        int ticksHeld, totalSteps;
        const char* what;
    } cases[] = {
        {0, 1, "a plain click"},
        {10, 1, "held just short of the first repeat"},
        {11, 1, "released right after the first repeat"},
        {20, 1, "released 9 ticks after the repeat"},
        {21, 2, "released 10 ticks after the repeat"},
        {22, 2, "released right after the second repeat"},
    };
    for (const Case& c : cases) {
        ResetPanel({1970, 1, 1, 0, 0}, {3000, 12, 31, 0, 0});
        SetStart({1980, 1, 1, 0, 0});
        SetEnd({3000, 1, 1, 0, 0});
        gStartField = 0;
        Click(kStartPlus, c.ticksHeld);
        EXPECT_EQ(AppSettings.startYear - 1980, c.totalSteps) << c.what;
    }
}

TEST(HoldTiming, DepthStepsGrowBy10UpTo200) {
    ResetPanel();
    gFilterField = FIELD_DEPTH_MIN;
    AppSettings.depthMax = 999;
    HitTestPanel(kFilterPlus[0], kFilterPlus[1], 0);
    PanelPress(1, kFilterPlus[1]);
    int repeats = 0;
    for (int tick = 1; tick <= 11 * 130; tick++) {
        AppSettings.depthMin = 0;   // never reach the bound: every step is seen whole
        HitTestPanel(kFilterPlus[0], kFilterPlus[1], 1);
        if (tick % 11 != 0) {
            ASSERT_EQ(AppSettings.depthMin, 0) << "tick " << tick;
            continue;
        }
        repeats++;
        ASSERT_EQ(AppSettings.depthMin, DepthStepOfRepeat(repeats)) << "repeat " << repeats;
        ASSERT_EQ(gFilterTimer, 10);
    }
    EXPECT_EQ(DepthStepOfRepeat(repeats), 200);
}

TEST(HoldTiming, DepthHeldToItsBoundStaysThere) {
    ResetPanel();
    gFilterField = FIELD_DEPTH_MIN;
    AppSettings.depthMin = 0;
    AppSettings.depthMax = 999;
    HitTestPanel(kFilterPlus[0], kFilterPlus[1], 0);
    PanelPress(1, kFilterPlus[1]);
    std::vector<int> values;
    for (int tick = 1; tick <= 11 * 60; tick++) {
        int before = AppSettings.depthMin;
        HitTestPanel(kFilterPlus[0], kFilterPlus[1], 1);
        if (AppSettings.depthMin != before) values.push_back(AppSettings.depthMin);
    }
    // 1 x 5, 11 x 6, 21 x 6, 31 x 6, 41 x 6, 51 x 6, 61 x 1, then the bound.
    std::vector<int> expected;
    int v = 0;
    for (int k = 1; v < 999; k++) {
        v = v + DepthStepOfRepeat(k) >= 999 ? 999 : v + DepthStepOfRepeat(k);
        expected.push_back(v);
    }
    EXPECT_EQ(values, expected);
    EXPECT_EQ(AppSettings.depthMin, 999);
    PanelRelease(1);
    EXPECT_EQ(AppSettings.depthMin, 999) << "no extra step: the hold fired within 10 ticks or the bound holds";
    EXPECT_EQ(gDepthStep, 1);
}

TEST(HoldTiming, DepthMaximumDownToTheMinimum) {
    ResetPanel();
    gFilterField = FIELD_DEPTH_MAX;
    AppSettings.depthMin = 30;
    AppSettings.depthMax = 60;
    HitTestPanel(kFilterMinus[0], kFilterMinus[1], 0);
    PanelPress(1, kFilterMinus[1]);
    int reachedAt = 0;
    for (int tick = 1; tick <= 11 * 40 && !reachedAt; tick++) {
        HitTestPanel(kFilterMinus[0], kFilterMinus[1], 1);
        if (AppSettings.depthMax == 30) reachedAt = tick;
    }
    // 60 - 5 x 1 = 55, - 11 = 44, - 11 = 33, - 11 stops at 30: the eighth repeat.
    EXPECT_EQ(reachedAt, 11 * 8);
    EXPECT_EQ(gDepthStep, 0) << "the step drops to 0 at the bound";
    for (int tick = 0; tick < 11 * 3; tick++) HitTestPanel(kFilterMinus[0], kFilterMinus[1], 1);
    EXPECT_EQ(AppSettings.depthMax, 30);
}

TEST(HoldTiming, MagnitudeAndIntensityStepBy1Every11Ticks) {
    struct Case {
        int field;
        int32_t SettingsBlock::*value;
        int from, to;
    } cases[] = {
        {FIELD_MAG_MIN, &SettingsBlock::magMin, 1, 9},
        {FIELD_INT_MIN, &SettingsBlock::intMin, 1, 9},
        {FIELD_MAG_MAX, &SettingsBlock::magMax, 9, 1},
        {FIELD_INT_MAX, &SettingsBlock::intMax, 9, 1},
    };
    for (const Case& c : cases) {
        ResetPanel();
        gFilterField = c.field;
        const int* button = c.to > c.from ? kFilterPlus : kFilterMinus;
        HitTestPanel(button[0], button[1], 0);
        PanelPress(1, button[1]);
        for (int tick = 1; tick <= 11 * 10; tick++) {
            HitTestPanel(button[0], button[1], 1);
            int repeats = tick / 11;
            int expected = c.to > c.from ? std::min(c.from + repeats, c.to) : std::max(c.from - repeats, c.to);
            ASSERT_EQ(AppSettings.*c.value, expected) << "field " << c.field << " tick " << tick;
        }
        PanelRelease(1);
    }
}

TEST(HoldTiming, FilterResetActsOnEveryTick) {
    ResetPanel();
    gFilterField = FIELD_DEPTH_MAX;
    AppSettings.depthMax = 100;
    HitTestPanel(kFilterR[0], kFilterR[1], 0);
    PanelPress(1, kFilterR[1]);
    for (int tick = 0; tick < 3; tick++) {
        AppSettings.depthMax = 100 + tick;
        HitTestPanel(kFilterR[0], kFilterR[1], 1);
        EXPECT_EQ(AppSettings.depthMax, 999) << tick;
    }
}

// ---------------------------------------------------------------------------
// Filter clicks

TEST(FilterClick, EveryValueMinusPlusAndR) {
    struct Case {
        int field, button;
        int magMin, depthMin, intMin, magMax, depthMax, intMax;   // before
        int expected;                                             // the field after
    } cases[] = {
        {FIELD_MAG_MIN, M, 1, 0, 1, 9, 999, 9, 1},
        {FIELD_MAG_MIN, M, 4, 0, 1, 9, 999, 9, 3},
        {FIELD_MAG_MIN, P, 4, 0, 1, 9, 999, 9, 5},
        {FIELD_MAG_MIN, P, 5, 0, 1, 5, 999, 9, 5},   // a single whole magnitude
        {FIELD_MAG_MIN, P, 4, 0, 1, 5, 999, 9, 5},
        {FIELD_MAG_MIN, ARROW_RESET, 4, 0, 1, 9, 999, 9, 1},
        {FIELD_DEPTH_MIN, M, 1, 0, 1, 9, 999, 9, 0},
        {FIELD_DEPTH_MIN, M, 1, 10, 1, 9, 999, 9, 9},
        {FIELD_DEPTH_MIN, P, 1, 10, 1, 9, 11, 9, 11},
        {FIELD_DEPTH_MIN, P, 1, 10, 1, 9, 10, 9, 10},
        {FIELD_DEPTH_MIN, ARROW_RESET, 1, 10, 1, 9, 999, 9, 0},
        {FIELD_INT_MIN, M, 1, 0, 1, 9, 999, 9, 1},
        {FIELD_INT_MIN, P, 1, 0, 3, 9, 999, 4, 4},
        {FIELD_INT_MIN, P, 1, 0, 4, 9, 999, 4, 4},
        {FIELD_INT_MIN, ARROW_RESET, 1, 0, 4, 9, 999, 9, 1},
        {FIELD_MAG_MAX, M, 3, 0, 1, 9, 999, 9, 8},
        {FIELD_MAG_MAX, M, 3, 0, 1, 4, 999, 9, 3},
        {FIELD_MAG_MAX, M, 3, 0, 1, 3, 999, 9, 3},
        {FIELD_MAG_MAX, P, 3, 0, 1, 9, 999, 9, 9},
        {FIELD_MAG_MAX, ARROW_RESET, 3, 0, 1, 4, 999, 9, 9},
        {FIELD_DEPTH_MAX, M, 1, 100, 1, 9, 101, 9, 100},
        {FIELD_DEPTH_MAX, M, 1, 100, 1, 9, 100, 9, 100},
        {FIELD_DEPTH_MAX, P, 1, 0, 1, 9, 998, 9, 999},
        {FIELD_DEPTH_MAX, P, 1, 0, 1, 9, 999, 9, 999},
        {FIELD_DEPTH_MAX, ARROW_RESET, 1, 0, 1, 9, 50, 9, 999},
        {FIELD_INT_MAX, M, 1, 0, 6, 9, 999, 7, 6},
        {FIELD_INT_MAX, M, 1, 0, 6, 9, 999, 6, 6},
        {FIELD_INT_MAX, P, 1, 0, 1, 9, 999, 9, 9},
        {FIELD_INT_MAX, ARROW_RESET, 1, 0, 1, 9, 999, 2, 9},
    };
    int32_t SettingsBlock::*const fields[7] = {nullptr,
                                               &SettingsBlock::magMin,
                                               &SettingsBlock::depthMin,
                                               &SettingsBlock::intMin,
                                               &SettingsBlock::magMax,
                                               &SettingsBlock::depthMax,
                                               &SettingsBlock::intMax};
    for (const Case& c : cases) {
        ResetPanel();
        SettingsBlock& a = AppSettings;
        a.magMin = c.magMin, a.depthMin = c.depthMin, a.intMin = c.intMin;
        a.magMax = c.magMax, a.depthMax = c.depthMax, a.intMax = c.intMax;
        SettingsBlock before = a;
        gFilterField = c.field;
        const int* point = c.button == M ? kFilterMinus : c.button == P ? kFilterPlus : kFilterR;
        Click(point);
        EXPECT_EQ(a.*fields[c.field], c.expected) << "field " << c.field << " button " << c.button;
        for (int other = 1; other <= 6; other++)
            if (other != c.field) EXPECT_EQ(a.*fields[other], before.*fields[other]) << "field " << other;
    }
}

TEST(FilterClick, NeedsPressAndReleaseOnTheGroupAndAQuietTimer) {
    ResetPanel();
    gFilterField = FIELD_MAG_MIN;
    AppSettings.magMin = 3;
    // Pressed on the magnitude minimum, released on the plus button: nothing.
    HitTestPanel(600, 90, 0);
    PanelPress(1, 90);
    HitTestPanel(kFilterPlus[0], kFilterPlus[1], 0);
    PanelRelease(1);
    EXPECT_EQ(AppSettings.magMin, 3);
    // Within 10 ticks of a repeated step: nothing either.
    Click(kFilterPlus, 11);
    EXPECT_EQ(AppSettings.magMin, 4);
    Click(kFilterPlus, 21);
    EXPECT_EQ(AppSettings.magMin, 6) << "one repeat and the release";
}

// ---------------------------------------------------------------------------
// Press

TEST(PanelPress, SelectsCopiesAndTabs) {
    ResetPanel();
    struct Case {
        int x, y, active;
        int field, buttonDown, page, resetPressed, updatePressed, bottomPressed;
        const char* what;
    } cases[] = {
        {600, 90, 1, FIELD_MAG_MIN, 1, 0, 0, 0, 0, "magnitude minimum"},
        {600, 110, 0, FIELD_DEPTH_MIN, 0, 0, 0, 0, 0, "depth minimum, window inactive"},
        {600, 130, 1, FIELD_INT_MIN, 1, 0, 0, 0, 0, "intensity minimum"},
        {700, 90, 1, FIELD_MAG_MAX, 1, 0, 0, 0, 0, "magnitude maximum"},
        {700, 110, 1, FIELD_DEPTH_MAX, 1, 0, 0, 0, 0, "depth maximum"},
        {700, 130, 1, FIELD_INT_MAX, 1, 0, 0, 0, 0, "intensity maximum"},
        {800, 130, 1, FIELD_INT_MAX, 1, 0, 1, 0, 0, "Reset keeps the field"},
        {800, 520, 1, FIELD_INT_MAX, 1, 0, 0, 1, 0, "更新"},
        {100, 530, 1, FIELD_INT_MAX, 1, 0, 0, 0, 0, "first tab"},
        {300, 530, 1, FIELD_INT_MAX, 1, 1, 0, 0, 0, "second tab"},
        {650, 745, 1, FIELD_INT_MAX, 1, 1, 0, 0, 1, "save button"},
        {800, 745, 1, FIELD_INT_MAX, 1, 1, 0, 0, 2, "close button"},
    };
    for (const Case& c : cases) {
        HitTestPanel(c.x, c.y, 0);
        HitTestBottom(c.x, c.y);
        PanelPress(c.active, c.y);
        EXPECT_EQ(gPressedControl, gHoverControl) << c.what;
        EXPECT_EQ(gFilterField, c.field) << c.what;
        EXPECT_EQ(gButtonDown, c.buttonDown) << c.what;
        EXPECT_EQ(gReportPage, c.page) << c.what;
        EXPECT_EQ(gResetPressed, c.resetPressed) << c.what;
        EXPECT_EQ(gUpdatePressed, c.updatePressed) << c.what;
        EXPECT_EQ(gBottomPressed, c.bottomPressed) << c.what;
    }
}

TEST(PanelPress, PicksMakeTheirRecordCurrent) {
    LoadCatalogue({DayRec(0, 1, 61), DayRec(1, 2, 25), DayRec(2, 3, 68), DayRec(3, 4, 90)});
    OpenConditions();
    ApplyConditions();
    ResetPanel();
    struct Case {
        int statsPick, statsRecord, classPick, classRecord;
        int expected;   // the current record afterwards, -9 for unchanged
        const char* what;
    } cases[] = {
        {1, 2, 0, 0, 2, "statistics row"},
        {1, -1, 0, 0, -9, "statistics row of an empty class"},
        {0, 2, 0, 0, -9, "no pick"},
        {0, 0, 1, 3, 3, "class row of the bottom panel"},
        {1, 1, 1, 3, 3, "both: the class row comes last"},
        {1, 50, 0, 0, -9, "a record behind the end of the data"},
    };
    for (const Case& c : cases) {
        gCurrentRecord = 0;
        gSelectedRecordA = gSelectedRecordB = -1;
        AppSettings.selFirst = -1;
        gStatsPick = c.statsPick, gStatsPickRecord = c.statsRecord;
        gClassPick = c.classPick, gClassPickRecord = c.classRecord;
        PanelPress(1, 300);
        if (c.expected == -9) {
            EXPECT_EQ(gCurrentRecord, 0) << c.what;
            EXPECT_EQ(gSelectedRecordA, -1) << c.what;
            continue;
        }
        EXPECT_EQ(gCurrentRecord, c.expected) << c.what;
        EXPECT_EQ(gSelectedRecordA, c.expected) << c.what;
        EXPECT_EQ(gSelectedRecordB, c.expected) << c.what;
        EXPECT_EQ(AppSettings.selFirst, c.expected) << c.what;
        EXPECT_EQ(gRegionList.count, 1) << c.what << ": the region list follows";
        EXPECT_EQ(gRegionList.entries[0].recordIndex, c.expected) << c.what;
    }
    gStatsPick = gClassPick = 0;
}

TEST(PanelPress, ReachesTheAlertRankingRows) {
    // Region 1 has two M6+ events, so it heads the ranking.
    std::vector<QuakeRecord> records;
    for (int i = 0; i < 10; i++) records.push_back(DayRec(i, i == 2 || i == 6 ? 1 : 5, i == 2 || i == 6 ? 65 : 30));
    LoadCatalogue(records);
    OpenConditions();
    ApplyConditions();
    ResetPanel();
    gCurrentRecord = 9;
    gAlertRow = -1;
    gAlertHover = 1;   // the bottom panel shows the ranking under the cursor
    PanelPress(1, 562 + 5);
    EXPECT_EQ(gAlertRow, 0);
    EXPECT_EQ(gCurrentRecord, 2);
    gAlertHover = 0;
}

// ---------------------------------------------------------------------------
// Release

TEST(PanelRelease, DateButtonsLabelsAndDialogs) {
    ResetPanel();
    SetStart({2021, 6, 1, 0, 0});
    SetEnd({2023, 6, 1, 0, 0});
    gStartField = 0;
    Click(kStartMinus);
    EXPECT_EQ(Start(), (Date{2020, 6, 1, 0, 0}));
    gEndField = 1;
    Click(kEndPlus);
    EXPECT_EQ(End(), (Date{2023, 7, 1, 0, 0}));
    Click(kStartR);
    EXPECT_EQ(Start(), (Date{2019, 5, 20, 0, 0})) << "1970-01-01 raised to F by the clamp";
    Click(kEndR);
    EXPECT_EQ(End(), (Date{2024, 3, 5, 23, 59})) << "L's day at 23:59";

    const int startLabel[2] = {540, 40}, endLabel[2] = {540, 60};
    EXPECT_EQ(Click(startLabel), PANEL_REQUEST_PERIOD_DIALOG);
    EXPECT_EQ(Click(endLabel), PANEL_REQUEST_PERIOD_DIALOG);
    HitTestPanel(startLabel[0], startLabel[1], 0);
    PanelPress(1, startLabel[1]);
    HitTestPanel(endLabel[0], endLabel[1], 0);
    EXPECT_EQ(PanelRelease(1), 0) << "pressed on one label, released on the other";
}

TEST(PanelRelease, ClampsAStartBelowTheCatalogue) {
    ResetPanel();
    SetStart({2019, 5, 21, 0, 0});
    SetEnd({2024, 3, 5, 0, 0});
    gStartField = 2;
    Click(kStartMinus);
    EXPECT_EQ(Start(), (Date{2019, 5, 20, 0, 0}));
    Click(kStartMinus);   // 19 is below F's day: the day wraps to the month's end
    EXPECT_EQ(Start(), (Date{2019, 5, 31, 0, 0}));
}

TEST(PanelRelease, ResetNeedsPressAndReleaseOnIt) {
    const int reset[2] = {800, 136};
    ResetPanel();
    AppSettings.magMin = 3, AppSettings.depthMax = 50, AppSettings.intMax = 4;
    HitTestPanel(600, 90, 0);
    PanelPress(1, 90);
    HitTestPanel(reset[0], reset[1], 0);
    PanelRelease(1);
    EXPECT_EQ(AppSettings.magMin, 3) << "pressed elsewhere";
    Click(reset);
    const SettingsBlock& a = AppSettings;
    EXPECT_EQ((std::vector<int>{a.magMin, a.depthMin, a.intMin, a.magMax, a.depthMax, a.intMax}),
              (std::vector<int>{1, 0, 1, 9, 999, 9}));
    EXPECT_EQ(gResetPressed, 0);
}

TEST(PanelRelease, UpdateOnceADay) {
    const int update[2] = {800, 520};
    ResetPanel();
    struct Case {
        int lastUpdateDay, today, requested, storedDay;
        const char* what;
    } cases[] = {
        {0, 5, 1, 5, "fresh settings: the first press starts a download"},
        {5, 5, 0, 5, "the same day"},
        {5, 6, 1, 6, "the next day"},
        {5, 5, 0, 5, "the 5th of a later month counts as the same day"},
    };
    for (const Case& c : cases) {
        AppSettings.lastUpdateDay = c.lastUpdateDay;
        gTodayDay = c.today;
        int requests = Click(update);
        EXPECT_EQ((requests & PANEL_REQUEST_START_UPDATE) != 0, c.requested != 0) << c.what;
        EXPECT_EQ(AppSettings.lastUpdateDay, c.storedDay) << c.what;
    }
    AppSettings.lastUpdateDay = 0;
    HitTestPanel(600, 90, 0);
    PanelPress(1, 90);
    HitTestPanel(update[0], update[1], 0);
    EXPECT_EQ(PanelRelease(1), 0) << "pressed elsewhere";
}

TEST(PanelRelease, BottomButtonsActOnTheButtonUnderTheCursor) {
    ResetPanel();
    const int close[2] = {800, 745};
    HitTestPanel(600, 90, 0);
    HitTestBottom(600, 90);
    PanelPress(1, 90);
    HitTestPanel(close[0], close[1], 0);
    HitTestBottom(close[0], close[1]);
    EXPECT_EQ(PanelRelease(1), PANEL_REQUEST_CLOSE) << "pressed elsewhere, released over 終了";
    EXPECT_EQ(PanelRelease(0), 0) << "an inactive window does nothing";
}

// The names of the files in `dir`, without "." and "..".
std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PanelRelease, SaveWritesTheReportOfThePageShown) {
    std::vector<QuakeRecord> records;
    for (int i = 0; i < 10; i++) records.push_back(DayRec(i, i == 2 || i == 6 ? 1 : 5, i == 2 || i == 6 ? 65 : 30));
    LoadCatalogue(records);
    OpenConditions();
    ApplyConditions();
    ResetPanel();
    gCurrentRecord = 2;
    const std::string dir = MakeTempDir();
    ASSERT_EQ(WriteAlertReport((dir + "/alert.txt").c_str()), 0);
    ASSERT_EQ(WriteRegionReport((dir + "/region.txt").c_str()), 0);
    ASSERT_EQ(mkdir((dir + "/text").c_str(), 0755), 0);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    const int save[2] = {650, 745}, secondTab[2] = {300, 530}, firstTab[2] = {100, 530};
    Click(secondTab);
    Click(save);
    std::vector<std::string> afterAlert = FilesIn("text");
    Click(firstTab);
    Click(save);
    std::vector<std::string> afterRegion = FilesIn("text");
    ASSERT_EQ(chdir(previous), 0);

    ASSERT_EQ(afterAlert.size(), 1u);
    EXPECT_EQ(afterAlert[0].rfind("wolt 要警戒_", 0), 0u) << afterAlert[0];
    EXPECT_EQ(ReadBytes(dir + "/text/" + afterAlert[0]), ReadBytes(dir + "/alert.txt"));
    ASSERT_EQ(afterRegion.size(), 2u);
    std::string regionFile = afterRegion[0] == afterAlert[0] ? afterRegion[1] : afterRegion[0];
    EXPECT_EQ(regionFile.rfind("wolt_", 0), 0u) << regionFile;
    EXPECT_EQ(ReadBytes(dir + "/text/" + regionFile), ReadBytes(dir + "/region.txt"));
    RemoveTree(dir);
}

TEST(PanelRelease, MapPickAndCountersAndInactiveWindow) {
    LoadCatalogue({DayRec(0, 1, 61), DayRec(1, 2, 25), DayRec(2, 3, 68)});
    OpenConditions();
    ApplyConditions();
    ResetPanel();
    gSelectedRecordA = 1;
    gSelectedRecordB = 1;
    gCurrentRecord = 0;
    Click(kNowhere);
    EXPECT_EQ(gCurrentRecord, 1) << "the map's pick becomes current";
    EXPECT_EQ(AppSettings.selFirst, 1);

    gButtonDown = 1;
    gStartTicks = 5, gStartRepeats = 2, gStartStep = 3, gEndTicks = 4, gEndRepeats = 1, gEndStep = 2;
    gMagTicks = 3, gIntTicks = 2, gDepthTicks = 7, gDepthRepeats = 4, gDepthStep = 0;
    gResetPressed = gUpdatePressed = gBottomPressed = 1;
    PanelRelease(0);
    EXPECT_EQ(gButtonDown, 1) << "an inactive window keeps its counters";
    EXPECT_EQ(gStartStep, 3);
    EXPECT_EQ(gResetPressed + gUpdatePressed + gBottomPressed, 0);
    PanelRelease(1);
    EXPECT_EQ(gButtonDown, 0);
    EXPECT_EQ((std::vector<int>{gStartTicks, gStartRepeats, gEndTicks, gEndRepeats, gMagTicks, gIntTicks,
                                gDepthTicks, gDepthRepeats}),
              std::vector<int>(8, 0));
    EXPECT_EQ((std::vector<int>{gStartStep, gEndStep, gDepthStep}), (std::vector<int>{1, 1, 1}));
}

// ---------------------------------------------------------------------------
// Wheel

TEST(PanelWheel, StepsTheControlUnderTheCursor) {
    struct Case {
        int x, y, delta;
        Date start, end;
        int depthMax;
        Date expectStart, expectEnd;
        int expectDepthMax;
        const char* what;
    } cases[] = {
        {600, 40, 120, {2021, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 999, {2020, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 999, "away: start year minus"},
        {600, 40, -120, {2021, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 999, {2022, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 999, "towards: start year plus"},
        {750, 40, 0, {2021, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 999, {2021, 6, 1, 0, 1}, {2023, 6, 1, 0, 0}, 999, "zero delta is plus"},
        {680, 60, 120, {2020, 1, 1, 0, 0}, {2024, 5, 10, 0, 0}, 999, {2020, 1, 1, 0, 0}, {2024, 5, 31, 0, 0}, 999, "end day uses the hold rule"},
        {700, 110, -120, {2021, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 500, {2021, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 501, "depth maximum plus"},
        {700, 110, -120, {2021, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 999, {2021, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 999, "depth maximum at 999"},
        {540, 40, 120, {2021, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 999, {2021, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 999, "over the label: nothing"},
        {800, 110, 120, {2021, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 999, {2021, 6, 1, 0, 0}, {2023, 6, 1, 0, 0}, 999, "over the filter buttons: nothing"},
    };
    for (const Case& c : cases) {
        ResetPanel();
        SetStart(c.start);
        SetEnd(c.end);
        AppSettings.depthMax = c.depthMax;
        gStartField = 4;
        HitTestPanel(c.x, c.y, 0);
        PanelWheel(c.delta);
        EXPECT_EQ(Start(), c.expectStart) << c.what;
        EXPECT_EQ(End(), c.expectEnd) << c.what;
        EXPECT_EQ(AppSettings.depthMax, c.expectDepthMax) << c.what;
        EXPECT_EQ(gStartField, 4) << c.what << ": the selection stays";
    }
    ResetPanel();
    HitTestPanel(700, 110, 0);
    PanelWheel(-120);
    EXPECT_EQ(gDepthStep, 0) << "a wheel step onto a depth bound drops the hold step";
}

// ---------------------------------------------------------------------------
// Change check

TEST(ChangeCheck, CountsChangedFieldsAndClampsTheDates) {
    ResetPanel();
    SetStart({2020, 1, 1, 0, 0});
    SetEnd({2023, 1, 1, 0, 0});
    ChangeCheck();
    EXPECT_EQ(ChangeCheck(), 0) << "nothing changed since";
    AppSettings.magMin = 3;
    EXPECT_EQ(ChangeCheck(), 1);
    EXPECT_EQ(ChangeCheck(), 0);

    AppSettings.depthMax = 500;
    AppSettings.intMax = 7;
    AppSettings.startYear = 1970;   // below F: the check clamps it
    AppSettings.endMonth = 13;
    EXPECT_EQ(ChangeCheck(), 4);
    EXPECT_EQ(Start(), (Date{2019, 5, 20, 0, 0}));
    EXPECT_EQ(End(), (Date{2023, 12, 1, 0, 0}));
    EXPECT_EQ(ChangeCheck(), 0) << "the copies hold the clamped values";

    // Without a change nothing is clamped, even a date outside the catalogue.
    gDataLast = {2022, 1, 1, 0, 0};
    EXPECT_EQ(ChangeCheck(), 0);
    EXPECT_EQ(End(), (Date{2023, 12, 1, 0, 0}));
    AppSettings.magMax = 8;
    EXPECT_EQ(ChangeCheck(), 1);
    EXPECT_EQ(End(), (Date{2022, 1, 1, 0, 0}));
}

// ---------------------------------------------------------------------------
// Period dialog

TEST(PeriodDialog, OkWithTypedTexts) {
    LocalTime now = {2024, 2, 29, 13, 7, 0};
    SetClockOverride(&now);
    struct Case {
        const char* start;
        const char* end;
        Date expectStart, expectEnd;
        const char* what;
    } cases[] = {
        {"2021/06/01 12:30", "2023/07/02 03:04", {2021, 6, 1, 12, 30}, {2023, 7, 2, 3, 4}, "both read"},
        {"2021/3/11 14:46", "2022/1/2 3:4", {2021, 3, 11, 14, 46}, {2022, 1, 2, 3, 4}, "single digits"},
        {"2011/3/11 14:46", "2030/12/31 23:59", {2019, 5, 20, 14, 46}, {2024, 3, 5, 23, 59}, "clamped into the catalogue"},
        {"2021-03-11", "2022/01/02 03:04", {1970, 1, 1, 0, 0}, {2022, 1, 2, 3, 4}, "unreadable start: 1970, not clamped"},
        {"2021/03/11 14:46", "tomorrow", {2021, 3, 11, 14, 46}, {2024, 2, 29, 13, 7}, "unreadable end: the present"},
        {"2021/03/11", "2022/01/02 03", {1970, 1, 1, 0, 0}, {2024, 2, 29, 13, 7}, "too few numbers"},
        {"99999/-3/5 -4:-7", "-5/99/-99999999999 99999:99999", {2024, 1, 5, 0, 0}, {2019, 12, 1, 23, 59}, "far out of range"},
        {"", "", {1970, 1, 1, 0, 0}, {2024, 2, 29, 13, 7}, "empty"},
    };
    for (const Case& c : cases) {
        ResetPanel();
        ApplyPeriodTexts(c.start, c.end);
        EXPECT_EQ(Start(), c.expectStart) << c.what;
        EXPECT_EQ(End(), c.expectEnd) << c.what;
    }
    SetClockOverride(nullptr);
}

TEST(PeriodDialog, DefaultTakesTheCatalogueRange) {
    ResetPanel();
    SetStart({2021, 6, 1, 0, 0});
    SetEnd({2022, 6, 1, 0, 0});
    SetDefaultPeriod();
    EXPECT_EQ(Start(), (Date{2019, 5, 20, 10, 0}));
    EXPECT_EQ(End(), (Date{2024, 3, 5, 10, 20}));
}

}  // namespace
