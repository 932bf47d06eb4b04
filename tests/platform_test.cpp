// The platform layer: Shift-JIS conversion (code page 932), files by UTF-8
// path, the pinned clock and the message hook.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "test_util.h"

namespace {

struct SjisCase {
    const char* utf8;
    const char* sjis;
};

// Names whose second byte is 0x5C ('\') and the wave dash that only code
// page 932 (not plain Shift_JIS) maps to 0x81 0x60.
const SjisCase kSjisCases[] = {
    {"能", "\x94\x5c"},
    {"表", "\x95\x5c"},
    {"ソ", "\x83\x5c"},
    {"十", "\x8f\x5c"},
    {"～", "\x81\x60"},
    {"石川県能登地方", "\x90\xce\x90\xec\x8c\xa7\x94\x5c\x93\x6f\x92\x6e\x95\xfb"},
    {"5弱 6強", "5\x8e\xe3 6\x8b\xad"},
    {"ｱｲｳ", "\xb1\xb2\xb3"},
    {"plain ASCII \\ / 0-9", "plain ASCII \\ / 0-9"},
    {"", ""},
};

TEST(Platform, ShiftJisRoundTrip) {
    for (const SjisCase& c : kSjisCases) {
        SCOPED_TRACE(c.utf8);
        std::string sjis = "untouched", utf8 = "untouched";
        ASSERT_EQ(Utf8ToSjis(c.utf8, &sjis), 0);
        EXPECT_EQ(sjis, c.sjis);
        ASSERT_EQ(SjisToUtf8(c.sjis, &utf8), 0);
        EXPECT_EQ(utf8, c.utf8);
    }
}

TEST(Platform, ShiftJisFailuresLeaveTheOutputAlone) {
    struct Case {
        const char* what;
        bool toSjis;
        const char* input;
    } cases[] = {
        {"invalid UTF-8", true, "abc\xff"},
        {"no code page 932 character", true, "\xf0\x9f\x98\x80"},
        {"lead byte without trail", false, "ab\x94"},
        {"invalid trail byte", false, "\x81\x20"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string out = "untouched";
        int result = c.toSjis ? Utf8ToSjis(c.input, &out) : SjisToUtf8(c.input, &out);
        EXPECT_NE(result, 0);
        EXPECT_EQ(out, "untouched");
    }
}

}  // namespace
