#include "platform/SoftCanvas.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <map>
#include <tuple>

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

// Up to this many spans of a composed row are copied one by one.
constexpr std::size_t kFewSpans = 8;
// Up to this many pixels are copied in line rather than by a call.
constexpr int kShortSpan = 64;
// The longest repeat of rows that a run is looked for with: two rows for lines on every
// other row and checkerboards, a few more for fine grids.
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

// Starts with the platform's defaults: black lines.
class FillContext final : public DrawingContext {
public:
    explicit FillContext(FillRecord& canvas) : canvas_(canvas) {}
    ~FillContext() override { canvas_.ContextClosed(); }
    FillContext(const FillContext&) = delete;
    FillContext& operator=(const FillContext&) = delete;

    void Fill(Rect rect, Colour colour) override { canvas_.FillRect(rect.left, rect.top, rect.right, rect.bottom, colour); }
    void FillChecker(Rect rect, Colour even, Colour odd) override
    {
        canvas_.FillRect(rect.left, rect.top, rect.right, rect.bottom, even, odd);
    }
    void SetLineColour(Colour colour) override { line_ = colour; }
    void MoveTo(int x, int y) override
    {
        x_ = x;
        y_ = y;
    }
    void LineTo(int x, int y) override
    {
        canvas_.DrawLine(x_, y_, x, y, line_);
        MoveTo(x, y);
    }
    void DrawChar(int x, int y, char c) override { canvas_.DrawGlyph(x, y, c); }

private:
    FillRecord& canvas_;
    Colour line_ = kBlack;
    int x_ = 0;
    int y_ = 0;
};

FillRecord::FillRecord(Size client, PixelOrder order, Colour background)
    : width_(std::max(client.width, 0)),
      height_(std::max(client.height, 0)),
      rows_(height_),
      dibOrder_(order == PixelOrder::Dib),
      background_(dibOrder_ ? SwapRedBlue(background) : background)
{
}

std::unique_ptr<DrawingContext> FillRecord::Open() { return std::make_unique<FillContext>(*this); }

void FillRecord::LimitRows(int firstRow, int rows)
{
    firstRow_ = std::clamp(firstRow, 0, height_);
    rows_ = std::clamp(rows, 0, height_ - firstRow_);
}

// Every drawing operation ends here; nothing outside the rows drawn on is ever recorded.
void FillRecord::FillRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                          Colour colour, Colour oddColour)
{
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, firstRow_);
    right = std::min<std::int64_t>(right, width_);
    bottom = std::min<std::int64_t>(bottom, firstRow_ + rows_);
    if (left >= right || top >= bottom) return;
    if (pending_.size() == kMaxPendingFills) RecordFull();
    if (dibOrder_) {
        colour = SwapRedBlue(colour);
        oddColour = SwapRedBlue(oddColour);
    }
    pending_.push_back({static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                        static_cast<int>(bottom), colour, oddColour});
}

// Rows change only where a fill begins or ends: between two such edges every row is
// the same, or, where a checkerboard lies, every other row is. Each distinct row is
// composed once, from what covers it, in drawing order.
FillRecord::ComposedRows FillRecord::Compose(bool withCovered) const
{
    ComposedRows composed;
    composed.rowOf.resize(static_cast<std::size_t>(rows_));
    const auto width = static_cast<std::size_t>(width_);
    const int end = firstRow_ + rows_;
    // Painters draw many fills on the same rows one after the other, and mostly top down.
    std::vector<int> edges{firstRow_, end};
    for (const PendingFill& fill : pending_) {
        if (fill.top != edges[edges.size() - 2] || fill.bottom != edges.back()) {
            edges.push_back(fill.top);
            edges.push_back(fill.bottom);
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    std::vector<std::size_t> byTop(pending_.size());
    for (std::size_t i = 0; i < byTop.size(); ++i) byTop[i] = i;
    const auto higher = [&](std::size_t a, std::size_t b) { return pending_[a].top < pending_[b].top; };
    if (!std::is_sorted(byTop.begin(), byTop.end(), higher)) std::stable_sort(byTop.begin(), byTop.end(), higher);

    // A row depends only on the columns and colours of what covers it, and, under a
    // checkerboard, on its parity: fills alike in those are one shape.
    const auto shape = [this](std::size_t i) {
        const PendingFill& fill = pending_[i];
        return std::tuple(fill.left, fill.right, fill.colour, fill.oddColour);
    };
    std::vector<std::size_t> byShape(byTop);
    std::sort(byShape.begin(), byShape.end(), [&](std::size_t a, std::size_t b) { return shape(a) < shape(b); });
    std::vector<std::uint32_t> shapeOf(pending_.size());
    for (std::size_t k = 0, id = 0; k < byShape.size(); ++k) {
        if (k > 0 && shape(byShape[k]) != shape(byShape[k - 1])) ++id;
        shapeOf[byShape[k]] = static_cast<std::uint32_t>(id);
    }

    std::map<std::vector<std::uint32_t>, int> known;  // parity and shapes covering a row: its composed row
    std::vector<std::size_t> covering;                // in drawing order
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
            if (const auto found = known.find(key); found != known.end()) {
                ids[y & 1] = found->second;
                continue;
            }
            ids[y & 1] = static_cast<int>(known.size());
            known.emplace(key, ids[y & 1]);
            composed.rows.resize(composed.rows.size() + width, background_);
            std::uint32_t* row = composed.rows.data() + composed.rows.size() - width;
            for (std::size_t i : covering) {
                const PendingFill& fill = pending_[i];
                if (fill.Plain())
                    std::fill(row + fill.left, row + fill.right, fill.colour);
                else
                    for (int x = fill.left; x < fill.right; ++x) row[x] = ((x + y) & 1) == 0 ? fill.colour : fill.oddColour;
            }
            if (!withCovered) continue;
            // The columns covered, as the fewest spans.
            std::vector<std::pair<int, int>> spans;
            for (std::size_t i : covering) spans.emplace_back(pending_[i].left, pending_[i].right);
            std::sort(spans.begin(), spans.end());
            std::vector<std::pair<int, int>> merged;
            for (const auto& span : spans) {
                if (!merged.empty() && span.first <= merged.back().second)
                    merged.back().second = std::max(merged.back().second, span.second);
                else
                    merged.push_back(span);
            }
            composed.covered.push_back(std::move(merged));
        }
        for (int y = top; y < edges[e + 1]; ++y)
            composed.rowOf[static_cast<std::size_t>(y - firstRow_)] = ids[checkered ? y & 1 : top & 1];
    }
    return composed;
}

void FillRecord::DrawLine(int x0, int y0, int x1, int y1, Colour colour)
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

void FillRecord::DrawGlyph(int x, int y, char c)
{
    const std::int64_t left = x;
    const std::int64_t top = y;
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

RecordingCanvas::RecordingCanvas(Size client, Colour background, PixelOrder order)
    : FillRecord(client, order, background)
{
}

FrameRows RecordingCanvas::TakeRows()
{
    FrameRows frame;
    frame.width = width_;
    if (width_ > 0 && height_ > 0) {
        ComposedRows composed = Compose(false);
        frame.rows = std::move(composed.rows);
        const std::vector<int>& rowOf = composed.rowOf;
        // Each run takes the repeat, up to kMaxRowPeriod rows, that carries it furthest.
        std::map<std::vector<int>, int> patterns;
        for (int start = 0; start < height_;) {
            int period = 1;
            int end = start + 1;
            for (int p = 1; p <= kMaxRowPeriod && start + p <= height_; ++p) {
                int reach = start + p;
                while (reach < height_ &&
                       rowOf[static_cast<std::size_t>(reach)] == rowOf[static_cast<std::size_t>(reach - p)])
                    ++reach;
                if (reach > end) {
                    period = p;
                    end = reach;
                }
            }
            // Row i of a pattern is for the rows y with y % period == i.
            std::vector<int> pattern(static_cast<std::size_t>(period));
            for (int y = start; y < start + period; ++y)
                pattern[static_cast<std::size_t>(y % period)] = rowOf[static_cast<std::size_t>(y)];
            const auto [at, added] = patterns.try_emplace(pattern, static_cast<int>(frame.patterns.size()));
            if (added) frame.patterns.push_back(std::move(pattern));
            frame.runs.push_back({start, end, at->second});
            start = end;
        }
    }
    pending_.clear();
    return frame;
}

SoftCanvas::SoftCanvas(int width, int height, Colour background)
    : FillRecord({width, height}, PixelOrder::AsColour, background)
{
    Resize(width, height, background);
}

SoftCanvas::SoftCanvas(Size client, int firstRow, std::span<std::uint32_t> memory, PixelOrder order)
    : FillRecord(client, order, kBlack), pixels_(memory.data())
{
    const std::size_t fit = width_ == 0 ? 0 : memory.size() / static_cast<std::size_t>(width_);
    LimitRows(firstRow, static_cast<int>(std::min<std::size_t>(fit, static_cast<std::size_t>(height_))));
}

void SoftCanvas::Resize(int width, int height, Colour background)
{
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    LimitRows(0, height_);
    pending_.clear();
    storage_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                    dibOrder_ ? SwapRedBlue(background) : background);
    pixels_ = storage_.data();
}

std::span<const std::uint32_t> SoftCanvas::Pixels() const
{
    Write();
    return {pixels_, static_cast<std::size_t>(width_) * static_cast<std::size_t>(rows_)};
}

Colour SoftCanvas::Pixel(int x, int y) const
{
    assert(x >= 0 && x < width_ && y >= firstRow_ && y < firstRow_ + rows_);
    Write();
    const std::uint32_t pixel = pixels_[static_cast<std::size_t>(y - firstRow_) * static_cast<std::size_t>(width_) + x];
    return dibOrder_ ? SwapRedBlue(pixel) : pixel;
}

// A composed row of a few spans is copied span by span into every row of a run that
// uses it; one of many spans, such as a grating's, is blended in through a mask of its
// columns, one pass along each row.
void SoftCanvas::Write() const
{
    if (pending_.empty()) return;
    const ComposedRows composed = Compose(true);
    const auto width = static_cast<std::size_t>(width_);
    std::vector<std::uint32_t> mask;
    for (int top = 0; top < rows_;) {
        const int id = composed.rowOf[static_cast<std::size_t>(top)];
        int bottom = top + 1;
        while (bottom < rows_ && composed.rowOf[static_cast<std::size_t>(bottom)] == id) ++bottom;
        const std::uint32_t* from = composed.rows.data() + static_cast<std::size_t>(id) * width;
        const std::vector<std::pair<int, int>>& spans = composed.covered[static_cast<std::size_t>(id)];
        std::uint32_t* const first = pixels_ + static_cast<std::size_t>(top) * width;
        if (spans.size() <= kFewSpans) {
            for (const auto& [left, right] : spans) {
                std::uint32_t* row = first;
                for (int y = top; y < bottom; ++y, row += width) {
                    // A short span, such as a line's or a moving object's, is cheaper copied in line.
                    if (right - left > kShortSpan)
                        std::copy(from + left, from + right, row + left);
                    else
                        for (int x = left; x < right; ++x) row[x] = from[x];
                }
            }
        } else {
            mask.assign(width, 0);
            for (const auto& [left, right] : spans) std::fill(mask.begin() + left, mask.begin() + right, ~0u);
            const int left = spans.front().first;
            const int right = spans.back().second;  // read once: stores to the row might alias it
            std::uint32_t* row = first;
            for (int y = top; y < bottom; ++y, row += width)
                for (int x = left; x < right; ++x) row[x] = (row[x] & ~mask[x]) | (from[x] & mask[x]);
        }
        top = bottom;
    }
    pending_.clear();
}
