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

// Through OpenFile only: the standard streams take narrow paths in the ANSI
// code page on Windows, which is exactly what OpenFile avoids.
bool WriteText(const std::string& path, const char* text) {
    FILE* file = OpenFile(path.c_str(), "wb");
    if (!file) return false;
    std::fputs(text, file);
    return std::fclose(file) == 0;
}

std::string ReadText(const std::string& path) {
    FILE* file = OpenFile(path.c_str(), "rb");
    if (!file) return "(cannot open)";
    char text[64] = {};
    size_t got = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    return std::string(text, got);
}

TEST(Platform, FilesByUtf8Path) {
    std::string dir = MakeTempDir();
    std::string from = dir + "/能登 表.tmp", to = dir + "/能登 表.dat";
    EXPECT_TRUE(IsDirectory(dir.c_str()));
    EXPECT_FALSE(IsDirectory(from.c_str()));

    ASSERT_TRUE(WriteText(from, "0123456789"));
    ASSERT_TRUE(WriteText(to, "old"));
    EXPECT_FALSE(IsDirectory(to.c_str()));
    EXPECT_EQ(ReadText(to), "old");

    EXPECT_EQ(MoveFileOver(from.c_str(), to.c_str()), 0);
    EXPECT_EQ(OpenFile(from.c_str(), "rb"), nullptr);
    FILE* file = OpenFile(to.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(FileLength(file), 10);
    std::fclose(file);
    EXPECT_EQ(ReadText(to), "0123456789");
    // The name on disk is the intended one, not its bytes read in another code page.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(dir)))
        names.push_back(entry.path().filename().u8string());
    EXPECT_EQ(names, std::vector<std::string>{"能登 表.dat"});

    EXPECT_NE(MoveFileOver(from.c_str(), to.c_str()), 0);  // nothing to move
    EXPECT_EQ(RemoveFile(to.c_str()), 0);
    EXPECT_NE(RemoveFile(to.c_str()), 0);
    EXPECT_EQ(ReadText(to), "(cannot open)");
    RemoveTree(dir);
}

}  // namespace
