// One HTTP POST at a time with libcurl: a User-Agent naming wolt-feed, time
// limits on connecting and on the whole transfer, the reply's status, its
// Retry-After and its body.
#pragma once

#include <string>

enum HttpResult {
    HTTP_OK = 0,          // a reply arrived (any status)
    HTTP_TIMEOUT = 1,     // connecting or the transfer took too long
    HTTP_FAILED = 2,      // no connection, or the connection broke
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

int PostForm(const std::string& url, const std::string& form, const HttpLimits& limits, HttpReply* reply);

// The User-Agent sent with every request.
extern const char* const kFeedUserAgent;
