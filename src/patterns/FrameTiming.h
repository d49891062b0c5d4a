// What the moving pattern learns from the times its frames reach the screen: the
// monitor's refresh rate, the frames it skipped, and whether the vertical-blank clock
// paces at all. Plain arithmetic on timestamps, so that it runs in tests on made-up
// streams.
#pragma once

#include <cstdint>
#include <span>

#include "patterns/Motion.h"

// Estimates the refresh rate from frame timestamps and counts skipped frames. The
// median interval gives the period, robust to stalls and late frames; the span of the
// recent timestamps over the whole periods it holds then refines it, so that jitter
// does not add up.
class RefreshEstimator {
public:
    static constexpr int kWindow = 240;      // timestamps kept, about 4 s at 60 Hz
    static constexpr int kMinIntervals = 8;  // before this there is no estimate

    // Seconds since any fixed moment; each later than the one before.
    void AddFrame(double seconds);
    // 0 until enough frames have been seen.
    double RefreshHz() const;
    // Frames that a gap of more than 1.5 periods left out, since the last Reset.
    std::int64_t SkippedFrames() const { return skipped_; }
    void Reset();

private:
    double MedianInterval() const;

    double times_[kWindow] = {};
    int count_ = 0;  // timestamps held, at most kWindow
    int next_ = 0;   // where the next one goes
    std::int64_t skipped_ = 0;
};

// Watches the first waits of a vertical-blank clock (DwmFlush) and decides whether it
// paces: one that fails, or that keeps returning at once (Wine's), does not.
class VBlankCheck {
public:
    static constexpr int kWaits = 8;
    enum class Verdict { Undecided, Paced, Unpaced };

    void AddWait(double seconds, bool succeeded);
    Verdict Result() const { return verdict_; }

private:
    double waits_[kWaits] = {};
    int count_ = 0;
    Verdict verdict_ = Verdict::Undecided;
};

// What the moving pattern's player decides, apart from waiting and drawing: when the
// next frame falls due, how far each frame moves the object, and when the readout is
// drawn again. Seconds on any clock, so that a test can run it on a made-up one.
class MotionClock {
public:
    static constexpr double kReadoutSeconds = 0.5;  // the readout changes at most this often

    // A new motion at speed px/s, on a display mode that reports nominalHz.
    void Restart(double now, int speed, double nominalHz);
    // The vertical-blank clock is waited on until its first waits prove that it does not
    // pace; the timer then takes over from now.
    bool WaitsForVBlank() const { return vblank_.Result() != VBlankCheck::Verdict::Unpaced; }
    void AddVBlankWait(double seconds, bool succeeded, double now);
    // When the timer is to wake for the next frame: due times run on from the first, so
    // that late wake-ups do not add up, but never lie before now.
    double NextDue(double now);
    // Frames the object moves on at this moment: a late frame moves it by those it
    // missed, so that its speed holds. 0 while the vertical-blank clock is on trial and
    // its wait returned at once: that was no frame at all.
    std::int64_t FramesDue(double now);
    // A frame reached the window at that moment.
    void FrameShown(double now) { estimator_.AddFrame(now); }
    // The readout's text into out when it is to be drawn now: at most every
    // kReadoutSeconds and only when changed, unless always.
    bool ReadoutDue(double now, bool always, std::span<char> out);

    int Step() const { return step_; }
    // The measured refresh rate once the vertical-blank clock paces and enough frames
    // were seen; the display mode's rate until then.
    double Rate() const;
    bool Measured() const;

private:
    RefreshEstimator estimator_;
    VBlankCheck vblank_;  // kept from motion to motion: the clock is the system's
    double nominalHz_ = 0;
    int step_ = 1;
    double nextDue_ = 0;
    double shownAt_ = 0;
    double readoutAt_ = 0;
    bool readoutShown_ = false;
    char readout_[kMotionReadoutSize] = {};
};
