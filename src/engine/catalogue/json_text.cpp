#include "engine/catalogue/json_text.h"

#include <cstring>

const JsonValue* JsonValue::Find(const char* key) const {
    for (size_t i = 0; i < keys.size(); i++)
        if (keys[i] == key) return &items[i];
    return nullptr;
}

namespace {

struct Reader {
    const std::string& s;
    size_t at;

    void Blanks() {
        while (at < s.size() && (s[at] == ' ' || s[at] == '\t' || s[at] == '\r' || s[at] == '\n')) at++;
    }
    bool Take(char c) {
        Blanks();
        if (at < s.size() && s[at] == c) {
            at++;
            return true;
        }
        return false;
    }
    bool Word(const char* word) {
        const size_t n = std::strlen(word);
        if (s.compare(at, n, word) != 0) return false;
        at += n;
        return true;
    }
    int Hex4(unsigned* out) {
        if (at + 4 > s.size()) return JSON_BAD;
        unsigned v = 0;
        for (int i = 0; i < 4; i++) {
            const char c = s[at++];
            v <<= 4;
            if (c >= '0' && c <= '9') v |= unsigned(c - '0');
            else if (c >= 'a' && c <= 'f') v |= unsigned(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') v |= unsigned(c - 'A' + 10);
            else return JSON_BAD;
        }
        *out = v;
        return JSON_OK;
    }
    static void PutUtf8(unsigned code, std::string* out) {
        if (code < 0x80) {
            *out += char(code);
        } else if (code < 0x800) {
            *out += char(0xC0 | code >> 6);
            *out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            *out += char(0xE0 | code >> 12);
            *out += char(0x80 | (code >> 6 & 0x3F));
            *out += char(0x80 | (code & 0x3F));
        } else {
            *out += char(0xF0 | code >> 18);
            *out += char(0x80 | (code >> 12 & 0x3F));
            *out += char(0x80 | (code >> 6 & 0x3F));
            *out += char(0x80 | (code & 0x3F));
        }
    }
    // At the opening quote.
    int String(std::string* out) {
        at++;
        for (;;) {
            if (at >= s.size()) return JSON_BAD;
            const unsigned char c = s[at++];
            if (c == '"') return JSON_OK;
            if (c < 0x20) return JSON_BAD;
            if (c != '\\') {
                *out += char(c);
                continue;
            }
            if (at >= s.size()) return JSON_BAD;
            const char e = s[at++];
            static const char kFrom[] = "\"\\/bfnrt", kTo[] = "\"\\/\b\f\n\r\t";
            if (const char* p = e ? std::strchr(kFrom, e) : nullptr) {
                *out += kTo[p - kFrom];
                continue;
            }
            if (e != 'u') return JSON_BAD;
            unsigned code;
            if (Hex4(&code) != JSON_OK) return JSON_BAD;
            if (code >= 0xDC00 && code <= 0xDFFF) return JSON_BAD;   // a low surrogate alone
            if (code >= 0xD800 && code <= 0xDBFF) {
                unsigned low;
                if (!Word("\\u") || Hex4(&low) != JSON_OK || low < 0xDC00 || low > 0xDFFF) return JSON_BAD;
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            }
            PutUtf8(code, out);
        }
    }
    int Number(std::string* out) {
        const size_t start = at;
        auto digits = [&] {
            const size_t from = at;
            while (at < s.size() && s[at] >= '0' && s[at] <= '9') at++;
            return at > from;
        };
        if (at < s.size() && s[at] == '-') at++;
        if (at < s.size() && s[at] == '0') at++;
        else if (!digits()) return JSON_BAD;
        if (at < s.size() && s[at] == '.' && (at++, !digits())) return JSON_BAD;
        if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
            at++;
            if (at < s.size() && (s[at] == '+' || s[at] == '-')) at++;
            if (!digits()) return JSON_BAD;
        }
        out->assign(s, start, at - start);
        return JSON_OK;
    }
    int Value(JsonValue* v, int depth) {
        if (depth > kJsonMaxDepth) return JSON_TOO_DEEP;
        Blanks();
        if (at >= s.size()) return JSON_BAD;
        const char c = s[at];
        if (c == '"') {
            v->kind = JsonValue::JSON_STRING;
            return String(&v->text);
        }
        if (c == '{' || c == '[') {
            const bool object = c == '{';
            const char close = object ? '}' : ']';
            v->kind = object ? JsonValue::JSON_OBJECT : JsonValue::JSON_ARRAY;
            at++;
            if (Take(close)) return JSON_OK;
            do {
                if (object) {
                    Blanks();
                    std::string key;
                    if (at >= s.size() || s[at] != '"' || String(&key) != JSON_OK || !Take(':')) return JSON_BAD;
                    v->keys.push_back(key);
                }
                v->items.emplace_back();
                if (const int r = Value(&v->items.back(), depth + 1)) return r;
            } while (Take(','));
            return Take(close) ? JSON_OK : JSON_BAD;
        }
        for (const char* word : {"true", "false"})
            if (Word(word)) {
                v->kind = JsonValue::JSON_BOOL;
                v->text = word;
                return JSON_OK;
            }
        if (Word("null")) return JSON_OK;
        v->kind = JsonValue::JSON_NUMBER;
        return Number(&v->text);
    }
};

}  // namespace

int ParseJson(const std::string& text, JsonValue* out) {
    Reader r{text, text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? size_t(3) : size_t(0)};
    JsonValue value;
    if (const int result = r.Value(&value, 0)) return result;
    r.Blanks();
    if (r.at != text.size()) return JSON_BAD;
    *out = std::move(value);
    return JSON_OK;
}
