#include "keep/RestoreSaved.h"

#include <algorithm>
#include <cstdio>

#include "config/Config.h"
#include "monitor/Capabilities.h"
#include "monitor/SettingsWorker.h"

namespace {

std::string Label(std::uint8_t code)
{
    for (const NamedSetting& setting : NamedSettings())
        if (setting.code == code) return std::string(setting.name);
    char label[8];
    std::snprintf(label, sizeof label, "VCP%02X", code);
    return label;
}

}  // namespace

RestoreResult RestoreValues(MonitorLink& link, const std::function<bool(std::uint32_t)>& pause,
                            const char* monitorName, const SavedMonitor& saved)
{
    RestoreResult result = NoAnswerResult(saved);
    const int physical = link.Open(monitorName);
    for (int i = 0; i < result.count && physical > 0; ++i) {
        RestoreResult::Item& item = result.items[i];
        if (!SliderMayWrite(item.code, VcpCodes{})) continue;
        for (int p = 0; p < physical; ++p) link.Write(p, item.code, item.value);
        if (!pause(kWriteSpacingMs)) break;
        VcpReading reading{};
        if (!link.Read(0, item.code, reading)) continue;
        item.readBack = reading.current;
        item.outcome = reading.current == item.value ? RestoreOutcome::Taken : RestoreOutcome::NotTaken;
    }
    link.Close();
    return result;
}

RestoreResult NoAnswerResult(const SavedMonitor& saved)
{
    RestoreResult result{};
    result.count = std::clamp(saved.count, 0, kMaxSavedCodes);
    for (int i = 0; i < result.count; ++i) result.items[i] = {saved.codes[i], saved.values[i], RestoreOutcome::NoAnswer, 0};
    return result;
}

bool AllTaken(const RestoreResult& result)
{
    return std::all_of(result.items, result.items + std::clamp(result.count, 0, kMaxSavedCodes),
                       [](const RestoreResult::Item& item) { return item.outcome == RestoreOutcome::Taken; });
}

std::string DescribeRestore(std::string_view monitorName, std::string_view key, const RestoreResult& result)
{
    std::string text(monitorName);
    text.append(" (").append(key).append("):");
    for (int i = 0; i < std::clamp(result.count, 0, kMaxSavedCodes); ++i) {
        const RestoreResult::Item& item = result.items[i];
        text.append(i == 0 ? " " : ", ").append(Label(item.code)).append(" ").append(std::to_string(item.value));
        switch (item.outcome) {
        case RestoreOutcome::Taken: text.append(" set"); break;
        case RestoreOutcome::NotTaken: text.append(" not taken (reads ").append(std::to_string(item.readBack)).append(")"); break;
        case RestoreOutcome::NoAnswer: text.append(" no answer"); break;
        }
    }
    return text.append("\n");
}
