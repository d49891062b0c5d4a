// Numbers as data.ini and the pattern keywords write them.
#pragma once

#include <cstdint>
#include <string_view>

// Leading white space, an optional sign, digits up to the first other character; no
// digits give 0, and values beyond 32 bits clamp.
std::int32_t ParseNumber(std::string_view text);
