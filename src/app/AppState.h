// The one record of shared state: wizard position, the tables read from data.ini,
// the current monitor and what the wizard asks of it. Lives in static storage for the whole run.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/Limits.h"
#include "base/Text.h"
#include "keep/SettingNotes.h"
#include "monitor/MonitorCheck.h"
#include "monitor/Monitors.h"
#include "platform/Platform.h"

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
    // The monitor settings (VCP codes) that the step's CONTROL key names.
    std::uint8_t controls[kMaxSettingRows];
    std::int32_t controlCount;
};

// The name of one model's own section in data.ini, and the name the list shows, which
// the report gives.
struct ModelEntry {
    char section[kValueSize];
    char displayName[kValueSize];
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
    char monitorName[kMonitorNameSize] = {};
    NativeHandle instance = nullptr;
    std::int32_t firstPaintPending = 0;
    char scratch[kValueSize] = {};
    TextEncoding scratchEncoding = TextEncoding::Ansi;  // of a data.ini text in the scratch text
    // The monitor settings of the current step: what the wizard last asked of the
    // DDC/CI worker, and the worker's last answer to it.
    SettingsRequest settingsRequest = {};
    SettingsReport settingsShown = {};
    // The current monitor as the system describes it, the lines step 1 shows about it,
    // and the model that Next takes at step 1 before one is chosen.
    MonitorFacts monitorFacts = {};
    MonitorLines monitorLines = {};
    int suggestedModel = 0;
    // What is kept of the run: the model chosen, every monitor
    // setting read or set, and the report. The last step is reached only through every
    // pattern step of the model, so the report tells them all.
    std::int32_t modelIndex = -1;  // in the models table, of the model whose steps are loaded
    TextEncoding modelNamesEncoding = TextEncoding::Ansi;  // of the models' display names
    SettingNotes settingNotes = {};
    std::uint32_t savedRevision = 0;  // of the setting notes last written to the saved settings
    char reportName[kValueSize] = {};
    char reportPath[kConfigPathSize] = {};  // where it is, or empty
    char reportProblem[kValueSize] = {};    // why it could not be written, or empty
};

extern AppState g_app;

// Steps 2 to N + 1 show a pattern; step 1 chooses the model and the last step shows
// the user's own screen again.
inline bool IsPatternStep(const AppState& app) { return app.currentStep > 1 && app.currentStep < app.stepCount; }

// The current monitor, as AppState keeps it.
Rect CurrentMonitorRect();
void MakeCurrentMonitor(const Monitor& monitor);
