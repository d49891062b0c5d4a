#include "CanvasChecks.h"
#include "patterns/Painters.h"

#include <algorithm>
#include <climits>

namespace {

// Grid columns are lit in rows 0 to H - 2 and grid rows in columns 0 to W - 2, so the
// corner (W - 1, H - 1) alone stays dark. Counts the pixels that differ from that.
int HatchMismatches(const SoftCanvas& canvas, const std::vector<int>& columns,
                    const std::vector<int>& rows)
{
    const int width = canvas.Width();
    const int height = canvas.Height();
    auto contains = [](const std::vector<int>& lines, int at) {
        return std::find(lines.begin(), lines.end(), at) != lines.end();
    };
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool lit = (contains(columns, x) && y <= height - 2) ||
                             (contains(rows, y) && x <= width - 2);
            wrong += canvas.Pixel(x, y) != (lit ? kWhite : kUntouched);
        }
    }
    return wrong;
}

TEST(DrawHatch, TwoCellsOnTheScreen)
{
    SoftCanvas canvas(kScreenWidth, kScreenHeight, kUntouched);
    DrawHatch(canvas, 2);
    EXPECT_EQ(HatchMismatches(canvas, {0, 640, 1279}, {0, 512, 1023}), 0);
    EXPECT_EQ(canvas.Pixel(1279, 1023), kUntouched);
    EXPECT_EQ(canvas.Pixel(1279, 1022), kWhite);
    EXPECT_EQ(canvas.Pixel(1278, 1023), kWhite);
}

TEST(DrawHatch, ThreeCellsLeaveTwoAdjacentColumnsAtTheRightEdge)
{
    SoftCanvas canvas(kScreenWidth, kScreenHeight, kUntouched);
    DrawHatch(canvas, 3);
    EXPECT_EQ(HatchMismatches(canvas, {0, 426, 852, 1278, 1279}, {0, 341, 682, 1023}), 0);
}

TEST(DrawHatch, FewerThanOneCellDrawsOneCell)
{
    for (const int n : {1, 0, -1, -4, INT_MIN}) {
        SoftCanvas canvas(9, 6, kUntouched);
        DrawHatch(canvas, n);
        EXPECT_EQ(HatchMismatches(canvas, {0, 8}, {0, 5}), 0) << n;
    }
}

TEST(DrawHatch, MoreCellsThanPixelsLightEveryLineOfThatDirection)
{
    SoftCanvas canvas(9, 6, kUntouched);
    DrawHatch(canvas, 100);
    EXPECT_EQ(CountPixels(canvas, kWhite), 9 * 6 - 1);
    EXPECT_EQ(canvas.Pixel(8, 5), kUntouched);

    // n = 4 is fine across (spacing 5) but too many down the 3 rows.
    canvas.Resize(20, 3, kUntouched);
    DrawHatch(canvas, 4);
    EXPECT_EQ(HatchMismatches(canvas, {0, 5, 10, 15, 19}, {0, 1, 2}), 0);

    canvas.Resize(4, 4, kUntouched);
    DrawHatch(canvas, INT_MAX);
    EXPECT_EQ(CountPixels(canvas, kWhite), 4 * 4 - 1);
}

}  // namespace
