// Bounded text operations for the fixed-size buffers of AppState.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

// Copies at most dest.size() - 1 characters of src and always terminates.
// Returns the number of characters copied.
std::size_t CopyText(std::span<char> dest, std::string_view src);
