#include "patterns/PatternGrammar.h"

#include "base/Numbers.h"
#include "patterns/Motion.h"

namespace {

constexpr std::int32_t kDefaultGreyLevel = 128;
constexpr std::int32_t kDefaultLineGroup = 1;
constexpr std::int32_t kDefaultHatchCells = 2;

struct ExactKeyword {
    std::string_view text;
    Pattern pattern;
};

// Tried only where every rule before them has failed, so that no keyword that already
// meant something changes its meaning.
constexpr ExactKeyword kGuideKeywords[] = {
    {"Red", Pattern::Red},
    {"Green", Pattern::Green},
    {"Blue", Pattern::Blue},
    {"BlackLevel", Pattern::BlackLevel},
    {"WhiteLevel", Pattern::WhiteLevel},
    {"Gamma", Pattern::Gamma},
    {"Checker", Pattern::Checker},
    {"Gradient", Pattern::Gradient},
};

// The number written from position `from` on; 0 (or nothing) takes the default.
std::int32_t NumberFrom(std::string_view spec, std::size_t from, std::int32_t fallback)
{
    const std::int32_t number = from < spec.size() ? ParseNumber(spec.substr(from)) : 0;
    return number == 0 ? fallback : number;
}

}  // namespace

PatternChoice MatchPatternSpec(std::string_view spec)
{
    // The number follows a leading "Gray", whatever actually stands before it.
    if (spec.find("Gray") != std::string_view::npos)
        return {Pattern::UniformGrey, NumberFrom(spec, 4, kDefaultGreyLevel)};
    if (spec.starts_with('V') && spec.find("Lines") != std::string_view::npos)
        return {Pattern::VerticalLines, NumberFrom(spec, 1, kDefaultLineGroup)};
    if (spec == "HLines") return {Pattern::HorizontalLines, 0};
    if (spec == "CLines") return {Pattern::ColourRamp, 0};
    if (spec.starts_with('C') && spec.find("Hatch") != std::string_view::npos)
        return {Pattern::Hatch, NumberFrom(spec, 1, kDefaultHatchCells)};
    if (spec == "GLines") return {Pattern::LabelledRamp, 0};
    if (spec == "Border") return {Pattern::Border, 0};
    if (spec == "White") return {Pattern::White, 0};
    if (spec == "Black" || spec == "Help") return {Pattern::Black, 0};
    for (const ExactKeyword& keyword : kGuideKeywords) {
        if (spec == keyword.text) return {keyword.pattern, 0};
    }
    if (const auto speed = MotionSpeed(spec)) return {Pattern::Motion, *speed};
    return {Pattern::None, 0};
}
