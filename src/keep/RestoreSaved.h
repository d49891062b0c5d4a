// What `lumetta --restore` does with the saved settings: each connected monitor that has
// some gets them back, and the user is told what each monitor did with them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/Limits.h"
#include "keep/SavedSettings.h"
#include "platform/Platform.h"

enum class RestoreOutcome : std::uint8_t { Taken, NotTaken, NoAnswer };

struct RestoreResult {
    int count;
    struct Item {
        std::uint8_t code;
        std::uint32_t value;
        RestoreOutcome outcome;
        std::uint32_t readBack;  // what the monitor reads after a write it did not take
    } items[kMaxSavedCodes];
};

// One monitor's saved settings to give back, and what it did with them.
struct RestoreJob {
    char monitorName[kMonitorNameSize];
    std::string key;
    SavedMonitor saved;
    RestoreResult result;
};

// Writes each saved value to every physical monitor of the display monitor, then reads it
// back after at least kWriteSpacingMs; pause waits that long, false when time is up.
RestoreResult RestoreValues(MonitorLink& link, const std::function<bool(std::uint32_t)>& pause,
                            const char* monitorName, const SavedMonitor& saved);
// What a monitor that never answers did with its saved values: nothing.
RestoreResult NoAnswerResult(const SavedMonitor& saved);
bool AllTaken(const RestoreResult& result);
// "\\.\DISPLAY1 (LMT 1234 1001): Brightness 80 set, Contrast 70 not taken (reads 65)\n"
std::string DescribeRestore(std::string_view monitorName, std::string_view key, const RestoreResult& result);
