// Renders one pattern keyword as the pattern window would show it and saves it as a
// PNG image, for the user guide and for checking a data.ini step without a desktop:
//
//   lumetta_gallery <PatternSpec> <width> <height> <out.png> [<frame> [<refresh Hz>]]
#include "patterns/Motion.h"
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
constexpr int kMaxFrame = 1000000;
constexpr int kDefaultRefreshHz = 60;
constexpr int kMaxRefreshHz = 1000;

void PrintUsage()
{
    std::fprintf(stderr,
                 "usage: lumetta_gallery <PatternSpec> <width> <height> <out.png> [<frame> [<refresh Hz>]]\n"
                 "  Paints the pattern that a data.ini step with this keyword shows, on a\n"
                 "  screen of width x height pixels (each %d to %d), and saves it as PNG.\n"
                 "  For Motion, frame n (0 to %d) at a refresh rate (1 to %d Hz, %d by default).\n"
                 "  Example: lumetta_gallery C4Hatch 1280 1024 hatch.png\n",
                 kMinSide, kMaxSide, kMaxFrame, kMaxRefreshHz, kDefaultRefreshHz);
}

// A whole decimal number from low to high, nothing before or after it.
std::optional<int> ParseWhole(std::string_view text, int low, int high)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    if (value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5 || argc > 7) {
        PrintUsage();
        return 2;
    }
    const std::string_view spec = argv[1];
    const std::optional<int> width = ParseWhole(argv[2], kMinSide, kMaxSide);
    const std::optional<int> height = ParseWhole(argv[3], kMinSide, kMaxSide);
    if (!width || !height) {
        std::fprintf(stderr, "lumetta_gallery: width and height must be whole numbers from %d to %d\n",
                     kMinSide, kMaxSide);
        PrintUsage();
        return 2;
    }
    const std::optional<int> frame = argc > 5 ? ParseWhole(argv[5], 0, kMaxFrame) : 0;
    const std::optional<int> refresh = argc > 6 ? ParseWhole(argv[6], 1, kMaxRefreshHz) : kDefaultRefreshHz;
    if (!frame || !refresh) {
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
    if (choice.pattern == Pattern::Motion)
        DrawMotionFrame(canvas, *frame, MotionStepPerFrame(choice.number, *refresh));
    else
        PaintPattern(canvas, choice);

    if (!WritePng(canvas, argv[4])) {
        std::fprintf(stderr, "lumetta_gallery: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
