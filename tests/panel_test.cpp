// The control panel: period steps, filter buttons, typed period texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "engine/controls/bottom_panel.h"
#include "engine/controls/control_panel.h"
#include "engine/controls/panels.h"
#include "engine/controls/period.h"
#include "test_util.h"

namespace {

using Date = std::vector<int>;   // year, month, day, hour, minute

Date Start() { return {AppSettings.startYear, AppSettings.startMonth, AppSettings.startDay, AppSettings.startHour, AppSettings.startMinute}; }
Date End() { return {AppSettings.endYear, AppSettings.endMonth, AppSettings.endDay, AppSettings.endHour, AppSettings.endMinute}; }

// Window pixels of the buttons used below.
const int kFilterMinus[2] = {780, 110}, kFilterPlus[2] = {805, 110}, kFilterR[2] = {825, 110};
// The six filter values, in FilterField order from index 1.
const int kFilterValue[7][2] = {{0, 0}, {600, 90}, {600, 110}, {600, 135}, {720, 90}, {720, 110}, {720, 135}};

// The catalogue's first and last dates F = 2019-05-20, L = 2024-03-05 and a clean panel.
void ResetPanel() {
    gDataFirst = {2019, 5, 20, 10, 0}, gDataLast = {2024, 3, 5, 10, 20};
    ResetControlPanel();
    ResetBottomPanel();
    SettingsBlock a = AppSettings;
    a.magMin = 1, a.magMax = 9, a.depthMin = 0, a.depthMax = 999, a.intMin = 1, a.intMax = 9;
    StoreConditions(a);
}

// A press at `p` after a hover tick there, and the release.
void Click(const int p[2]) { PanelsHoverTick(p[0], p[1], 0), PanelsPress(1, p[1]), PanelsRelease(1); }

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
        {"start month plus to December", -1, {2021, 11, 9, 0, 0}, e, 1, P, 1, {2021, 12, 9, 0, 0}, e},
        {"start month plus past the end's month", -1, {2022, 8, 9, 0, 0}, {2022, 8, 20, 0, 0}, 1, P, 1, {2022, 1, 9, 0, 0}, {2022, 8, 20, 0, 0}},
        {"start day minus below 1, leap February", -1, {2020, 2, 1, 0, 0}, e, 2, M, 1, {2020, 2, 29, 0, 0}, e},
        {"start day plus past February 28", -1, {2021, 2, 28, 0, 0}, e, 2, P, 1, {2021, 2, 1, 0, 0}, e},
        {"start day plus wraps below F's day", -1, {2019, 5, 31, 0, 0}, e, 2, P, 1, {2019, 5, 20, 0, 0}, e},
        {"start day minus wraps past the end's day", -1, {2022, 8, 1, 0, 0}, {2022, 8, 15, 0, 0}, 2, M, 1, {2022, 8, 15, 0, 0}, {2022, 8, 15, 0, 0}},
        {"start hour minus 5 below 0 is 23", -1, {2021, 1, 1, 2, 0}, e, 3, M, 5, {2021, 1, 1, 23, 0}, e},
        {"start minute plus above 59", -1, {2021, 1, 1, 0, 59}, e, 4, P, 1, {2021, 1, 1, 0, 0}, e},
        {"start hour plus to 23", -1, {2021, 1, 1, 22, 0}, e, 3, P, 1, {2021, 1, 1, 23, 0}, e},
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
        SetPeriod(c.start, c.stop);
        if (c.end >= 0)
            StepPeriodEnd(c.field, c.direction, c.step, c.end);
        else
            StepPeriodStart(c.field, c.direction, c.step);
        EXPECT_EQ(Start(), c.expectStart) << c.what;
        EXPECT_EQ(End(), c.expectEnd) << c.what;
    }
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
        SetSetting(fields[c.field], c.before);
        SetSetting(fields[other], c.bound);
        SettingsBlock before = AppSettings;
        Click(kFilterValue[c.field]);
        ASSERT_EQ(gControlPanel.filterField, c.field);
        Click(c.button == M ? kFilterMinus : c.button == P ? kFilterPlus : kFilterR);
        EXPECT_EQ(AppSettings.*fields[c.field], c.expected) << "field " << c.field << " button " << c.button;
        for (int f = 1; f <= 6; f++)
            if (f != c.field) {
                EXPECT_EQ(AppSettings.*fields[f], before.*fields[f]) << "field " << f;
            }
    }
    // Pressed on the magnitude minimum, released on plus: nothing.
    ResetPanel();
    SetSetting(&SettingsBlock::magMin, 3);
    PanelsHoverTick(kFilterValue[FIELD_MAG_MIN][0], kFilterValue[FIELD_MAG_MIN][1], 0);
    PanelsPress(1, kFilterValue[FIELD_MAG_MIN][1]);
    PanelsHoverTick(kFilterPlus[0], kFilterPlus[1], 0);
    PanelsRelease(1);
    EXPECT_EQ(AppSettings.magMin, 3);
}

// 1 when every run of digits has at most 9 digits: sscanf is defined on it.
bool NumbersFitAnInt(const std::string& text) {
    int run = 0;
    for (char c : text) {
        run = c >= '0' && c <= '9' ? run + 1 : 0;
        if (run > 9) return false;
    }
    return true;
}

// Texts made of the characters the format cares about.
std::string RandomText(std::mt19937& random) {
    static const char* const kPieces[] = {"/", "/", ":", " ", "\t", "-", "+", "x", "0", "7", "12", "2011", "999999999"};
    std::string text;
    int pieces = int(random() % 12);
    for (int i = 0; i < pieces; i++) text += kPieces[random() % (sizeof kPieces / sizeof kPieces[0])];
    return text;
}

TEST(ParsePeriodText, AgreesWithSscanfOnRandomTexts) {
    std::mt19937 random(20110311);
    int fiveRead = 0;
    for (int n = 0; n < 200000; n++) {
        std::string text = n % 3 == 0 ? std::to_string(random() % 3000) + "/" + std::to_string(random() % 14) + "/" +
                                            std::to_string(random() % 33) + RandomText(random)
                                      : RandomText(random);
        if (!NumbersFitAnInt(text)) continue;
        int expected[5] = {-77, -77, -77, -77, -77}, actual[5] = {-77, -77, -77, -77, -77};
        int count = std::sscanf(text.c_str(), "%d/%d/%d %d:%d", &expected[0], &expected[1], &expected[2],
                                &expected[3], &expected[4]);
        if (count == EOF) count = 0;
        ASSERT_EQ(ParsePeriodText(text.c_str(), actual), count) << "'" << text << "'";
        for (int i = 0; i < count; i++) ASSERT_EQ(actual[i], expected[i]) << "'" << text << "' field " << i;
        fiveRead += count == 5;
    }
    EXPECT_GT(fiveRead, 100) << "the random texts reach the fifth number";
}

}  // namespace
