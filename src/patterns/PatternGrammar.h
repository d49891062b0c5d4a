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
    Motion,  // "Motion" or "Motion<speed>": number is the speed in px/s. The last:
             // kEveryKeyword's test walks the values up to here
};

struct PatternChoice {
    Pattern pattern;
    std::int32_t number;  // the keyword's number with its default applied; 0 where none is read
};

// The first rule that matches, compared byte for byte and case-sensitively.
PatternChoice MatchPatternSpec(std::string_view spec);

struct KeywordSample {
    std::string_view spec;
    Pattern pattern;
};

// One spelling of every keyword, with and without a number where one is read, few
// enough for one model's steps; no two neighbours (the last and the first included)
// paint the same. Whoever times or shows
// "every keyword" takes this list, and a unit test holds it to the grammar.
inline constexpr KeywordSample kEveryKeyword[] = {
    {"White", Pattern::White},           {"Black", Pattern::Black},
    {"Border", Pattern::Border},         {"VLines", Pattern::VerticalLines},
    {"V3Lines", Pattern::VerticalLines}, {"HLines", Pattern::HorizontalLines},
    {"CLines", Pattern::ColourRamp},     {"CHatch", Pattern::Hatch},
    {"C4Hatch", Pattern::Hatch},         {"GLines", Pattern::LabelledRamp},
    {"Gray64", Pattern::UniformGrey},    {"Red", Pattern::Red},
    {"Green", Pattern::Green},           {"Blue", Pattern::Blue},
    {"BlackLevel", Pattern::BlackLevel}, {"WhiteLevel", Pattern::WhiteLevel},
    {"Gamma", Pattern::Gamma},           {"Checker", Pattern::Checker},
    {"Gradient", Pattern::Gradient},     {"Motion", Pattern::Motion},
};
