#include "monitor/Capabilities.h"

#include <cstddef>

#include "base/Text.h"

namespace {

constexpr std::string_view kVcp = "vcp";

// Codes whose write is an action or a switch, never a level.
constexpr std::uint8_t kNeverWritten[] = {
    // Any write starts an action: degauss, new-control flag, soft controls, auto setup.
    0x01, 0x02, 0x03, 0x1E, 0x1F,
    // Resets: factory, brightness and contrast, geometry, colour, TV.
    0x04, 0x05, 0x06, 0x08, 0x0A,
    // Switches among presets or sources: colour preset, input source, display mode.
    0x14, 0x60, 0xDC,
    // Stores or recalls the monitor's settings.
    0xB0,
    // The monitor's own menu and its language: a wrong value can lock the user out of it.
    0xCA, 0xCC,
    // Power mode: standby or off blanks the screen that the user is adjusting.
    0xD6,
    // The MCCS version, which is read-only.
    0xDF,
};
// Manufacturer-specific: what a write does is known only to its maker.
constexpr std::uint8_t kFirstManufacturerCode = 0xE0;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Monitors pad the reply with NULs and blanks.
constexpr std::string_view kPadding{" \t\r\n\0", 5};

// Where the page-0 vcp list begins (just past its "("), or npos. The name must start a
// segment: "vcp_p02(" is another page, and a name inside a model's text that merely
// ends in "vcp" is no segment.
std::size_t FindVcpList(std::string_view s)
{
    for (std::size_t at = 0; at + kVcp.size() <= s.size(); ++at) {
        bool match = true;
        for (std::size_t k = 0; k < kVcp.size() && match; ++k) match = Lower(s[at + k]) == kVcp[k];
        if (!match) continue;
        const char before = at == 0 ? '(' : s[at - 1];
        if (before != '(' && before != ')' && !IsSpace(before)) continue;
        std::size_t open = at + kVcp.size();
        while (open < s.size() && IsSpace(s[open])) ++open;
        if (open < s.size() && s[open] == '(') return open + 1;
    }
    return std::string_view::npos;
}

}  // namespace

VcpCodes ParseCapabilities(std::string_view caps)
{
    VcpCodes codes;
    const std::string_view s = Trim(caps, kPadding);
    const std::size_t start = FindVcpList(s);
    if (start == std::string_view::npos) return codes;

    // Codes are the hex pairs at depth 0; a code's value group, however deeply nested,
    // is skipped. A list cut off by the end of the string keeps the codes read so far.
    int depth = 0;
    int digits = 0;  // of the code being read
    unsigned code = 0;
    int last = -1;  // the code just read, which a value group belongs to
    for (std::size_t at = start; at < s.size(); ++at) {
        const char c = s[at];
        if (c == '(') {
            if (depth == 0 && digits == 0 && last >= 0) codes.withValues.set(static_cast<std::size_t>(last));
            ++depth;
        } else if (c == ')') {
            if (depth == 0) {
                if (digits != 0) return {};  // a lone hex digit ends the list
                break;
            }
            --depth;
        } else if (depth == 0) {
            const int digit = HexDigit(c);
            if (digit >= 0) {
                code = code * 16 + static_cast<unsigned>(digit);
                if (++digits == 2) {
                    codes.listed.set(code);
                    last = static_cast<int>(code);
                    digits = 0;
                    code = 0;
                }
                continue;
            }
            if (!IsSpace(c) || digits != 0) return {};  // junk, or a lone hex digit
        }
        if (digits != 0) return {};
    }
    codes.parsed = true;
    return codes;
}

bool SliderMayWrite(std::uint8_t code, const VcpCodes& caps)
{
    if (code >= kFirstManufacturerCode) return false;
    for (const std::uint8_t never : kNeverWritten)
        if (code == never) return false;
    return !(caps.parsed && caps.withValues.test(code));
}
