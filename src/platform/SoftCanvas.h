// An in-memory canvas with the pattern window's pixel rules. The pattern window's frames
// are recorded on it and composed into runs of rows, but for their characters, which GDI
// draws in the system font; the moving pattern keeps its frame painted on it; tests, the
// benchmark and the gallery read it back whole.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// How a pixel is held in memory: as a Colour (0x00BBGGRR), or with blue in the low
// byte as a 32-bit DIB holds it, so that a frame goes to the screen without a copy.
enum class PixelOrder { AsColour, Dib };

// A frame told as runs of rows, for a surface that fills a run at one go with a pattern
// that repeats down it: each distinct row is composed once, and in a run row y is
// Row(patterns[pattern][y % period]), period being the pattern's size.
struct RowRun {
    int top;
    int bottom;
    int pattern;
};

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

class SoftCanvas final : public Canvas {
public:
    // DrawChar paints one cell of this size, top-left at (x, y): a black 5 x 7 glyph on
    // white, one column and three rows in from the cell's corner. Digits have glyphs;
    // any other character is a blank white cell.
    static constexpr int kCellWidth = 8;
    static constexpr int kCellHeight = 13;

    // A negative size is taken as 0.
    SoftCanvas(int width, int height, Colour background = kBlack);
    // Rows firstRow onwards of a client area of the given size, as many as fit the memory
    // (which it does not own and does not clear); drawing elsewhere is cut away. A strip
    // of a frame where the memory for a whole one cannot be had.
    SoftCanvas(Size client, int firstRow, std::span<std::uint32_t> memory, PixelOrder order);
    // A canvas of the client size that keeps no pixels: what is drawn is only recorded,
    // over the background, until TakeRows hands it out.
    SoftCanvas(Size client, Colour background, PixelOrder order);

    Size ClientSize() override { return {width_, height_}; }
    std::unique_ptr<DrawingContext> Open() override;

    // New size and contents, as when the window is resized; the counters carry on. Only
    // for a canvas that owns its memory.
    void Resize(int width, int height, Colour background = kBlack);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The rows held in memory: FirstRow() to FirstRow() + Rows() - 1.
    int FirstRow() const { return firstRow_; }
    int Rows() const { return rows_; }
    // 0 <= x < Width(), FirstRow() <= y < FirstRow() + Rows().
    Colour Pixel(int x, int y) const;
    // The rows held, row after row, in the canvas's pixel order.
    std::span<const std::uint32_t> Pixels() const;
    // What a recording canvas has recorded, as runs of rows in its pixel order; the
    // record starts again empty.
    FrameRows TakeRows();

    // Bookkeeping that lets tests check that painters release what they obtain.
    int ContextsOpened() const { return contextsOpened_; }
    int OpenContexts() const { return contextsOpened_ - contextsClosed_; }
    int PensCreated() const { return pensCreated_; }
    int LivePens() const { return livePens_; }

private:
    friend class SoftContext;

    // A fill already cut to the canvas, not yet in the pixels: a checkerboard where the
    // two colours differ, anchored at (0, 0) so that cutting it keeps its phase.
    struct PendingFill {
        int left;
        int top;
        int right;
        int bottom;
        Colour colour;  // where x + y is even
        Colour oddColour;
        bool Plain() const { return colour == oddColour; }
    };

    // Takes Colour values; what it records is in the canvas's pixel order.
    void FillRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                  Colour colour, Colour oddColour);
    void FillRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                  Colour colour)
    {
        FillRect(left, top, right, bottom, colour, colour);
    }
    void DrawLine(int x0, int y0, int x1, int y1, Colour colour);
    void DrawGlyph(int x, int y, char c);
    void Flush() const;
    bool PaintStripes() const;
    void PaintInBands() const;
    std::vector<int> ComposeRows(FrameRows& frame) const;

    std::uint32_t* Row(int y) const
    {
        return pixels_ + static_cast<std::size_t>(y - firstRow_) * static_cast<std::size_t>(width_);
    }

    int width_ = 0;
    int height_ = 0;
    int firstRow_ = 0;
    int rows_ = 0;
    bool dibOrder_ = false;
    bool recording_ = false;
    std::uint32_t background_ = kBlack;  // under a recording, in the pixel order
    std::vector<std::uint32_t> storage_;  // empty where the memory is someone else's
    // Drawing is recorded and painted in bands of rows when it is read, when the
    // context closes or when the list is full: a column or a narrow stripe written
    // straight down a large canvas would touch a new cache line in every row.
    std::uint32_t* pixels_ = nullptr;
    mutable std::vector<PendingFill> pending_;
    int contextsOpened_ = 0;
    int contextsClosed_ = 0;
    int pensCreated_ = 0;
    int livePens_ = 0;
};
