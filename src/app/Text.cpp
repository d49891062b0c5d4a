#include "app/Text.h"

#include <algorithm>

std::size_t CopyText(std::span<char> dest, std::string_view src)
{
    if (dest.empty()) return 0;
    const std::size_t n = std::min(src.size(), dest.size() - 1);
    std::copy_n(src.data(), n, dest.data());
    dest[n] = '\0';
    return n;
}
