#include "CanvasChecks.h"
#include "patterns/Painters.h"

#include <climits>
#include <functional>
#include <string>

namespace {

struct NamedPainter {
    std::string name;
    std::function<void(Canvas&)> paint;
};

std::vector<NamedPainter> AllPainters()
{
    return {
        {"FillBlack", [](Canvas& c) { FillBlack(c); }},
        {"FillSolid white", [](Canvas& c) { FillSolid(c, kWhite); }},
        {"FillSolid red", [](Canvas& c) { FillSolid(c, kRed); }},
        {"DrawFrame", [](Canvas& c) { DrawFrame(c, kBlue); }},
        {"DrawVerticalLines", [](Canvas& c) { DrawVerticalLines(c, kWhite, 3); }},
        {"DrawVerticalLines huge", [](Canvas& c) { DrawVerticalLines(c, kWhite, INT_MAX); }},
        {"DrawHorizontalLines", [](Canvas& c) { DrawHorizontalLines(c, kRed, 1); }},
        {"DrawHorizontalLines huge", [](Canvas& c) { DrawHorizontalLines(c, kRed, INT_MAX); }},
        {"DrawHatch", [](Canvas& c) { DrawHatch(c, 2); }},
        {"DrawHatch 0", [](Canvas& c) { DrawHatch(c, 0); }},
        {"DrawHatch huge", [](Canvas& c) { DrawHatch(c, INT_MAX); }},
        {"DrawGreyRamp labels", [](Canvas& c) { DrawGreyRamp(c, 0); }},
        {"DrawGreyRamp uniform", [](Canvas& c) { DrawGreyRamp(c, 128); }},
        {"DrawColourRamp", [](Canvas& c) { DrawColourRamp(c, 8); }},
        {"DrawColourRamp 0", [](Canvas& c) { DrawColourRamp(c, 0); }},
        {"DrawLevelBands", [](Canvas& c) { DrawLevelBands(c, 255, -1); }},
        {"DrawGammaCheck", [](Canvas& c) { DrawGammaCheck(c); }},
        {"DrawChecker", [](Canvas& c) { DrawChecker(c); }},
        {"DrawGradients", [](Canvas& c) { DrawGradients(c); }},
    };
}

// Run under ASan: a painter that wrote outside the pixel buffer fails it.
TEST(Painters, NeverDrawOutsideTheAreaAtAnySize)
{
    const Size sizes[] = {{0, 0}, {1, 1}, {0, 7}, {7, 0}, {1, 9}, {9, 1}, {2, 2},
                          {3, 3}, {255, 3}, {257, 20}, {kScreenWidth, kScreenHeight}};
    for (const auto& painter : AllPainters()) {
        for (const Size size : sizes) {
            SoftCanvas canvas(size.width, size.height);
            SCOPED_TRACE(painter.name + " on " + std::to_string(size.width) + " x " +
                         std::to_string(size.height));
            painter.paint(canvas);
            canvas.Pixels();
        }
    }
}

TEST(Painters, OnOnePixelOnlyTheAreaIsPainted)
{
    SoftCanvas canvas(1, 1, kUntouched);
    FillBlack(canvas);
    EXPECT_EQ(canvas.Pixel(0, 0), kBlack);
    DrawGreyRamp(canvas, 0);  // one stripe of grey 255
    EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
    DrawColourRamp(canvas, 8);
    EXPECT_EQ(canvas.Pixel(0, 0), kRed);
}

// A painter that kept the size of an earlier call would leave the new area half done.
TEST(Painters, MeasureTheAreaAgainOnEveryCall)
{
    SoftCanvas canvas(4, 4, kUntouched);
    FillBlack(canvas);
    canvas.Resize(9, 6, kUntouched);
    FillBlack(canvas);
    EXPECT_EQ(CountPixels(canvas, kBlack), 9 * 6);
    DrawVerticalLines(canvas, kWhite, 1);
    EXPECT_EQ(ColumnsOf(canvas, kWhite), (std::vector<int>{0, 2, 4, 6, 8}));
}

}  // namespace
