// Reads data.ini the way Windows' GetPrivateProfileStringA does, without Win32, so that
// the core and its tests run anywhere and agree with what the program sees on Windows.
#pragma once

#include "base/Text.h"
#include "platform/Platform.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Windows measures a value's length in 16 bits: a value of 65536 characters or more
// comes back as its length modulo this.
inline constexpr std::size_t kIniValueLengthWrap = 65536;

// The value of key in the first section named section of an INI text, or nullopt.
// Names are trimmed of spaces and compared without regard to ASCII case; an empty
// section name finds nothing, an empty key name finds "=value". A NUL byte ends a name
// or value as it would a C string, but not its line.
std::optional<std::string_view> LookUpIniValue(std::string_view text, std::string_view section,
                                               std::string_view key);

// The text of a data.ini and how it is encoded.
struct IniText {
    std::string text;
    TextEncoding encoding;
};

// A byte-order mark (UTF-8, UTF-16 LE or BE) decides; without one, bytes that are all
// valid UTF-8 and not all ASCII are UTF-8; anything else is ANSI and stays as it is.
// UTF-16 becomes UTF-8; a bad UTF-16 unit, or a bad byte after a UTF-8 mark, becomes
// U+FFFD, so that a UTF-8 text is always valid.
IniText DecodeIniBytes(std::string bytes);
// The decoded file; an empty ANSI text when it is missing or unreadable.
IniText ReadIniFile(const char* path);
// At most limit bytes of a file, read in growing chunks; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path, std::size_t limit);

// Holds the text of a data.ini in memory and answers like FileIniReader, whose reads
// go through it: tests and fuzzing then exercise the program's own lookup. The path
// argument of Read is ignored.
class TextIniReader final : public IniReader {
public:
    explicit TextIniReader(std::string bytes);
    explicit TextIniReader(IniText file);
    // A null section or key finds nothing. A UTF-8 value is cut at a character boundary.
    TextEncoding Read(const char* section, const char* key, std::span<char> out,
                      const char* path) override;

private:
    IniText file_;
};

// Reads the file anew at each call: the program asks for a few dozen values, and an
// edited file takes effect at the next read.
class FileIniReader final : public IniReader {
public:
    // A null argument finds nothing: the enumerating forms of the Win32 call are not offered.
    TextEncoding Read(const char* section, const char* key, std::span<char> out,
                      const char* path) override;
};
