// The one record of shared state: wizard position, the tables read from data.ini,
// the current monitor and the window handles. Lives in static storage for the whole run.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/Text.h"

inline constexpr int kMaxModels = 20;
inline constexpr int kMaxSteps = 20;
inline constexpr std::size_t kValueSize = 520;  // one configuration value, at most 519 characters
inline constexpr std::size_t kLineSize = 1040;  // a model or step line before it is split
// Room for the longest path the platform can name (its extended-length limit) plus a zero.
inline constexpr std::size_t kConfigPathSize = 32768;
// A monitor's device name, as the platform gives it (CCHDEVICENAME).
inline constexpr std::size_t kMonitorNameSize = 32;

// Window and module handles stay opaque here so that the core never needs <windows.h>.
using NativeHandle = void*;

// Which wizard controls are enabled; bit 3 has no control.
namespace EnableMask {
inline constexpr std::int32_t kPrevious = 1;
inline constexpr std::int32_t kNext = 2;
inline constexpr std::int32_t kQuit = 4;
inline constexpr std::int32_t kModelCombo = 16;
inline constexpr std::int32_t kFirstStep = kModelCombo | kQuit | kNext;  // 22
inline constexpr std::int32_t kMiddleStep = kPrevious | kNext | kQuit;   // 7
inline constexpr std::int32_t kLastStep = kPrevious | kQuit;             // 5
}  // namespace EnableMask

// Order inside the record differs from the order of the fields in a step line.
struct StepRecord {
    char purpose[kValueSize];
    char howTo[kValueSize];
    char seen[kValueSize];
    char patternSpec[kValueSize];
};

// The name of one model's own section in data.ini; its display name lives only in the list.
struct ModelEntry {
    char section[kValueSize];
};

struct AppState {
    std::int32_t enableMask = EnableMask::kFirstStep;
    std::int32_t currentStep = 1;
    std::int32_t stepCount = 0;        // loadedStepCount + 2; 0 until a model is loaded
    std::int32_t loadedStepCount = 0;  // N: StepRecords 0 to N - 1 hold the loaded model
    StepRecord steps[kMaxSteps] = {};
    TextEncoding stepsEncoding = TextEncoding::Ansi;  // of the loaded model's texts
    ModelEntry models[kMaxModels] = {};
    char configPath[kConfigPathSize] = {};
    // The current monitor, on which the pattern window lies and the wizard is placed:
    // the primary at the start. Its origin is in virtual-screen pixels.
    std::int32_t screenLeft = 0;
    std::int32_t screenTop = 0;
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    // One more than the platform's buffer: a name may fill all of it without a zero.
    char monitorName[kMonitorNameSize + 1] = {};
    NativeHandle patternWindow = nullptr;
    NativeHandle dialogWindow = nullptr;
    NativeHandle instance = nullptr;
    std::int32_t firstPaintPending = 0;
    char scratch[kValueSize] = {};
    TextEncoding scratchEncoding = TextEncoding::Ansi;  // of a data.ini text in the scratch text
};

extern AppState g_app;

