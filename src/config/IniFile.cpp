#include "config/IniFile.h"

#include "base/Text.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <utility>

namespace {

// The first read holds most data.ini files whole; each later one doubles what is held.
// A fixed large chunk cost a fresh megabyte, zeroed, on every key read.
constexpr std::size_t kFirstReadChunk = 64 * 1024;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

// Windows trims names and values of these, and nothing else (not form feed).
constexpr std::string_view kBlanks = " \t\v";

std::string_view TrimBlanks(std::string_view s) { return Trim(s, kBlanks); }

std::string_view UpToNul(std::string_view s)
{
    return s.substr(0, s.find('\0'));
}

// Takes the next line off text. CR LF, LF and CR all end a line; the empty lines that
// splitting at each of them leaves behind are skipped like any blank line.
std::string_view TakeLine(std::string_view& text)
{
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    return line;
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string_view ValueOf(std::string_view raw)
{
    std::string_view value = TrimBlanks(raw);
    if (value.size() >= kIniValueLengthWrap) value = value.substr(0, value.size() % kIniValueLengthWrap);
    return Unquote(UpToNul(value));
}

constexpr bool IsHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool IsLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::string Utf8FromUtf16(std::string_view bytes, bool bigEndian)
{
    const auto unitAt = [bytes, bigEndian](std::size_t i) {
        const auto first = static_cast<std::uint8_t>(bytes[i]);
        const auto second = static_cast<std::uint8_t>(bytes[i + 1]);
        return bigEndian ? unsigned{first} << 8 | second : unsigned{second} << 8 | first;
    };
    std::string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned unit = unitAt(i);
        if (IsHighSurrogate(unit) && i + 3 < bytes.size() && IsLowSurrogate(unitAt(i + 2))) {
            AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00));
            i += 2;
        } else {
            AppendUtf8(text, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? kReplacement : unit);
        }
    }
    // A last odd byte is half a character.
    if (bytes.size() % 2 != 0) AppendUtf8(text, kReplacement);
    return text;
}

// Every byte that starts no valid sequence becomes U+FFFD.
std::string ValidUtf8(std::string_view bytes)
{
    if (IsValidUtf8(bytes)) return std::string(bytes);
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::size_t length = 1;
        while (length <= 4 && !IsValidUtf8(bytes.substr(i, length))) ++length;
        if (length > 4) {
            AppendUtf8(text, kReplacement);
            continue;
        }
        text += bytes.substr(i, length);
        i += length - 1;
    }
    return text;
}

}  // namespace

// A directory opens on some systems and then fails at the first read.
std::string ReadFileBytes(const std::filesystem::path& path, std::size_t limit)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    std::string bytes;
    while (bytes.size() < limit) {
        const std::size_t old = bytes.size();
        const std::size_t wanted = std::min(std::max(kFirstReadChunk, old), limit - old);
        bytes.resize(old + wanted);
        file.read(bytes.data() + old, static_cast<std::streamsize>(wanted));
        const auto got = static_cast<std::size_t>(file.gcount());
        bytes.resize(old + got);
        if (got < wanted) break;
    }
    if (file.bad()) return {};
    return bytes;
}

std::optional<std::string_view> LookUpIniValue(std::string_view text, std::string_view section,
                                               std::string_view key)
{
    // The caller's names lose spaces only: a tab in an argument makes the match fail.
    section = Trim(section);
    key = Trim(key);
    // The model loader asks for an empty section name and must get nothing, even where
    // Windows would find a "[]" section.
    if (section.empty()) return std::nullopt;

    bool inSection = false;
    while (!text.empty()) {
        const std::string_view line = TrimBlanks(TakeLine(text));
        if (line.empty()) continue;
        if (line.front() == '[') {
            // Only the first section of a name counts; a later one is never searched.
            if (inSection) return std::nullopt;
            // The name ends at the first ']' or, lacking one, at the end of the line.
            const std::string_view name = line.substr(1, line.find(']', 1) - 1);
            inSection = EqualIgnoringAsciiCase(UpToNul(TrimBlanks(name)), section);
            continue;
        }
        // Lines before the first section belong to no section.
        if (!inSection || line.front() == ';') continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        if (EqualIgnoringAsciiCase(UpToNul(TrimBlanks(line.substr(0, equals))), key)) {
            return ValueOf(line.substr(equals + 1));
        }
    }
    return std::nullopt;
}

IniText DecodeIniBytes(std::string bytes)
{
    const std::string_view view(bytes);
    if (view.starts_with(kUtf8Mark)) return {ValidUtf8(view.substr(kUtf8Mark.size())), TextEncoding::Utf8};
    if (view.starts_with(kUtf16LeMark))
        return {Utf8FromUtf16(view.substr(kUtf16LeMark.size()), false), TextEncoding::Utf8};
    if (view.starts_with(kUtf16BeMark))
        return {Utf8FromUtf16(view.substr(kUtf16BeMark.size()), true), TextEncoding::Utf8};
    const bool beyondAscii = std::ranges::any_of(view, [](char c) { return static_cast<std::uint8_t>(c) >= 0x80; });
    const TextEncoding encoding = beyondAscii && IsValidUtf8(view) ? TextEncoding::Utf8 : TextEncoding::Ansi;
    return {std::move(bytes), encoding};
}

// The path is UTF-8: a folder may be named in any script, and the system opens it by its
// wide name.
IniText ReadIniFile(const char* path)
{
    return DecodeIniBytes(
        ReadFileBytes(std::filesystem::path(std::u8string_view(reinterpret_cast<const char8_t*>(path))), kMaxIniFileBytes));
}

TextIniReader::TextIniReader(std::string bytes) : file_(DecodeIniBytes(std::move(bytes))) {}

TextIniReader::TextIniReader(IniText file) : file_(std::move(file)) {}

TextEncoding TextIniReader::Read(const char* section, const char* key, std::span<char> out, const char*)
{
    if (out.empty()) return file_.encoding;
    out[0] = '\0';
    if (!section || !key) return file_.encoding;
    if (const auto value = LookUpIniValue(file_.text, section, key)) CopyText(out, *value, file_.encoding);
    return file_.encoding;
}

TextEncoding FileIniReader::Read(const char* section, const char* key, std::span<char> out,
                                 const char* path)
{
    // A query that cannot find anything does not touch the disk.
    const bool answerable = section && key && path && !out.empty();
    return TextIniReader(answerable ? ReadIniFile(path) : IniText{}).Read(section, key, out, path);
}
