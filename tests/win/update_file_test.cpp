// The yearly file written by the update worker under Wine: it is replaced
// only by a completely written new file, and a failed write leaves the old
// file (or folder) exactly as it was.
#include "win/net/update.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/catalogue/update_rules.h"

namespace {

std::wstring TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + L"wolt-update-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void Put(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

// The file's bytes, or "<missing>" / "<folder>".
std::string Get(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return "<missing>";
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "<folder>";
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes(GetFileSize(f, nullptr), '\0');
    DWORD read = 0;
    ReadFile(f, &bytes[0], DWORD(bytes.size()), &read, nullptr);
    CloseHandle(f);
    return bytes;
}

TEST(UpdateFile, ReplacedOnlyByACompleteFile) {
    const std::wstring folder = TempFolder();
    const std::wstring path = folder + L"\\cmp_2024.dat", temp = path + L".part";
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
            CreateDirectoryW(path.c_str(), nullptr);
        else if (c.old)
            Put(path, c.old);
        if (c.staleTemp) Put(temp, c.staleTemp);
        if (c.tempIsFolder) CreateDirectoryW(temp.c_str(), nullptr);

        EXPECT_EQ(WriteYearlyFile(path.c_str(), temp.c_str(),
                                  reinterpret_cast<const unsigned char*>(fresh.data()), fresh.size()),
                  c.code)
            << c.what;
        EXPECT_EQ(Get(path), c.after ? c.after : fresh) << c.what;
        EXPECT_EQ(Get(temp), c.tempIsFolder ? "<folder>" : "<missing>") << c.what;

        RemoveDirectoryW(temp.c_str());
        RemoveDirectoryW(path.c_str());
        DeleteFileW(path.c_str());
    }
    // A data folder that does not exist: nothing is created anywhere.
    const std::wstring lost = folder + L"\\no such folder\\cmp_2024.dat";
    EXPECT_EQ(WriteYearlyFile(lost.c_str(), (lost + L".part").c_str(),
                              reinterpret_cast<const unsigned char*>(fresh.data()), fresh.size()),
              UPDATE_WRITE_FAILED);
    EXPECT_EQ(Get(folder + L"\\no such folder"), "<missing>");
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
