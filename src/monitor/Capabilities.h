// Which VCP codes a monitor's MCCS capabilities string lists. Real strings are messy
// (no spaces, nested value groups, stray parentheses, trailing NULs); one that cannot
// be read counts as unparsed, and its monitor's codes are then probed one by one.
#pragma once

#include <bitset>
#include <cstdint>
#include <string_view>

struct VcpCodes {
    bool parsed = false;
    std::bitset<256> listed;
    // Listed with a list of values, as "60(0F 11 12)": the monitor itself says that
    // such a setting is a choice among a few, not a level.
    std::bitset<256> withValues;
};

// The codes of the first page-0 "vcp(...)" segment.
VcpCodes ParseCapabilities(std::string_view caps);

// Whether a trackbar may write the code: only a setting that is a level, never one whose
// write resets, switches or acts. Guides are written and translated by users, so this
// holds whatever their CONTROL keys name.
bool SliderMayWrite(std::uint8_t code, const VcpCodes& caps);
