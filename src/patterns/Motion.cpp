#include "patterns/Motion.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace {

constexpr std::string_view kMotionKeyword = "Motion";
constexpr int kMaxSpeedDigits = 4;
constexpr int kBands = 3;
constexpr Colour kBandGreys[kBands] = {0x404040, 0x808080, 0xC0C0C0};  // 64, 128 and 192
constexpr int kMinObjectSide = 16;
constexpr int kObjectSideDivisor = 8;  // the object is an eighth of the height

int BandEdge(int i, int height) { return static_cast<int>(std::int64_t{i} * height / kBands); }

Rect Intersect(Rect a, Rect b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

bool Empty(Rect r) { return r.left >= r.right || r.top >= r.bottom; }

void FillInside(DrawingContext& dc, Rect rect, Rect clip, Colour colour)
{
    const Rect cut = Intersect(rect, clip);
    if (!Empty(cut)) dc.Fill(cut, colour);
}

// A square that leaves the right edge comes back in at the left.
void FillWrapped(DrawingContext& dc, Rect rect, int width, Rect clip, Colour colour)
{
    FillInside(dc, rect, clip, colour);
    if (rect.right > width) FillInside(dc, {rect.left - width, rect.top, rect.right - width, rect.bottom}, clip, colour);
}

int ObjectTopInBand(int bandTop, int bandBottom, int side) { return bandTop + (bandBottom - bandTop - side) / 2; }

}  // namespace

std::optional<int> MotionSpeed(std::string_view spec)
{
    if (!spec.starts_with(kMotionKeyword)) return std::nullopt;
    const std::string_view digits = spec.substr(kMotionKeyword.size());
    if (digits.empty()) return kMotionDefaultSpeed;
    if (digits.size() > kMaxSpeedDigits || digits.front() == '0') return std::nullopt;
    int speed = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        speed = speed * 10 + (c - '0');
    }
    if (speed < kMotionMinSpeed || speed > kMotionMaxSpeed) return std::nullopt;
    return speed;
}

int MotionStepPerFrame(int speed, double refreshHz)
{
    if (!(refreshHz > 0)) return 1;
    return std::max(1, static_cast<int>(std::lround(speed / refreshHz)));
}

int MotionObjectSide(int height) { return std::max(kMinObjectSide, height / kObjectSideDivisor); }

int MotionObjectLeft(std::int64_t frame, int step, int width)
{
    if (width <= 0) return 0;
    const std::int64_t n = (frame % width + width) % width;
    const std::int64_t s = (std::int64_t{step} % width + width) % width;
    return static_cast<int>(n * s % width);
}

void DrawMotionFrame(Canvas& canvas, std::int64_t frame, int step, Rect clip)
{
    const Size size = canvas.ClientSize();
    const int width = std::max(size.width, 0);
    const int height = std::max(size.height, 0);
    clip = Intersect(clip, {0, 0, width, height});
    if (Empty(clip)) return;
    const auto dc = canvas.Open();
    const int side = std::min(MotionObjectSide(height), width);
    const int inner = side / 2;
    const int left = MotionObjectLeft(frame, step, width);
    for (int band = 0; band < kBands; ++band) {
        const Rect area{0, BandEdge(band, height), width, BandEdge(band + 1, height)};
        const Rect bandClip = Intersect(area, clip);
        if (Empty(bandClip)) continue;
        dc->Fill(bandClip, kBandGreys[band]);
        const int top = ObjectTopInBand(area.top, area.bottom, side);
        FillWrapped(*dc, {left, top, left + side, top + side}, width, bandClip, kWhite);
        const int innerLeft = left + (side - inner) / 2;
        const int innerTop = top + (side - inner) / 2;
        FillWrapped(*dc, {innerLeft, innerTop, innerLeft + inner, innerTop + inner}, width, bandClip, kBlack);
    }
}

void DrawMotionFrame(Canvas& canvas, std::int64_t frame, int step)
{
    const Size size = canvas.ClientSize();
    DrawMotionFrame(canvas, frame, step, {0, 0, size.width, size.height});
}

int MotionChangedColumns(std::int64_t from, std::int64_t to, int step, Size size, std::span<Rect, 4> out)
{
    if (size.width <= 0 || size.height <= 0) return 0;
    const int side = std::min(MotionObjectSide(size.height), size.width);
    int count = 0;
    for (const std::int64_t n : {from, to}) {
        const int left = MotionObjectLeft(n, step, size.width);
        out[count++] = {left, 0, std::min(left + side, size.width), size.height};
        if (left + side > size.width) out[count++] = {0, 0, left + side - size.width, size.height};
    }
    return count;
}

Rect MotionReadoutArea(Size size)
{
    const int objectTop = ObjectTopInBand(0, BandEdge(1, size.height), MotionObjectSide(size.height));
    if (size.width <= 0 || objectTop <= 0) return {0, 0, 0, 0};
    return {0, 0, size.width, objectTop};
}

bool MotionRowMoves(int y, int height)
{
    if (y < MotionReadoutArea({1, height}).bottom) return true;
    const int side = MotionObjectSide(height);
    for (int band = 0; band < kBands; ++band) {
        const int top = ObjectTopInBand(BandEdge(band, height), BandEdge(band + 1, height), side);
        if (y >= top && y < top + side) return true;
    }
    return false;
}

void FormatMotionReadout(std::span<char> out, double refreshHz, bool measured, int speed,
                         std::int64_t skipped)
{
    if (out.empty()) return;
    std::snprintf(out.data(), out.size(), "%.1f Hz%s  %d px/s  %" PRId64 " skipped", refreshHz,
                  measured ? "" : " (nominal)", speed, skipped);
}
