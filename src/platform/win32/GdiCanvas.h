// The pattern window's client area as a Canvas: the painters draw straight onto the
// window through GDI, one window drawing context per painter call.
#pragma once

#include <windows.h>

#include "platform/Platform.h"

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
