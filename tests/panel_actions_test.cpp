// The control panel's button logic: the step rules of the period start and
// end at the catalogue's first and last dates, the hold repeat timing, the
// filter rules, press, release, wheel, the change check and the period
// dialog's texts.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
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

using Date = std::vector<int>;   // year, month, day, hour, minute

void SetDates(const Date& s, const Date& e) {
    SettingsBlock& a = AppSettings;
    a.startYear = s[0], a.startMonth = s[1], a.startDay = s[2], a.startHour = s[3], a.startMinute = s[4];
    a.endYear = e[0], a.endMonth = e[1], a.endDay = e[2], a.endHour = e[3], a.endMinute = e[4];
}
Date Start() { return {AppSettings.startYear, AppSettings.startMonth, AppSettings.startDay, AppSettings.startHour, AppSettings.startMinute}; }
Date End() { return {AppSettings.endYear, AppSettings.endMonth, AppSettings.endDay, AppSettings.endHour, AppSettings.endMinute}; }

// Window pixels of the buttons used below.
const int kStartMinus[2] = {775, 40}, kStartPlus[2] = {800, 40}, kStartR[2] = {820, 40};
const int kEndPlus[2] = {800, 60}, kEndR[2] = {820, 60};
const int kFilterMinus[2] = {780, 110}, kFilterPlus[2] = {805, 110}, kFilterR[2] = {825, 110};
const int kReset[2] = {800, 136}, kUpdate[2] = {800, 520}, kMagMin[2] = {600, 90};
const int kSave[2] = {650, 745}, kClose[2] = {800, 745}, kTab1[2] = {100, 530}, kTab2[2] = {300, 530};

// The catalogue's first and last dates F = 2019-05-20, L = 2024-03-05 and a clean panel.
void ResetPanel(const DateTime& first = {2019, 5, 20, 10, 0}, const DateTime& last = {2024, 3, 5, 10, 20}) {
    gDataFirst = first;
    gDataLast = last;
    gHoverControl = gStartArrow = gEndArrow = gFilterButton = 0;
    gResetHover = gUpdateHover = gTabHover = gBottomButton = 0;
    gPressedControl = gResetPressed = gUpdatePressed = gBottomPressed = 0;
    gStartField = gEndField = 0;
    gFilterField = FIELD_MAG_MIN;
    gReportPage = gStatsPick = gClassPick = gButtonDown = 0;
    gStartTimer = gEndTimer = gFilterTimer = 0;
    gStartTicks = gStartRepeats = gEndTicks = gEndRepeats = gMagTicks = gIntTicks = gDepthTicks = gDepthRepeats = 0;
    gStartStep = gEndStep = gDepthStep = 1;
    gSelectedRecordA = gSelectedRecordB = -1;
    gAlertHover = 0;
    SettingsBlock& a = AppSettings;
    a.magMin = 1, a.magMax = 9, a.depthMin = 0, a.depthMax = 999, a.intMin = 1, a.intMax = 9;
}

// A press at `p` after a hover tick there, `ticks` more ticks held, the
// release; returns the requests of the whole gesture.
int Click(const int p[2], int ticks = 0) {
    HitTestPanel(p[0], p[1], 0);
    HitTestBottom(p[0], p[1]);
    PanelPress(1, p[1]);
    int requests = 0;
    for (int i = 0; i < ticks; i++) requests |= HitTestPanel(p[0], p[1], 1);
    return requests | PanelRelease(1);
}

const int M = ARROW_MINUS, P = ARROW_PLUS;

TEST(PeriodSteps, StartAndEndRulesAtTheCatalogueEdges) {
    const Date e = {2024, 3, 5, 23, 59}, s = {2020, 1, 1, 0, 0};
    struct Case {
        const char* what;
        int end;   // -1 steps the start, else the end with these rules
        Date start, stop;
        int field, direction, step;
        Date expectStart, expectEnd;
    } cases[] = {
        {"start year minus at F's year stays", -1, {2019, 6, 1, 0, 0}, e, 0, M, 1, {2019, 6, 1, 0, 0}, e},
        {"start year minus 5 stops at F", -1, {2021, 6, 1, 0, 0}, e, 0, M, 5, {2019, 6, 1, 0, 0}, e},
        {"start year plus stops at the end", -1, {2020, 1, 1, 0, 0}, {2021, 1, 1, 0, 0}, 0, P, 3, {2021, 1, 1, 0, 0}, {2021, 1, 1, 0, 0}},
        {"start month minus below F's month wraps", -1, {2019, 5, 9, 0, 0}, e, 1, M, 1, {2019, 12, 9, 0, 0}, e},
        {"start month plus past the end's month", -1, {2022, 8, 9, 0, 0}, {2022, 8, 20, 0, 0}, 1, P, 1, {2022, 1, 9, 0, 0}, {2022, 8, 20, 0, 0}},
        {"start day minus below 1, leap February", -1, {2020, 2, 1, 0, 0}, e, 2, M, 1, {2020, 2, 29, 0, 0}, e},
        {"start day plus past February 28", -1, {2021, 2, 28, 0, 0}, e, 2, P, 1, {2021, 2, 1, 0, 0}, e},
        {"start day plus wraps below F's day", -1, {2019, 5, 31, 0, 0}, e, 2, P, 1, {2019, 5, 20, 0, 0}, e},
        {"start day minus wraps past the end's day", -1, {2022, 8, 1, 0, 0}, {2022, 8, 15, 0, 0}, 2, M, 1, {2022, 8, 15, 0, 0}, {2022, 8, 15, 0, 0}},
        {"start hour minus 5 below 0 is 23", -1, {2021, 1, 1, 2, 0}, e, 3, M, 5, {2021, 1, 1, 23, 0}, e},
        {"start minute plus above 59", -1, {2021, 1, 1, 0, 59}, e, 4, P, 1, {2021, 1, 1, 0, 0}, e},
        {"end year minus stops at the start", END_RULES_CLICK, {2021, 6, 1, 0, 0}, {2022, 6, 1, 0, 0}, 0, M, 2, {2021, 6, 1, 0, 0}, {2021, 6, 1, 0, 0}},
        {"end year plus stops at L", END_RULES_CLICK, s, {2023, 6, 1, 0, 0}, 0, P, 3, s, {2024, 6, 1, 0, 0}},
        {"end month minus in L's year stops at L's month", END_RULES_CLICK, s, {2024, 1, 9, 0, 0}, 1, M, 1, s, {2024, 3, 9, 0, 0}},
        {"end day minus below the start's day", END_RULES_CLICK, {2022, 8, 10, 0, 0}, {2022, 8, 10, 0, 0}, 2, M, 1, {2022, 8, 10, 0, 0}, {2022, 8, 31, 0, 0}},
        {"click: F's month rule in F's month", END_RULES_CLICK, {2019, 5, 20, 0, 0}, {2019, 5, 20, 0, 0}, 2, M, 1, {2019, 5, 20, 0, 0}, {2019, 5, 31, 0, 0}},
        {"hold: F's month rule needs L's year", END_RULES_HOLD, {2019, 5, 20, 0, 0}, {2019, 5, 20, 0, 0}, 2, M, 1, {2019, 5, 20, 0, 0}, {2019, 5, 5, 0, 0}},
        {"end day plus past L's day back to the start's day", END_RULES_CLICK, {2024, 3, 3, 0, 0}, {2024, 3, 5, 0, 0}, 2, P, 1, {2024, 3, 3, 0, 0}, {2024, 3, 3, 0, 0}},
        {"end minute minus below 0", END_RULES_CLICK, s, {2022, 1, 1, 0, 0}, 4, M, 1, s, {2022, 1, 1, 0, 59}},
    };
    for (const Case& c : cases) {
        ResetPanel();
        SetDates(c.start, c.stop);
        if (c.end >= 0)
            StepPeriodEnd(c.field, c.direction, c.step, c.end);
        else
            StepPeriodStart(c.field, c.direction, c.step);
        EXPECT_EQ(Start(), c.expectStart) << c.what;
        EXPECT_EQ(End(), c.expectEnd) << c.what;
    }
}

// The value changes seen while a button at `p` is held for `ticks` ticks.
std::vector<int> HeldSteps(const int p[2], int ticks, int32_t SettingsBlock::*value) {
    HitTestPanel(p[0], p[1], 0);
    PanelPress(1, p[1]);
    std::vector<int> steps;
    for (int tick = 1; tick <= ticks; tick++) {
        int before = AppSettings.*value;
        HitTestPanel(p[0], p[1], 1);
        if (AppSettings.*value != before) steps.push_back(AppSettings.*value - before);
    }
    return steps;
}

TEST(HoldTiming, RepeatsEvery11TicksWithGrowingSteps) {
    // Dates: 1, 1, 1, 2 x 4, 3 x 4, ...; the step changes only on the 11th tick.
    ResetPanel({1970, 1, 1, 0, 0}, {3000, 12, 31, 0, 0});
    SetDates({1970, 6, 1, 0, 0}, {3000, 12, 31, 0, 0});
    EXPECT_EQ(HeldSteps(kStartPlus, 11 * 12 + 10, &SettingsBlock::startYear),
              std::vector<int>({1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4}));
    PanelRelease(1);
    EXPECT_EQ(gStartStep + gStartTicks + gStartRepeats, 1);
    // Depth: 1 x 5, 11 x 6, 21 ... up to the bound, where the step drops to 0.
    ResetPanel();
    gFilterField = FIELD_DEPTH_MAX;
    AppSettings.depthMin = 30, AppSettings.depthMax = 100;
    EXPECT_EQ(HeldSteps(kFilterMinus, 11 * 20, &SettingsBlock::depthMax),
              std::vector<int>({-1, -1, -1, -1, -1, -11, -11, -11, -11, -11, -10}));
    EXPECT_EQ(gDepthStep, 0);
    PanelRelease(1);
    EXPECT_EQ(AppSettings.depthMax, 30);
    // Magnitude: one a repeat, stopping at the maximum.
    ResetPanel();
    AppSettings.magMax = 4;
    EXPECT_EQ(HeldSteps(kFilterPlus, 11 * 6, &SettingsBlock::magMin), std::vector<int>({1, 1, 1}));
    PanelRelease(1);
}

TEST(FilterClick, MinusPlusAndREachField) {
    struct Case {
        int field, button, before, bound, expected;   // bound: the other end of the field's range
    } cases[] = {
        {FIELD_MAG_MIN, M, 1, 9, 1},   {FIELD_MAG_MIN, P, 4, 5, 5},    {FIELD_MAG_MIN, P, 5, 5, 5},
        {FIELD_MAG_MIN, ARROW_RESET, 4, 9, 1}, {FIELD_DEPTH_MIN, M, 10, 999, 9}, {FIELD_DEPTH_MIN, P, 10, 10, 10},
        {FIELD_INT_MIN, P, 3, 4, 4},   {FIELD_MAG_MAX, M, 4, 3, 3},    {FIELD_MAG_MAX, ARROW_RESET, 4, 3, 9},
        {FIELD_DEPTH_MAX, M, 101, 100, 100}, {FIELD_DEPTH_MAX, P, 998, 0, 999}, {FIELD_DEPTH_MAX, P, 999, 0, 999},
        {FIELD_INT_MAX, M, 6, 6, 6},   {FIELD_INT_MAX, ARROW_RESET, 2, 1, 9},
    };
    int32_t SettingsBlock::*const fields[7] = {nullptr, &SettingsBlock::magMin, &SettingsBlock::depthMin,
                                               &SettingsBlock::intMin, &SettingsBlock::magMax,
                                               &SettingsBlock::depthMax, &SettingsBlock::intMax};
    for (const Case& c : cases) {
        ResetPanel();
        const int other = c.field <= 3 ? c.field + 3 : c.field - 3;
        AppSettings.*fields[c.field] = c.before;
        AppSettings.*fields[other] = c.bound;
        SettingsBlock before = AppSettings;
        gFilterField = c.field;
        Click(c.button == M ? kFilterMinus : c.button == P ? kFilterPlus : kFilterR);
        EXPECT_EQ(AppSettings.*fields[c.field], c.expected) << "field " << c.field << " button " << c.button;
        for (int f = 1; f <= 6; f++)
            if (f != c.field) {
                EXPECT_EQ(AppSettings.*fields[f], before.*fields[f]) << "field " << f;
            }
    }
    // Pressed on the magnitude minimum, released on plus: nothing.
    ResetPanel();
    AppSettings.magMin = 3;
    HitTestPanel(kMagMin[0], kMagMin[1], 0);
    PanelPress(1, kMagMin[1]);
    HitTestPanel(kFilterPlus[0], kFilterPlus[1], 0);
    PanelRelease(1);
    EXPECT_EQ(AppSettings.magMin, 3);
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
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    Click(kTab2);
    Click(kSave);
    Click(kTab1);
    Click(kSave);
    std::filesystem::current_path(previous);
    std::vector<std::string> saved;
    for (const auto& entry : std::filesystem::directory_iterator(dir + "/text")) saved.push_back(entry.path().string());
    ASSERT_EQ(saved.size(), 2u);
    std::sort(saved.begin(), saved.end());   // "text/wolt 要警戒_" sorts before "text/wolt_"
    EXPECT_EQ(ReadBytes(saved[0]), ReadBytes(dir + "/alert.txt")) << saved[0];
    EXPECT_EQ(ReadBytes(saved[1]), ReadBytes(dir + "/region.txt")) << saved[1];
    RemoveTree(dir);
}

}  // namespace
