// Where data.ini is looked for: always the current working directory.
#pragma once

#include <span>
#include <string_view>

inline constexpr std::string_view kConfigFileName = "data.ini";

// Writes "<directory>\data.ini" into out, dropping one trailing backslash of the
// directory (a drive root such as "C:\"). Returns false and leaves out empty when
// the directory is empty or the composed path does not fit.
bool BuildConfigPath(std::string_view directory, std::span<char> out);
