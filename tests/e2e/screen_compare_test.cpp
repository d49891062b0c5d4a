// What reaches the screen is, pixel for pixel, the software canvas's frame: every keyword,
// on a pattern window of an odd size, painted in strips of an odd number of rows as where
// memory for a whole frame cannot be had.
#include <windows.h>

#include <vector>

#include "Harness.h"
#include "patterns/PaintCycle.h"
#include "patterns/Painters.h"
#include "platform/SoftCanvas.h"
#include "resource.h"

namespace {

constexpr int kWidth = 1001;
constexpr int kHeight = 777;
constexpr int kStripRows = 7;

struct Comparison {
    long mismatches = 0;
    std::string first;
};

Comparison Compare(const std::vector<std::uint32_t>& screen, int screenWidth, const SoftCanvas& expected)
{
    Comparison result;
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x) {
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
    StartOptions options;
    options.exe = Programs().instrumented;
    options.dataIni = ini;
    Lumetta app(options);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(pattern, RegisterWindowMessageA("Lumetta.FrameRows"), kStripRows, 0,
                                    SMTO_ABORTIFHUNG, kDeadlineMs, &ignored));
    SetWindowPos(pattern, nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client = {};
    ASSERT_TRUE(WaitUntil([&] { return GetClientRect(pattern, &client) && client.right == kWidth && client.bottom == kHeight; }));
    const int screenWidth = ScreenSize().cx;

    for (size_t i = 0; i < stills.size(); ++i) {
        const std::string& spec = stills[i];
        app.Press(dialog, IDC_NEXT);
        ASSERT_TRUE(WaitForStep(dialog, static_cast<int>(i) + 2, static_cast<int>(stills.size()) + 2));
        PostMessageA(GetDlgItem(dialog, IDC_HIDE), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));

        SoftCanvas expected(kWidth, kHeight, kWhite);
        FillBlack(expected);
        PaintPattern(expected, MatchPatternSpec(spec));
        Comparison last;
        const bool same = WaitUntil([&] {
            const std::vector<std::uint32_t> shot = CaptureScreen();
            if (shot.empty()) return false;
            last = Compare(shot, screenWidth, expected);
            return last.mismatches == 0;
        }, 5000);
        EXPECT_TRUE(same) << spec << ": " << last.mismatches << " pixels differ, first " << last.first;

        PostMessageA(pattern, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
    }
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}
