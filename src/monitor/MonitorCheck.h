// What Lumetta knows of the monitor it adjusts, and what in the computer's setup would
// spoil the adjustment: facts in, lines for step 1 and a suggested model out. The facts
// are gathered by the desktop side; every one of them may be unknown, and a fact that
// cannot be read is never a finding.
#pragma once

#include <cstdint>
#include <span>

#include "base/Geometry.h"
#include "base/Limits.h"
#include "base/Text.h"
#include "monitor/Edid.h"

struct DisplayMode {
    int width;
    int height;
    double hz;  // 0 or 1: the hardware's default, which says nothing
    bool interlaced;
};

enum class Known : std::uint8_t { Unknown, No, Yes };

inline constexpr int kGammaRampSize = 256;

struct MonitorFacts {
    EdidInfo edid;                       // valid false: no EDID
    char devicePath[kDevicePathSize];    // empty: unknown
    DisplayMode desktop;                 // width 0: unknown
    int rotation;                        // degrees clockwise: 0, 90, 180 or 270
    int modeCount;
    DisplayMode modes[kMaxDisplayModes];
    Size preferred;                      // the system's preferred mode; 0 x 0: unknown
    bool rampKnown;
    std::uint16_t ramp[3][kGammaRampSize];  // red, green, blue
    Known hdr;
    int bitsPerColour;                   // 0: unknown
};

enum class Finding : std::uint8_t { NotNative, SlowerRate, ColoursAltered, HdrOn, FewBits };

// What the facts amount to.
struct MonitorCheck {
    bool identity;      // the EDID said who the monitor is
    Size native;        // 0 x 0: unknown
    Size desktop;       // as the monitor takes it: a rotated desktop's sides swapped back
    double rate;        // the desktop's rate, and the highest at its size
    double bestRate;
    int findingCount;
    Finding findings[kMaxMonitorLines - 1];
};

MonitorCheck CheckMonitor(const MonitorFacts& facts);

// Whether the ramp differs from identity by more than a driver's rounding: an identity
// ramp may read as i * 256 or i * 257, rounded again on its way.
bool RampAltered(const std::uint16_t (&ramp)[3][kGammaRampSize]);

// The texts of the lines, as data.ini gives them or in English. {desktop}, {native},
// {rate}, {best} and {bits} stand for the facts.
struct MonitorTexts {
    struct Text {
        char text[kValueSize];
        TextEncoding encoding;
    };
    Text native;    // "native", after the native mode in the identity
    Text digital;   // "digital input"
    Text analogue;  // "analogue input"
    Text findings[kMaxMonitorLines - 1];  // in the order of Finding
};

struct MonitorLines {
    int count;
    char text[kMaxMonitorLines][kValueSize];
    TextEncoding encoding[kMaxMonitorLines];
};

// "LUMETTA TEST (LMT 1234), 2560 x 1440 native, digital input", then one line per finding.
MonitorLines DescribeMonitor(const MonitorFacts& facts, const MonitorCheck& check, const MonitorTexts& texts);

enum class ModelSignal : std::uint8_t { Any, Analogue, Digital };
// SIGNAL=analogue or SIGNAL=digital in a model's section; anything else matches any.
ModelSignal ParseModelSignal(std::string_view value);
// The first model whose signal is the monitor's input; the first model where the input
// is unknown or no model says.
int SuggestModel(EdidInput input, std::span<const ModelSignal> models);
