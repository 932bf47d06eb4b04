#include "engine/catalogue/search_source.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "engine/catalogue/json_text.h"

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

// A field as text: strings as they are, numbers as written; "" when missing or null.
static std::string Field(const JsonValue& event, const char* name) {
    const JsonValue* v = event.Find(name);
    return v && (v->kind == JsonValue::JSON_STRING || v->kind == JsonValue::JSON_NUMBER) ? v->text : std::string();
}

// The service writes a text that is not a number when the magnitude is
// unknown; the shared mapping takes an empty text as unknown.
static std::string MagnitudeText(const std::string& text) {
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    bool number = !text.empty() && end && *end == '\0';
    return number ? text : std::string();
}

// The position as an export writes it (degrees and minutes, "latS"/"lonS"),
// so that a reply and a CSV export of the same events give the same grid
// position; the decimal "lat"/"lon" only where the text is missing.
static std::string Position(const JsonValue& event, const char* text, const char* decimal) {
    const std::string minutes = Field(event, text);
    return minutes.empty() || minutes == "-" ? Field(event, decimal) : minutes;
}

int ParseSearchReply(const std::string& body, std::vector<SearchEvent>* events, std::string* message) {
    events->clear();
    message->clear();
    if (LooksLikeHtml(body)) {
        *message = "an HTML page, not JSON";
        return REPLY_HTML;
    }
    JsonValue reply;
    if (ParseJson(body, &reply) != JSON_OK) {
        *message = "not JSON, or cut off";
        return REPLY_BAD_JSON;
    }
    const JsonValue* res = reply.Find("res");
    if (res && res->kind == JsonValue::JSON_STRING) {
        *message = res->text.empty() ? "the search failed and gave no reason" : res->text;
        return REPLY_MESSAGE;
    }
    if (!res || res->kind != JsonValue::JSON_ARRAY) {
        *message = "no \"res\" list";
        return REPLY_BAD_SHAPE;
    }
    std::vector<SearchEvent> out;
    for (const JsonValue& e : res->items) {
        if (e.kind != JsonValue::JSON_OBJECT) {
            *message = "an event that is not an object";
            return REPLY_BAD_SHAPE;
        }
        // "ot" is the origin time in Japan time: "2011/03/11 14:46:18.1".
        EventText t{Field(e, "ot"), std::string(), Field(e, "name"), Position(e, "latS", "lat"),
                    Position(e, "lonS", "lon"), Field(e, "dep"), MagnitudeText(Field(e, "mag")), Field(e, "maxI")};
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
