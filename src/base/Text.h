// Bounded text operations for the fixed-size buffers of AppState.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// How the bytes of a text are to be read. A text from data.ini keeps its file's kind:
// an ANSI file's bytes stay as they are, so they are cut, measured and shown exactly as
// before; UTF-8 and UTF-16 files give UTF-8. Lumetta's own texts are ASCII, which reads
// the same either way.
enum class TextEncoding : std::uint8_t { Ansi, Utf8 };
inline constexpr TextEncoding kOwnText = TextEncoding::Utf8;

// Copies at most dest.size() - 1 characters of src and always terminates.
// Returns the number of characters copied.
std::size_t CopyText(std::span<char> dest, std::string_view src);
// The same, but a UTF-8 text is cut before a character that does not fit whole.
std::size_t CopyText(std::span<char> dest, std::string_view src, TextEncoding encoding);

// The text without any of those characters at either end.
std::string_view Trim(std::string_view text, std::string_view characters = " ");

// Equal but for the case of ASCII letters, as Windows compares keys and options.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);
// Monitor names as the system gives them, compared within their buffers.
bool SameMonitorName(const char* a, const char* b);

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view text);
// The value of a hex digit in either case; -1 for any other character.
int HexDigit(char c);
void AppendUtf8(std::string& text, char32_t character);
