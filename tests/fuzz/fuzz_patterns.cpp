// The first four bytes are the canvas's width and height, the rest a step's pattern
// keyword; the chosen painter draws over black, as the pattern window paints.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/AppState.h"
#include "patterns/PaintCycle.h"
#include "patterns/Painters.h"
#include "patterns/PatternGrammar.h"
#include "platform/SoftCanvas.h"
#include "Require.h"

namespace {

constexpr int kMaxSide = 4096;
// Keeps one run fast enough for the fuzzer to try many keywords.
constexpr std::int64_t kMaxPixels = 4 * 1024 * 1024;
constexpr std::size_t kSizeBytes = 4;

int SideFrom(const std::uint8_t* bytes)
{
    return (bytes[0] | bytes[1] << 8) % (kMaxSide + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kSizeBytes) return 0;
    g_app = AppState{};
    const int width = SideFrom(data);
    int height = SideFrom(data + 2);
    if (std::int64_t{width} * height > kMaxPixels) height = static_cast<int>(kMaxPixels / width);
    const std::string_view spec(reinterpret_cast<const char*>(data + kSizeBytes),
                                std::min(size - kSizeBytes, kValueSize - 1));

    SoftCanvas canvas(width, height);
    FillBlack(canvas);
    PaintPattern(canvas, MatchPatternSpec(spec));

    Require(canvas.Width() == width && canvas.Height() == height, "the canvas keeps its size");
    const Size client = canvas.ClientSize();
    Require(client.width == width && client.height == height, "the client size is unchanged");
    Require(canvas.Pixels().size() == static_cast<std::size_t>(width) * height, "one pixel per position");
    return 0;
}
