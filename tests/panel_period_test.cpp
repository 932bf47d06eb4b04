// The period dialog's date text: the reader of "year/month/day hour:minute"
// against hand-checked cases and against the C library's sscanf with the
// same format on random texts, and the edit fields' format.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "panel/date_rules.h"

namespace {

TEST(ParsePeriodText, HandCheckedTexts) {
    struct Case {
        const char* text;
        int count;
        int fields[5];
    } cases[] = {
        {"2011/03/11 14:46", 5, {2011, 3, 11, 14, 46}},
        {"2011/3/11 14:46", 5, {2011, 3, 11, 14, 46}},
        {"  2011/ 3/ 11   14: 46", 5, {2011, 3, 11, 14, 46}},
        {"2011/3/11\t14:46 trailing", 5, {2011, 3, 11, 14, 46}},
        {"+2011/-3/+11 -4:-7", 5, {2011, -3, 11, -4, -7}},
        {"2011/3/11 14:46:59", 5, {2011, 3, 11, 14, 46}},
        {"2011-03-11", 1, {2011}},
        {"2011 /3/11 14:46", 1, {2011}},
        {"2011/3/11", 3, {2011, 3, 11}},
        {"2011/3/1114:46", 3, {2011, 3, 1114}},
        {"2011/3/11 14", 4, {2011, 3, 11, 14}},
        {"2011/3/11 14:", 4, {2011, 3, 11, 14}},
        {"2011/3/11 14 :46", 4, {2011, 3, 11, 14}},
        {"2011/-/11 14:46", 1, {2011}},
        {"", 0, {}},
        {"   ", 0, {}},
        {"abc", 0, {}},
        {"２０１１/3/11 14:46", 0, {}},   // full-width digits are not digits
        {"99999999999/1/1 0:0", 5, {INT_MAX, 1, 1, 0, 0}},
        {"-99999999999/1/1 0:0", 5, {INT_MIN, 1, 1, 0, 0}},
        {"2147483647/-2147483648/2147483648 0:0", 5, {INT_MAX, INT_MIN, INT_MAX, 0, 0}},
        {"000002011/0003/011 00014:0046", 5, {2011, 3, 11, 14, 46}},
    };
    for (const Case& c : cases) {
        int fields[5] = {-77, -77, -77, -77, -77};
        EXPECT_EQ(ParsePeriodText(c.text, fields), c.count) << c.text;
        for (int i = 0; i < 5; i++)
            EXPECT_EQ(fields[i], i < c.count ? c.fields[i] : -77) << c.text << " field " << i;
    }
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

TEST(FormatPeriodText, EditFieldFormat) {
    char text[64];
    FormatPeriodText(text, sizeof text, 2011, 3, 11, 14, 6);
    EXPECT_STREQ(text, "2011/03/11 14:06");
    FormatPeriodText(text, sizeof text, 1970, 1, 1, 0, 0);
    EXPECT_STREQ(text, "1970/01/01 00:00");
    FormatPeriodText(text, 8, 2011, 3, 11, 14, 6);
    EXPECT_STREQ(text, "2011/03") << "cut to the buffer";
}

}  // namespace
