// Which VCP codes a monitor's MCCS capabilities string lists. Real strings are messy
// (no spaces, nested value groups, stray parentheses, trailing NULs); one that cannot
// be read counts as unparsed, and its monitor's codes are then probed one by one.
#pragma once

#include <bitset>
#include <string_view>

struct VcpCodes {
    bool parsed = false;
    std::bitset<256> listed;
};

// The codes of the first page-0 "vcp(...)" segment.
VcpCodes ParseCapabilities(std::string_view caps);
