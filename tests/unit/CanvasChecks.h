// Reading a SoftCanvas back in the painter tests.
#pragma once

#include "platform/SoftCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

// A background no painter uses, so that even a black fill shows up.
inline constexpr Colour kUntouched = 0x123456;

inline constexpr int kScreenWidth = 1280;
inline constexpr int kScreenHeight = 1024;

inline constexpr Colour GreyOf(int level) { return static_cast<Colour>(level) * 0x010101u; }

inline constexpr Colour RgbOf(int red, int green, int blue)
{
    return static_cast<Colour>(red | green << 8 | blue << 16);
}

inline int CountPixels(const SoftCanvas& canvas, Colour colour)
{
    int count = 0;
    for (const Colour pixel : canvas.Pixels()) count += pixel == colour;
    return count;
}

// Every pixel of the rectangle (cut to the canvas) has the colour.
inline testing::AssertionResult RegionIs(const SoftCanvas& canvas, Rect rect, Colour colour)
{
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, canvas.Height()); ++y) {
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, canvas.Width()); ++x) {
            if (canvas.Pixel(x, y) != colour) {
                char text[96];
                std::snprintf(text, sizeof text, "pixel (%d, %d) is 0x%06X, expected 0x%06X", x,
                              y, canvas.Pixel(x, y), colour);
                return testing::AssertionFailure() << text;
            }
        }
    }
    return testing::AssertionSuccess();
}

// The columns (rows) whose every pixel has the colour.
inline std::vector<int> ColumnsOf(const SoftCanvas& canvas, Colour colour)
{
    std::vector<int> columns;
    for (int x = 0; x < canvas.Width(); ++x) {
        if (RegionIs(canvas, {x, 0, x + 1, canvas.Height()}, colour)) columns.push_back(x);
    }
    return columns;
}

inline std::vector<int> RowsOf(const SoftCanvas& canvas, Colour colour)
{
    std::vector<int> rows;
    for (int y = 0; y < canvas.Height(); ++y) {
        if (RegionIs(canvas, {0, y, canvas.Width(), y + 1}, colour)) rows.push_back(y);
    }
    return rows;
}

// The character cell at (x, y), as far as it lies on the canvas, looks exactly like c
// drawn on a canvas of its own.
inline testing::AssertionResult CellShows(const SoftCanvas& canvas, int x, int y, char c)
{
    SoftCanvas reference(SoftCanvas::kCellWidth, SoftCanvas::kCellHeight);
    reference.Open()->DrawChar(0, 0, c);
    const int rows = std::min(SoftCanvas::kCellHeight, canvas.Height() - y);
    const int columns = std::min(SoftCanvas::kCellWidth, canvas.Width() - x);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (canvas.Pixel(x + column, y + row) != reference.Pixel(column, row)) {
                return testing::AssertionFailure()
                       << "cell at (" << x << ", " << y << ") is not '" << c << "'";
            }
        }
    }
    return testing::AssertionSuccess();
}
