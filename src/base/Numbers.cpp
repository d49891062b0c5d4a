#include "base/Numbers.h"

#include <limits>

std::int32_t ParseNumber(std::string_view text)
{
    constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
    std::size_t at = text.find_first_not_of(kWhiteSpace);
    if (at == std::string_view::npos) return 0;
    bool negative = false;
    if (text[at] == '+' || text[at] == '-') negative = text[at++] == '-';
    // Accumulate in 64 bits and stop growing once past the 32-bit range.
    constexpr std::int64_t kBeyond = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        if (magnitude <= kBeyond) magnitude = magnitude * 10 + (text[at] - '0');
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}
