#include "CanvasChecks.h"
#include "patterns/PaintCycle.h"
#include "patterns/PatternGrammar.h"

#include <map>
#include <string>

namespace {

// What the keyword paints on a canvas that still shows kUntouched: the paint cycle's
// black fill is left out, so a pixel the painter forgets stays visible.
SoftCanvas Painted(const char* spec, int width, int height)
{
    SoftCanvas canvas(width, height, kUntouched);
    PaintPattern(canvas, MatchPatternSpec(spec));
    return canvas;
}

// Row y of the picture gives the pixels of row y, one letter a pixel, looked up in the legend.
void ExpectPicture(const SoftCanvas& canvas, const std::vector<std::string>& picture,
                   const std::map<char, Colour>& legend)
{
    ASSERT_EQ(canvas.Height(), static_cast<int>(picture.size()));
    for (int y = 0; y < canvas.Height(); ++y) {
        ASSERT_EQ(canvas.Width(), static_cast<int>(picture[y].size()));
        for (int x = 0; x < canvas.Width(); ++x) {
            EXPECT_EQ(canvas.Pixel(x, y), legend.at(picture[y][x])) << "(" << x << ", " << y << ")";
        }
    }
}

// The grey level of every column along row y; -1 where the pixel is no grey.
std::vector<int> GreyColumns(const SoftCanvas& canvas, int y)
{
    std::vector<int> levels;
    for (int x = 0; x < canvas.Width(); ++x) {
        const int level = static_cast<int>(canvas.Pixel(x, y) & 0xFF);
        levels.push_back(canvas.Pixel(x, y) == GreyOf(level) ? level : -1);
    }
    return levels;
}

TEST(Primaries, CoverEveryPixelWithNoMargin)
{
    for (const auto& [spec, colour] : {std::pair{"Red", Colour{0x0000FF}},
                                       std::pair{"Green", Colour{0x00FF00}},
                                       std::pair{"Blue", Colour{0xFF0000}}}) {
        for (const Size size : {Size{1, 1}, Size{3, 2}, Size{kScreenWidth, kScreenHeight}}) {
            const SoftCanvas canvas = Painted(spec, size.width, size.height);
            EXPECT_EQ(CountPixels(canvas, colour), size.width * size.height) << spec;
        }
    }
}

TEST(LevelBands, SixteenColumnsGiveOneLevelEach)
{
    const SoftCanvas black = Painted("BlackLevel", 16, 3);
    const SoftCanvas white = Painted("WhiteLevel", 16, 3);
    for (int x = 0; x < 16; ++x) {
        EXPECT_TRUE(RegionIs(black, {x, 0, x + 1, 3}, GreyOf(x)));
        EXPECT_TRUE(RegionIs(white, {x, 0, x + 1, 3}, GreyOf(255 - x)));
    }
}

TEST(LevelBands, BandEdgesTruncate)
{
    // Band i starts at i * 35 / 16: 0, 2, 4, 6, 8, 10, 13, 15, 17, 19, 21, 24, ...
    const std::vector<int> wide = {0, 0, 1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  5,  6,  6,  7,  7, 8,
                                   8, 9, 9, 10, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 15};
    const SoftCanvas black = Painted("BlackLevel", 35, 4);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(GreyColumns(black, y), wide);

    // Narrower than 16: the bands that are 0 wide paint nothing.
    EXPECT_EQ(GreyColumns(Painted("BlackLevel", 5, 2), 1), (std::vector<int>{3, 6, 9, 12, 15}));
    EXPECT_EQ(GreyColumns(Painted("WhiteLevel", 5, 2), 1),
              (std::vector<int>{252, 249, 246, 243, 240}));
    EXPECT_EQ(Painted("BlackLevel", 1, 1).Pixel(0, 0), GreyOf(15));
    EXPECT_EQ(Painted("WhiteLevel", 1, 1).Pixel(0, 0), GreyOf(240));
}

const std::map<char, Colour> kGammaLegend = {
    {'#', kWhite},      {'.', kBlack},      {'a', GreyOf(174)}, {'b', GreyOf(180)},
    {'c', GreyOf(186)}, {'d', GreyOf(191)}, {'e', GreyOf(195)},
};

TEST(GammaCheck, LinesOnTheLeftAndFiveBandsOnTheRight)
{
    // W / 2 = 3 columns of lines; band j starts at row j * 11 / 5: 0, 2, 4, 6, 8.
    ExpectPicture(Painted("Gamma", 7, 11),
                  {"###aaaa", "...aaaa", "###bbbb", "...bbbb", "###cccc", "...cccc", "###dddd",
                   "...dddd", "###eeee", "...eeee", "###eeee"},
                  kGammaLegend);
}

TEST(GammaCheck, SmallAreasKeepTheRules)
{
    // Fewer than 5 rows: bands 0 and 2 are 0 rows high (band j starts at j * 3 / 5).
    ExpectPicture(Painted("Gamma", 4, 3), {"##bb", "..dd", "##ee"}, kGammaLegend);
    // One column: no left half at all.
    ExpectPicture(Painted("Gamma", 1, 7), {"a", "b", "c", "c", "d", "e", "e"}, kGammaLegend);
    ExpectPicture(Painted("Gamma", 1, 1), {"e"}, kGammaLegend);
    ExpectPicture(Painted("Gamma", 2, 1), {"#e"}, kGammaLegend);
}

TEST(Checker, WhiteWhereXPlusYIsEven)
{
    ExpectPicture(Painted("Checker", 5, 3), {"#.#.#", ".#.#.", "#.#.#"},
                  {{'#', kWhite}, {'.', kBlack}});
    ExpectPicture(Painted("Checker", 1, 1), {"#"}, {{'#', kWhite}});
}

TEST(Checker, HoldsAcrossAWideOddArea)
{
    // 4097 pixels wide paints in bands of a few rows, and odd rows start a pixel later.
    const SoftCanvas canvas = Painted("Checker", 4097, 9);
    int wrong = 0;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            wrong += canvas.Pixel(x, y) != ((x + y) % 2 == 0 ? kWhite : kBlack);
    EXPECT_EQ(wrong, 0);
}

TEST(Gradients, FourStripesOfGreyRedGreenBlue)
{
    // 8 columns: level x * 256 / 8 = 32 x.
    const SoftCanvas canvas = Painted("Gradient", 8, 4);
    for (int x = 0; x < 8; ++x) {
        const int v = 32 * x;
        EXPECT_EQ(canvas.Pixel(x, 0), RgbOf(v, v, v)) << x;
        EXPECT_EQ(canvas.Pixel(x, 1), RgbOf(v, 0, 0)) << x;
        EXPECT_EQ(canvas.Pixel(x, 2), RgbOf(0, v, 0)) << x;
        EXPECT_EQ(canvas.Pixel(x, 3), RgbOf(0, 0, v)) << x;
    }
}

TEST(Gradients, LevelEdgesTruncateAndStripesSplitTheRows)
{
    // Stripe k starts at row k * 9 / 4: 0, 2, 4, 6.
    const SoftCanvas canvas = Painted("Gradient", 300, 9);
    struct Column {
        int x;
        int v;
    };
    for (const auto [x, v] : {Column{0, 0}, Column{1, 0}, Column{2, 1}, Column{297, 253},
                              Column{298, 254}, Column{299, 255}}) {
        EXPECT_TRUE(RegionIs(canvas, {x, 0, x + 1, 2}, RgbOf(v, v, v))) << x;
        EXPECT_TRUE(RegionIs(canvas, {x, 2, x + 1, 4}, RgbOf(v, 0, 0))) << x;
        EXPECT_TRUE(RegionIs(canvas, {x, 4, x + 1, 6}, RgbOf(0, v, 0))) << x;
        EXPECT_TRUE(RegionIs(canvas, {x, 6, x + 1, 9}, RgbOf(0, 0, v))) << x;
    }

    // Narrower than 256: levels whose band is 0 wide are skipped.
    EXPECT_EQ(GreyColumns(Painted("Gradient", 10, 4), 0),
              (std::vector<int>{0, 25, 51, 76, 102, 128, 153, 179, 204, 230}));
    // Two rows: stripes 0 and 2 are 0 rows high, so red is on top and blue below.
    const SoftCanvas flat = Painted("Gradient", 2, 2);
    EXPECT_EQ(flat.Pixel(1, 0), RgbOf(128, 0, 0));
    EXPECT_EQ(flat.Pixel(1, 1), RgbOf(0, 0, 128));
    EXPECT_EQ(Painted("Gradient", 1, 1).Pixel(0, 0), kBlack);
}

TEST(Gradients, EveryLevelAppearsOnAWideScreen)
{
    // At 1280 pixels each level is 5 columns wide; the last one ends at the right edge.
    const SoftCanvas canvas = Painted("Gradient", kScreenWidth, 8);
    for (int v = 0; v < 256; ++v) {
        ASSERT_TRUE(RegionIs(canvas, {5 * v, 6, 5 * v + 5, 8}, RgbOf(0, 0, v))) << v;
    }
    EXPECT_EQ(CountPixels(canvas, kUntouched), 0);
}

}  // namespace
