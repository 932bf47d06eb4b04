// UpdateThread: the download of the newest yearly file. The rules (what a
// reply means, how it is read) are the engine's (update_rules.h); this file
// only drives WinINet and the file system.
#include "win/net/update.h"

#include <wininet.h>
#include <process.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "engine/catalogue/data_files.h"
#include "engine/catalogue/data_source.h"
#include "engine/catalogue/loader.h"
#include "engine/catalogue/update_rules.h"
#include "engine/model/commands.h"
#include "platform/wide_text.h"

// The block the main thread fills before the start; afterwards the worker
// alone writes it, and the main thread only reads `running`.
struct UpdateBlock {
    unsigned threadId;
    HANDLE thread;                  // 0 when no download was started
    HWND target;                    // where the worker posts its commands
    std::atomic<int32_t> running;   // 1 from just before the start to the worker's last act
    std::atomic<int32_t> state;     // the last stage posted; UPDATE_ENDED at the end
    std::atomic<int32_t> error;     // the final code (0 on success)
    int32_t year;                   // the year to fetch
    wchar_t agent[64];              // the application title, sent as the user agent
    std::wstring url;
    std::wstring path;              // the yearly file
    std::wstring tempPath;          // written first, then moved over `path`
};


enum { UPDATE_ENDED = 4 };   // the block's state once the worker has finished

static UpdateBlock sUpdateWorker;

// A stalled server must not hold the worker for ever: every wait on the
// connection ends after this long, and the read then fails.
enum { kNetworkTimeoutMs = 20000 };

static void Post(const UpdateBlock* block, int command, int code) {
    PostMessageW(block->target, WM_COMMAND, MAKEWPARAM(command, code), 0);
}

static void Stage(UpdateBlock* block, int stage) {
    block->state = stage;
    Post(block, CMD_UPDATE_PROGRESS, stage);
    Sleep(kUpdateStagePauseMs);
}

// Set on the session for the connection and the reply's headers, and again
// on the request for the reads of the body (Wine's WinINet takes the read
// timeout from the request handle only).
static void SetTimeouts(HINTERNET handle) {
    DWORD ms = kNetworkTimeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT})
        InternetSetOptionW(handle, option, &ms, sizeof ms);
}

// A numeric header of the reply; false when the server did not send it.
static bool QueryNumber(HINTERNET request, DWORD what, DWORD* value) {
    DWORD size = sizeof *value;
    return HttpQueryInfoW(request, what | HTTP_QUERY_FLAG_NUMBER, value, &size, nullptr) != 0;
}

// One read for ReadReply: as many bytes as the connection has ready (all the
// room when it announces none, so that the read itself tells the end).
static int ReadFromRequest(void* context, unsigned char* into, size_t room, size_t* got) {
    HINTERNET request = static_cast<HINTERNET>(context);
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request, &available, 0, 0)) return 1;
    DWORD want = available == 0 || available > room ? DWORD(room) : available;
    DWORD read = 0;
    if (!InternetReadFile(request, into, want, &read)) return 1;
    *got = read;
    return 0;
}

static HINTERNET OpenUrl(HINTERNET session, const wchar_t* url) {
    // Always the server's current copy: neither read from nor written to a cache.
    const DWORD flags = INTERNET_FLAG_SECURE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    for (int attempt = 0; attempt < kUrlAttempts; attempt++) {
        HINTERNET request = InternetOpenUrlW(session, url, nullptr, 0, flags, 0);
        if (request) return request;
        Sleep(kUrlRetryMs);
    }
    return nullptr;
}

int WriteYearlyFile(const wchar_t* path, const wchar_t* tempPath, const unsigned char* bytes, size_t count) {
    HANDLE file = CreateFileW(tempPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return UPDATE_WRITE_FAILED;
    DWORD written = 0;
    bool ok = WriteFile(file, bytes, DWORD(count), &written, nullptr) && written == count &&
              FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    if (ok) ok = MoveFileExW(tempPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) {
        DeleteFileW(tempPath);
        return UPDATE_WRITE_FAILED;
    }
    return UPDATE_OK;
}

unsigned __stdcall UpdateThread(void* parameter) {
    UpdateBlock* block = static_cast<UpdateBlock*>(parameter);
    Sleep(kUpdateStartPauseMs);
    Stage(block, UPDATE_STAGE_STARTED);
    block->error = 0;

    UpdateReply reply = {};
    reply.announcedBytes = -1;
    reply.year = block->year;
    unsigned char* buffer = nullptr;
    HINTERNET session = nullptr;
    if (InternetAttemptConnect(0) != ERROR_SUCCESS)
        reply.earlyFailure = UPDATE_NO_CONNECTION;
    else if (!(buffer = static_cast<unsigned char*>(std::malloc(kUpdateBufferBytes))))
        reply.earlyFailure = UPDATE_NO_MEMORY;
    else if (!(session = InternetOpenW(block->agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)))
        reply.earlyFailure = UPDATE_NO_SESSION;
    else
        SetTimeouts(session);

    Stage(block, UPDATE_STAGE_CONNECTED);
    if (buffer) std::memset(buffer, 0, kUpdateBufferBytes);
    HINTERNET request = session ? OpenUrl(session, block->url.c_str()) : nullptr;
    if (session && !request) reply.earlyFailure = UPDATE_NO_URL;

    Stage(block, UPDATE_STAGE_READING);
    if (request) {
        SetTimeouts(request);
        DWORD status = 0, length = 0;
        if (QueryNumber(request, HTTP_QUERY_STATUS_CODE, &status)) reply.httpStatus = int(status);
        if (QueryNumber(request, HTTP_QUERY_CONTENT_LENGTH, &length)) reply.announcedBytes = length;
        reply.read = ReadReply(ReadFromRequest, request, buffer);
        InternetCloseHandle(request);
    }
    reply.body = buffer;

    Stage(block, UPDATE_STAGE_SAVING);
    int code = DecideUpdateReply(reply);
    if (code == UPDATE_OK) code = WriteYearlyFile(block->path.c_str(), block->tempPath.c_str(), buffer, reply.read.bytes);

    Stage(block, UPDATE_STAGE_SAVED);
    if (session) InternetCloseHandle(session);
    std::free(buffer);

    if (code == UPDATE_OK) {
        Post(block, CMD_UPDATE_DONE, 0);
    } else {
        block->error = code;
        Post(block, CMD_UPDATE_FAILED, code);
    }
    block->state = UPDATE_ENDED;
    block->running = 0;
    return 0;
}


int StartUpdate(HWND target, int year, const wchar_t* agent, const wchar_t* startDir) {
    UpdateBlock* block = &sUpdateWorker;
    if (block->running) return UPDATE_STILL_RUNNING;
    if (block->thread) {   // the previous download has ended
        CloseHandle(block->thread);
        block->thread = nullptr;
    }
    block->target = target;
    block->year = year;
    block->state = 0;
    block->error = 0;
    std::wcsncpy(block->agent, agent, 63);
    block->agent[63] = 0;
    const DataSource& source = CurrentDataSource();
    block->url = ToWide(UpdateUrl(source.serverHost.c_str(), source.serverPort, year).c_str());
    std::wstring folder = startDir;
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    block->path = folder + ToWide(YearFilePath(DataFolder(), year).c_str());
    block->tempPath = block->path + L".part";
    block->running = 1;
    uintptr_t thread = _beginthreadex(nullptr, 0, UpdateThread, block, 0, &block->threadId);
    if (thread == 0) {
        block->running = 0;
        return UPDATE_START_FAILED;
    }
    block->thread = reinterpret_cast<HANDLE>(thread);
    return UPDATE_STARTED;
}
