#include "patterns/PaintCycle.h"

#include "app/AppState.h"
#include "config/Config.h"
#include "patterns/Motion.h"
#include "patterns/Painters.h"

namespace {

constexpr int kColourRampDivisor = 8;
constexpr int kBlackLevelFirst = 0;  // band 0 black, each next band one level lighter
constexpr int kWhiteLevelFirst = 255;
constexpr int kLevelUp = 1;
constexpr int kLevelDown = -1;

void ShowStartupMessages(Platform& platform)
{
    // Cleared before anything is shown: a paint nested in a message box's loop must
    // not show the messages again.
    g_app.firstPaintPending = 0;
    ReadModelsText(platform, "WELCOME");
    if (platform.messages.Show(MessageOwner::PatternWindow, g_app.scratch, g_app.scratchEncoding,
                               "Lumetta - Version 1.00", MessageButtons::OkCancel) == MessageAnswer::Cancel)
        platform.shell.DestroyPatternWindow();
    ReadModelsText(platform, "NOTES");
    platform.messages.Show(MessageOwner::PatternWindow, g_app.scratch, g_app.scratchEncoding,
                           "Lumetta - Setup Notes", MessageButtons::Ok);
}

}  // namespace

void PaintPattern(Canvas& canvas, PatternChoice choice)
{
    switch (choice.pattern) {
    case Pattern::UniformGrey:
        DrawGreyRamp(canvas, choice.number);
        break;
    case Pattern::VerticalLines:
        DrawVerticalLines(canvas, kWhite, choice.number);
        DrawFrame(canvas, kBlue);
        break;
    case Pattern::HorizontalLines:
        DrawHorizontalLines(canvas, kRed, 1);
        break;
    case Pattern::ColourRamp:
        DrawColourRamp(canvas, kColourRampDivisor);
        break;
    case Pattern::Hatch:
        DrawHatch(canvas, choice.number);
        break;
    case Pattern::LabelledRamp:
        DrawGreyRamp(canvas, 0);
        break;
    case Pattern::Border:
        FillBlack(canvas);
        DrawFrame(canvas, kWhite);
        break;
    case Pattern::White:
        FillSolid(canvas, kWhite);
        break;
    case Pattern::Black:
        FillBlack(canvas);
        break;
    // Only white keeps a margin in FillSolid: the primaries cover every pixel.
    case Pattern::Red:
        FillSolid(canvas, kRed);
        break;
    case Pattern::Green:
        FillSolid(canvas, kGreen);
        break;
    case Pattern::Blue:
        FillSolid(canvas, kBlue);
        break;
    case Pattern::BlackLevel:
        DrawLevelBands(canvas, kBlackLevelFirst, kLevelUp);
        break;
    case Pattern::WhiteLevel:
        DrawLevelBands(canvas, kWhiteLevelFirst, kLevelDown);
        break;
    case Pattern::Gamma:
        DrawGammaCheck(canvas);
        break;
    case Pattern::Checker:
        DrawChecker(canvas);
        break;
    case Pattern::Gradient:
        DrawGradients(canvas);
        break;
    // Its first frame; the frames after it are the moving pattern's own.
    case Pattern::Motion:
        DrawMotionFrame(canvas, 0, 1);
        break;
    case Pattern::None:
        break;
    }
}

void UseSinglePattern(std::string_view keyword)
{
    g_app.loadedStepCount = 1;
    g_app.stepCount = 3;
    g_app.currentStep = 2;
    g_app.firstPaintPending = 0;
    CopyText(g_app.steps[0].patternSpec, keyword);
}

void PaintPatternWindow(Platform& platform)
{
    const int index = g_app.currentStep - 2;
    // No such step: stay black.
    const PatternChoice choice = IsPatternStep(g_app) && index < kMaxSteps
                                     ? MatchPatternSpec(g_app.steps[index].patternSpec)
                                     : PatternChoice{Pattern::None, 0};
    // A moving pattern shows its frames from a thread of its own; every other step,
    // and the hidden window of the last one, stops it before anything is painted.
    const bool moving = choice.pattern == Pattern::Motion;
    if (!moving) platform.shell.StopMotion();
    if (g_app.currentStep == 1) {
        platform.patternScreen.ShowFrame(FillBlack);
        if (g_app.firstPaintPending != 0) ShowStartupMessages(platform);
        return;
    }
    if (g_app.currentStep == g_app.stepCount) {
        platform.patternScreen.ShowFrame(FillBlack);
        platform.shell.ShowPatternWindow(false);
        return;
    }
    if (moving) {
        platform.shell.ShowMotion(choice.number);
        return;
    }
    platform.patternScreen.ShowFrame([choice](Canvas& canvas) {
        FillBlack(canvas);
        PaintPattern(canvas, choice);
    });
}
