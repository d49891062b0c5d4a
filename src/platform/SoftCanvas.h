// An in-memory canvas with the pattern window's pixel rules, so that painters can be
// tested, timed and saved as images without a desktop.
#pragma once

#include "platform/Platform.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class SoftCanvas final : public Canvas {
public:
    // DrawChar paints one cell of this size, top-left at (x, y): a black 5 x 7 glyph on
    // white, one column and three rows in from the cell's corner. Digits have glyphs;
    // any other character is a blank white cell.
    static constexpr int kCellWidth = 8;
    static constexpr int kCellHeight = 13;

    // A negative size is taken as 0.
    SoftCanvas(int width, int height, Colour background = kBlack);

    Size ClientSize() override { return {width_, height_}; }
    std::unique_ptr<DrawingContext> Open() override;

    // New size and contents, as when the window is resized; the counters carry on.
    void Resize(int width, int height, Colour background = kBlack);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // 0 <= x < Width(), 0 <= y < Height().
    Colour Pixel(int x, int y) const;
    // Row after row, 0x00BBGGRR each.
    std::span<const std::uint32_t> Pixels() const;

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

    int width_ = 0;
    int height_ = 0;
    // Drawing is recorded and painted in bands of rows when it is read, when the
    // context closes or when the list is full: a column or a narrow stripe written
    // straight down a large canvas would touch a new cache line in every row.
    mutable std::vector<std::uint32_t> pixels_;
    mutable std::vector<PendingFill> pending_;
    int contextsOpened_ = 0;
    int contextsClosed_ = 0;
    int pensCreated_ = 0;
    int livePens_ = 0;
};
