// The pattern window's client area as a Canvas: the painters draw straight onto the
// window through GDI, one window drawing context per painter call.
#pragma once

#include <windows.h>

#include "platform/Platform.h"

// GDI objects that Lumetta holds at this moment, counted where they are created and
// released. Between two paints every count is 0; a long session proves it stays so.
struct GdiLedger {
    int contexts = 0;
    int pens = 0;
    int brushes = 0;
    unsigned created = 0;  // ever, to show that the counting runs at all
    int Live() const { return contexts + pens + brushes; }
};
GdiLedger& LiveGdiObjects();

// A window's drawing context from GetDC, released when it goes out of scope.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window))
    {
        if (dc_) {
            ++LiveGdiObjects().contexts;
            ++LiveGdiObjects().created;
        }
    }
    ~WindowDC()
    {
        if (dc_ && ReleaseDC(window_, dc_)) --LiveGdiObjects().contexts;
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

class GdiCanvas final : public Canvas {
public:
    explicit GdiCanvas(HWND window) : window_(window) {}
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    Size ClientSize() override;
    std::unique_ptr<DrawingContext> Open() override;

private:
    HWND window_;
};
