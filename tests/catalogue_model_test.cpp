// Unpacking of the yearly file record and the day count between two dates.
#include <gtest/gtest.h>

#include <random>

#include "catalogue/model.h"

namespace {

struct UnpackCase {
    const char* what;
    CmpRecord words;
    int year, month, day, hour, minute, mapX, mapY, depth, region, mag10, intensity;
};

const UnpackCase kUnpackCases[] = {
    {"documented example", {20240101, 1610, 318214016, 45767}, 2024, 1, 1, 16, 10, 318, 214, 16, 45, 76, 7},
    {"leap day, last minute", {20240229, 2359, 400100010, 10500}, 2024, 2, 29, 23, 59, 400, 100, 10, 10, 50, 0},
    {"time word with high bits set", {19700101, 65536 + 1200, 1001001, 1}, 1970, 1, 1, 12, 0, 1, 1, 1, 0, 0, 1},
    {"negative time word, low bits 1200", {19700101, -65536 + 1200, 1001001, 1}, 1970, 1, 1, 12, 0, 1, 1, 1, 0, 0, 1},
    {"mapX missing", {19991231, 5, 1000, 286999}, 1999, 12, 31, 0, 5, 0, 1, 0, 286, 99, 9},
    {"both missing", {20000615, 1234, 0, 12345}, 2000, 6, 15, 12, 34, 0, 0, 0, 12, 34, 5},
    {"mapY missing, deep", {20111111, 101, 300000700, 99909}, 2011, 11, 11, 1, 1, 300, 0, 700, 99, 90, 9},
    {"largest packed fields", {20261231, 2359, 999999999, 286990}, 2026, 12, 31, 23, 59, 999, 999, 999, 286, 99, 0},
};

TEST(CatalogueModel, UnpacksEveryField) {
    for (const UnpackCase& c : kUnpackCases) {
        SCOPED_TRACE(c.what);
        QuakeRecord r;
        r.inFilter = 7;
        r.markerColor = 0x123456;
        UnpackCmpRecord(c.words, &r);
        EXPECT_EQ(r.year, c.year);
        EXPECT_EQ(r.month, c.month);
        EXPECT_EQ(r.day, c.day);
        EXPECT_EQ(r.hour, c.hour);
        EXPECT_EQ(r.minute, c.minute);
        EXPECT_EQ(r.mapX, c.mapX);
        EXPECT_EQ(r.mapY, c.mapY);
        EXPECT_EQ(r.depthKm, c.depth);
        EXPECT_EQ(r.regionIndex, c.region);
        EXPECT_EQ(r.magnitude10, c.mag10);
        EXPECT_EQ(r.intensity, c.intensity);
        EXPECT_EQ(r.inFilter, 0);
        EXPECT_EQ(r.markerColor, 0u);
        if (c.words.time >= 0 && c.words.time < 65536) {
            CmpRecord back = PackCmpRecord(r);
            EXPECT_EQ(back.date, c.words.date);
            EXPECT_EQ(back.time, c.words.time);
            EXPECT_EQ(back.position, c.words.position);
            EXPECT_EQ(back.event, c.words.event);
        }
    }
}

// The day count exactly as written: step one day at a time while any
// component of the current date is below the same component of the target.
int LiteralDaysBetween(int y, int m, int d, int toY, int toM, int toD) {
    int count = 0;
    while (y < toY || m < toM || d < toD) {
        d++;
        int length = 31;
        if (m == 4 || m == 6 || m == 9 || m == 11) length = 30;
        if (m == 2) length = y % 4 == 0 && (y % 100 != 0 || y % 400 == 0) ? 29 : 28;
        if (d > length) {
            d = 1;
            if (++m > 12) {
                m = 1;
                y++;
            }
        }
        count++;
        if (count > 400 * 366) return -1;  // never for a valid ordered pair
    }
    return count;
}

struct Date {
    int y, m, d;
};

int DaysInMonth(int y, int m) {
    static const int kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && y % 4 == 0 && (y % 100 != 0 || y % 400 == 0) ? 29 : kLength[m - 1];
}

Date RandomDate(std::mt19937& random, int firstYear, int lastYear) {
    Date d;
    d.y = firstYear + int(random() % unsigned(lastYear - firstYear + 1));
    d.m = 1 + int(random() % 12);
    d.d = 1 + int(random() % unsigned(DaysInMonth(d.y, d.m)));
    return d;
}

bool Before(const Date& a, const Date& b) {
    if (a.y != b.y) return a.y < b.y;
    if (a.m != b.m) return a.m < b.m;
    return a.d <= b.d;
}

TEST(CatalogueModel, DaysBetweenMatchesDayStepping) {
    std::mt19937 random(20240101);
    // Long spans over four centuries of leap rules, then many short ones.
    for (int i = 0; i < 3000; i++) {
        Date a = RandomDate(random, 1890, 2110), b = RandomDate(random, 1890, 2110);
        if (!Before(a, b)) std::swap(a, b);
        ASSERT_EQ(DaysBetween(a.y, a.m, a.d, b.y, b.m, b.d), LiteralDaysBetween(a.y, a.m, a.d, b.y, b.m, b.d))
            << a.y << "-" << a.m << "-" << a.d << " to " << b.y << "-" << b.m << "-" << b.d;
    }
    for (int i = 0; i < 30000; i++) {
        Date a = RandomDate(random, 1896, 2104);
        Date b = RandomDate(random, a.y, a.y + 1 + int(random() % 2));
        if (!Before(a, b)) std::swap(a, b);
        ASSERT_EQ(DaysBetween(a.y, a.m, a.d, b.y, b.m, b.d), LiteralDaysBetween(a.y, a.m, a.d, b.y, b.m, b.d))
            << a.y << "-" << a.m << "-" << a.d << " to " << b.y << "-" << b.m << "-" << b.d;
    }
}

}  // namespace
