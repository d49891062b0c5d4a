#include "patterns/Painters.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>

namespace {

constexpr int kFullLevel = 255;       // the largest value of one colour channel
constexpr int kLevelCount = 256;      // grey levels 0 to 255

constexpr int kWideRampMinWidth = 256;  // from here on the grey ramp has fixed stripes
constexpr int kWideRampStripes = 51;
constexpr int kWideGreyStep = 5;
constexpr int kLabelMinWidth = 250;     // labels are drawn only on wider areas
constexpr int kLabelLineHeight = 14;    // one label character every 14 pixels downwards
constexpr int kUniformBands = 4;

constexpr int kColourStripes = 160;  // stripe width W / 160, and the wide numerator
constexpr int kWideColourStep = 5;
constexpr int kNarrowNumerator = 80;
constexpr int kNarrowColourStep = 9;

constexpr int kLevelBands = 16;
// 255 x 0.5^(1 / gamma), rounded, for gamma 1.8, 2.0, 2.2, 2.4 and 2.6: the solid grey
// that looks as light as lines of alternate white and black at that gamma.
constexpr int kGammaLevels[] = {174, 180, 186, 191, 195};
constexpr int kGradientStripes = 4;

// A client area never has a negative size; clamping here keeps W - 1 and W / n harmless
// whatever a canvas reports.
Size ClientArea(Canvas& canvas)
{
    const Size size = canvas.ClientSize();
    return {std::max(size.width, 0), std::max(size.height, 0)};
}

constexpr Colour Rgb(int red, int green, int blue)
{
    return static_cast<Colour>(red) | static_cast<Colour>(green) << 8 |
           static_cast<Colour>(blue) << 16;
}

constexpr Colour Grey(int level) { return Rgb(level, level, level); }

// A full-height stripe from x, cut off at the right edge. Positions run in 64 bits so
// that x + width cannot overflow near the int limit.
void FillStripe(DrawingContext& dc, std::int64_t x, std::int64_t width, int areaWidth,
                int areaHeight, Colour colour)
{
    const auto right = std::min<std::int64_t>(x + width, areaWidth);
    dc.Fill({static_cast<int>(x), 0, static_cast<int>(right), areaHeight}, colour);
}

// Calls drawLine for every line l with l mod (2 * count) < count, 0 <= l < extent.
// The group start runs in 64 bits, so a count near the int limit cannot overflow 2 * count;
// a count of extent or more lights every line.
template <typename DrawLine>
void ForEachGratingLine(int extent, int count, DrawLine drawLine)
{
    if (extent <= 0 || count < 1) return;
    const std::int64_t period = 2 * std::int64_t{count};
    for (std::int64_t start = 0; start < extent; start += period) {
        for (std::int64_t i = 0; i < count && start + i < extent; ++i) {
            drawLine(static_cast<int>(start + i));
        }
    }
}

// Grid line positions 0, spacing, 2 * spacing, ... below extent. A spacing of 0 (more
// cells than pixels) is raised to 1, so the grid becomes as fine as the area allows.
template <typename DrawLine>
void ForEachGridLine(int extent, int cells, DrawLine drawLine)
{
    const std::int64_t spacing = std::max(extent / cells, 1);
    for (std::int64_t at = 0; at < extent; at += spacing) drawLine(static_cast<int>(at));
}

void DrawLabel(DrawingContext& dc, int x, int value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    int y = 0;
    for (const char* c = digits; c != end; ++c, y += kLabelLineHeight) dc.DrawChar(x, y, *c);
}

// Part i of n equal parts of extent, as i * extent / n; 64 bits keep the product exact.
int PartEdge(int i, int extent, int n)
{
    return static_cast<int>(std::int64_t{i} * extent / n);
}

// The first column x of a gradient with x * 256 / width >= level: level * width / 256
// rounded up.
int FirstColumnOfLevel(int level, int width)
{
    return static_cast<int>((std::int64_t{level} * width + kLevelCount - 1) / kLevelCount);
}

void FillUniformGrey(DrawingContext& dc, int width, int height, Colour grey)
{
    // Below 4 pixels W / 4 is 0; one-pixel bands still cover the area and end the loop.
    const int band = std::max(width / kUniformBands, 1);
    for (std::int64_t x = 0; x < width; x += band) FillStripe(dc, x, band, width, height, grey);
}

}  // namespace

void FillBlack(Canvas& canvas)
{
    const auto [width, height] = ClientArea(canvas);
    const auto dc = canvas.Open();
    dc->Fill({0, 0, width, height}, kBlack);
}

void FillSolid(Canvas& canvas, Colour colour)
{
    const auto [width, height] = ClientArea(canvas);
    const auto dc = canvas.Open();
    // White keeps a one-pixel margin of whatever was there (black, in the paint cycle).
    const Rect rect = colour == kWhite ? Rect{1, 1, width - 1, height - 1}
                                       : Rect{0, 0, width, height};
    dc->Fill(rect, colour);
}

void DrawFrame(Canvas& canvas, Colour colour)
{
    const auto [width, height] = ClientArea(canvas);
    const auto dc = canvas.Open();
    dc->SetLineColour(colour);
    for (int ring = 0; ring < 2; ++ring) {
        const int left = ring;
        const int top = ring;
        const int right = width - 1 - ring;
        const int bottom = height - 1 - ring;
        dc->MoveTo(left, top);
        dc->LineTo(right, top);
        dc->LineTo(right, bottom);
        dc->LineTo(left, bottom);
        dc->LineTo(left, top);
    }
}

void DrawVerticalLines(Canvas& canvas, Colour colour, int count)
{
    const auto [width, height] = ClientArea(canvas);
    const auto dc = canvas.Open();
    dc->SetLineColour(colour);
    ForEachGratingLine(width, count, [&](int x) {
        dc->MoveTo(x, 0);
        dc->LineTo(x, height);
    });
}

void DrawHorizontalLines(Canvas& canvas, Colour colour, int count)
{
    const auto [width, height] = ClientArea(canvas);
    const auto dc = canvas.Open();
    dc->SetLineColour(colour);
    ForEachGratingLine(height, count, [&](int y) {
        dc->MoveTo(0, y);
        dc->LineTo(width, y);
    });
}

void DrawHatch(Canvas& canvas, int n)
{
    const auto [width, height] = ClientArea(canvas);
    const auto dc = canvas.Open();
    dc->SetLineColour(kWhite);
    // Fewer than one cell makes no grid; draw a single cell, its outline.
    const int cells = std::max(n, 1);

    ForEachGridLine(width, cells, [&](int x) {
        dc->MoveTo(x, 0);
        dc->LineTo(x, height - 1);
    });
    dc->MoveTo(width - 1, 0);  // closing column
    dc->LineTo(width - 1, height - 1);

    ForEachGridLine(height, cells, [&](int y) {
        dc->MoveTo(0, y);
        dc->LineTo(width - 1, y);
    });
    dc->MoveTo(0, height - 1);  // closing row
    dc->LineTo(width - 1, height - 1);
}

void DrawGreyRamp(Canvas& canvas, int level)
{
    const auto [width, height] = ClientArea(canvas);
    const auto dc = canvas.Open();
    if (width == 0) return;

    const bool wide = width >= kWideRampMinWidth;
    const int stripeWidth = wide ? width / kWideRampStripes : kLevelCount / width;
    const int step = wide ? kWideGreyStep : kLevelCount / width;

    if (level != 0) {
        // Only the low byte counts: 300 is 44, -1 is 255, 256 is black.
        FillUniformGrey(*dc, width, height, Grey(static_cast<std::uint8_t>(level)));
        return;
    }

    int grey = kFullLevel;
    for (std::int64_t x = 0; x < width; x += stripeWidth) {
        FillStripe(*dc, x, stripeWidth, width, height, Grey(grey));
        if (width > kLabelMinWidth) DrawLabel(*dc, static_cast<int>(x), grey / step);
        if (grey >= step) grey -= step;
    }
}

void DrawColourRamp(Canvas& canvas, int divisor)
{
    const auto [width, height] = ClientArea(canvas);
    const auto dc = canvas.Open();

    int stripeWidth = width / kColourStripes;
    int numerator = kColourStripes;
    int step = kWideColourStep;
    if (stripeWidth == 0) {
        stripeWidth = 1;
        numerator = kNarrowNumerator;
        step = kNarrowColourStep;
    }
    // Divisor 0 is taken as 1: the widest overlap of neighbouring channels that any
    // positive divisor gives, so the ramp still runs through all three colours.
    const int threshold = step * (numerator / (divisor == 0 ? 1 : divisor));

    int red = kFullLevel;
    int green = 0;
    int blue = 0;
    bool greenRising = true;
    for (std::int64_t x = 0; x < width; x += stripeWidth) {
        FillStripe(*dc, x, stripeWidth, width, height, Rgb(red, green, blue));
        if (red >= step) red -= step;
        if (greenRising && red < threshold && green < kFullLevel) green += step;
        green = std::min(green, kFullLevel);
        if (!greenRising) {
            if (green >= step) green -= step;
            if (green < threshold && blue < kFullLevel) blue = std::min(blue + step, kFullLevel);
        } else if (green >= kFullLevel) {
            greenRising = false;  // the falling rule first acts in the next stripe's update
        }
    }
}

void DrawLevelBands(Canvas& canvas, int firstLevel, int step)
{
    const auto [width, height] = ClientArea(canvas);
    const auto dc = canvas.Open();
    for (int i = 0; i < kLevelBands; ++i) {
        const int level = static_cast<std::uint8_t>(firstLevel + i * step);  // low byte only
        dc->Fill({PartEdge(i, width, kLevelBands), 0, PartEdge(i + 1, width, kLevelBands), height},
                 Grey(level));
    }
}

void DrawGammaCheck(Canvas& canvas)
{
    const auto [width, height] = ClientArea(canvas);
    const auto dc = canvas.Open();
    const int half = width / 2;
    const int bands = static_cast<int>(std::size(kGammaLevels));
    for (int j = 0; j < bands; ++j) {
        dc->Fill({half, PartEdge(j, height, bands), width, PartEdge(j + 1, height, bands)},
                 Grey(kGammaLevels[j]));
    }
    dc->Fill({0, 0, half, height}, kBlack);
    dc->SetLineColour(kWhite);
    ForEachGratingLine(height, 1, [&](int y) {
        dc->MoveTo(0, y);
        dc->LineTo(half, y);
    });
}

void DrawChecker(Canvas& canvas)
{
    const auto [width, height] = ClientArea(canvas);
    const auto dc = canvas.Open();
    dc->FillChecker({0, 0, width, height}, kWhite, kBlack);
}

void DrawGradients(Canvas& canvas)
{
    const auto [width, height] = ClientArea(canvas);
    const auto dc = canvas.Open();
    constexpr Colour kChannels[kGradientStripes] = {Grey(1), Rgb(1, 0, 0), Rgb(0, 1, 0),
                                                    Rgb(0, 0, 1)};
    for (int k = 0; k < kGradientStripes; ++k) {
        const int top = PartEdge(k, height, kGradientStripes);
        const int bottom = PartEdge(k + 1, height, kGradientStripes);
        // Level v covers the columns x with x * 256 / W = v: from the first x with
        // x * 256 >= v * W up to the next level's first column.
        for (int v = 0; v < kLevelCount; ++v) {
            const int left = FirstColumnOfLevel(v, width);
            const int right = FirstColumnOfLevel(v + 1, width);
            dc->Fill({left, top, right, bottom}, kChannels[k] * static_cast<Colour>(v));
        }
    }
}
