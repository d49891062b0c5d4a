#include "CanvasChecks.h"
#include "patterns/Painters.h"

#include <climits>
#include <numeric>

namespace {

std::vector<int> Range(int count)
{
    std::vector<int> all(static_cast<std::size_t>(count));
    std::iota(all.begin(), all.end(), 0);
    return all;
}

// The lit lines must be whole and everything else untouched.
void ExpectOnlyColumns(const SoftCanvas& canvas, Colour colour, const std::vector<int>& columns)
{
    EXPECT_EQ(ColumnsOf(canvas, colour), columns);
    EXPECT_EQ(CountPixels(canvas, colour), static_cast<int>(columns.size()) * canvas.Height());
}

void ExpectOnlyRows(const SoftCanvas& canvas, Colour colour, const std::vector<int>& rows)
{
    EXPECT_EQ(RowsOf(canvas, colour), rows);
    EXPECT_EQ(CountPixels(canvas, colour), static_cast<int>(rows.size()) * canvas.Width());
}

TEST(DrawVerticalLines, CountOneLightsTheEvenColumnsOverTheFullHeight)
{
    SoftCanvas canvas(kScreenWidth, kScreenHeight, kUntouched);
    DrawVerticalLines(canvas, kWhite, 1);
    std::vector<int> even;
    for (int x = 0; x < kScreenWidth; x += 2) even.push_back(x);
    ASSERT_EQ(even.size(), 640u);
    ExpectOnlyColumns(canvas, kWhite, even);
}

TEST(DrawVerticalLines, GroupsAreCutOffAtTheRightEdge)
{
    SoftCanvas canvas(11, 5, kUntouched);
    DrawVerticalLines(canvas, kWhite, 3);
    ExpectOnlyColumns(canvas, kWhite, {0, 1, 2, 6, 7, 8});

    canvas.Resize(10, 5, kUntouched);
    DrawVerticalLines(canvas, kWhite, 4);
    ExpectOnlyColumns(canvas, kWhite, {0, 1, 2, 3, 8, 9});
}

TEST(DrawVerticalLines, CountsOfTheWidthOrMoreLightEveryColumn)
{
    // INT_MAX / 2 + 1 is the first count whose 2 * count leaves the int range.
    for (const int count : {11, 12, INT_MAX / 2, INT_MAX / 2 + 1, INT_MAX}) {
        SoftCanvas canvas(11, 4, kUntouched);
        DrawVerticalLines(canvas, kWhite, count);
        ExpectOnlyColumns(canvas, kWhite, Range(11));
    }
}

TEST(DrawVerticalLines, CountsBelowOneDrawNothing)
{
    for (const int count : {0, -1, -2, INT_MIN}) {
        SoftCanvas canvas(11, 4, kUntouched);
        DrawVerticalLines(canvas, kWhite, count);
        EXPECT_EQ(CountPixels(canvas, kUntouched), 11 * 4) << count;
    }
}

TEST(DrawHorizontalLines, CountOneLightsTheEvenRowsAcrossTheFullWidth)
{
    SoftCanvas canvas(kScreenWidth, kScreenHeight, kUntouched);
    DrawHorizontalLines(canvas, kRed, 1);
    std::vector<int> even;
    for (int y = 0; y < kScreenHeight; y += 2) even.push_back(y);
    ExpectOnlyRows(canvas, kRed, even);
}

TEST(DrawHorizontalLines, GroupsRunDownTheRows)
{
    SoftCanvas canvas(6, 11, kUntouched);
    DrawHorizontalLines(canvas, kRed, 3);
    ExpectOnlyRows(canvas, kRed, {0, 1, 2, 6, 7, 8});
}

TEST(DrawHorizontalLines, ExtremeCountsAreSafe)
{
    for (const int count : {INT_MAX / 2 + 1, INT_MAX, 0, INT_MIN}) {
        SoftCanvas canvas(3, 7, kUntouched);
        DrawHorizontalLines(canvas, kRed, count);
        ExpectOnlyRows(canvas, kRed, count > 0 ? Range(7) : std::vector<int>{});
    }
}

}  // namespace
