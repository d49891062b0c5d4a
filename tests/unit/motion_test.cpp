// The moving pattern's frames, its step per frame, and what it learns from frame times.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "CanvasChecks.h"
#include "patterns/FrameTiming.h"
#include "patterns/Motion.h"
#include "platform/SoftCanvas.h"

namespace {

constexpr Colour kGrey64 = 0x404040;
constexpr Colour kGrey192 = 0xC0C0C0;

// 40 x 48: bands 16 high, the object 16 square with an 8-pixel black centre.
TEST(MotionFrame, ObjectCrossesEveryBandAtOneXAndWrapsRound)
{
    SoftCanvas canvas(40, 48);
    DrawMotionFrame(canvas, 0, 1);
    EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
    EXPECT_EQ(canvas.Pixel(4, 4), kBlack);
    EXPECT_EQ(canvas.Pixel(11, 36), kBlack);
    EXPECT_EQ(canvas.Pixel(16, 0), kGrey64);
    EXPECT_EQ(canvas.Pixel(39, 47), kGrey192);

    DrawMotionFrame(canvas, 10, 3);  // left edge at 30: columns 30 to 39, then 0 to 5
    EXPECT_EQ(canvas.Pixel(30, 20), kWhite);
    EXPECT_EQ(canvas.Pixel(0, 40), kBlack);  // the centre wraps too: 34 to 39, then 0 and 1
    EXPECT_EQ(canvas.Pixel(2, 40), kWhite);
    EXPECT_EQ(canvas.Pixel(6, 40), kGrey192);
    EXPECT_EQ(canvas.Pixel(29, 8), kGrey64);
}

// Painting only the changed columns over an earlier frame gives the later one.
TEST(MotionFrame, ChangedColumnsTurnThePreviousFrameIntoTheNext)
{
    for (const Size size : {Size{1, 1}, Size{7, 5}, Size{40, 48}, Size{301, 217}}) {
        for (const int step : {1, 5, 16, 301}) {
            SoftCanvas updated(size.width, size.height);
            DrawMotionFrame(updated, 0, step);
            // One frame on, and now and then two where one was skipped.
            for (std::int64_t frame = 1, previous = 0; frame < 90; previous = frame, frame += frame % 7 ? 1 : 2) {
                std::array<Rect, 4> columns{};
                const int count = MotionChangedColumns(previous, frame, step, size, columns);
                for (int i = 0; i < count; ++i) DrawMotionFrame(updated, frame, step, columns[i]);
                SoftCanvas whole(size.width, size.height);
                DrawMotionFrame(whole, frame, step);
                ASSERT_TRUE(std::ranges::equal(updated.Pixels(), whole.Pixels())) << size.width << "x" << size.height << " step " << step
                                                        << " frame " << frame;
            }
        }
    }
}

TEST(MotionTiming, WholePixelsPerFrameAtCommonRates)
{
    const std::pair<double, int> rates[] = {{59.94, 16}, {60, 16}, {75, 13}, {120, 8}, {144, 7}, {165, 6}, {240, 4}};
    for (const auto& [hz, step] : rates) EXPECT_EQ(MotionStepPerFrame(960, hz), step) << hz;
    EXPECT_EQ(MotionStepPerFrame(60, 240), 1);
}

// Frame times at the given rate, from 0, with a deterministic jitter of up to +-jitter
// seconds on each, and every frame numbered in dropped left out.
RefreshEstimator Feed(double hz, int frames, double jitter = 0, int dropEvery = 0, double stallAt = -1)
{
    RefreshEstimator estimator;
    unsigned noise = 12345;
    double offset = 0;
    for (int n = 0; n < frames; ++n) {
        noise = noise * 1103515245 + 12345;
        const double shake = jitter * (static_cast<double>(noise >> 16 & 0x7FFF) / 0x3FFF - 1.0);
        if (n == stallAt) offset = 2.0;  // two seconds without a frame
        if (dropEvery == 0 || n % dropEvery != 0) estimator.AddFrame(offset + n / hz + shake);
    }
    return estimator;
}

TEST(MotionTiming, RefreshEstimateAndSkippedFrames)
{
    EXPECT_NEAR(Feed(60, 300).RefreshHz(), 60, 0.01);
    EXPECT_NEAR(Feed(59.94, 300).RefreshHz(), 59.94, 0.01);
    EXPECT_NEAR(Feed(144, 600).RefreshHz(), 144, 0.01);
    const RefreshEstimator jittery = Feed(60, 300, 0.001);
    EXPECT_NEAR(jittery.RefreshHz(), 60, 0.05);
    EXPECT_EQ(jittery.SkippedFrames(), 0);
    EXPECT_NEAR(Feed(60, 300, 0.003).RefreshHz(), 60, 0.1);  // the shortest interval would double it

    const RefreshEstimator dropping = Feed(60, 300, 0, 25);  // frames 25, 50, ... 275 never shown
    EXPECT_NEAR(dropping.RefreshHz(), 60, 0.01);
    EXPECT_EQ(dropping.SkippedFrames(), 11);
    const RefreshEstimator stalled = Feed(60, 300, 0, 0, 150);
    EXPECT_NEAR(stalled.RefreshHz(), 60, 0.01);
    EXPECT_EQ(stalled.SkippedFrames(), 120);
    EXPECT_EQ(Feed(60, 5).RefreshHz(), 0);
}

TEST(MotionTiming, VBlankClockThatFailsOrNeverWaitsDoesNotPace)
{
    VBlankCheck failing, atOnce, waiting;
    failing.AddWait(0.016, false);
    for (int i = 0; i < VBlankCheck::kWaits + 4; ++i) {  // waits after the verdict change nothing
        atOnce.AddWait(0.0005, true);                     // as long as Wine's takes
        waiting.AddWait(0.015, true);
    }
    EXPECT_EQ(failing.Result(), VBlankCheck::Verdict::Unpaced);
    EXPECT_EQ(atOnce.Result(), VBlankCheck::Verdict::Unpaced);
    EXPECT_EQ(waiting.Result(), VBlankCheck::Verdict::Paced);
}

// On a made-up clock, where the vertical blank does not pace (Wine) and the timer takes over.
TEST(MotionTiming, DueTimesRunOnFromTheFirstAndLateFramesCatchUp)
{
    MotionClock clock;
    clock.Restart(10, 960, 60);
    EXPECT_EQ(clock.FramesDue(10.0001), 0);  // a wait that returned at once while on trial
    for (int i = 0; i < VBlankCheck::kWaits; ++i) clock.AddVBlankWait(0.00002, true, 10);
    ASSERT_FALSE(clock.WaitsForVBlank());
    EXPECT_EQ(clock.Step(), 16);
    const double period = 1.0 / 60;
    EXPECT_DOUBLE_EQ(clock.NextDue(10), 10 + period);
    EXPECT_DOUBLE_EQ(clock.NextDue(10 + period + 0.002), 10 + 2 * period);  // a late wake-up adds nothing
    EXPECT_DOUBLE_EQ(clock.NextDue(10.1), 10.1);                             // never before now
    EXPECT_EQ(clock.FramesDue(10 + period), 1);
    EXPECT_EQ(clock.FramesDue(10 + 4 * period), 3);  // late: the object moves on by the frames missed
}

TEST(MotionTiming, TheReadoutIsDrawnAtMostEveryHalfSecondAndOnlyWhenItChanges)
{
    MotionClock clock;
    clock.Restart(0, 960, 60);
    char text[kMotionReadoutSize];
    EXPECT_TRUE(clock.ReadoutDue(0, true, text));
    EXPECT_FALSE(clock.ReadoutDue(0.6, false, text));  // unchanged
    for (const int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13}) clock.FrameShown(n / 60.0);  // two skipped
    EXPECT_FALSE(clock.ReadoutDue(0.9, false, text));  // too soon after the last look
    EXPECT_TRUE(clock.ReadoutDue(1.2, false, text));
    EXPECT_STREQ(text, "60.0 Hz (nominal)  960 px/s  2 skipped");
}

// A rate Lumetta only asked for is never passed off as a measured one.
TEST(MotionReadout, SaysWhenTheRateIsNominalAndFindsNoRoomOnATinyScreen)
{
    char text[64];
    FormatMotionReadout(text, 60, false, 960, 0);
    EXPECT_STREQ(text, "60.0 Hz (nominal)  960 px/s  0 skipped");
    EXPECT_EQ(MotionReadoutArea({40, 48}).bottom, 0);
}

}  // namespace
