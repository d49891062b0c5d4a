#include "platform/win32/GdiCanvas.h"

namespace {

constexpr int kPenWidth = 1;

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
        HBRUSH brush = CreateSolidBrush(colour);
        ++LiveGdiObjects().brushes;
        ++LiveGdiObjects().created;
        FillRect(dc_.Get(), &area, brush);
        if (DeleteObject(brush)) --LiveGdiObjects().brushes;
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
