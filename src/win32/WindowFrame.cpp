#include "win32/WindowFrame.h"

#include <algorithm>
#include <cstring>

namespace {

// A top-down 32-bit DIB of the given width and rows, as the software canvas lays them.
BITMAPINFOHEADER DibHeader(int width, int rows)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -rows;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    return header;
}

// A brush of a pattern's rows, brush row i for the client rows y with y % period == i
// (the brush origin being the client area's corner); null where it cannot be made.
HBRUSH RowBrush(const FrameRows& frame, const std::vector<int>& pattern)
{
    const auto width = static_cast<std::size_t>(frame.width);
    constexpr std::size_t kHeaderPixels = sizeof(BITMAPINFOHEADER) / sizeof(std::uint32_t);
    std::vector<std::uint32_t> packed(kHeaderPixels + width * pattern.size());
    // Bottom-up, the one row order that every system takes for a brush.
    BITMAPINFOHEADER header = DibHeader(frame.width, static_cast<int>(pattern.size()));
    header.biHeight = -header.biHeight;
    std::memcpy(packed.data(), &header, sizeof header);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::span<const std::uint32_t> row = frame.Row(pattern[i]);
        std::copy(row.begin(), row.end(), packed.begin() + kHeaderPixels + (pattern.size() - 1 - i) * width);
    }
    return CreateDIBPatternBrushPt(packed.data(), DIB_RGB_COLORS);
}

// Each run with a brush of its pattern's rows, grouped by pattern so that each brush is
// made once.
void FillRuns(HDC window, const FrameRows& frame, const std::vector<RowRun>& runs)
{
    std::vector<std::vector<RowRun>> runsOf(frame.patterns.size());
    for (const RowRun& run : runs) runsOf[static_cast<std::size_t>(run.pattern)].push_back(run);
    for (std::size_t p = 0; p < frame.patterns.size(); ++p) {
        if (runsOf[p].empty()) continue;
        const std::vector<int>& pattern = frame.patterns[p];
        HBRUSH brush = RowBrush(frame, pattern);
        if (brush == nullptr) {
            // Short of memory even for a few rows: row by row, slowly but whole.
            BITMAPINFO info = {};
            info.bmiHeader = DibHeader(frame.width, 1);
            for (const RowRun& run : runsOf[p])
                for (int y = run.top; y < run.bottom; ++y)
                    SetDIBitsToDevice(window, 0, y, static_cast<DWORD>(frame.width), 1, 0, 0, 0, 1,
                                      frame.Row(pattern[static_cast<std::size_t>(y) % pattern.size()]).data(), &info,
                                      DIB_RGB_COLORS);
            continue;
        }
        const HGDIOBJ original = SelectObject(window, brush);
        for (const RowRun& run : runsOf[p]) PatBlt(window, 0, run.top, frame.width, run.bottom - run.top, PATCOPY);
        SelectObject(window, original);
        DeleteObject(brush);
    }
}

}  // namespace

void PutOnWindow(HDC window, const FrameRows& frame)
{
    if (frame.runs.empty() || frame.width <= 0) return;
    const int height = frame.runs.back().bottom;
    const int bandRows = static_cast<int>(
        std::max<std::size_t>(kBandBytes / (static_cast<std::size_t>(frame.width) * sizeof(std::uint32_t)), 1));
    auto next = frame.runs.begin();
    for (int top = 0; top < height; top += bandRows) {
        const int bottom = std::min(top + bandRows, height);
        std::vector<RowRun> band;
        for (auto run = next; run != frame.runs.end() && run->top < bottom; ++run)
            band.push_back({std::max(run->top, top), std::min(run->bottom, bottom), run->pattern});
        while (next != frame.runs.end() && next->bottom <= bottom) ++next;
        FillRuns(window, frame, band);
        PushToScreen();
    }
}

void PutOnWindow(HDC window, const SoftCanvas& frame)
{
    PutOnWindow(window, frame, {0, frame.FirstRow(), frame.Width(), frame.FirstRow() + frame.Rows()});
}

void PutOnWindow(HDC window, const SoftCanvas& frame, Rect region)
{
    const std::span<const std::uint32_t> pixels = frame.Pixels();
    if (pixels.empty() || region.left >= region.right || region.top >= region.bottom) return;
    const int rows = region.bottom - region.top;
    BITMAPINFO info = {};
    info.bmiHeader = DibHeader(frame.Width(), rows);  // just the region's rows: no source offset to get wrong
    const std::uint32_t* first = pixels.data() + static_cast<std::size_t>(region.top - frame.FirstRow()) * frame.Width();
    SetDIBitsToDevice(window, region.left, region.top, static_cast<DWORD>(region.right - region.left),
                      static_cast<DWORD>(rows), region.left, 0, 0, static_cast<UINT>(rows), first, &info,
                      DIB_RGB_COLORS);
}

void PushToScreen()
{
    constexpr UINT kNeverPosted = WM_APP + 0x3FFF;
    MSG none;
    // Posted messages only: a message sent from another thread must not be handled in
    // the middle of a paint.
    PeekMessageA(&none, nullptr, kNeverPosted, kNeverPosted, PM_NOREMOVE | PM_NOYIELD | PM_QS_POSTMESSAGE);
}

std::span<std::uint32_t> FrameMemory::For(Size client)
{
    if (client.width <= 0 || client.height <= 0) return {};
    const auto width = static_cast<std::size_t>(client.width);
    const std::size_t band = std::max<std::size_t>(kBandBytes / (width * sizeof(std::uint32_t)), 1);
    auto rows = static_cast<int>(std::min(rowLimit_ > 0 ? static_cast<std::size_t>(rowLimit_) : band,
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
    info.bmiHeader = DibHeader(width, rows);
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

// Forwards to the band's own context; characters wait for GDI, and anything that would
// cover one of them has them drawn first, so that the order of drawing holds.
class TextContext final : public DrawingContext {
public:
    explicit TextContext(BandWithText& canvas) : canvas_(canvas), soft_(canvas.band_.Open()) {}
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
    void SetLineColour(Colour colour) override { soft_->SetLineColour(colour); }
    void MoveTo(int x, int y) override { soft_->MoveTo(x, y); }
    void LineTo(int x, int y) override
    {
        canvas_.DrawCharacters();
        soft_->LineTo(x, y);
    }
    void DrawChar(int x, int y, char c) override
    {
        // A cell outside the band would only be cut away.
        const int first = canvas_.band_.FirstRow();
        if (y + canvas_.cell_.cy > first && y < first + canvas_.band_.Rows()) canvas_.characters_.push_back({x, y, c});
    }

private:
    BandWithText& canvas_;
    std::unique_ptr<DrawingContext> soft_;
};

BandWithText::BandWithText(SoftCanvas& band, HDC dc) : band_(band), dc_(dc)
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc_, &metrics);
    cell_ = {metrics.tmMaxCharWidth + metrics.tmOverhang, metrics.tmHeight};
}

std::unique_ptr<DrawingContext> BandWithText::Open()
{
    return std::make_unique<TextContext>(*this);
}

void BandWithText::DrawCharacters()
{
    if (characters_.empty()) return;
    band_.Pixels();  // what was drawn before them lies under them
    for (const Character& character : characters_)
        TextOutA(dc_, character.x, character.y - band_.FirstRow(), &character.c, 1);
    GdiFlush();
    characters_.clear();
}

bool BandWithText::Covers(Rect rect) const
{
    return std::any_of(characters_.begin(), characters_.end(), [&](const Character& c) {
        return rect.left < c.x + cell_.cx && c.x < rect.right && rect.top < c.y + cell_.cy && c.y < rect.bottom;
    });
}

namespace {

// Records a frame's drawing for its runs of rows and notes the rows that its characters
// take in the system font, which only GDI draws.
class CharacterRowsContext final : public DrawingContext {
public:
    CharacterRowsContext(RecordingCanvas& frame, int cellHeight, int& top, int& bottom)
        : soft_(frame.Open()), cellHeight_(cellHeight), top_(top), bottom_(bottom)
    {
    }

    void Fill(Rect rect, Colour colour) override { soft_->Fill(rect, colour); }
    void FillChecker(Rect rect, Colour even, Colour odd) override { soft_->FillChecker(rect, even, odd); }
    void SetLineColour(Colour colour) override { soft_->SetLineColour(colour); }
    void MoveTo(int x, int y) override { soft_->MoveTo(x, y); }
    void LineTo(int x, int y) override { soft_->LineTo(x, y); }
    void DrawChar(int, int y, char) override
    {
        top_ = top_ < bottom_ ? std::min(top_, y) : y;
        bottom_ = std::max(bottom_, y + cellHeight_);
    }

private:
    std::unique_ptr<DrawingContext> soft_;
    int cellHeight_;
    int& top_;
    int& bottom_;
};

class CharacterRows final : public Canvas {
public:
    CharacterRows(RecordingCanvas& frame, int cellHeight) : frame_(frame), cellHeight_(cellHeight) {}
    Size ClientSize() override { return frame_.ClientSize(); }
    std::unique_ptr<DrawingContext> Open() override
    {
        return std::make_unique<CharacterRowsContext>(frame_, cellHeight_, top, bottom);
    }

    // The rows that hold characters, cut to the frame; none while top == bottom.
    int top = 0;
    int bottom = 0;

private:
    RecordingCanvas& frame_;
    int cellHeight_;
};

}  // namespace

void ShowOnWindow(HWND window, FrameMemory& memory, const std::function<void(Canvas&)>& paint)
{
    RECT client = {};
    GetClientRect(window, &client);
    const Size size{client.right, client.bottom};
    {
        const WindowDC dc(window);
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc.Get(), &metrics);
        RecordingCanvas frame(size, kBlack, PixelOrder::Dib);
        CharacterRows characters(frame, metrics.tmHeight);
        paint(characters);
        PutOnWindow(dc.Get(), frame.TakeRows());
        // The rows that hold characters once more, painted in memory with them in their
        // order among the fills, and put over what the runs left there.
        const int bottom = std::min(characters.bottom, size.height);
        for (int top = std::max(characters.top, 0); top < bottom;) {
            SoftCanvas band(size, top, memory.For({size.width, bottom - top}), PixelOrder::Dib);
            if (band.Rows() == 0) break;
            BandWithText text(band, memory.Dc());
            paint(text);
            text.DrawCharacters();
            PutOnWindow(dc.Get(), band, {0, top, size.width, std::min(top + band.Rows(), bottom)});
            top += band.Rows();
        }
    }
    PushToScreen();
}
