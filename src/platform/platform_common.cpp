// The parts of the platform layer that are the same on every system.
#include <map>
#include <mutex>

#include "platform/platform_os.h"

static bool sClockPinned = false;
static LocalTime sPinnedClock;
static MessageHandler sMessageHandler = nullptr;

void SetClockOverride(const LocalTime* fixed) {
    sClockPinned = fixed != nullptr;
    if (fixed) sPinnedClock = *fixed;
}

void GetLocalNow(LocalTime* out) {
    if (sClockPinned)
        *out = sPinnedClock;
    else
        OsLocalNow(out);
}

std::string LocalTimeStamp() {
    LocalTime t;
    GetLocalNow(&t);
    char text[32];
    snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day, t.hour,
             t.minute, t.second);
    return text;
}

const char* SjisText(const char* utf8Literal) {
    static std::mutex lock;
    static std::map<const char*, std::string> converted;
    std::lock_guard<std::mutex> hold(lock);
    auto found = converted.find(utf8Literal);
    if (found != converted.end()) return found->second.c_str();
    std::string sjis;
    if (Utf8ToSjis(utf8Literal, &sjis) != 0) sjis = utf8Literal;
    return converted.emplace(utf8Literal, sjis).first->second.c_str();
}

void SetMessageHandler(MessageHandler handler) { sMessageHandler = handler; }

void ShowMessage(const char* utf8Text) {
    if (sMessageHandler)
        sMessageHandler(utf8Text);
    else
        OsDefaultMessage(utf8Text);
}
