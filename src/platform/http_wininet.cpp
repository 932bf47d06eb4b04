// PostForm with WinINet (Windows): the system's own TLS and certificate store,
// so a Windows user needs nothing beside the program.
#include "platform/http.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <wininet.h>

#include <string>

#include "platform/wide_text.h"

namespace {

// Closes a WinINet handle when it goes out of scope.
struct Handle {
    HINTERNET h = nullptr;
    ~Handle() {
        if (h) InternetCloseHandle(h);
    }
};

int Fail(HttpReply* reply, const char* step) {
    const DWORD code = GetLastError();
    reply->error = std::string(step) + " failed (WinINet error " + std::to_string(code) + ")";
    return code == ERROR_INTERNET_TIMEOUT ? HTTP_TIMEOUT : HTTP_FAILED;
}

void SetTimeouts(HINTERNET handle, const HttpLimits& limits) {
    DWORD connectMs = DWORD(limits.connectSeconds * 1000), transferMs = DWORD(limits.transferSeconds * 1000);
    // A failed option only leaves WinINet's own (longer) default in force.
    InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connectMs, sizeof connectMs);
    InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &transferMs, sizeof transferMs);
    InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &transferMs, sizeof transferMs);
}

}  // namespace

int PostForm(const std::string& url, const std::string& form, const std::string& userAgent,
             const HttpLimits& limits, HttpReply* reply) {
    *reply = HttpReply{};
    const std::wstring wideUrl = ToWide(url.c_str());
    wchar_t host[256] = L"", path[2048] = L"";
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2048;
    if (!InternetCrackUrlW(wideUrl.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
        reply->error = "not an http:// or https:// address: " + url;
        return HTTP_FAILED;
    }
    Handle session, connection, request;
    session.h = InternetOpenW(ToWide(userAgent.c_str()).c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session.h) return Fail(reply, "InternetOpen");
    SetTimeouts(session.h, limits);
    connection.h = InternetConnectW(session.h, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    if (!connection.h) return Fail(reply, "InternetConnect");
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    request.h = HttpOpenRequestW(connection.h, L"POST", path, nullptr, nullptr, nullptr, flags, 0);
    if (!request.h) return Fail(reply, "HttpOpenRequest");
    SetTimeouts(request.h, limits);   // Wine's WinINet takes the read timeout from the request only
    static const wchar_t kHeaders[] = L"Content-Type: application/x-www-form-urlencoded\r\n";
    const ULONGLONG started = GetTickCount64();
    if (!HttpSendRequestW(request.h, kHeaders, DWORD(-1), const_cast<char*>(form.data()), DWORD(form.size())))
        return Fail(reply, "HttpSendRequest");
    DWORD number = 0, size = sizeof number;
    if (HttpQueryInfoW(request.h, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &number, &size, nullptr))
        reply->status = long(number);
    size = sizeof number;
    if (HttpQueryInfoW(request.h, HTTP_QUERY_RETRY_AFTER | HTTP_QUERY_FLAG_NUMBER, &number, &size, nullptr))
        reply->retryAfterSeconds = int(number);
    char buffer[16384];
    for (;;) {
        DWORD got = 0;
        if (!InternetReadFile(request.h, buffer, sizeof buffer, &got)) return Fail(reply, "InternetReadFile");
        if (got == 0) break;
        reply->body.append(buffer, got);
        if (GetTickCount64() - started > ULONGLONG(limits.transferSeconds) * 1000) {
            reply->error = "the reply took longer than " + std::to_string(limits.transferSeconds) + " s";
            return HTTP_TIMEOUT;
        }
    }
    return HTTP_OK;
}
