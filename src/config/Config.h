// Every read of data.ini: the model list, the wizard's captions, one model's steps
// and the free texts of the MODELS section, stored into AppState.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "app/AppState.h"
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

// Decimal number as data.ini writes it: leading white space, an optional sign, digits
// up to the first other character; no digits give 0, and values beyond 32 bits clamp.
std::int32_t ParseNumber(std::string_view text);

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
