#include "CanvasChecks.h"
#include "patterns/Painters.h"

namespace {

TEST(FillBlack, CoversTheWholeArea)
{
    SoftCanvas canvas(kScreenWidth, kScreenHeight, kUntouched);
    FillBlack(canvas);
    EXPECT_EQ(CountPixels(canvas, kBlack), kScreenWidth * kScreenHeight);
}

TEST(FillSolid, WhiteKeepsAOnePixelMargin)
{
    SoftCanvas canvas(kScreenWidth, kScreenHeight, kUntouched);
    FillSolid(canvas, kWhite);
    EXPECT_TRUE(RegionIs(canvas, {1, 1, kScreenWidth - 1, kScreenHeight - 1}, kWhite));
    EXPECT_EQ(CountPixels(canvas, kWhite), (kScreenWidth - 2) * (kScreenHeight - 2));
    EXPECT_EQ(CountPixels(canvas, kUntouched), 2 * kScreenWidth + 2 * kScreenHeight - 4);
}

TEST(FillSolid, EveryOtherColourCoversTheWholeArea)
{
    for (const Colour colour : {kRed, kBlue, kBlack, Colour{0xFFFFFE}, Colour{0x01FFFFFF}}) {
        SoftCanvas canvas(kScreenWidth, kScreenHeight, kUntouched);
        FillSolid(canvas, colour);
        EXPECT_EQ(CountPixels(canvas, colour), kScreenWidth * kScreenHeight) << colour;
    }
}

TEST(FillSolid, WhiteOnTwoByTwoHasOnlyMargin)
{
    SoftCanvas canvas(2, 2, kUntouched);
    FillSolid(canvas, kWhite);
    EXPECT_EQ(CountPixels(canvas, kUntouched), 4);
}

// A pixel belongs to the frame when it lies in one of the two outermost rings.
bool InFrame(int x, int y, int width, int height)
{
    const bool column = x <= 1 || x >= width - 2;
    const bool row = y <= 1 || y >= height - 2;
    return column || row;
}

TEST(DrawFrame, PaintsExactlyTheTwoOuterRings)
{
    for (const Size size : {Size{kScreenWidth, kScreenHeight}, Size{7, 5}, Size{4, 4}, Size{5, 9}}) {
        SoftCanvas canvas(size.width, size.height, kUntouched);
        DrawFrame(canvas, kBlue);
        int wrong = 0;
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const Colour expected = InFrame(x, y, size.width, size.height) ? kBlue : kUntouched;
                wrong += canvas.Pixel(x, y) != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << size.width << " x " << size.height;
    }
}

TEST(DrawFrame, OnThreeByThreeTheInnerRingShrinksToNothing)
{
    // The inner ring's lines all have zero length; only the centre stays.
    SoftCanvas canvas(3, 3, kUntouched);
    DrawFrame(canvas, kWhite);
    EXPECT_EQ(CountPixels(canvas, kWhite), 8);
    EXPECT_EQ(canvas.Pixel(1, 1), kUntouched);
}

}  // namespace
