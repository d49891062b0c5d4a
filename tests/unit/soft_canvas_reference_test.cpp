// Composing each distinct row once, for the window or for memory, carries every pixel
// of the pattern window: both are held to a plain canvas that sets one pixel at a
// time.
#include "CanvasChecks.h"

#include <algorithm>
#include <random>

#include "patterns/PaintCycle.h"
#include "patterns/Painters.h"

namespace {

// One drawing operation: a fill (even == odd), a checkerboard, or a line from (left, top)
// to (right, bottom), its end point excluded.
struct Op {
    bool line;
    Rect at;
    Colour even;
    Colour odd;
};

struct NaiveCanvas {
    int width;
    int height;
    std::vector<Colour> pixels = std::vector<Colour>(static_cast<size_t>(width * height), kUntouched);

    void Set(int x, int y, Colour colour)
    {
        if (x >= 0 && x < width && y >= 0 && y < height) pixels[static_cast<size_t>(y * width + x)] = colour;
    }
    void Apply(const Op& op)
    {
        const Rect& r = op.at;
        if (!op.line) {
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) Set(x, y, (x + y) % 2 == 0 ? op.even : op.odd);
            return;
        }
        const int dx = r.right > r.left ? 1 : r.right < r.left ? -1 : 0;
        const int dy = r.bottom > r.top ? 1 : r.bottom < r.top ? -1 : 0;
        for (int x = r.left, y = r.top; x != r.right || y != r.bottom; x += dx, y += dy) Set(x, y, op.even);
    }
};

Colour FromScreenOrder(std::uint32_t pixel) { return (pixel & 0xFF) << 16 | (pixel & 0xFF00) | (pixel >> 16 & 0xFF); }

// The pixels that a surface shows from runs of rows, row after row.
std::vector<Colour> Shown(const FrameRows& frame)
{
    std::vector<Colour> pixels;
    for (const RowRun& run : frame.runs) {
        EXPECT_EQ(static_cast<int>(pixels.size()), run.top * frame.width) << "runs must follow each other";
        const std::vector<int>& pattern = frame.patterns[static_cast<size_t>(run.pattern)];
        for (int y = run.top; y < run.bottom; ++y) {
            const auto row = frame.Row(pattern[static_cast<size_t>(y) % pattern.size()]);
            pixels.insert(pixels.end(), row.begin(), row.end());
        }
    }
    return pixels;
}

void Draw(Canvas& canvas, const std::vector<Op>& ops)
{
    const auto dc = canvas.Open();
    for (const Op& op : ops) {
        if (op.line) {
            dc->SetLineColour(op.even);
            dc->MoveTo(op.at.left, op.at.top);
            dc->LineTo(op.at.right, op.at.bottom);
        } else if (op.even == op.odd) {
            dc->Fill(op.at, op.even);
        } else {
            dc->FillChecker(op.at, op.even, op.odd);
        }
    }
}

// Everything drawn through one context, so that it all meets in one write; and the same
// drawing recorded and told as runs of rows.
testing::AssertionResult SameAsNaive(int width, int height, const std::vector<Op>& ops)
{
    NaiveCanvas naive{width, height};
    for (const Op& op : ops) naive.Apply(op);
    SoftCanvas fast(width, height, kUntouched);
    Draw(fast, ops);
    RecordingCanvas recording({width, height}, kUntouched, PixelOrder::AsColour);
    Draw(recording, ops);
    const std::vector<Colour> shown = Shown(recording.TakeRows());
    if (shown != naive.pixels) return testing::AssertionFailure() << "the runs of rows differ";
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (fast.Pixel(x, y) != naive.pixels[static_cast<size_t>(y * width + x)])
                return testing::AssertionFailure() << "(" << x << ", " << y << ") is " << std::hex << fast.Pixel(x, y)
                                                   << ", expected " << naive.pixels[static_cast<size_t>(y * width + x)];
    return testing::AssertionSuccess();
}

Op Fill(Rect at, Colour colour) { return {false, at, colour, colour}; }
Op Checker(Rect at, Colour even, Colour odd) { return {false, at, even, odd}; }

TEST(SoftCanvasAgainstNaive, CheckerboardsKeepTheClientPhaseAndTheirOwnOddColour)
{
    // Starts where x + y is odd, so its first pixel takes the odd colour.
    EXPECT_TRUE(SameAsNaive(7, 4, {Checker({1, 0, 6, 3}, kWhite, kRed)}));
    // Same even colour, different odd ones, in one write.
    EXPECT_TRUE(SameAsNaive(6, 4, {Checker({0, 0, 6, 2}, kWhite, kRed), Checker({0, 2, 6, 4}, kWhite, kBlue)}));
}

TEST(SoftCanvasAgainstNaive, ComposedRowsKeepTheOrderOfManyFillsAndWhatTheyLeaveUntouched)
{
    // More fills on the same rows than a sort keeps in order without being asked to.
    std::vector<Op> ops;
    for (int i = 0; i < 40; ++i) ops.push_back(Fill({i % 5, i % 2 * 2, i % 5 + 3, i % 2 * 2 + 1}, GreyOf(i + 1)));
    EXPECT_TRUE(SameAsNaive(9, 3, ops));
    // The lower rows reach fewer columns than the upper ones.
    EXPECT_TRUE(SameAsNaive(8, 2, {Fill({0, 0, 3, 1}, kRed), Fill({3, 0, 7, 1}, kBlue), Fill({0, 1, 1, 2}, kGreen),
                                   Fill({1, 1, 2, 2}, kWhite)}));
}

TEST(SoftCanvasAgainstNaive, RandomDrawingOnTinyCanvases)
{
    std::mt19937 random(18);
    auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const Colour colours[] = {kBlack, kWhite, kRed, kGreen, kBlue};
    auto colour = [&] { return colours[between(0, 4)]; };
    for (int round = 0; round < 300; ++round) {
        const int width = between(1, 12);
        const int height = between(1, 12);
        std::vector<Op> ops;
        for (int i = between(1, 30); i > 0; --i) {
            Rect at{between(-2, width + 1), between(-2, height + 1), between(-2, width + 1), between(-2, height + 1)};
            switch (between(0, 3)) {
            case 0: ops.push_back(Fill(at, colour())); break;
            case 1: ops.push_back(Checker(at, colour(), colour())); break;
            case 2: at.bottom = at.top; ops.push_back({true, at, colour(), 0}); break;  // across
            default: at.right = at.left; ops.push_back({true, at, colour(), 0}); break;  // down
            }
        }
        ASSERT_TRUE(SameAsNaive(width, height, ops)) << "round " << round << ", " << width << "x" << height;
    }
}

// A recording keeps every fill, however many (a pixel canvas would write them into
// memory it does not have), and hands them out once: the next frame starts empty.
TEST(FrameRows, ARecordingKeepsEveryFillAndStartsAgainEmptyOnceTaken)
{
    constexpr int kWidth = 9001;
    std::vector<Op> grating;
    for (int x = 0; x < kWidth; x += 1) grating.push_back(Fill({x, x % 3, x + 1, 3}, x % 2 ? kRed : kBlue));
    EXPECT_TRUE(SameAsNaive(kWidth, 3, grating));

    RecordingCanvas recording({4, 2}, kUntouched, PixelOrder::AsColour);
    Draw(recording, {Fill({0, 0, 4, 2}, kRed)});
    recording.TakeRows();
    EXPECT_EQ(Shown(recording.TakeRows()), std::vector<Colour>(8, kUntouched));
    EXPECT_TRUE(RecordingCanvas({0, 5}, kBlack, PixelOrder::Dib).TakeRows().runs.empty());
}

// Every keyword told as runs of rows is the frame painted whole, in the screen's pixel
// order, at sizes odd and large enough for long repeats; a run's rows repeat every few
// rows at most, so that each goes to the window in one call.
TEST(FrameRows, EveryKeywordAsRunsOfRowsIsTheFramePaintedWhole)
{
    for (const Size size : {Size{37, 23}, Size{300, 9}, Size{1001, 777}}) {
        for (const KeywordSample& keyword : kEveryKeyword) {
            const auto paint = [&](Canvas& canvas) {
                FillBlack(canvas);
                PaintPattern(canvas, MatchPatternSpec(keyword.spec));
            };
            SoftCanvas whole(size.width, size.height, kUntouched);
            paint(whole);
            RecordingCanvas recording(size, kUntouched, PixelOrder::Dib);
            paint(recording);
            const FrameRows frame = recording.TakeRows();
            std::vector<Colour> shown = Shown(frame);
            std::transform(shown.begin(), shown.end(), shown.begin(), FromScreenOrder);
            const auto painted = whole.Pixels();
            EXPECT_TRUE(std::equal(shown.begin(), shown.end(), painted.begin(), painted.end()))
                << keyword.spec << " at " << size.width << "x" << size.height;
            for (const std::vector<int>& pattern : frame.patterns) EXPECT_LE(pattern.size(), 8u) << keyword.spec;
            if (size.width == 1001) {
                EXPECT_LE(frame.runs.size(), 40u) << keyword.spec;
            }
        }
    }
}

}  // namespace
