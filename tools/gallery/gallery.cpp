// Renders one pattern keyword as the pattern window would show it and saves it as a
// PNG image, for the user guide and for checking a data.ini step without a desktop:
//
//   lumetta_gallery <PatternSpec> <width> <height> <out.png>
#include "patterns/PaintCycle.h"
#include "patterns/Painters.h"
#include "patterns/PatternGrammar.h"
#include "platform/SoftCanvas.h"
#include "platform/SoftCanvasPng.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

namespace {

constexpr int kMinSide = 1;
constexpr int kMaxSide = 8192;

void PrintUsage()
{
    std::fprintf(stderr,
                 "usage: lumetta_gallery <PatternSpec> <width> <height> <out.png>\n"
                 "  Paints the pattern that a data.ini step with this keyword shows, on a\n"
                 "  screen of width x height pixels (each %d to %d), and saves it as PNG.\n"
                 "  Example: lumetta_gallery C4Hatch 1280 1024 hatch.png\n",
                 kMinSide, kMaxSide);
}

// A whole decimal number from kMinSide to kMaxSide, nothing before or after it.
std::optional<int> ParseSide(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (value < kMinSide || value > kMaxSide) return std::nullopt;
    return value;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        PrintUsage();
        return 2;
    }
    const std::string_view spec = argv[1];
    const std::optional<int> width = ParseSide(argv[2]);
    const std::optional<int> height = ParseSide(argv[3]);
    if (!width || !height) {
        std::fprintf(stderr, "lumetta_gallery: width and height must be whole numbers from %d to %d\n",
                     kMinSide, kMaxSide);
        PrintUsage();
        return 2;
    }

    const PatternChoice choice = MatchPatternSpec(spec);
    if (choice.pattern == Pattern::None)
        std::fprintf(stderr, "lumetta_gallery: '%s' matches no pattern keyword; the screen stays black\n",
                     argv[1]);

    // The same order as every paint of the pattern window: black first, then the pattern.
    SoftCanvas canvas(*width, *height);
    FillBlack(canvas);
    PaintPattern(canvas, choice);

    if (!WritePng(canvas, argv[4])) {
        std::fprintf(stderr, "lumetta_gallery: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
