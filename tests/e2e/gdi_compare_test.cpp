// The painters drawn through GDI on the real pattern window must give, pixel for pixel,
// what the software canvas gives at the same size. Only the grey ramp's label glyphs
// are left out, as the fonts differ; their cells must still stand where they belong.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "Harness.h"
#include "patterns/PaintCycle.h"
#include "patterns/Painters.h"
#include "platform/SoftCanvas.h"
#include "resource.h"

namespace {

constexpr const char* kSpecs[] = {"Border", "V3Lines", "VLines", "HLines", "CHatch", "C3Hatch", "C7Hatch",
                                  "GLines", "CLines",  "Gray64", "White",
                                  // The adjustment guide's keywords.
                                  "Red", "Green", "Blue", "BlackLevel", "WhiteLevel", "Gamma", "Checker",
                                  "Gradient"};
constexpr int kLabelPitch = 14;

// Label cells of the labelled grey ramp, as the painters place them: one digit every
// 14 pixels down the left edge of each stripe.
std::vector<RECT> LabelCells(int width, SIZE cell)
{
    std::vector<RECT> cells;
    if (width <= 250) return cells;
    const int stripe = width >= 256 ? width / 51 : 256 / width;
    const int step = width >= 256 ? 5 : 256 / width;
    int grey = 255;
    for (int x = 0; x < width; x += stripe) {
        const int digits = grey / step >= 10 ? 2 : 1;
        for (int i = 0; i < digits; ++i) cells.push_back({x, kLabelPitch * i, x + cell.cx, kLabelPitch * i + cell.cy});
        if (grey >= step) grey -= step;
    }
    return cells;
}

struct Comparison {
    long mismatches = 0;
    std::string first;
};

Comparison Compare(const std::vector<std::uint32_t>& screen, const SoftCanvas& expected,
                   const std::vector<RECT>& masked)
{
    Comparison result;
    const int width = expected.Width();
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < width; ++x) {
            const POINT p = {x, y};
            if (std::any_of(masked.begin(), masked.end(), [&](const RECT& r) { return PtInRect(&r, p); })) continue;
            const std::uint32_t got = screen[static_cast<size_t>(y) * width + x];
            if (got == expected.Pixel(x, y)) continue;
            if (result.mismatches++ == 0) {
                char text[96];
                wsprintfA(text, "(%d, %d) is %06lX, expected %06lX", x, y, static_cast<unsigned long>(got),
                          static_cast<unsigned long>(expected.Pixel(x, y)));
                result.first = text;
            }
        }
    return result;
}

SIZE ScreenCharacterCell()
{
    HDC screen = GetDC(nullptr);
    SIZE cell = {};
    GetTextExtentPoint32A(screen, "0", 1, &cell);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(screen, &metrics);
    ReleaseDC(nullptr, screen);
    cell.cx = std::max<LONG>({cell.cx, metrics.tmMaxCharWidth, SoftCanvas::kCellWidth});
    cell.cy = std::max<LONG>({cell.cy, metrics.tmHeight, SoftCanvas::kCellHeight});
    return cell;
}

}  // namespace

using GdiCompare = EndToEnd;

TEST_F(GdiCompare, gdi_painters_match_the_software_canvas_pixel_for_pixel)
{
    std::string ini = "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=P,Patterns\r\n[P]\r\nMENU_NUMBER=" +
                      std::to_string(std::size(kSpecs)) + "\r\n";
    for (size_t i = 0; i < std::size(kSpecs); ++i)
        ini += "MENU" + std::to_string(i) + "=p,h," + kSpecs[i] + ",s\r\n";
    Lumetta app(ini);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    const SIZE screen = ScreenSize();
    RECT client = {};
    GetClientRect(pattern, &client);
    ASSERT_TRUE(client.right == screen.cx && client.bottom == screen.cy);
    const SIZE cell = ScreenCharacterCell();

    for (size_t i = 0; i < std::size(kSpecs); ++i) {
        const std::string spec = kSpecs[i];
        app.Press(dialog, IDC_NEXT);
        ASSERT_TRUE(WaitForStep(dialog, static_cast<int>(i) + 2, static_cast<int>(std::size(kSpecs)) + 2));
        PostMessageA(GetDlgItem(dialog, IDC_HIDE), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));

        SoftCanvas expected(screen.cx, screen.cy, kWhite);
        FillBlack(expected);
        PaintPattern(expected, MatchPatternSpec(spec));
        const std::vector<RECT> masked = spec == "GLines" ? LabelCells(screen.cx, cell) : std::vector<RECT>{};
        Comparison last;
        std::vector<std::uint32_t> shot;
        const bool same = WaitUntil([&] {
            shot = CaptureScreen();
            last = Compare(shot, expected, masked);
            return last.mismatches == 0;
        }, 5000);
        EXPECT_TRUE(same) << spec << ": " << last.mismatches << " pixels differ, first " << last.first;
        // Each label cell starts at its place: GDI draws its opaque white cell there.
        for (const RECT& r : masked) {
            EXPECT_EQ(shot[static_cast<size_t>(r.top) * screen.cx + r.left], kWhite)
                << spec << ": no label cell at (" << r.left << ", " << r.top << ")";
        }
        if (!masked.empty()) {
            EXPECT_GT(masked.size(), 51u);
        }

        PostMessageA(pattern, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
    }
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}
