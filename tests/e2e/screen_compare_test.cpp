// What reaches the screen is, pixel for pixel, the software canvas's frame: every keyword,
// on a pattern window of an odd size, its rows in runs and the rows that hold the grey
// ramp's labels painted in bands of an odd number of rows, as where memory is short.
// The labels are GDI's own text in the system font, so their cells are left out of the
// comparison and checked apart.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "Harness.h"
#include "patterns/PaintCycle.h"
#include "patterns/Painters.h"
#include "platform/SoftCanvas.h"
#include "resource.h"

namespace {

constexpr int kWidth = 1001;
constexpr int kHeight = 777;
constexpr int kBandRows = 7;  // band boundaries cut through every label
constexpr int kLabelPitch = 14;

struct Comparison {
    long mismatches = 0;
    std::string first;
};

// One cell per digit of each stripe's label, 14 pixels apart down the stripe's left edge,
// each the size of a digit in a window DC's default font.
std::vector<RECT> LabelCells(HWND window)
{
    HDC dc = GetDC(window);
    SIZE cell = {};
    GetTextExtentPoint32A(dc, "0", 1, &cell);
    ReleaseDC(window, dc);
    std::vector<RECT> cells;
    int grey = 255;
    for (int x = 0; x < kWidth; x += kWidth / 51, grey = std::max(grey - 5, 0))
        for (int i = 0; i < (grey / 5 >= 10 ? 2 : 1); ++i)
            cells.push_back({x, kLabelPitch * i, x + cell.cx, kLabelPitch * i + cell.cy});
    return cells;
}

Comparison Compare(const std::vector<std::uint32_t>& screen, int screenWidth, const SoftCanvas& expected,
                   const std::vector<RECT>& masked)
{
    Comparison result;
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x) {
            const POINT p = {x, y};
            if (std::any_of(masked.begin(), masked.end(), [&](const RECT& r) { return PtInRect(&r, p); })) continue;
            const std::uint32_t got = screen[static_cast<size_t>(y) * screenWidth + x];
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

}  // namespace

using ScreenCompare = EndToEnd;

TEST_F(ScreenCompare, every_keyword_reaches_the_screen_as_the_software_canvas_paints_it)
{
    // Still frames only: the Motion cases follow the moving one.
    std::vector<std::string> stills;
    for (const KeywordSample& keyword : kEveryKeyword)
        if (keyword.pattern != Pattern::Motion) stills.emplace_back(keyword.spec);
    std::string ini = "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=P,Patterns\r\n[P]\r\nMENU_NUMBER=" +
                      std::to_string(stills.size()) + "\r\n";
    for (size_t i = 0; i < stills.size(); ++i) ini += "MENU" + std::to_string(i) + "=p,h," + stills[i] + ",s\r\n";
    Lumetta app(Instrumented(ini));
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(pattern, RegisterWindowMessageA("Lumetta.FrameRows"), kBandRows, 0,
                                    SMTO_ABORTIFHUNG, kDeadlineMs, &ignored));
    SetWindowPos(pattern, nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client = {};
    ASSERT_TRUE(WaitUntil([&] { return GetClientRect(pattern, &client) && client.right == kWidth && client.bottom == kHeight; }));
    const int screenWidth = ScreenSize().cx;
    const std::vector<RECT> labels = LabelCells(pattern);

    for (size_t i = 0; i < stills.size(); ++i) {
        const std::string& spec = stills[i];
        app.Press(dialog, IDC_NEXT);
        ASSERT_TRUE(WaitForStep(dialog, static_cast<int>(i) + 2, static_cast<int>(stills.size()) + 2));
        PostMessageA(GetDlgItem(dialog, IDC_HIDE), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));

        SoftCanvas expected(kWidth, kHeight, kWhite);
        FillBlack(expected);
        PaintPattern(expected, MatchPatternSpec(spec));
        const std::vector<RECT> masked = spec == "GLines" ? labels : std::vector<RECT>{};
        Comparison last;
        std::vector<std::uint32_t> shot;
        const bool same = WaitUntil([&] {
            shot = CaptureScreen();
            if (shot.empty()) return false;
            last = Compare(shot, screenWidth, expected, masked);
            return last.mismatches == 0;
        }, 5000);
        EXPECT_TRUE(same) << spec << ": " << last.mismatches << " pixels differ, first " << last.first;
        // Each cell is whole in every band it crosses: GDI's opaque white cell, starting at
        // its place, with black text in it and nothing of the stripe.
        for (const RECT& r : masked) {
            long black = 0, other = 0;
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) {
                    const std::uint32_t pixel = shot[static_cast<size_t>(y) * screenWidth + x];
                    black += pixel == kBlack;
                    other += pixel != kBlack && pixel != kWhite;
                }
            EXPECT_TRUE(shot[static_cast<size_t>(r.top) * screenWidth + r.left] == kWhite && black > 0 && other == 0)
                << spec << ": no whole label cell at (" << r.left << ", " << r.top << "): " << black << " black, "
                << other << " neither black nor white";
        }

        PostMessageA(pattern, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
    }
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}
