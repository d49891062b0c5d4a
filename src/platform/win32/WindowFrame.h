// How a frame reaches the pattern window: painted in memory by the software canvas, strip
// by strip, each strip put on the window in one call. A few GDI calls per frame, whatever
// the pattern, where one call per line cost several display frames on large screens.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

#include "platform/SoftCanvas.h"

// A window's drawing context from GetDC, released when it goes out of scope.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC()
    {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Puts a painted frame, or a strip of one, on the window's client area at its rows.
// The canvas must hold its pixels in PixelOrder::Dib.
void PutOnWindow(HWND window, const SoftCanvas& frame);

// Memory for the strips of one window's frames, kept from paint to paint so that a paint
// does not fault in fresh pages.
class FrameMemory {
public:
    FrameMemory() = default;
    ~FrameMemory() { Release(); }
    FrameMemory(const FrameMemory&) = delete;
    FrameMemory& operator=(const FrameMemory&) = delete;

    // Room for the rows of a strip that fits the cache (at least one row, at most the
    // whole frame) or, where that cannot be had, for as many rows as can (halving until
    // it fits); empty when not even one row can be had.
    std::span<std::uint32_t> For(Size client);
    // Strips of at most this many rows from now on (0: as many as fit the cache).
    void LimitRows(int rows) { rowLimit_ = rows; }

private:
    void Release();

    std::uint32_t* pixels_ = nullptr;
    std::size_t capacity_ = 0;  // pixels
    int rowLimit_ = 0;
};
