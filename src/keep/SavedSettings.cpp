#include "keep/SavedSettings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "base/Text.h"
#include "config/Config.h"
#include "monitor/Capabilities.h"

namespace {

constexpr std::string_view kHeader =
    "; Lumetta's saved monitor settings: the values of the last run that changed them, for\n"
    "; lumetta --restore. Lumetta rewrites this file whole.\n";

std::string_view Trimmed(std::string_view s) { return Trim(s, " \t\r"); }

// "VCP10=80": a code and a value of at most 16 bits, as MCCS has.
bool ReadValue(std::string_view line, std::uint8_t& code, std::uint32_t& value)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    const int named = VcpCode(Trimmed(line.substr(0, equals)));
    const std::string_view number = Trimmed(line.substr(equals + 1));
    if (named < 0 || number.empty()) return false;
    code = static_cast<std::uint8_t>(named);
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    constexpr std::uint32_t kLargestValue = 0xFFFF;
    return error == std::errc{} && end == number.data() + number.size() && value <= kLargestValue;
}

int IndexOf(const SavedSettings& saved, std::string_view key)
{
    for (int i = 0; i < std::clamp(saved.count, 0, kMaxSavedMonitors); ++i)
        if (!key.empty() && key == saved.monitors[i].key) return i;
    return -1;
}

// The monitor kept under this key, added when there is room; null for a key that cannot be kept.
SavedMonitor* FindOrAdd(SavedSettings& saved, std::string_view key)
{
    if (key.empty() || key.size() >= kMonitorKeySize) return nullptr;
    if (const int i = IndexOf(saved, key); i >= 0) return &saved.monitors[i];
    if (saved.count >= kMaxSavedMonitors) return nullptr;
    SavedMonitor* added = &saved.monitors[saved.count++];
    *added = {};
    CopyText(added->key, key);
    return added;
}

// Only what a slider may write is kept, whether the file or the wizard brings it.
void SetValue(SavedMonitor& monitor, std::uint8_t code, std::uint32_t value)
{
    if (!SliderMayWrite(code, VcpCodes{})) return;
    monitor.count = std::clamp(monitor.count, 0, kMaxSavedCodes);
    for (int i = 0; i < monitor.count; ++i) {
        if (monitor.codes[i] != code) continue;
        monitor.values[i] = value;
        return;
    }
    if (monitor.count == kMaxSavedCodes) return;
    monitor.codes[monitor.count] = code;
    monitor.values[monitor.count++] = value;
}

}  // namespace

SavedSettings ParseSavedSettings(std::string_view text)
{
    SavedSettings saved{};
    SavedMonitor* current = nullptr;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.starts_with('[')) {
            current = nullptr;
            const std::string_view key = line.substr(1, line.size() >= 2 && line.back() == ']' ? line.size() - 2 : 0);
            if (IsValidUtf8(key)) current = FindOrAdd(saved, key);
            continue;
        }
        std::uint8_t code = 0;
        std::uint32_t value = 0;
        if (current != nullptr && ReadValue(line, code, value)) SetValue(*current, code, value);
    }
    return saved;
}

std::string FormatSavedSettings(const SavedSettings& saved)
{
    std::string text(kHeader);
    for (int i = 0; i < std::clamp(saved.count, 0, kMaxSavedMonitors); ++i) {
        const SavedMonitor& monitor = saved.monitors[i];
        if (monitor.count <= 0) continue;
        text.append("\n[").append(monitor.key).append("]\n");
        for (int k = 0; k < std::min(monitor.count, kMaxSavedCodes); ++k) {
            char line[32];
            std::snprintf(line, sizeof line, "VCP%02X=%u\n", monitor.codes[k], static_cast<unsigned>(monitor.values[k]));
            text += line;
        }
    }
    return text;
}

void SaveValues(SavedSettings& saved, std::string_view key, std::span<const std::uint8_t> codes,
                std::span<const std::uint32_t> values)
{
    SavedMonitor* monitor = FindOrAdd(saved, key);
    if (monitor == nullptr) return;
    for (std::size_t i = 0; i < std::min(codes.size(), values.size()); ++i) SetValue(*monitor, codes[i], values[i]);
}

const SavedMonitor* SavedFor(const SavedSettings& saved, std::string_view key)
{
    const int i = IndexOf(saved, key);
    return i >= 0 ? &saved.monitors[i] : nullptr;
}

std::vector<std::string> MonitorKeys(std::span<const MonitorFacts* const> monitors)
{
    std::vector<std::string> keys;
    std::vector<bool> needsPath;
    for (const MonitorFacts* facts : monitors) {
        const EdidInfo& edid = facts->edid;
        if (!edid.valid) {
            keys.emplace_back();
            needsPath.push_back(true);
            continue;
        }
        char key[64];
        std::snprintf(key, sizeof key, "%s %04X", edid.manufacturer, static_cast<unsigned>(edid.productCode));
        std::string text = key;
        if (edid.serialNumber != 0)
            text.append(" ").append(std::to_string(edid.serialNumber));
        else if (edid.serialText[0] != '\0')
            text.append(" ").append(edid.serialText);
        keys.push_back(text);
        needsPath.push_back(edid.serialNumber == 0 && edid.serialText[0] == '\0');
    }
    for (std::size_t i = 0; i < keys.size(); ++i)
        for (std::size_t j = 0; j < keys.size(); ++j)
            if (i != j && !keys[i].empty() && keys[i] == keys[j]) needsPath[i] = true;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (!needsPath[i]) continue;
        const std::string_view path = monitors[i]->devicePath;
        if (path.empty())
            keys[i].clear();
        else
            keys[i].append(keys[i].empty() ? "" : " ").append(path);
    }
    return keys;
}
