#include "platform/win32/WindowFrame.h"

#include <algorithm>

namespace {

// A strip of this size stays in the cache between being painted and being copied to the
// window: at 3840x2160, 16 strips took half the time of one frame painted whole and then
// copied, and however large the screen, a paint needs no more memory than this.
constexpr std::size_t kStripBytes = 2 * 1024 * 1024;

}  // namespace

void PutOnWindow(HWND window, const SoftCanvas& frame)
{
    const std::span<const std::uint32_t> pixels = frame.Pixels();
    if (pixels.empty()) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = frame.Width();
    info.bmiHeader.biHeight = -frame.Rows();  // top-down: the first row in memory is the top one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const WindowDC dc(window);
    SetDIBitsToDevice(dc.Get(), 0, frame.FirstRow(), static_cast<DWORD>(frame.Width()),
                      static_cast<DWORD>(frame.Rows()), 0, 0, 0, static_cast<UINT>(frame.Rows()),
                      pixels.data(), &info, DIB_RGB_COLORS);
}

std::span<std::uint32_t> FrameMemory::For(Size client)
{
    if (client.width <= 0 || client.height <= 0) return {};
    const auto width = static_cast<std::size_t>(client.width);
    const std::size_t cached = std::max<std::size_t>(kStripBytes / (width * sizeof(std::uint32_t)), 1);
    auto rows = std::min(rowLimit_ > 0 ? static_cast<std::size_t>(rowLimit_) : cached,
                         static_cast<std::size_t>(client.height));
    if (width * rows <= capacity_) return {pixels_, width * rows};
    Release();
    for (; rows > 0; rows /= 2) {
        void* memory = VirtualAlloc(nullptr, width * rows * sizeof(std::uint32_t), MEM_COMMIT | MEM_RESERVE,
                                    PAGE_READWRITE);
        if (memory == nullptr) continue;
        pixels_ = static_cast<std::uint32_t*>(memory);
        capacity_ = width * rows;
        return {pixels_, capacity_};
    }
    return {};
}

void FrameMemory::Release()
{
    if (pixels_) VirtualFree(pixels_, 0, MEM_RELEASE);
    pixels_ = nullptr;
    capacity_ = 0;
}
