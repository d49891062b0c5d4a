#include "base/Text.h"

#include <algorithm>
#include <cstring>

#include "base/Limits.h"

namespace {

constexpr unsigned Byte(char c) { return static_cast<unsigned char>(c); }
constexpr bool IsContinuation(char c) { return (Byte(c) & 0xC0) == 0x80; }

// Length of the sequence that a lead byte starts, and the range of its second byte;
// 0 for a byte that starts none.
struct Lead {
    std::size_t length;
    unsigned low;
    unsigned high;
};
constexpr Lead LeadOf(unsigned b)
{
    if (b < 0x80) return {1, 0, 0};
    if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
    if (b == 0xE0) return {3, 0xA0, 0xBF};
    if (b == 0xED) return {3, 0x80, 0x9F};  // no surrogates
    if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
    if (b == 0xF0) return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
    if (b == 0xF4) return {4, 0x80, 0x8F};  // nothing beyond U+10FFFF
    return {0, 0, 0};
}

// The longest prefix of text[0, n) that ends on a character boundary of valid UTF-8.
std::size_t Utf8Boundary(std::string_view text, std::size_t n)
{
    std::size_t start = n;
    while (start > 0 && n - start < 3 && IsContinuation(text[start - 1])) --start;
    if (start == 0) return n;
    const std::size_t lead = start - 1;
    return lead + LeadOf(Byte(text[lead])).length > n ? lead : n;
}

}  // namespace

std::size_t CopyText(std::span<char> dest, std::string_view src)
{
    if (dest.empty()) return 0;
    const std::size_t n = std::min(src.size(), dest.size() - 1);
    std::copy_n(src.data(), n, dest.data());
    dest[n] = '\0';
    return n;
}

std::size_t CopyText(std::span<char> dest, std::string_view src, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8 && !dest.empty())
        src = src.substr(0, Utf8Boundary(src, std::min(src.size(), dest.size() - 1)));
    return CopyText(dest, src);
}

std::string_view Trim(std::string_view text, std::string_view characters)
{
    const std::size_t first = text.find_first_not_of(characters);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(characters) - first + 1);
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    constexpr auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, {}, lower, lower);
}

bool SameMonitorName(const char* a, const char* b)
{
    return std::strncmp(a, b, kMonitorNameSize) == 0;
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const Lead lead = LeadOf(Byte(text[i]));
        if (lead.length == 0 || text.size() - i < lead.length) return false;
        for (std::size_t k = 1; k < lead.length; ++k) {
            const unsigned b = Byte(text[i + k]);
            if (k == 1 ? (b < lead.low || b > lead.high) : !IsContinuation(text[i + k])) return false;
        }
        i += lead.length;
    }
    return true;
}

void AppendUtf8(std::string& text, char32_t character)
{
    const auto add = [&text](char32_t bits) { text += static_cast<char>(bits); };
    if (character < 0x80) {
        add(character);
    } else if (character < 0x800) {
        add(0xC0 | character >> 6);
        add(0x80 | (character & 0x3F));
    } else if (character < 0x10000) {
        add(0xE0 | character >> 12);
        add(0x80 | (character >> 6 & 0x3F));
        add(0x80 | (character & 0x3F));
    } else {
        add(0xF0 | character >> 18);
        add(0x80 | (character >> 12 & 0x3F));
        add(0x80 | (character >> 6 & 0x3F));
        add(0x80 | (character & 0x3F));
    }
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
