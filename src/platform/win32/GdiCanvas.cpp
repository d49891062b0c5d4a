#include "platform/win32/GdiCanvas.h"

#include <cstdint>

namespace {

constexpr int kPenWidth = 1;
// The classic pattern brush size, which every GDI repeats exactly.
constexpr int kPatternSide = 8;
constexpr WORD kPatternBits = 32;

// A brush made here, counted in the ledger and deleted when it goes out of scope.
class OwnedBrush {
public:
    explicit OwnedBrush(HBRUSH brush) : brush_(brush)
    {
        if (brush_) {
            ++LiveGdiObjects().brushes;
            ++LiveGdiObjects().created;
        }
    }
    ~OwnedBrush()
    {
        if (brush_ && DeleteObject(brush_)) --LiveGdiObjects().brushes;
    }
    OwnedBrush(const OwnedBrush&) = delete;
    OwnedBrush& operator=(const OwnedBrush&) = delete;
    HBRUSH Get() const { return brush_; }

private:
    HBRUSH brush_;
};

// A packed DIB as CreateDIBPatternBrushPt takes it: the header, then the pixels.
struct PatternDib {
    BITMAPINFOHEADER header;
    std::uint32_t pixels[kPatternSide * kPatternSide];
};

// A 32-bit DIB pixel holds blue in its low byte, the other way round from a COLORREF.
constexpr std::uint32_t DibPixel(Colour colour)
{
    return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

// Colours come from the DIB's own pixels, so they are exact on any display depth that can
// show them, unlike a monochrome bitmap brush that takes the text and background colours.
HBRUSH CreateCheckerBrush(Colour even, Colour odd)
{
    PatternDib dib{};
    dib.header.biSize = sizeof dib.header;
    dib.header.biWidth = kPatternSide;
    dib.header.biHeight = kPatternSide;  // bottom-up: the last row of pixels is row 0
    dib.header.biPlanes = 1;
    dib.header.biBitCount = kPatternBits;
    dib.header.biCompression = BI_RGB;
    for (int y = 0; y < kPatternSide; ++y) {
        for (int x = 0; x < kPatternSide; ++x) {
            dib.pixels[(kPatternSide - 1 - y) * kPatternSide + x] =
                DibPixel((x + y) % 2 == 0 ? even : odd);
        }
    }
    return CreateDIBPatternBrushPt(&dib, DIB_RGB_COLORS);
}

// A window DC from GetDC, with the pens made current through it. The class has no
// private DC, so every context starts with the defaults: black pen, system font, black
// text on opaque white cells.
class GdiContext final : public DrawingContext {
public:
    explicit GdiContext(HWND window) : dc_(window) {}

    ~GdiContext() override
    {
        // A pen cannot be deleted while selected, so put the original back first.
        if (pen_) {
            SelectObject(dc_.Get(), originalPen_);
            DeletePen(pen_);
        }
    }

    GdiContext(const GdiContext&) = delete;
    GdiContext& operator=(const GdiContext&) = delete;

    void Fill(Rect rect, Colour colour) override
    {
        const RECT area{rect.left, rect.top, rect.right, rect.bottom};
        const OwnedBrush brush(CreateSolidBrush(colour));
        FillRect(dc_.Get(), &area, brush.Get());
    }

    void FillChecker(Rect rect, Colour even, Colour odd) override
    {
        const RECT area{rect.left, rect.top, rect.right, rect.bottom};
        const OwnedBrush brush(CreateCheckerBrush(even, odd));
        // The pattern's (0, 0) lands on the brush origin; a window DC starts there at the
        // client area's corner, but say so rather than rely on it.
        SetBrushOrgEx(dc_.Get(), 0, 0, nullptr);
        FillRect(dc_.Get(), &area, brush.Get());
    }

    void SelectPen(Colour colour) override
    {
        HPEN pen = CreatePen(PS_SOLID, kPenWidth, colour);
        ++LiveGdiObjects().pens;
        ++LiveGdiObjects().created;
        HGDIOBJ previous = SelectObject(dc_.Get(), pen);
        if (pen_) {
            DeletePen(pen_);  // no longer selected, so it may go
        } else {
            originalPen_ = previous;
        }
        pen_ = pen;
    }

    void MoveTo(int x, int y) override { MoveToEx(dc_.Get(), x, y, nullptr); }
    void LineTo(int x, int y) override { ::LineTo(dc_.Get(), x, y); }
    void DrawChar(int x, int y, char c) override { TextOutA(dc_.Get(), x, y, &c, 1); }

private:
    static void DeletePen(HPEN pen)
    {
        if (DeleteObject(pen)) --LiveGdiObjects().pens;
    }

    WindowDC dc_;
    HPEN pen_ = nullptr;
    HGDIOBJ originalPen_ = nullptr;
};

}  // namespace

GdiLedger& LiveGdiObjects()
{
    static GdiLedger ledger;
    return ledger;
}

Size GdiCanvas::ClientSize()
{
    RECT client{};
    GetClientRect(window_, &client);
    return {client.right, client.bottom};
}

std::unique_ptr<DrawingContext> GdiCanvas::Open()
{
    return std::make_unique<GdiContext>(window_);
}
