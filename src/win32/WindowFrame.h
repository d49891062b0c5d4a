// How a frame reaches the pattern window: composed by the software canvas into runs of
// repeating rows, each run filled with a pattern brush of its rows. A few GDI calls and a
// single pass over the window's pixels per frame, whatever the pattern, where one call per
// line, or a frame painted in memory and then copied, cost several display frames on
// large screens.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

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

// Puts a frame told as runs of rows on the window, one pattern brush per distinct pattern
// and one PatBlt per run, handing it to the screen band by band (PushToScreen).
void PutOnWindow(HDC window, const FrameRows& frame);
// Puts a painted frame, or a band of one, on the window's client area (its DC) at its
// rows. The canvas must hold its pixels in PixelOrder::Dib.
void PutOnWindow(HDC window, const SoftCanvas& frame);
// Only the region (client pixels, within the rows the canvas holds) of it.
void PutOnWindow(HDC window, const SoftCanvas& frame, Rect region);

// Wine hands a window's new pixels to the X server only when the thread next finds no
// message waiting, which after a wizard step comes only once the wizard's own updates are
// done. Looking for a message that is never posted hands them over at once; on Windows,
// which shows what was drawn by itself, it costs next to nothing.
void PushToScreen();

// Memory for bands of one window's frames (the rows that hold characters, a moving
// pattern's whole frame), kept from paint to paint so that a paint does not fault in
// fresh pages: a top-down 32-bit DIB section selected into a memory DC, so that GDI can
// draw on a band as well.
class FrameMemory {
public:
    FrameMemory() = default;
    ~FrameMemory() { Release(); }
    FrameMemory(const FrameMemory&) = delete;
    FrameMemory& operator=(const FrameMemory&) = delete;

    // Room for the rows of a band of kBandBytes (at least one row, at most
    // the client's rows) or, where that cannot be had, for as many rows as can (halving until
    // it fits); empty when not even one row can be had.
    std::span<std::uint32_t> For(Size client);
    // The DC that draws on the memory, row 0 being the band's first row; null while
    // there is no memory.
    HDC Dc() const { return dc_; }
    // Bands of at most this many rows from now on (0: as many as kBandBytes holds).
    void LimitRows(int rows) { rowLimit_ = rows; }

private:
    bool Make(int width, int rows);
    void Release();

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ originalBitmap_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int rows_ = 0;
    int rowLimit_ = 0;
};

// A band as the painters see it: everything goes to the software canvas except the
// characters, which GDI draws with TextOutA on the band's memory DC, in a fresh DC's
// default font and colours, as the painters drew them straight on the window.
class BandWithText final : public Canvas {
public:
    BandWithText(SoftCanvas& band, HDC dc);

    Size ClientSize() override { return band_.ClientSize(); }
    std::unique_ptr<DrawingContext> Open() override;

    // Draws the characters recorded so far over the band's pixels.
    void DrawCharacters();

private:
    friend class TextContext;

    struct Character {
        int x;
        int y;
        char c;
    };

    // Whether something drawn in the rectangle would cover a recorded character's cell.
    bool Covers(Rect rect) const;

    SoftCanvas& band_;
    HDC dc_;
    SIZE cell_ = {};
    std::vector<Character> characters_;
};

// Paints a frame on the window's client area: its runs of rows, then the rows that hold
// characters painted again in memory with them; and hands it all to the screen at once.
void ShowOnWindow(HWND window, FrameMemory& memory, const std::function<void(Canvas&)>& paint);
