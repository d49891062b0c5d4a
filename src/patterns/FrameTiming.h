// What the moving pattern learns from the times its frames reach the screen: the
// monitor's refresh rate, the frames it skipped, and whether the vertical-blank clock
// paces at all. Plain arithmetic on timestamps, so that it runs in tests on made-up
// streams.
#pragma once

#include <cstdint>

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
