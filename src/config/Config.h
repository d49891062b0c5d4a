// Every read of data.ini: the model list, the wizard's captions, one model's steps
// and the free texts of the MODELS section, stored into AppState.
#pragma once

#include <array>
#include <span>
#include <cstdint>
#include <string_view>

#include "base/Limits.h"
#include "platform/Platform.h"

// Display names of the models, in the order of their keys; not kept in AppState.
struct ModelNames {
    char names[kMaxModels][kValueSize];
    int count;
    TextEncoding encoding;
};

struct StepFields {
    std::string_view purpose;
    std::string_view howTo;
    std::string_view patternSpec;
    std::string_view seen;  // the rest of the line, commas included
};

struct ModelFields {
    std::string_view section;
    std::string_view displayName;  // the rest of the line, commas included
};

StepFields SplitStepLine(std::string_view line);
ModelFields SplitModelLine(std::string_view line);

// Turns each backslash followed by a lower-case n into CR LF, in place.
void ExpandLineBreaks(char* text);

// Fills the section names of the models table and returns the display names.
void LoadModelList(Platform& platform, ModelNames& names);
void ApplyButtonCaptions(Platform& platform);
// Loads the steps of the model at index into the steps table.
void LoadModelSteps(Platform& platform, int index);
// One text of the MODELS section, line breaks expanded, in AppState's scratch text
// (its encoding beside it).
const char* ReadModelsText(Platform& platform, const char* key);

// The settings named by a CONTROL value ("Brightness, Contrast", "VCP62"): at most
// kMaxSettingRows known names, in their order; unknown names are skipped.
int ParseControlNames(std::string_view value, std::uint8_t (&codes)[kMaxSettingRows]);
// A text of the BUTTONS section, or the English fallback when the key is missing;
// returns the text's encoding.
TextEncoding ReadButtonText(Platform& platform, const char* key, const char* fallback, std::span<char> out);
// The label of a setting's row.
TextEncoding ReadSettingLabel(Platform& platform, std::uint8_t code, std::span<char> out);
// The settings CONTROL names by name, in the order the user guide lists them.
struct NamedSetting {
    std::string_view name;  // as CONTROL writes it: exact, case-sensitive
    std::uint8_t code;
    const char* key;  // of the label in BUTTONS
    const char* label;
};
std::span<const NamedSetting> NamedSettings();
// "VCP" and two hex digits, as CONTROL and the saved settings write a code; -1 for anything else.
int VcpCode(std::string_view name);
// A key of the section of the model at that index of the models table; empty for an
// index outside it.
TextEncoding ReadModelValue(Platform& platform, int index, const char* key, std::span<char> out);
