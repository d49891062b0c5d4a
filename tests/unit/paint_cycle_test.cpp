#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "patterns/PaintCycle.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

class PaintCycle : public ::testing::Test {
protected:
    PaintCycle()
    {
        g_app.firstPaintPending = 1;
        fake.shell.patternVisible = true;
    }
    // Puts the wizard on the pattern step of the given keyword.
    void OnPatternStep(const char* spec)
    {
        g_app.stepCount = 3;
        g_app.loadedStepCount = 1;
        g_app.currentStep = 2;
        CopyText(g_app.steps[0].patternSpec, spec);
    }
    void Paint() { PaintPatternWindow(fake.platform); }
    Colour At(int x, int y) { return fake.canvas.Pixel(x, y); }
    bool AllBlack()
    {
        for (std::uint32_t pixel : fake.canvas.Pixels())
            if (pixel != kBlack) return false;
        return true;
    }

    FakePlatform fake;
};

TEST_F(PaintCycle, FirstPaintAtStepOneShowsWelcomeThenNotesOnce)
{
    fake.WriteIni("[MODELS]\nWELCOME=Hello\\nthere\nNOTES=Read me\n");
    fake.canvas.Resize(kWidth, kHeight, kWhite);
    Paint();
    EXPECT_TRUE(AllBlack());
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    const ShownMessage& welcome = fake.messages.shown[0];
    EXPECT_EQ(welcome.text, "Hello\r\nthere");
    EXPECT_EQ(welcome.caption, "Lumetta - Version 1.00");
    EXPECT_EQ(welcome.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(welcome.owner, MessageOwner::PatternWindow);
    const ShownMessage& notes = fake.messages.shown[1];
    EXPECT_EQ(notes.text, "Read me");
    EXPECT_EQ(notes.caption, "Lumetta - Setup Notes");
    EXPECT_EQ(notes.buttons, MessageButtons::Ok);
    EXPECT_EQ(g_app.firstPaintPending, 0);
    EXPECT_FALSE(fake.shell.destroyed);

    fake.canvas.Resize(kWidth, kHeight, kWhite);
    Paint();
    EXPECT_TRUE(AllBlack());
    EXPECT_EQ(fake.messages.shown.size(), 2u);
}

TEST_F(PaintCycle, MissingTextsStillShowBothBoxes)
{
    Paint();
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].text, "");
    EXPECT_EQ(fake.messages.shown[1].text, "");
}

TEST_F(PaintCycle, CancelInTheWelcomeEndsTheRunAndTheNotesStillFollow)
{
    fake.messages.answer = MessageAnswer::Cancel;
    Paint();
    EXPECT_TRUE(fake.shell.destroyed);
    EXPECT_EQ(fake.messages.shown.size(), 2u);
}

// A message box runs a message loop, and a paint that arrives meanwhile must not
// show the messages again.
// The welcome box stands over a black screen that is already shown, not one still in memory.
TEST_F(PaintCycle, PaintNestedInTheWelcomeBoxStaysBlack)
{
    class NestingBoxes final : public MessageBoxes {
    public:
        NestingBoxes(Platform*& platform, const int& frames) : platform_(platform), frames_(frames) {}
        MessageAnswer Show(MessageOwner, const char*, TextEncoding, const char*, MessageButtons) override
        {
            if (++shown == 1) {
                framesBeforeWelcome = frames_;
                PaintPatternWindow(*platform_);
            }
            return MessageAnswer::Ok;
        }
        int shown = 0;
        int framesBeforeWelcome = 0;

    private:
        Platform*& platform_;
        const int& frames_;
    };
    Platform* self = nullptr;
    NestingBoxes boxes(self, fake.screen.frames);
    Platform nesting{fake.ini, boxes, fake.dialog, fake.screen, fake.shell, fake.settings, fake.files};
    self = &nesting;
    PaintPatternWindow(nesting);
    EXPECT_EQ(boxes.shown, 2);
    EXPECT_EQ(boxes.framesBeforeWelcome, 1);
}

TEST_F(PaintCycle, LastStepPaintsBlackAndHidesTheWindow)
{
    OnPatternStep("White");
    g_app.currentStep = 3;
    Paint();
    EXPECT_TRUE(AllBlack());
    EXPECT_FALSE(fake.shell.patternVisible);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(PaintCycle, StepCountOfOneIsStillStepOne)
{
    g_app.firstPaintPending = 0;
    g_app.stepCount = 1;
    Paint();
    EXPECT_TRUE(fake.shell.patternVisible);
    EXPECT_TRUE(AllBlack());
}

TEST_F(PaintCycle, PatternStepPaintsItsKeywordOverBlack)
{
    fake.canvas.Resize(kWidth, kHeight, kRed);
    OnPatternStep("Border");
    Paint();
    EXPECT_EQ(At(0, 0), kWhite);
    EXPECT_EQ(At(1, 20), kWhite);
    EXPECT_EQ(At(2, 20), kBlack);
    EXPECT_EQ(At(kWidth / 2, kHeight / 2), kBlack);
    EXPECT_TRUE(fake.shell.patternVisible);
}

// A moving step is the player's to show, whole, and nothing is painted over it; any
// other paint stops it.
TEST_F(PaintCycle, AMotionStepHandsItsSpeedToThePlayerAndOtherStepsStopIt)
{
    fake.canvas.Resize(kWidth, kHeight, kRed);
    OnPatternStep("Motion120");
    Paint();
    EXPECT_EQ(fake.shell.motionSpeed, 120);
    EXPECT_EQ(fake.screen.frames, 0);
    for (int step : {3, 1}) {
        g_app.currentStep = step;
        Paint();
        EXPECT_EQ(fake.shell.motionSpeed, 0) << step;
    }
    OnPatternStep("Motion");
    Paint();
    OnPatternStep("White");
    Paint();
    EXPECT_EQ(fake.shell.motionSpeed, 0);
}

TEST_F(PaintCycle, UnknownKeywordLeavesTheScreenBlack)
{
    for (const char* spec : {"Border ", "white", "", "H2Lines"}) {
        fake.canvas.Resize(kWidth, kHeight, kWhite);
        OnPatternStep(spec);
        Paint();
        EXPECT_TRUE(AllBlack()) << spec;
    }
}

TEST_F(PaintCycle, EachKeywordReachesItsPainter)
{
    struct Probe {
        const char* spec;
        int x, y;
        Colour colour;
    };
    const Probe probes[] = {
        {"White", 5, 5, kWhite},           {"White", 0, 0, kBlack},
        {"Gray64", 30, 30, 0x404040},      {"Gray-1", 30, 30, kWhite},
        {"V3Lines", 6, 20, kWhite},        {"V3Lines", 4, 20, kBlack},
        {"V3Lines", 0, 20, kBlue},         {"V-2Lines", 4, 20, kBlack},
        {"V-2Lines", 1, 20, kBlue},        {"HLines", 10, 2, kRed},
        {"HLines", 10, 3, kBlack},         {"CLines", 0, 10, 0x0000FF},
        {"CHatch", 32, 10, kWhite},        {"CHatch", 31, 10, kBlack},
        {"C4Hatch", 16, 10, kWhite},       {"Black", 5, 5, kBlack},
        {"Help", 5, 5, kBlack},
    };
    for (const Probe& p : probes) {
        fake.canvas.Resize(kWidth, kHeight, kRed);
        OnPatternStep(p.spec);
        Paint();
        EXPECT_EQ(At(p.x, p.y), p.colour) << p.spec << " at (" << p.x << ", " << p.y << ")";
    }
}

}  // namespace
