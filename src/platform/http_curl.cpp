// PostForm with libcurl (POSIX).
#include "platform/http.h"

#include <cstdlib>
#include <strings.h>

#include <curl/curl.h>

static size_t TakeBody(char* data, size_t size, size_t count, void* reply) {
    static_cast<HttpReply*>(reply)->body.append(data, size * count);
    return size * count;
}

static size_t TakeHeader(char* data, size_t size, size_t count, void* reply) {
    const size_t n = size * count;
    const char kName[] = "retry-after:";
    if (n > sizeof kName - 1 && strncasecmp(data, kName, sizeof kName - 1) == 0)
        static_cast<HttpReply*>(reply)->retryAfterSeconds = std::atoi(data + sizeof kName - 1);
    return n;
}

int PostForm(const std::string& url, const std::string& form, const std::string& userAgent,
             const HttpLimits& limits, HttpReply* reply) {
    *reply = HttpReply{};
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    CURL* curl = ready ? curl_easy_init() : nullptr;
    if (!curl) {
        reply->error = "libcurl could not start";
        return HTTP_FAILED;
    }
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, form.c_str());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, long(form.size()));
    curl_easy_setopt(curl, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.transferSeconds);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, TakeBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, reply);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, TakeHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, reply);
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply->status);
    curl_easy_cleanup(curl);
    if (code == CURLE_OK) return HTTP_OK;
    reply->error = curl_easy_strerror(code);
    return code == CURLE_OPERATION_TIMEDOUT ? HTTP_TIMEOUT : HTTP_FAILED;
}
