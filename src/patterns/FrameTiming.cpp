#include "patterns/FrameTiming.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "base/Text.h"

namespace {

constexpr double kSkipFactor = 1.5;     // a gap above 1.5 periods left frames out
constexpr double kAtOnceSeconds = 0.001;  // a wait this short did not wait for anything

double Median(double* first, double* last)
{
    double* middle = first + (last - first) / 2;
    std::nth_element(first, middle, last);
    return *middle;
}

}  // namespace

void RefreshEstimator::AddFrame(double seconds)
{
    if (count_ > 0) {
        const double last = times_[(next_ + kWindow - 1) % kWindow];
        const double period = count_ > kMinIntervals ? 1.0 / RefreshHz() : 0;
        const double gap = seconds - last;
        if (period > 0 && gap > kSkipFactor * period) skipped_ += std::llround(gap / period) - 1;
    }
    times_[next_] = seconds;
    next_ = (next_ + 1) % kWindow;
    count_ = std::min(count_ + 1, kWindow);
}

double RefreshEstimator::MedianInterval() const
{
    double intervals[kWindow];
    const int oldest = (next_ + kWindow - count_) % kWindow;
    for (int i = 1; i < count_; ++i)
        intervals[i - 1] = times_[(oldest + i) % kWindow] - times_[(oldest + i - 1) % kWindow];
    return Median(intervals, intervals + count_ - 1);
}

double RefreshEstimator::RefreshHz() const
{
    if (count_ - 1 < kMinIntervals) return 0;
    const double median = MedianInterval();
    if (!(median > 0)) return 0;
    // Each interval holds a whole number of periods: a late frame two, an early return
    // none, so that neither bends the span's average.
    const int oldest = (next_ + kWindow - count_) % kWindow;
    std::int64_t periods = 0;
    for (int i = 1; i < count_; ++i) {
        const double interval = times_[(oldest + i) % kWindow] - times_[(oldest + i - 1) % kWindow];
        periods += std::llround(interval / median);
    }
    const double span = times_[(next_ + kWindow - 1) % kWindow] - times_[oldest];
    return periods > 0 && span > 0 ? static_cast<double>(periods) / span : 0;
}

void RefreshEstimator::Reset() { *this = RefreshEstimator{}; }

void VBlankCheck::AddWait(double seconds, bool succeeded)
{
    if (verdict_ != Verdict::Undecided) return;
    if (!succeeded) {
        verdict_ = Verdict::Unpaced;
        return;
    }
    waits_[count_++] = seconds;
    if (count_ < kWaits) return;
    verdict_ = Median(std::begin(waits_), std::end(waits_)) < kAtOnceSeconds ? Verdict::Unpaced : Verdict::Paced;
}

void MotionClock::Restart(double now, int speed, double nominalHz)
{
    nominalHz_ = nominalHz;
    step_ = MotionStepPerFrame(speed, nominalHz);
    estimator_.Reset();
    nextDue_ = shownAt_ = now;
    readoutShown_ = false;
}

void MotionClock::AddVBlankWait(double seconds, bool succeeded, double now)
{
    vblank_.AddWait(seconds, succeeded);
    if (!WaitsForVBlank()) nextDue_ = now;
}

double MotionClock::NextDue(double now)
{
    nextDue_ = std::max(nextDue_ + 1 / nominalHz_, now);
    return nextDue_;
}

std::int64_t MotionClock::FramesDue(double now)
{
    const std::int64_t least = vblank_.Result() == VBlankCheck::Verdict::Undecided ? 0 : 1;
    const std::int64_t frames = std::max<std::int64_t>(least, std::llround((now - shownAt_) * Rate()));
    if (frames > 0) shownAt_ = now;
    return frames;
}

bool MotionClock::ReadoutDue(double now, bool always, std::span<char> out)
{
    if (!always && readoutShown_ && now - readoutAt_ < kReadoutSeconds) return false;
    char text[sizeof readout_];
    const double rate = Rate();
    FormatMotionReadout(text, rate, Measured(), static_cast<int>(step_ * rate + 0.5), estimator_.SkippedFrames());
    readoutAt_ = now;
    const bool changed = !readoutShown_ || std::strcmp(text, readout_) != 0;
    readoutShown_ = true;
    CopyText(readout_, text);
    if (!always && !changed) return false;
    CopyText(out, text);
    return true;
}

double MotionClock::Rate() const { return Measured() ? estimator_.RefreshHz() : nominalHz_; }

bool MotionClock::Measured() const
{
    return vblank_.Result() == VBlankCheck::Verdict::Paced && estimator_.RefreshHz() > 0;
}
