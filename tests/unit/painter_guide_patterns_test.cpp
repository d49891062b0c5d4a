#include "CanvasChecks.h"
#include "patterns/PaintCycle.h"
#include "patterns/PatternGrammar.h"

#include <map>
#include <string>

namespace {

// What the keyword paints over kUntouched: without the paint cycle's black fill, a pixel
// that the painter forgets stays visible.
SoftCanvas Painted(const char* spec, int width, int height)
{
    SoftCanvas canvas(width, height, kUntouched);
    PaintPattern(canvas, MatchPatternSpec(spec));
    return canvas;
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

struct Picture {
    const char* spec;
    std::vector<std::string> rows;  // one letter a pixel
};

TEST(GuideKeywords, PaintEveryPixelOfTinyAreas)
{
    const std::map<char, Colour> legend = {
        {'#', kWhite},      {'.', kBlack},      {'R', kRed},         {'G', kGreen},
        {'B', kBlue},       {'a', GreyOf(174)}, {'b', GreyOf(180)},  {'c', GreyOf(186)},
        {'d', GreyOf(191)}, {'e', GreyOf(195)}, {'g', GreyOf(128)},  {'r', RgbOf(128, 0, 0)},
        {'n', RgbOf(0, 128, 0)}, {'u', RgbOf(0, 0, 128)},
    };
    const Picture pictures[] = {
        {"Red", {"RRR", "RRR"}}, {"Green", {"GGG", "GGG"}}, {"Blue", {"BBB", "BBB"}},
        // W / 2 = 3 columns of lines; band j starts at row j * 11 / 5: 0, 2, 4, 6, 8.
        {"Gamma", {"###aaaa", "...aaaa", "###bbbb", "...bbbb", "###cccc", "...cccc", "###dddd",
                   "...dddd", "###eeee", "...eeee", "###eeee"}},
        // Bands 0 and 2 are 0 rows high; one column has no left half at all.
        {"Gamma", {"##bb", "..dd", "##ee"}},
        {"Gamma", {"a", "b", "c", "c", "d", "e", "e"}},
        {"Checker", {"#.#.#", ".#.#.", "#.#.#"}},
        {"Checker", {"#"}},
        // Level x * 256 / 2: 0 and 128, in grey, red, green and blue; with two rows,
        // stripes 0 and 2 are 0 rows high, so red lies on top of blue.
        {"Gradient", {".g", ".r", ".n", ".u"}},
        {"Gradient", {".r", ".u"}},
        {"Gradient", {"."}},
    };
    for (const Picture& picture : pictures) {
        const int width = static_cast<int>(picture.rows[0].size());
        const int height = static_cast<int>(picture.rows.size());
        const SoftCanvas canvas = Painted(picture.spec, width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(canvas.Pixel(x, y), legend.at(picture.rows[y][x]))
                    << picture.spec << " on " << width << " x " << height << " at (" << x
                    << ", " << y << ")";
    }
}

TEST(LevelBands, BandEdgesTruncateAndBandsOfNoWidthPaintNothing)
{
    // Band i starts at i * 35 / 16: 0, 2, 4, 6, 8, 10, 13, 15, 17, 19, 21, 24, ...
    const std::vector<int> wide = {0, 0, 1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  5,  6,  6,  7,  7, 8,
                                   8, 9, 9, 10, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 15};
    EXPECT_EQ(GreyColumns(Painted("BlackLevel", 35, 4), 3), wide);
    EXPECT_EQ(GreyColumns(Painted("BlackLevel", 5, 2), 1), (std::vector<int>{3, 6, 9, 12, 15}));
    EXPECT_EQ(GreyColumns(Painted("WhiteLevel", 5, 2), 1),
              (std::vector<int>{252, 249, 246, 243, 240}));
    EXPECT_EQ(GreyColumns(Painted("WhiteLevel", 1, 1), 0), std::vector<int>{240});
}

TEST(Checker, HoldsAcrossAWideOddArea)
{
    // 4097 pixels wide paints in bands of 7 rows, so every other band starts on an odd row.
    const SoftCanvas canvas = Painted("Checker", 4097, 9);
    int wrong = 0;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            wrong += canvas.Pixel(x, y) != ((x + y) % 2 == 0 ? kWhite : kBlack);
    EXPECT_EQ(wrong, 0);
}

TEST(Gradients, StripeAndLevelEdgesTruncate)
{
    // Stripe k starts at row k * 9 / 4: 0, 2, 4, 6; column x has level x * 256 / 300.
    const SoftCanvas canvas = Painted("Gradient", 300, 9);
    for (const auto& [x, v] :
         {std::pair{1, 0}, std::pair{2, 1}, std::pair{298, 254}, std::pair{299, 255}}) {
        EXPECT_TRUE(RegionIs(canvas, {x, 0, x + 1, 2}, RgbOf(v, v, v))) << x;
        EXPECT_TRUE(RegionIs(canvas, {x, 6, x + 1, 9}, RgbOf(0, 0, v))) << x;
    }
    // Narrower than 256 columns: levels whose band is 0 wide are skipped.
    EXPECT_EQ(GreyColumns(Painted("Gradient", 10, 4), 0),
              (std::vector<int>{0, 25, 51, 76, 102, 128, 153, 179, 204, 230}));
}

}  // namespace
