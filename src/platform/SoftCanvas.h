// In-memory canvases with the pattern window's pixel rules. What is drawn is recorded as
// fills and composed into rows, each distinct row once: the recording canvas hands the
// rows out as runs, for the pattern window to fill run by run; the pixel canvas writes
// them into memory, which the moving pattern keeps its frame in and tests, the benchmark
// and the gallery read back.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/Platform.h"

// How a pixel is held in memory: as a Colour (0x00BBGGRR), or with blue in the low
// byte as a 32-bit DIB holds it, so that a frame goes to the screen without a copy.
enum class PixelOrder { AsColour, Dib };

// A run: rows top to bottom - 1 of a frame that repeat one pattern of rows; row y of it
// is Row(patterns[pattern][y % period]), period being the pattern's size.
struct RowRun {
    int top;
    int bottom;
    int pattern;
};

// A frame told as runs of rows: each distinct row once, and the runs that repeat them.
struct FrameRows {
    int width = 0;
    std::vector<std::uint32_t> rows;  // every distinct row once, width pixels each
    std::vector<std::vector<int>> patterns;
    std::vector<RowRun> runs;

    std::span<const std::uint32_t> Row(int id) const
    {
        return {rows.data() + static_cast<std::size_t>(id) * static_cast<std::size_t>(width),
                static_cast<std::size_t>(width)};
    }
};

// What both canvases share: the drawing rules, the record of fills and the one way of
// composing them into rows.
class FillRecord : public Canvas {
public:
    // DrawChar paints one cell of this size, top-left at (x, y): a black 5 x 7 glyph on
    // white, one column and three rows in from the cell's corner. Digits have glyphs;
    // any other character is a blank white cell.
    static constexpr int kCellWidth = 8;
    static constexpr int kCellHeight = 13;

    Size ClientSize() override { return {width_, height_}; }
    std::unique_ptr<DrawingContext> Open() override;
    int Width() const { return width_; }
    int Height() const { return height_; }

protected:
    // A fill already cut to the rows drawn on, not yet in any pixels: a checkerboard where
    // the two colours differ, anchored at (0, 0) so that cutting it keeps its phase.
    struct PendingFill {
        int left;
        int top;
        int right;
        int bottom;
        std::uint32_t colour;  // where x + y is even; in the canvas's pixel order
        std::uint32_t oddColour;
        bool Plain() const { return colour == oddColour; }
    };
    // The distinct rows that the fills make of rows firstRow_ to firstRow_ + rows_ - 1,
    // each composed once over the background; for each of those rows, which it is; and
    // for each distinct row, the columns the fills cover, as half-open spans, when asked.
    struct ComposedRows {
        std::vector<std::uint32_t> rows;
        std::vector<int> rowOf;
        std::vector<std::vector<std::pair<int, int>>> covered;
    };

    FillRecord(Size client, PixelOrder order, Colour background);
    // The rows that drawing reaches; everything else is cut away.
    void LimitRows(int firstRow, int rows);
    // Once per drawing context, when it closes.
    virtual void ContextClosed() {}
    ComposedRows Compose(bool withCovered) const;

    int width_ = 0;
    int height_ = 0;
    int firstRow_ = 0;
    int rows_ = 0;
    bool dibOrder_ = false;
    std::uint32_t background_ = kBlack;  // in the pixel order
    mutable std::vector<PendingFill> pending_;  // a pixel canvas writes them when read

private:
    friend class FillContext;

    void FillRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, Colour colour,
                  Colour oddColour);
    void FillRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, Colour colour)
    {
        FillRect(left, top, right, bottom, colour, colour);
    }
    void DrawLine(int x0, int y0, int x1, int y1, Colour colour);
    void DrawGlyph(int x, int y, char c);
    // A pixel canvas writes its fills before the record grows too long.
    virtual void RecordFull() {}
};

// Keeps what is drawn only as a record, over the background, until TakeRows hands it out.
class RecordingCanvas final : public FillRecord {
public:
    // A negative size is taken as 0.
    RecordingCanvas(Size client, Colour background, PixelOrder order);
    // The frame as runs of rows in the canvas's pixel order; the record starts again empty.
    FrameRows TakeRows();
};

// Holds pixels: its own memory, or rows of a client area in memory someone else owns.
class SoftCanvas final : public FillRecord {
public:
    // A negative size is taken as 0.
    SoftCanvas(int width, int height, Colour background = kBlack);
    // Rows firstRow onwards of a client area of the given size, as many as fit the memory
    // (which it does not own and does not clear); drawing elsewhere is cut away.
    SoftCanvas(Size client, int firstRow, std::span<std::uint32_t> memory, PixelOrder order);

    // New size and contents in memory of its own, as when the window is resized.
    void Resize(int width, int height, Colour background = kBlack);

    // The rows held in memory: FirstRow() to FirstRow() + Rows() - 1.
    int FirstRow() const { return firstRow_; }
    int Rows() const { return rows_; }
    // 0 <= x < Width(), FirstRow() <= y < FirstRow() + Rows().
    Colour Pixel(int x, int y) const;
    // The rows held, row after row, in the canvas's pixel order.
    std::span<const std::uint32_t> Pixels() const;

private:
    void ContextClosed() override { Write(); }
    void RecordFull() override { Write(); }
    // Writes each composed row into the rows that use it, where the fills reach.
    void Write() const;

    std::vector<std::uint32_t> storage_;  // empty where the memory is someone else's
    std::uint32_t* pixels_ = nullptr;
};
