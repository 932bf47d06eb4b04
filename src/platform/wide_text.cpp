#include "platform/wide_text.h"

std::wstring ToWide(const char* text, UINT codePage) {
    const int n = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (n <= 1) return std::wstring();
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(codePage, 0, text, -1, &wide[0], n);
    wide.resize(size_t(n - 1));
    return wide;
}

std::string FromWide(const wchar_t* wide, UINT codePage) {
    const int n = WideCharToMultiByte(codePage, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(codePage, 0, wide, -1, &out[0], n, nullptr, nullptr);
    out.resize(size_t(n - 1));
    return out;
}
