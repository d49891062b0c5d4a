// Every text reaches Windows as UTF-16, through the W functions. An ANSI text goes
// through the ANSI code page, as the A functions took it, so it shows as it always did.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>

#include "base/Limits.h"
#include "base/Text.h"

// No byte widens to more than one UTF-16 unit, so a line-sized buffer holds any text.
class WideText {
public:
    WideText(const char* text, TextEncoding encoding)
    {
        const UINT codePage = encoding == TextEncoding::Utf8 ? CP_UTF8 : CP_ACP;
        const int bytes = static_cast<int>(strnlen(text, kLineSize - 1));
        const int units = MultiByteToWideChar(codePage, 0, text, bytes, wide_, kLineSize - 1);
        wide_[units] = L'\0';
    }
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;
    const wchar_t* Get() const { return wide_; }

private:
    wchar_t wide_[kLineSize];
};

// Paths and command lines, which may be far longer than a line of text, between the
// system's UTF-16 and Lumetta's UTF-8.
inline std::wstring WideOfUtf8(const char* text)
{
    const int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 1), L'\0');
    if (units > 0) MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), units);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

inline std::string Utf8OfWide(const wchar_t* wide)
{
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes > 0 ? bytes : 1), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
    text.resize(strlen(text.c_str()));
    return text;
}
