// One HTTP(S) POST at a time: the platform's own client (WinINet on Windows,
// libcurl elsewhere), time limits on connecting and on the whole exchange,
// the reply's status, its Retry-After and its body.
#pragma once

#include <string>

enum HttpResult {
    HTTP_OK = 0,          // a reply arrived (any status)
    HTTP_TIMEOUT = 1,     // connecting or the exchange took too long
    HTTP_FAILED = 2,      // no connection, a bad address, or the connection broke
};

struct HttpReply {
    long status = 0;
    int retryAfterSeconds = -1;   // -1 when the reply named none
    std::string body;
    std::string error;            // what went wrong, for HTTP_TIMEOUT and HTTP_FAILED
};

struct HttpLimits {
    long connectSeconds = 20;
    long transferSeconds = 120;
};

// Posts an application/x-www-form-urlencoded `form` to `url` (http:// or
// https://) with `userAgent`. The reply is replaced whatever the result.
int PostForm(const std::string& url, const std::string& form, const std::string& userAgent,
             const HttpLimits& limits, HttpReply* reply);
