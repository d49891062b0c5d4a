#include "monitor/MonitorCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace {

// Rates are compared as fractions: 59.94 Hz is the 60 Hz mode it stands for.
constexpr double kRateTolerance = 0.9;
// One step of an 8-bit level: what drivers' rounding may add to an identity ramp.
constexpr int kRampTolerance = 257;
constexpr int kIdentityStep = 257;  // entry i of an identity ramp: i * 257, 0 to 65535
constexpr int kFewestBits = 8;

bool RateKnown(double hz) { return hz > 1; }

bool SameSize(const DisplayMode& mode, Size size)
{
    return (mode.width == size.width && mode.height == size.height) ||
           (mode.width == size.height && mode.height == size.width);
}

std::string SizeText(Size size) { return std::to_string(size.width) + " x " + std::to_string(size.height); }

std::string RateText(double hz)
{
    char text[16];
    const bool whole = std::abs(hz - std::round(hz)) < 0.005;
    std::snprintf(text, sizeof text, whole ? "%.0f" : "%.2f", hz);
    return text;
}

// Replaces the names in braces that it knows; anything else stays as written.
std::string Substitute(std::string_view pattern, std::initializer_list<std::pair<std::string_view, std::string>> values)
{
    std::string out;
    for (std::size_t at = 0; at < pattern.size();) {
        bool replaced = false;
        if (pattern[at] == '{') {
            for (const auto& [name, value] : values) {
                if (pattern.substr(at + 1).starts_with(name) && pattern.substr(at + 1 + name.size()).starts_with('}')) {
                    out += value;
                    at += name.size() + 2;
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += pattern[at++];
    }
    return out;
}

// A line built of Lumetta's ASCII and data.ini's texts reads as data.ini's encoding.
TextEncoding Joined(TextEncoding a, TextEncoding b)
{
    return a == TextEncoding::Ansi || b == TextEncoding::Ansi ? TextEncoding::Ansi : TextEncoding::Utf8;
}

void AddLine(MonitorLines& lines, const std::string& text, TextEncoding encoding)
{
    if (lines.count >= kMaxMonitorLines) return;
    CopyText(lines.text[lines.count], text, encoding);
    lines.encoding[lines.count++] = encoding;
}

std::string Identity(const EdidInfo& edid)
{
    char product[8];
    std::snprintf(product, sizeof product, "%04X", static_cast<unsigned>(edid.productCode));
    const std::string id = edid.manufacturer[0] != '\0' ? std::string(edid.manufacturer) + " " + product : product;
    return edid.name[0] != '\0' ? std::string(edid.name) + " (" + id + ")" : id;
}

}  // namespace

bool RampAltered(const std::uint16_t (&ramp)[3][kGammaRampSize])
{
    for (const auto& channel : ramp)
        for (int i = 0; i < kGammaRampSize; ++i)
            if (std::abs(channel[i] - i * kIdentityStep) > kRampTolerance) return true;
    return false;
}

MonitorCheck CheckMonitor(const MonitorFacts& facts)
{
    MonitorCheck check{};
    const EdidInfo& edid = facts.edid;
    check.identity = edid.valid;
    if (edid.valid && edid.nativeWidth > 0 && edid.nativeHeight > 0)
        check.native = {edid.nativeWidth, edid.nativeHeight};
    else if (facts.preferred.width > 0 && facts.preferred.height > 0)
        check.native = facts.preferred;
    const DisplayMode& desktop = facts.desktop;
    const bool sideways = facts.rotation == 90 || facts.rotation == 270;
    if (desktop.width > 0 && desktop.height > 0)
        check.desktop = sideways ? Size{desktop.height, desktop.width} : Size{desktop.width, desktop.height};
    auto add = [&](Finding finding) { check.findings[check.findingCount++] = finding; };

    if (check.native.width > 0 && check.desktop.width > 0 &&
        (check.native.width != check.desktop.width || check.native.height != check.desktop.height))
        add(Finding::NotNative);
    if (RateKnown(desktop.hz) && !desktop.interlaced && check.desktop.width > 0) {
        check.rate = desktop.hz;
        for (int i = 0; i < std::clamp(facts.modeCount, 0, kMaxDisplayModes); ++i) {
            const DisplayMode& mode = facts.modes[i];
            if (!mode.interlaced && RateKnown(mode.hz) && SameSize(mode, check.desktop))
                check.bestRate = std::max(check.bestRate, mode.hz);
        }
        if (check.bestRate - check.rate > kRateTolerance) add(Finding::SlowerRate);
    }
    if (facts.rampKnown && RampAltered(facts.ramp)) add(Finding::ColoursAltered);
    if (facts.hdr == Known::Yes) add(Finding::HdrOn);
    if (facts.bitsPerColour > 0 && facts.bitsPerColour < kFewestBits) add(Finding::FewBits);
    return check;
}

MonitorLines DescribeMonitor(const MonitorFacts& facts, const MonitorCheck& check, const MonitorTexts& texts)
{
    MonitorLines lines{};
    if (check.identity) {
        std::string identity = Identity(facts.edid);
        TextEncoding encoding = kOwnText;
        if (check.native.width > 0) {
            identity += ", " + SizeText(check.native) + " " + texts.native.text;
            encoding = Joined(encoding, texts.native.encoding);
        }
        if (facts.edid.input != EdidInput::Unknown) {
            const MonitorTexts::Text& input = facts.edid.input == EdidInput::Digital ? texts.digital : texts.analogue;
            identity += std::string(", ") + input.text;
            encoding = Joined(encoding, input.encoding);
        }
        AddLine(lines, identity, encoding);
    }
    for (int i = 0; i < check.findingCount; ++i) {
        const MonitorTexts::Text& text = texts.findings[static_cast<int>(check.findings[i])];
        AddLine(lines,
                Substitute(text.text, {{"desktop", SizeText(check.desktop)},
                                       {"native", SizeText(check.native)},
                                       {"rate", RateText(check.rate)},
                                       {"best", RateText(check.bestRate)},
                                       {"bits", std::to_string(facts.bitsPerColour)}}),
                text.encoding);
    }
    return lines;
}

ModelSignal ParseModelSignal(std::string_view value)
{
    value = Trim(value);
    auto is = [value](std::string_view word) { return EqualIgnoringAsciiCase(value, word); };
    if (is("analogue") || is("analog")) return ModelSignal::Analogue;
    if (is("digital")) return ModelSignal::Digital;
    return ModelSignal::Any;
}

int SuggestModel(EdidInput input, std::span<const ModelSignal> models)
{
    const ModelSignal wanted = input == EdidInput::Digital    ? ModelSignal::Digital
                               : input == EdidInput::Analogue ? ModelSignal::Analogue
                                                              : ModelSignal::Any;
    if (wanted == ModelSignal::Any) return 0;
    const auto found = std::find(models.begin(), models.end(), wanted);
    return found != models.end() ? static_cast<int>(found - models.begin()) : 0;
}
