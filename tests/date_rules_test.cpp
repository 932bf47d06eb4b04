// The period date clamp and the month lengths.
#include <climits>

#include <gtest/gtest.h>

#include "catalogue/model.h"
#include "panel/date_rules.h"

TEST(DaysInMonth, GregorianMonthLengths) {
    struct Case {
        int month, year, days;
    } cases[] = {
        {1, 2023, 31},  {2, 2023, 28},  {2, 2024, 29},  {2, 1900, 28}, {2, 2000, 29},
        {2, 2100, 28},  {3, 2023, 31},  {4, 2023, 30},  {5, 2023, 31}, {6, 2023, 30},
        {7, 2023, 31},  {8, 2023, 31},  {9, 2023, 30},  {10, 2023, 31}, {11, 2023, 30},
        {12, 2023, 31}, {13, 2023, 31}, {0, 2024, 31},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DaysInMonth(c.month, c.year), c.days) << c.month << "/" << c.year;
}

struct Date {
    int year, month, day, hour, minute;
};

static bool operator==(const Date& a, const Date& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute;
}

static std::ostream& operator<<(std::ostream& out, const Date& d) {
    return out << d.year << "/" << d.month << "/" << d.day << " " << d.hour << ":" << d.minute;
}

static Date Clamped(Date d) {
    ClampDate(&d.year, &d.month, &d.day, &d.hour, &d.minute);
    return d;
}

static void SetRange(const DateTime& first, const DateTime& last) {
    gDataFirst = first;
    gDataLast = last;
}

TEST(ClampDate, RulesInOrder) {
    // Catalogue from 2019-05-20 10:00 to 2024-03-05 10:20.
    SetRange({2019, 5, 20, 10, 0}, {2024, 3, 5, 10, 20});
    struct Case {
        const char* what;
        Date in, out;
    } cases[] = {
        {"inside", {2020, 6, 15, 12, 30}, {2020, 6, 15, 12, 30}},
        {"first day", {2019, 5, 20, 0, 0}, {2019, 5, 20, 0, 0}},
        {"last day", {2024, 3, 5, 23, 59}, {2024, 3, 5, 23, 59}},
        {"year below", {2001, 7, 4, 1, 2}, {2019, 7, 4, 1, 2}},
        {"year above", {2030, 12, 31, 23, 59}, {2024, 3, 5, 23, 59}},
        {"first year, month and day below", {2019, 3, 10, 8, 0}, {2019, 5, 20, 8, 0}},
        {"first year, month below, day above", {2019, 3, 25, 8, 0}, {2019, 5, 25, 8, 0}},
        // The day is raised only together with the month.
        {"first month, day below", {2019, 5, 10, 8, 0}, {2019, 5, 10, 8, 0}},
        {"last year, month above", {2024, 7, 31, 0, 0}, {2024, 3, 5, 0, 0}},
        {"last year, month above, small day", {2024, 7, 2, 0, 0}, {2024, 3, 2, 0, 0}},
        {"last month, day above", {2024, 3, 20, 0, 0}, {2024, 3, 5, 0, 0}},
        {"leap February", {2024, 2, 30, 0, 0}, {2024, 2, 29, 0, 0}},
        {"common February", {2023, 2, 29, 0, 0}, {2023, 2, 28, 0, 0}},
        {"30-day month", {2020, 4, 31, 0, 0}, {2020, 4, 30, 0, 0}},
        {"31-day month", {2020, 8, 31, 0, 0}, {2020, 8, 31, 0, 0}},
        {"day 0", {2020, 1, 0, 0, 0}, {2020, 1, 1, 0, 0}},
        {"day 32", {2020, 1, 32, 0, 0}, {2020, 1, 31, 0, 0}},
        {"month 13", {2020, 13, 5, 0, 0}, {2020, 12, 5, 0, 0}},
        {"month 0", {2020, 0, 5, 0, 0}, {2020, 1, 5, 0, 0}},
        {"hour and minute above", {2020, 1, 5, 24, 60}, {2020, 1, 5, 23, 59}},
        {"negative hour and minute", {2020, 1, 5, -3, -1}, {2020, 1, 5, 0, 0}},
        {"far out of range", {99999, -7, 99999, 99999, 99999}, {2024, 1, 31, 23, 59}},
        {"negative year", {-5, 6, 1, 0, 0}, {2019, 6, 1, 0, 0}},
        {"int extremes", {INT_MIN, INT_MAX, INT_MIN, INT_MIN, INT_MAX}, {2019, 12, 1, 0, 59}},
    };
    for (const Case& c : cases) EXPECT_EQ(Clamped(c.in), c.out) << c.what;
}

// Every real date of the range is left alone; every other input
// comes out as a real calendar date inside the range's years, and a second
// clamp changes nothing.
TEST(ClampDate, ValidDatesStayAndResultsAreStable) {
    SetRange({2019, 5, 20, 10, 0}, {2024, 3, 5, 10, 20});
    for (int y = 2019; y <= 2024; y++)
        for (int m = 1; m <= 12; m++)
            for (int d = 1; d <= DaysInMonth(m, y); d++) {
                bool inside = (y > 2019 || m > 5 || (m == 5 && d >= 20)) &&
                              (y < 2024 || m < 3 || (m == 3 && d <= 5));
                if (!inside) continue;
                Date date{y, m, d, 7, 30};
                ASSERT_EQ(Clamped(date), date);
            }
    for (int y = 2017; y <= 2026; y++)
        for (int m = -1; m <= 14; m++)
            for (int d = -1; d <= 33; d++)
                for (int h : {-1, 0, 23, 24})
                    for (int n : {-1, 0, 59, 60}) {
                        Date once = Clamped({y, m, d, h, n});
                        ASSERT_GE(once.year, 2019);
                        ASSERT_LE(once.year, 2024);
                        ASSERT_GE(once.month, 1);
                        ASSERT_LE(once.month, 12);
                        ASSERT_GE(once.day, 1);
                        ASSERT_LE(once.day, DaysInMonth(once.month, once.year));
                        ASSERT_TRUE(once.hour >= 0 && once.hour <= 23);
                        ASSERT_TRUE(once.minute >= 0 && once.minute <= 59);
                        if (once.year == 2024) {
                            ASSERT_TRUE(once.month < 3 || (once.month == 3 && once.day <= 5));
                        }
                        ASSERT_EQ(Clamped(once), once) << Date{y, m, d, h, n};
                    }
}
