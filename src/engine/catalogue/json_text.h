// A small strict JSON reader for the search service's replies: the whole
// text becomes a tree of values; strings come out as UTF-8 (\u escapes,
// surrogate pairs included, are decoded).
#pragma once

#include <string>
#include <vector>

struct JsonValue {
    enum Kind { JSON_NULL, JSON_BOOL, JSON_NUMBER, JSON_STRING, JSON_ARRAY, JSON_OBJECT };
    Kind kind = JSON_NULL;
    std::string text;                 // a string's text, a number as written, "true" or "false"
    std::vector<JsonValue> items;     // an array's elements, an object's values
    std::vector<std::string> keys;    // an object's keys, one per item

    // The value of `key` in an object (the first, if repeated); nullptr when absent.
    const JsonValue* Find(const char* key) const;
};

enum JsonResult {
    JSON_OK = 0,
    JSON_BAD = 1,        // not JSON, cut off, or text after the value
    JSON_TOO_DEEP = 2,   // nested deeper than kJsonMaxDepth
};
enum { kJsonMaxDepth = 64 };

// Reads `text` (UTF-8, a leading byte-order mark allowed). *out is replaced on success only.
int ParseJson(const std::string& text, JsonValue* out);
