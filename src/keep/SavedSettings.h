// The monitor settings Lumetta keeps between runs, in monitors.ini (UTF-8), and what
// `lumetta --restore` does with them: after a power cut, a firmware reset, a dock or
// another computer, each monitor gets its values back.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Limits.h"
#include "monitor/MonitorCheck.h"
#include "platform/Platform.h"

struct SavedMonitor {
    char key[kMonitorKeySize];
    int count;
    std::uint8_t codes[kMaxSavedCodes];
    std::uint32_t values[kMaxSavedCodes];
};

struct SavedSettings {
    int count;
    SavedMonitor monitors[kMaxSavedMonitors];
};

// What makes sense of the text: sections named by a monitor's key holding VCPxx=value
// lines of settings a slider may write. Anything else is skipped, and is gone at the
// next save.
SavedSettings ParseSavedSettings(std::string_view text);
std::string FormatSavedSettings(const SavedSettings& saved);
// Sets a monitor's values, in place of earlier ones of the same codes; other monitors'
// entries stay.
void SaveValues(SavedSettings& saved, std::string_view key, std::span<const std::uint8_t> codes,
                std::span<const std::uint32_t> values);
const SavedMonitor* SavedFor(const SavedSettings& saved, std::string_view key);

// Each monitor's key: its EDID's maker, product and serial; the device path is added
// where the serial is missing or another connected monitor has the same key, and is the
// key of a monitor without an EDID. Empty: nothing to key it by.
std::vector<std::string> MonitorKeys(std::span<const MonitorFacts* const> monitors);
