#include "CanvasChecks.h"

#include <climits>
#include <set>

namespace {

TEST(SoftCanvasFill, ExcludesRightAndBottomEdges)
{
    SoftCanvas canvas(6, 6, kUntouched);
    canvas.Open()->Fill({1, 2, 4, 5}, kWhite);
    EXPECT_EQ(CountPixels(canvas, kWhite), 3 * 3);
    EXPECT_TRUE(RegionIs(canvas, {1, 2, 4, 5}, kWhite));
}

TEST(SoftCanvasFill, ClipsToTheAreaAndIgnoresEmptyRectangles)
{
    SoftCanvas canvas(4, 3, kUntouched);
    const auto dc = canvas.Open();
    dc->Fill({3, 0, 1, 3}, kWhite);  // right < left
    dc->Fill({0, 2, 4, 2}, kWhite);  // bottom == top
    dc->Fill({INT_MIN, 5, INT_MAX, INT_MAX}, kWhite);  // wholly below
    EXPECT_EQ(CountPixels(canvas, kUntouched), 4 * 3);
    dc->Fill({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kRed);
    EXPECT_EQ(CountPixels(canvas, kRed), 4 * 3);
}

TEST(SoftCanvasLine, ExcludesTheEndPointInEveryDirection)
{
    SoftCanvas canvas(8, 8, kUntouched);
    const auto dc = canvas.Open();
    dc->SetLineColour(kWhite);
    dc->MoveTo(1, 0);
    dc->LineTo(4, 0);  // right: 1 to 3
    dc->MoveTo(6, 1);
    dc->LineTo(3, 1);  // left: 6 down to 4
    dc->MoveTo(0, 2);
    dc->LineTo(0, 5);  // down: 2 to 4
    dc->MoveTo(7, 7);
    dc->LineTo(7, 5);  // up: 7 down to 6
    dc->MoveTo(5, 5);
    dc->LineTo(5, 5);  // zero length: nothing
    EXPECT_TRUE(RegionIs(canvas, {1, 0, 4, 1}, kWhite));
    EXPECT_TRUE(RegionIs(canvas, {4, 1, 7, 2}, kWhite));
    EXPECT_TRUE(RegionIs(canvas, {0, 2, 1, 5}, kWhite));
    EXPECT_TRUE(RegionIs(canvas, {7, 6, 8, 8}, kWhite));
    EXPECT_EQ(CountPixels(canvas, kWhite), 3 + 3 + 3 + 2);
}

TEST(SoftCanvasLine, ContinuesFromTheLastEndPointWithTheDefaultBlackPen)
{
    SoftCanvas canvas(4, 4, kUntouched);
    const auto dc = canvas.Open();
    dc->MoveTo(0, 0);
    dc->LineTo(3, 0);
    dc->LineTo(3, 3);  // from (3, 0), the previous end point
    EXPECT_TRUE(RegionIs(canvas, {0, 0, 3, 1}, kBlack));
    EXPECT_TRUE(RegionIs(canvas, {3, 0, 4, 3}, kBlack));
    EXPECT_EQ(CountPixels(canvas, kBlack), 6);
}

TEST(SoftCanvasLine, ClipsFarCoordinates)
{
    SoftCanvas canvas(5, 4, kUntouched);
    const auto dc = canvas.Open();
    dc->SetLineColour(kWhite);
    dc->MoveTo(INT_MIN, 1);
    dc->LineTo(INT_MAX, 1);  // the whole row 1
    dc->MoveTo(2, INT_MAX);
    dc->LineTo(2, INT_MIN);  // the whole column 2
    dc->MoveTo(-1, -1);
    dc->LineTo(5, -1);  // above the area
    EXPECT_EQ(CountPixels(canvas, kWhite), 5 + 4 - 1);
}

TEST(SoftCanvasText, DigitsAreDistinctBlackGlyphsOnAWhiteCell)
{
    constexpr int kCell = SoftCanvas::kCellWidth * SoftCanvas::kCellHeight;
    std::set<std::vector<Colour>> glyphs;
    for (char c = '0'; c <= '9'; ++c) {
        SoftCanvas canvas(SoftCanvas::kCellWidth + 2, SoftCanvas::kCellHeight + 2, kUntouched);
        canvas.Open()->DrawChar(1, 1, c);
        const int black = CountPixels(canvas, kBlack);
        EXPECT_GT(black, 0) << c;
        EXPECT_EQ(black + CountPixels(canvas, kWhite), kCell) << c;
        EXPECT_EQ(canvas.Pixel(1, 1), kWhite) << "top-left of the cell, " << c;
        EXPECT_EQ(CountPixels(canvas, kUntouched), canvas.Width() * canvas.Height() - kCell);
        glyphs.insert({canvas.Pixels().begin(), canvas.Pixels().end()});
    }
    EXPECT_EQ(glyphs.size(), 10u);
}

TEST(SoftCanvasText, DigitStandsAtItsPlaceInTheCell)
{
    // The cell of "1" with its top-left corner at (2, 1): '.' untouched, 'w' white, '#' black.
    const char* const expected[] = {
        "...........",
        "..wwwwwwww.",
        "..wwwwwwww.",
        "..wwwwwwww.",
        "..www#wwww.",
        "..ww##wwww.",
        "..www#wwww.",
        "..www#wwww.",
        "..www#wwww.",
        "..www#wwww.",
        "..ww###www.",
        "..wwwwwwww.",
        "..wwwwwwww.",
        "..wwwwwwww.",
        "...........",
    };
    SoftCanvas canvas(11, 15, kUntouched);
    canvas.Open()->DrawChar(2, 1, '1');
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const char want = expected[y][x];
            const Colour colour = want == '#' ? kBlack : want == 'w' ? kWhite : kUntouched;
            EXPECT_EQ(canvas.Pixel(x, y), colour) << "(" << x << ", " << y << ")";
        }
    }
}

// Drawing is written when read or when its context closes; these guard the order of
// overlapping fills, whatever rows they share.
TEST(SoftCanvasDeferred, LaterFillsWinAndReadsSeeEverythingDrawn)
{
    SoftCanvas canvas(6, 4, kUntouched);
    const auto dc = canvas.Open();
    dc->Fill({0, 0, 6, 4}, kRed);
    dc->Fill({2, 0, 4, 4}, kWhite);
    EXPECT_TRUE(RegionIs(canvas, {2, 0, 4, 4}, kWhite));  // read while the context is open
    dc->Fill({0, 0, 3, 4}, kBlue);
    dc->Fill({5, 0, 6, 4}, kBlack);  // all full height: composed once per row
    EXPECT_TRUE(RegionIs(canvas, {0, 0, 3, 4}, kBlue));
    EXPECT_TRUE(RegionIs(canvas, {3, 0, 4, 4}, kWhite));
    EXPECT_TRUE(RegionIs(canvas, {4, 0, 5, 4}, kRed));
    EXPECT_TRUE(RegionIs(canvas, {5, 0, 6, 4}, kBlack));

    canvas.Resize(6, 4, kUntouched);
    dc->Fill({1, 0, 2, 4}, kWhite);
    dc->Fill({4, 0, 5, 4}, kWhite);  // partial rows keep what was there
    EXPECT_EQ(ColumnsOf(canvas, kWhite), (std::vector<int>{1, 4}));
    EXPECT_EQ(CountPixels(canvas, kUntouched), 4 * 4);
}

TEST(SoftCanvasDeferred, FillsBeginningAndEndingOnOtherRowsStayExact)
{
    // A wide canvas: every distinct row is composed once, and copied into many.
    constexpr int kWide = 4096;
    constexpr int kTall = 21;
    SoftCanvas canvas(kWide, kTall, kUntouched);
    {
        const auto dc = canvas.Open();
        dc->SetLineColour(kWhite);
        dc->MoveTo(7, 3);
        dc->LineTo(7, 18);
        dc->Fill({5, 6, 9, 14}, kRed);
        dc->DrawChar(100, 5, '4');
    }
    EXPECT_TRUE(RegionIs(canvas, {7, 3, 8, 6}, kWhite));
    EXPECT_TRUE(RegionIs(canvas, {5, 6, 9, 14}, kRed));
    EXPECT_TRUE(RegionIs(canvas, {7, 14, 8, 18}, kWhite));
    EXPECT_TRUE(CellShows(canvas, 100, 5, '4'));
    const int cell = SoftCanvas::kCellWidth * SoftCanvas::kCellHeight;
    EXPECT_EQ(CountPixels(canvas, kUntouched), kWide * kTall - 3 - 4 - 4 * 8 - cell);
}

TEST(SoftCanvasDeferred, ALongRunOfDrawingIsPaintedInOrder)
{
    // More fills than are held back at once.
    SoftCanvas canvas(3, 2, kUntouched);
    const auto dc = canvas.Open();
    dc->Fill({0, 1, 1, 2}, kWhite);
    for (int i = 0; i < 20000; ++i) dc->Fill({1, 0, 2, 1}, i % 2 == 0 ? kRed : kBlue);
    EXPECT_EQ(canvas.Pixel(0, 1), kWhite);
    EXPECT_EQ(canvas.Pixel(1, 0), kBlue);
    EXPECT_EQ(CountPixels(canvas, kUntouched), 4);
}

// The phase comes from the area's corner, not the rectangle's, even where the rectangle
// is cut at the edges; a checkerboard takes its turn among the other fills.
TEST(SoftCanvasChecker, KeepsItsPhaseAndItsPlaceInTheOrder)
{
    SoftCanvas canvas(5, 3, kUntouched);
    const auto dc = canvas.Open();
    dc->FillChecker({1, 1, 4, 3}, kWhite, kRed);
    EXPECT_TRUE(RegionIs(canvas, {1, 1, 2, 2}, kWhite));
    EXPECT_TRUE(RegionIs(canvas, {2, 1, 3, 2}, kRed));
    EXPECT_TRUE(RegionIs(canvas, {3, 2, 4, 3}, kRed));
    EXPECT_EQ(CountPixels(canvas, kUntouched), 15 - 6);

    dc->Fill({0, 0, 5, 3}, kBlue);
    dc->FillChecker({INT_MIN + 1, -3, 2, 2}, kWhite, kBlack);
    dc->Fill({4, 0, 5, 3}, kRed);  // full height, after a checkerboard
    EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
    EXPECT_EQ(canvas.Pixel(1, 0), kBlack);
    EXPECT_EQ(canvas.Pixel(1, 1), kWhite);
    EXPECT_EQ(CountPixels(canvas, kBlue), 15 - 4 - 3);
}

// Fills that share their rows or keep apart are composed once per distinct row; later
// fills must still win, and columns that no fill reaches keep their pixels.
TEST(SoftCanvasDeferred, ComposedRowsKeepOrderAndWhatWasThere)
{
    SoftCanvas canvas(5, 6, kUntouched);
    const auto dc = canvas.Open();
    dc->Fill({0, 4, 5, 6}, kRed);
    dc->Fill({0, 0, 3, 2}, kRed);
    dc->Fill({2, 0, 4, 2}, kWhite);
    dc->Fill({1, 4, 2, 6}, kBlue);
    EXPECT_TRUE(RegionIs(canvas, {0, 0, 2, 2}, kRed));
    EXPECT_TRUE(RegionIs(canvas, {2, 0, 4, 2}, kWhite));
    EXPECT_TRUE(RegionIs(canvas, {4, 0, 5, 4}, kUntouched));
    EXPECT_TRUE(RegionIs(canvas, {0, 2, 5, 4}, kUntouched));
    EXPECT_TRUE(RegionIs(canvas, {1, 4, 2, 6}, kBlue));
    EXPECT_EQ(CountPixels(canvas, kRed), 4 + 8);
}

}  // namespace
