#include "CanvasChecks.h"
#include "patterns/Painters.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

constexpr int kLabelStep = 14;
constexpr int kRampHeight = 64;  // room for two-digit labels and the stripe below them

struct GreyTable {
    int width;
    int stripeWidth;
    int stripes;
};

// The stripe's label stands at its left edge, one digit every 14 pixels; the rest of the
// stripe is its grey.
void ExpectLabelledStripe(const SoftCanvas& canvas, int x, int right, int grey, int label)
{
    const std::string text = std::to_string(label);
    for (std::size_t i = 0; i < text.size(); ++i) {
        EXPECT_TRUE(CellShows(canvas, x, kLabelStep * static_cast<int>(i), text[i]));
    }
    const int belowLabel = kLabelStep * static_cast<int>(text.size());
    EXPECT_TRUE(RegionIs(canvas, {x, belowLabel, right, canvas.Height()}, GreyOf(grey)));
    EXPECT_TRUE(RegionIs(canvas, {x + SoftCanvas::kCellWidth, 0, right, canvas.Height()},
                         GreyOf(grey)));
}

TEST(DrawGreyRamp, WideAreasStepByFiveWithLabels)
{
    const GreyTable tables[] = {{1280, 25, 52}, {1024, 20, 52}, {800, 15, 54}, {1020, 20, 51}};
    for (const GreyTable& table : tables) {
        SCOPED_TRACE("W = " + std::to_string(table.width));
        const int height = table.width == kScreenWidth ? kScreenHeight : kRampHeight;
        SoftCanvas canvas(table.width, height, kUntouched);
        DrawGreyRamp(canvas, 0);
        for (int k = 0; k < table.stripes; ++k) {
            const int x = k * table.stripeWidth;
            const int right = std::min(x + table.stripeWidth, table.width);
            ExpectLabelledStripe(canvas, x, right, std::max(255 - 5 * k, 0), std::max(51 - k, 0));
        }
        EXPECT_EQ(CountPixels(canvas, kUntouched), 0);
    }
}

TEST(DrawGreyRamp, NarrowAreasHaveOneStripePerStepAndNoLabels)
{
    struct Narrow {
        int width;
        int stripeWidth;
    };
    for (const Narrow narrow : {Narrow{200, 1}, Narrow{100, 2}, Narrow{250, 1}}) {
        SoftCanvas canvas(narrow.width, kRampHeight, kUntouched);
        DrawGreyRamp(canvas, 0);
        for (int x = 0; x < narrow.width; ++x) {
            const int grey = 255 - x / narrow.stripeWidth * narrow.stripeWidth;
            ASSERT_TRUE(RegionIs(canvas, {x, 0, x + 1, kRampHeight}, GreyOf(grey)))
                << "W = " << narrow.width;
        }
    }
}

TEST(DrawGreyRamp, LabelsAppearFromWidth251)
{
    SoftCanvas canvas(251, kRampHeight, kUntouched);
    DrawGreyRamp(canvas, 0);
    // Last stripe: grey 5, step 1, label "5"; its cell is cut at the right edge.
    EXPECT_TRUE(CellShows(canvas, 250, 0, '5'));
    EXPECT_TRUE(RegionIs(canvas, {250, kLabelStep, 251, kRampHeight}, GreyOf(5)));
}

TEST(DrawGreyRamp, OtherLevelsPaintOneUniformGreyFromTheLowByte)
{
    struct Level {
        int level;
        Colour colour;
    };
    for (const Level level : {Level{128, 0x808080}, Level{300, 0x2C2C2C}, Level{256, kBlack},
                              Level{-1, kWhite}, Level{INT_MIN, kBlack}}) {
        SoftCanvas canvas(kScreenWidth, kScreenHeight, kUntouched);
        DrawGreyRamp(canvas, level.level);
        EXPECT_EQ(CountPixels(canvas, level.colour), kScreenWidth * kScreenHeight) << level.level;
    }
}

TEST(DrawGreyRamp, UniformGreyCoversAreasOfAnyWidth)
{
    // Below 4 pixels a quarter band would be 0 wide; 1283 leaves a remainder band.
    for (const int width : {1, 2, 3, 4, 5, 7, 1283}) {
        SoftCanvas canvas(width, 3, kUntouched);
        DrawGreyRamp(canvas, 128);
        EXPECT_EQ(CountPixels(canvas, 0x808080), width * 3) << width;
    }
}

int Red(Colour c) { return static_cast<int>(c & 0xFF); }
int Green(Colour c) { return static_cast<int>(c >> 8 & 0xFF); }
int Blue(Colour c) { return static_cast<int>(c >> 16 & 0xFF); }

// The colour of stripe k at divisor 8 on an area of 160 pixels or more: red falls, green
// rises to its single full stripe 82 and falls, blue rises.
Colour WideStripe(int k)
{
    const int red = k <= 50 ? 255 - 5 * k : 0;
    int green = 0;
    if (k >= 32 && k <= 81) green = 5 * (k - 31);
    if (k == 82) green = 255;
    if (k >= 83 && k <= 132) green = 255 - 5 * (k - 82);
    const int blue = k >= 114 ? std::min(5 * (k - 113), 255) : 0;
    return RgbOf(red, green, blue);
}

void ExpectWideColourRamp(int width, int stripeWidth, int stripes)
{
    SoftCanvas canvas(width, kRampHeight, kUntouched);
    DrawColourRamp(canvas, 8);
    for (int k = 0; k < stripes; ++k) {
        const Rect stripe{k * stripeWidth, 0, std::min((k + 1) * stripeWidth, width), kRampHeight};
        ASSERT_TRUE(RegionIs(canvas, stripe, WideStripe(k))) << "W = " << width << ", stripe " << k;
    }
    EXPECT_EQ(CountPixels(canvas, kUntouched), 0);
}

TEST(DrawColourRamp, TheScreenRampRunsFromRedThroughGreenToBlue)
{
    ExpectWideColourRamp(kScreenWidth, 8, 160);

    SoftCanvas canvas(kScreenWidth, kScreenHeight);
    DrawColourRamp(canvas, 8);
    const auto stripe = [&](int k) { return canvas.Pixel(8 * k + 7, kScreenHeight - 1); };
    EXPECT_EQ(stripe(31), RgbOf(100, 0, 0));
    EXPECT_EQ(stripe(32), RgbOf(95, 5, 0));
    EXPECT_EQ(stripe(82), RgbOf(0, 255, 0));
    EXPECT_EQ(stripe(114), RgbOf(0, 95, 5));
    EXPECT_EQ(stripe(159), RgbOf(0, 0, 230));
    EXPECT_EQ(CountPixels(canvas, RgbOf(0, 255, 0)), 8 * kScreenHeight);  // stripe 82 only
    EXPECT_EQ(CountPixels(canvas, kBlue), 0);
}

TEST(DrawColourRamp, At1024TheLastStripesAreFullBlue)
{
    ExpectWideColourRamp(1024, 6, 171);  // blue is capped at 255 from stripe 164 on
}

TEST(DrawColourRamp, NarrowAreasUseOnePixelStripesAndStepNine)
{
    SoftCanvas canvas(150, 2, kUntouched);
    DrawColourRamp(canvas, 8);
    const auto at = [&](int k) { return canvas.Pixel(k, 1); };
    EXPECT_EQ(Red(at(27)), 12);
    for (int k = 28; k < 150; ++k) ASSERT_EQ(Red(at(k)), 3) << k;
    EXPECT_EQ(Green(at(18)), 0);
    EXPECT_EQ(Green(at(19)), 9);
    EXPECT_EQ(Green(at(46)), 252);
    EXPECT_EQ(Green(at(47)), 255);
    EXPECT_EQ(Green(at(48)), 246);
    EXPECT_EQ(Green(at(75)), 3);
    EXPECT_EQ(Green(at(149)), 3);
    EXPECT_EQ(Blue(at(65)), 0);
    EXPECT_EQ(Blue(at(66)), 9);
    EXPECT_EQ(Blue(at(93)), 252);
    for (int k = 94; k < 150; ++k) ASSERT_EQ(Blue(at(k)), 255) << k;
}

TEST(DrawColourRamp, DivisorZeroActsAsOne)
{
    SoftCanvas zero(kScreenWidth, 2);
    SoftCanvas one(kScreenWidth, 2);
    DrawColourRamp(zero, 0);
    DrawColourRamp(one, 1);
    EXPECT_TRUE(std::equal(zero.Pixels().begin(), zero.Pixels().end(), one.Pixels().begin()));
    // Threshold 800: green rises from the first update, blue once green starts falling.
    EXPECT_EQ(zero.Pixel(8, 0), RgbOf(250, 5, 0));
    EXPECT_EQ(zero.Pixel(kScreenWidth - 1, 0), kBlue);
}

TEST(DrawColourRamp, NegativeDivisorsOnlyFadeTheRed)
{
    for (const int divisor : {-8, INT_MIN}) {
        SoftCanvas canvas(kScreenWidth, 1);
        DrawColourRamp(canvas, divisor);
        for (int x = 0; x < kScreenWidth; ++x) {
            ASSERT_EQ(canvas.Pixel(x, 0) & 0xFFFF00u, 0u) << "x = " << x << ", divisor " << divisor;
        }
        EXPECT_EQ(canvas.Pixel(kScreenWidth - 1, 0), kBlack);
    }
}

}  // namespace
