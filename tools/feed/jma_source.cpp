#include "jma_source.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include <nlohmann/json.hpp>

const char* const kJmaEndpoint = "https://www.data.jma.go.jp/svd/eqdb/data/shindo/api/api.php";

static std::string Escape(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += char(c);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        }
    }
    return out;
}

std::string SearchForm(const JstMinute& from, const JstMinute& to) {
    auto date = [](const JstMinute& t) {
        char s[16];
        std::snprintf(s, sizeof s, "%04d-%02d-%02d", t.year, t.month, t.day);
        return std::string(s);
    };
    auto time = [](const JstMinute& t) {
        char s[8];
        std::snprintf(s, sizeof s, "%02d:%02d", t.hour, t.minute);
        return std::string(s);
    };
    // Repeated names carry the two ends of a range.
    const std::pair<const char*, std::string> fields[] = {
        {"mode", "search"},       {"dateTimeF[]", date(from)}, {"dateTimeF[]", time(from)},
        {"dateTimeT[]", date(to)}, {"dateTimeT[]", time(to)},   {"mag[]", "0.0"},
        {"mag[]", "9.9"},          {"dep[]", "0"},              {"dep[]", "999"},
        {"maxInt", "1"},           {"Sort", "S0"},              {"Comp", "C0"},
        {"additionalC", "false"},  {"observed", "false"},       {"pref[]", "99"},
        {"city[]", "99"},          {"station[]", "99"},         {"obsInt", "1"},
        {"epi[]", "99"},           {"seisCount", "false"},
    };
    std::string body;
    for (const auto& f : fields) {
        if (!body.empty()) body += '&';
        body += Escape(f.first) + '=' + Escape(f.second);
    }
    return body;
}

static bool LooksLikeHtml(const std::string& body) {
    size_t i = body.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return i != std::string::npos && body[i] == '<';
}

// A field as text: strings as they are, numbers in their shortest form; "" when missing.
static std::string Field(const nlohmann::json& event, const char* name) {
    auto it = event.find(name);
    if (it == event.end() || it->is_null()) return std::string();
    if (it->is_string()) return it->get<std::string>();
    if (it->is_number()) return it->dump();
    return std::string();
}

// The service writes a text that is not a number when the magnitude is
// unknown; the shared mapping takes an empty text as unknown.
static std::string MagnitudeText(const std::string& text) {
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    bool number = !text.empty() && end && *end == '\0';
    return number ? text : std::string();
}

int ParseSearchReply(const std::string& body, std::vector<SearchEvent>* events, std::string* message) {
    events->clear();
    message->clear();
    if (LooksLikeHtml(body)) {
        *message = "an HTML page, not JSON";
        return REPLY_HTML;
    }
    nlohmann::json reply = nlohmann::json::parse(body, nullptr, false);
    if (reply.is_discarded()) {
        *message = "not JSON, or cut off";
        return REPLY_BAD_JSON;
    }
    const nlohmann::json* res = reply.is_object() && reply.contains("res") ? &reply["res"] : nullptr;
    if (res && res->is_string()) {
        *message = res->get<std::string>();
        return REPLY_MESSAGE;
    }
    if (!res || !res->is_array()) {
        *message = "no \"res\" list";
        return REPLY_BAD_SHAPE;
    }
    std::vector<SearchEvent> out;
    for (const nlohmann::json& e : *res) {
        if (!e.is_object()) {
            *message = "an event that is not an object";
            return REPLY_BAD_SHAPE;
        }
        // "ot" is the origin time in Japan time: "2011/03/11 14:46:18.1".
        EventText t{Field(e, "ot"), std::string(), Field(e, "name"), Field(e, "lat"), Field(e, "lon"),
                    Field(e, "dep"), MagnitudeText(Field(e, "mag")), Field(e, "maxI")};
        ParsedEvent parsed;
        if (const char* why = ParseEvent(t, &parsed)) {
            *message = "event " + Field(e, "id") + ": " + why;
            return REPLY_BAD_EVENT;
        }
        out.push_back(SearchEvent{t, parsed});
    }
    *events = out;
    return REPLY_OK;
}
