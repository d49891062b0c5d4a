// The grammar of a step's pattern keyword: which painter it names, with which number.
#pragma once

#include <cstdint>
#include <string_view>

enum class Pattern {
    None,             // unknown keyword: the screen stays black
    UniformGrey,      // contains "Gray"
    VerticalLines,    // "V...Lines"
    HorizontalLines,  // "HLines"
    ColourRamp,       // "CLines"
    Hatch,            // "C...Hatch"
    LabelledRamp,     // "GLines"
    Border,
    White,
    Black,            // "Black" or "Help"
    Red,
    Green,
    Blue,
    BlackLevel,
    WhiteLevel,
    Gamma,
    Checker,
    Gradient,
    Motion,           // "Motion" or "Motion<speed>": number is the speed in px/s
};

struct PatternChoice {
    Pattern pattern;
    std::int32_t number;  // the keyword's number with its default applied; 0 where none is read
};

// The first rule that matches, compared byte for byte and case-sensitively.
PatternChoice MatchPatternSpec(std::string_view spec);
