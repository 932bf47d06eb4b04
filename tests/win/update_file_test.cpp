// The update worker's yearly file under Wine.
#include "win/net/update.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/catalogue/update_rules.h"
#include "test_util.h"

namespace {

namespace fs = std::filesystem;

// The file's bytes, or "<missing>" / "<folder>".
std::string Get(const fs::path& path) {
    return !fs::exists(path) ? "<missing>" : fs::is_directory(path) ? "<folder>" : ReadBytes(path.string());
}

TEST(UpdateFile, ReplacedOnlyByACompleteFile) {
    TempDir folder;
    const fs::path path = folder / "cmp_2024.dat", temp = folder / "cmp_2024.dat.part";
    const std::string fresh = "new records, 32 bytes long......";
    struct Case {
        const char* what;
        const char* old;        // nullptr: no old file; "<folder>": a folder in its place
        const char* staleTemp;  // a temporary file left by an earlier run, or nullptr
        bool tempIsFolder;
        int code;
        const char* after;      // nullptr: the new bytes
    } cases[] = {
        {"first file of the year", nullptr, nullptr, false, UPDATE_OK, nullptr},
        {"replaces the old file", "old bytes", nullptr, false, UPDATE_OK, nullptr},
        {"over a stale temporary file", "old bytes", "half a file", false, UPDATE_OK, nullptr},
        {"a folder where the file should be", "<folder>", nullptr, false, UPDATE_WRITE_FAILED, "<folder>"},
        {"temporary file cannot be created", "old bytes", nullptr, true, UPDATE_WRITE_FAILED, "old bytes"},
    };
    for (const Case& c : cases) {
        if (c.old && std::string(c.old) == "<folder>")
            fs::create_directory(path);
        else if (c.old)
            WriteBytes(path.string(), c.old);
        if (c.staleTemp) WriteBytes(temp.string(), c.staleTemp);
        if (c.tempIsFolder) fs::create_directory(temp);

        EXPECT_EQ(WriteYearlyFile(path.c_str(), temp.c_str(),
                                  reinterpret_cast<const unsigned char*>(fresh.data()), fresh.size()),
                  c.code)
            << c.what;
        EXPECT_EQ(Get(path), c.after ? c.after : fresh) << c.what;
        EXPECT_EQ(Get(temp), c.tempIsFolder ? "<folder>" : "<missing>") << c.what;

        fs::remove_all(temp), fs::remove_all(path);
    }
    // A data folder that does not exist: nothing is created anywhere.
    const fs::path lost = folder / "no such folder/cmp_2024.dat";
    EXPECT_EQ(WriteYearlyFile(lost.c_str(), (lost.wstring() + L".part").c_str(),
                              reinterpret_cast<const unsigned char*>(fresh.data()), fresh.size()),
              UPDATE_WRITE_FAILED);
    EXPECT_EQ(Get(folder / "no such folder"), "<missing>");
}

}  // namespace
