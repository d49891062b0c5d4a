#include "platform/SoftCanvas.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <map>

namespace {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphLeft = 1;  // offset of the glyph inside its cell
constexpr int kGlyphTop = 3;

// Digits 0-9, one byte per glyph row, the glyph's left column in bit 4.
constexpr std::array<std::array<std::uint8_t, kGlyphHeight>, 10> kDigitGlyphs{{
    {0b01110, 0b10001, 0b10011, 0b10101, 0b11001, 0b10001, 0b01110},
    {0b00100, 0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110},
    {0b01110, 0b10001, 0b00001, 0b00010, 0b00100, 0b01000, 0b11111},
    {0b11111, 0b00010, 0b00100, 0b00010, 0b00001, 0b10001, 0b01110},
    {0b00010, 0b00110, 0b01010, 0b10010, 0b11111, 0b00010, 0b00010},
    {0b11111, 0b10000, 0b11110, 0b00001, 0b00001, 0b10001, 0b01110},
    {0b00110, 0b01000, 0b10000, 0b11110, 0b10001, 0b10001, 0b01110},
    {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b01000, 0b01000},
    {0b01110, 0b10001, 0b10001, 0b01110, 0b10001, 0b10001, 0b01110},
    {0b01110, 0b10001, 0b10001, 0b01111, 0b00001, 0b00010, 0b01100},
}};

// Sized so that a band stays in the cache while the recorded fills are painted into it.
constexpr std::size_t kBandBytes = 128 * 1024;
// Enough for a vertical grating across an 8K screen without an early flush.
constexpr std::size_t kMaxPendingFills = 8192;
// The longest repeat of rows that a run of rows is looked for with: two rows for lines
// on every other row and checkerboards, a few more for fine grids.
constexpr int kMaxRowPeriod = 8;

// The pixels of a line along one axis from a to b, b itself excluded, as a half-open range.
struct Range {
    std::int64_t from;
    std::int64_t to;
};

constexpr Range LineRange(int a, int b)
{
    return a <= b ? Range{a, b} : Range{std::int64_t{b} + 1, std::int64_t{a} + 1};
}

// Red and blue change places; done twice it gives the colour back.
constexpr std::uint32_t SwapRedBlue(std::uint32_t pixel)
{
    return (pixel & 0xFF) << 16 | (pixel & 0xFF00) | (pixel >> 16 & 0xFF);
}

}  // namespace

// Starts with the platform's defaults: the black pen, no pen of its own.
class SoftContext final : public DrawingContext {
public:
    explicit SoftContext(SoftCanvas& canvas) : canvas_(canvas) { ++canvas_.contextsOpened_; }
    ~SoftContext() override
    {
        ReleasePen();
        canvas_.Flush();
        ++canvas_.contextsClosed_;
    }
    SoftContext(const SoftContext&) = delete;
    SoftContext& operator=(const SoftContext&) = delete;

    void Fill(Rect rect, Colour colour) override
    {
        canvas_.FillRect(rect.left, rect.top, rect.right, rect.bottom, colour);
    }

    void FillChecker(Rect rect, Colour even, Colour odd) override
    {
        canvas_.FillRect(rect.left, rect.top, rect.right, rect.bottom, even, odd);
    }

    void SelectPen(Colour colour) override
    {
        ReleasePen();
        ++canvas_.pensCreated_;
        ++canvas_.livePens_;
        ownPen_ = true;
        pen_ = colour;
    }

    void MoveTo(int x, int y) override
    {
        x_ = x;
        y_ = y;
    }

    void LineTo(int x, int y) override
    {
        canvas_.DrawLine(x_, y_, x, y, pen_);
        MoveTo(x, y);
    }

    void DrawChar(int x, int y, char c) override { canvas_.DrawGlyph(x, y, c); }

private:
    void ReleasePen()
    {
        if (!ownPen_) return;
        --canvas_.livePens_;
        ownPen_ = false;
        pen_ = kBlack;
    }

    SoftCanvas& canvas_;
    Colour pen_ = kBlack;
    bool ownPen_ = false;
    int x_ = 0;
    int y_ = 0;
};

SoftCanvas::SoftCanvas(int width, int height, Colour background)
{
    Resize(width, height, background);
}

SoftCanvas::SoftCanvas(Size client, int firstRow, std::span<std::uint32_t> memory, PixelOrder order)
    : width_(std::max(client.width, 0)),
      height_(std::max(client.height, 0)),
      firstRow_(std::clamp(firstRow, 0, height_)),
      dibOrder_(order == PixelOrder::Dib),
      pixels_(memory.data())
{
    const std::size_t fit = width_ == 0 ? 0 : memory.size() / static_cast<std::size_t>(width_);
    rows_ = static_cast<int>(std::min<std::size_t>(fit, static_cast<std::size_t>(height_ - firstRow_)));
}

SoftCanvas::SoftCanvas(Size client, Colour background, PixelOrder order)
    : width_(std::max(client.width, 0)),
      height_(std::max(client.height, 0)),
      rows_(height_),
      dibOrder_(order == PixelOrder::Dib),
      recording_(true),
      background_(dibOrder_ ? SwapRedBlue(background) : background)
{
}

std::unique_ptr<DrawingContext> SoftCanvas::Open()
{
    return std::make_unique<SoftContext>(*this);
}

void SoftCanvas::Resize(int width, int height, Colour background)
{
    assert(pixels_ == storage_.data() && "only a canvas that owns its memory is resized");
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    rows_ = height_;
    pending_.clear();
    storage_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                    background);
    pixels_ = storage_.data();
}

std::span<const std::uint32_t> SoftCanvas::Pixels() const
{
    assert(!recording_ && "a recording canvas keeps no pixels");
    Flush();
    return {pixels_, static_cast<std::size_t>(width_) * static_cast<std::size_t>(rows_)};
}

Colour SoftCanvas::Pixel(int x, int y) const
{
    assert(x >= 0 && x < width_ && y >= firstRow_ && y < firstRow_ + rows_);
    assert(!recording_ && "a recording canvas keeps no pixels");
    Flush();
    const std::uint32_t pixel = Row(y)[x];
    return dibOrder_ ? SwapRedBlue(pixel) : pixel;
}

// Every drawing operation ends here; nothing outside the canvas is ever recorded.
void SoftCanvas::FillRect(std::int64_t left, std::int64_t top, std::int64_t right,
                          std::int64_t bottom, Colour colour, Colour oddColour)
{
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, firstRow_);
    right = std::min<std::int64_t>(right, width_);
    bottom = std::min<std::int64_t>(bottom, firstRow_ + rows_);
    if (left >= right || top >= bottom) return;
    if (pending_.size() == kMaxPendingFills && !recording_) Flush();
    if (dibOrder_) {
        colour = SwapRedBlue(colour);
        oddColour = SwapRedBlue(oddColour);
    }
    pending_.push_back({static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                        static_cast<int>(bottom), colour, oddColour});
}

void SoftCanvas::Flush() const
{
    if (pending_.empty() || recording_) return;
    if (!PaintStripes()) PaintInBands();
    pending_.clear();
}

// Fills of one colour whose rows are either the same or apart form horizontal stripes,
// and every row of a stripe changes in the same way: compose that change once per stripe,
// then blend it into each of its rows. Any other drawing is left, unpainted, to the bands.
bool SoftCanvas::PaintStripes() const
{
    std::vector<PendingFill> fills(pending_);
    std::stable_sort(fills.begin(), fills.end(),
                     [](const PendingFill& a, const PendingFill& b) { return a.top < b.top; });
    for (std::size_t i = 0; i < fills.size(); ++i) {
        if (!fills[i].Plain()) return false;
        if (i == 0) continue;
        const PendingFill& above = fills[i - 1];
        const bool sameRows = fills[i].top == above.top && fills[i].bottom == above.bottom;
        if (!sameRows && fills[i].top < above.bottom) return false;
    }

    const auto width = static_cast<std::size_t>(width_);
    std::vector<std::uint32_t> colours(width);
    std::vector<std::uint32_t> painted(width);  // all ones where a fill reaches
    for (auto first = fills.begin(); first != fills.end();) {
        const auto last = std::find_if(first, fills.end(), [&](const PendingFill& fill) {
            return fill.top != first->top;
        });
        std::uint32_t* row = Row(first->top);
        if (last - first == 1) {  // one fill alone is fastest written directly
            for (int y = first->top; y < first->bottom; ++y, row += width)
                std::fill(row + first->left, row + first->right, first->colour);
            first = last;
            continue;
        }
        std::fill(painted.begin(), painted.end(), 0u);
        for (auto fill = first; fill != last; ++fill) {
            std::fill(colours.begin() + fill->left, colours.begin() + fill->right, fill->colour);
            std::fill(painted.begin() + fill->left, painted.begin() + fill->right, ~0u);
        }
        const bool wholeRow = std::find(painted.begin(), painted.end(), 0u) == painted.end();
        for (int y = first->top; y < first->bottom; ++y, row += width) {
            if (wholeRow) {
                std::copy(colours.begin(), colours.end(), row);
                continue;
            }
            for (std::size_t x = 0; x < width; ++x)
                row[x] = (row[x] & ~painted[x]) | (colours[x] & painted[x]);
        }
        first = last;
    }
    return true;
}

void SoftCanvas::PaintInBands() const
{
    // Nothing is recorded on an empty canvas, so the width is at least 1 here.
    const auto width = static_cast<std::size_t>(width_);
    const auto rowBytes = width * sizeof(std::uint32_t);
    const auto bandRows = static_cast<int>(std::max<std::size_t>(kBandBytes / rowBytes, 1));
    // A checkerboard row is copied from one row of its colours that starts at column 0,
    // one pixel longer than the canvas so that odd rows can start at its second pixel.
    std::vector<std::uint32_t> checker;
    const int end = firstRow_ + rows_;
    for (int bandTop = firstRow_, bandBottom = 0; bandTop < end; bandTop = bandBottom) {
        bandBottom = bandTop + std::min(bandRows, end - bandTop);
        for (const PendingFill& fill : pending_) {
            const int top = std::max(fill.top, bandTop);
            const int bottom = std::min(fill.bottom, bandBottom);
            if (top >= bottom) continue;
            std::uint32_t* row = Row(top);
            if (!fill.Plain()) {
                if (checker.empty() || checker[0] != fill.colour || checker[1] != fill.oddColour) {
                    checker.resize(width + 1);
                    for (std::size_t x = 0; x < checker.size(); ++x)
                        checker[x] = x % 2 == 0 ? fill.colour : fill.oddColour;
                }
                const auto length = static_cast<std::size_t>(fill.right - fill.left);
                for (int y = top; y < bottom; ++y, row += width) {
                    const std::uint32_t* from = checker.data() + fill.left + (y & 1);
                    std::copy(from, from + length, row + fill.left);
                }
            } else if (fill.right - fill.left == 1) {  // a vertical line: one store per row
                for (int y = top; y < bottom; ++y, row += width) row[fill.left] = fill.colour;
            } else {
                for (int y = top; y < bottom; ++y, row += width) {
                    std::fill(row + fill.left, row + fill.right, fill.colour);
                }
            }
        }
    }
}

// Rows change only where a fill begins or ends: between two such edges every row is
// the same, or, where a checkerboard lies, every other row is. Each distinct row is
// composed once, from what covers it, in drawing order; returns each row's composed row.
std::vector<int> SoftCanvas::ComposeRows(FrameRows& frame) const
{
    const auto width = static_cast<std::size_t>(width_);
    std::vector<int> edges{0, height_};
    for (const PendingFill& fill : pending_) {
        edges.push_back(fill.top);
        edges.push_back(fill.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<std::size_t> byTop(pending_.size());
    for (std::size_t i = 0; i < byTop.size(); ++i) byTop[i] = i;
    std::stable_sort(byTop.begin(), byTop.end(),
                     [&](std::size_t a, std::size_t b) { return pending_[a].top < pending_[b].top; });

    // A row depends only on the columns and colours of what covers it, and, under a
    // checkerboard, on its parity: fills alike in those are one shape.
    std::map<std::array<std::uint32_t, 4>, std::uint32_t> shapes;
    std::vector<std::uint32_t> shapeOf(pending_.size());
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        const PendingFill& fill = pending_[i];
        const std::array<std::uint32_t, 4> shape{static_cast<std::uint32_t>(fill.left),
                                                 static_cast<std::uint32_t>(fill.right), fill.colour, fill.oddColour};
        shapeOf[i] = shapes.try_emplace(shape, static_cast<std::uint32_t>(shapes.size())).first->second;
    }

    std::vector<int> rowOf(static_cast<std::size_t>(height_));
    std::map<std::vector<std::uint32_t>, int> composed;  // parity and shapes covering a row: its row
    std::vector<std::size_t> covering;                   // in drawing order
    std::vector<std::uint32_t> key;
    auto nextFill = byTop.begin();
    for (std::size_t e = 0; e + 1 < edges.size(); ++e) {
        const int top = edges[e];
        std::erase_if(covering, [&](std::size_t i) { return pending_[i].bottom <= top; });
        for (; nextFill != byTop.end() && pending_[*nextFill].top == top; ++nextFill)
            covering.insert(std::upper_bound(covering.begin(), covering.end(), *nextFill), *nextFill);
        const bool checkered = std::any_of(covering.begin(), covering.end(),
                                           [&](std::size_t i) { return !pending_[i].Plain(); });
        int ids[2] = {0, 0};
        for (int y = top; y < std::min(top + (checkered ? 2 : 1), edges[e + 1]); ++y) {
            key.assign(1, checkered ? static_cast<std::uint32_t>(y & 1) : 0);
            for (std::size_t i : covering) key.push_back(shapeOf[i]);
            if (const auto known = composed.find(key); known != composed.end()) {
                ids[y & 1] = known->second;
                continue;
            }
            ids[y & 1] = static_cast<int>(composed.size());
            composed.emplace(key, ids[y & 1]);
            frame.rows.resize(frame.rows.size() + width, background_);
            std::uint32_t* row = frame.rows.data() + frame.rows.size() - width;
            for (std::size_t i : covering) {
                const PendingFill& fill = pending_[i];
                for (int x = fill.left; x < fill.right; ++x)
                    row[x] = ((x + y) & 1) == 0 ? fill.colour : fill.oddColour;
            }
        }
        for (int y = top; y < edges[e + 1]; ++y) rowOf[static_cast<std::size_t>(y)] = ids[checkered ? y & 1 : top & 1];
    }
    return rowOf;
}

FrameRows SoftCanvas::TakeRows()
{
    assert(recording_ && "only a recording canvas hands out its rows");
    FrameRows frame;
    frame.width = width_;
    if (width_ > 0 && height_ > 0) {
        const std::vector<int> rowOf = ComposeRows(frame);
        // Each run takes the repeat, up to kMaxRowPeriod rows, that carries it furthest.
        std::map<std::vector<int>, int> patterns;
        for (int start = 0; start < height_;) {
            int period = 1;
            int end = start + 1;
            for (int p = 1; p <= kMaxRowPeriod && start + p <= height_; ++p) {
                int reach = start + p;
                while (reach < height_ && rowOf[static_cast<std::size_t>(reach)] == rowOf[static_cast<std::size_t>(reach - p)])
                    ++reach;
                if (reach > end) {
                    period = p;
                    end = reach;
                }
            }
            // Row i of a pattern is for the rows y with y % period == i.
            std::vector<int> pattern(static_cast<std::size_t>(period));
            for (int y = start; y < start + period; ++y) pattern[static_cast<std::size_t>(y % period)] = rowOf[static_cast<std::size_t>(y)];
            const auto [at, added] = patterns.try_emplace(pattern, static_cast<int>(frame.patterns.size()));
            if (added) frame.patterns.push_back(std::move(pattern));
            frame.runs.push_back({start, end, at->second});
            start = end;
        }
    }
    pending_.clear();
    return frame;
}

void SoftCanvas::DrawLine(int x0, int y0, int x1, int y1, Colour colour)
{
    if (y0 == y1) {
        const Range columns = LineRange(x0, x1);
        FillRect(columns.from, y0, columns.to, std::int64_t{y0} + 1, colour);
    } else if (x0 == x1) {
        const Range rows = LineRange(y0, y1);
        FillRect(x0, rows.from, std::int64_t{x0} + 1, rows.to, colour);
    }
    // Painters draw only along the axes; a slanted line has no pixels here.
    assert((x0 == x1 || y0 == y1) && "slanted lines are not drawn");
}

void SoftCanvas::DrawGlyph(int x, int y, char c)
{
    const std::int64_t left = x;
    const std::int64_t top = y;
    // Black and white are the same in either pixel order.
    FillRect(left, top, left + kCellWidth, top + kCellHeight, kWhite);
    if (c < '0' || c > '9') return;
    const auto& glyph = kDigitGlyphs[static_cast<std::size_t>(c - '0')];
    for (int row = 0; row < kGlyphHeight; ++row) {
        for (int column = 0; column < kGlyphWidth; ++column) {
            if (glyph[static_cast<std::size_t>(row)] >> (kGlyphWidth - 1 - column) & 1) {
                const std::int64_t px = left + kGlyphLeft + column;
                const std::int64_t py = top + kGlyphTop + row;
                FillRect(px, py, px + 1, py + 1, kBlack);
            }
        }
    }
}
