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
    PutOnWindow(window, frame, {0, frame.FirstRow(), frame.Width(), frame.FirstRow() + frame.Rows()});
}

void PutOnWindow(HWND window, const SoftCanvas& frame, Rect region)
{
    const std::span<const std::uint32_t> pixels = frame.Pixels();
    if (pixels.empty() || region.left >= region.right || region.top >= region.bottom) return;
    const int rows = region.bottom - region.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = frame.Width();
    info.bmiHeader.biHeight = -rows;  // top-down, just the region's rows: no source offset to get wrong
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const std::uint32_t* first = pixels.data() + static_cast<std::size_t>(region.top - frame.FirstRow()) * frame.Width();
    const WindowDC dc(window);
    SetDIBitsToDevice(dc.Get(), region.left, region.top, static_cast<DWORD>(region.right - region.left),
                      static_cast<DWORD>(rows), region.left, 0, 0, static_cast<UINT>(rows), first, &info,
                      DIB_RGB_COLORS);
}

std::span<std::uint32_t> FrameMemory::For(Size client)
{
    if (client.width <= 0 || client.height <= 0) return {};
    const auto width = static_cast<std::size_t>(client.width);
    const std::size_t cached = std::max<std::size_t>(kStripBytes / (width * sizeof(std::uint32_t)), 1);
    auto rows = static_cast<int>(std::min(rowLimit_ > 0 ? static_cast<std::size_t>(rowLimit_) : cached,
                                          static_cast<std::size_t>(client.height)));
    // The DC draws with the bitmap's width as the row length, so a new width needs a new bitmap.
    if (client.width != width_ || rows > rows_) {
        Release();
        while (rows > 0 && !Make(client.width, rows)) rows /= 2;
        if (rows == 0) return {};
    }
    return {pixels_, width * static_cast<std::size_t>(rows)};
}

bool FrameMemory::Make(int width, int rows)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -rows;  // top-down, as the software canvas lays its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    if (dc_ == nullptr) return false;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap_ == nullptr) {
        Release();
        return false;
    }
    originalBitmap_ = SelectObject(dc_, bitmap_);
    pixels_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    rows_ = rows;
    return true;
}

void FrameMemory::Release()
{
    // A bitmap cannot be deleted while a DC holds it.
    if (dc_) {
        if (originalBitmap_) SelectObject(dc_, originalBitmap_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    originalBitmap_ = nullptr;
    pixels_ = nullptr;
    width_ = 0;
    rows_ = 0;
}

// Forwards to the strip's own context; characters wait for GDI, and anything that would
// cover one of them has them drawn first, so that the order of drawing holds.
class TextContext final : public DrawingContext {
public:
    explicit TextContext(StripWithText& canvas) : canvas_(canvas), soft_(canvas.strip_.Open()) {}
    TextContext(const TextContext&) = delete;
    TextContext& operator=(const TextContext&) = delete;

    void Fill(Rect rect, Colour colour) override
    {
        if (canvas_.Covers(rect)) canvas_.DrawCharacters();
        soft_->Fill(rect, colour);
    }
    void FillChecker(Rect rect, Colour even, Colour odd) override
    {
        if (canvas_.Covers(rect)) canvas_.DrawCharacters();
        soft_->FillChecker(rect, even, odd);
    }
    void SelectPen(Colour colour) override { soft_->SelectPen(colour); }
    void MoveTo(int x, int y) override { soft_->MoveTo(x, y); }
    void LineTo(int x, int y) override
    {
        canvas_.DrawCharacters();
        soft_->LineTo(x, y);
    }
    void DrawChar(int x, int y, char c) override
    {
        // A cell outside the strip would only be cut away.
        const int first = canvas_.strip_.FirstRow();
        if (y + canvas_.cell_.cy > first && y < first + canvas_.strip_.Rows()) canvas_.characters_.push_back({x, y, c});
    }

private:
    StripWithText& canvas_;
    std::unique_ptr<DrawingContext> soft_;
};

StripWithText::StripWithText(SoftCanvas& strip, HDC dc) : strip_(strip), dc_(dc)
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc_, &metrics);
    cell_ = {metrics.tmMaxCharWidth + metrics.tmOverhang, metrics.tmHeight};
}

std::unique_ptr<DrawingContext> StripWithText::Open()
{
    return std::make_unique<TextContext>(*this);
}

void StripWithText::DrawCharacters()
{
    if (characters_.empty()) return;
    strip_.Pixels();  // what was drawn before them lies under them
    for (const Character& character : characters_)
        TextOutA(dc_, character.x, character.y - strip_.FirstRow(), &character.c, 1);
    GdiFlush();
    characters_.clear();
}

bool StripWithText::Covers(Rect rect) const
{
    return std::any_of(characters_.begin(), characters_.end(), [&](const Character& c) {
        return rect.left < c.x + cell_.cx && c.x < rect.right && rect.top < c.y + cell_.cy && c.y < rect.bottom;
    });
}
