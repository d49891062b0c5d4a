// The moving pattern on the real pattern window: nothing the wizard leaves stays on it,
// it moves as the formula says, keeps moving with the wizard hidden and stops on a
// still step. That it holds no more GDI objects after a thousand frames is a stress case.
#include "Harness.h"

#include <optional>

#include "patterns/Motion.h"
#include "resource.h"

namespace {

constexpr COLORREF kWhitePixel = RGB(255, 255, 255);
constexpr int kSpeed = 960;
constexpr double kWineRefreshHz = 60;  // Wine's display mode rate: the player's timer runs at it
constexpr int kStep = 16;              // 960 px/s at 60 Hz
// The timer's pacing and the time one capture takes, in frames either way.
constexpr int kToleranceFrames = 6;

const char kMotionIni[] =
    "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=P,Panel\r\n"
    "[P]\r\nMENU_NUMBER=2\r\nMENU0=Overdrive, Look., Motion, Squares moving\r\n"
    "MENU1=Still, Look., White, White\r\n";

double Now()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The object's left edge on the screen and when it was seen: the first white pixel
// after a grey one on a row through the middle band's object, above its black centre.
struct Sighting {
    int left;
    double at;
};

std::optional<Sighting> SightObject(RECT monitor)
{
    const int width = monitor.right - monitor.left;
    const int height = monitor.bottom - monitor.top;
    const int side = std::max(16, height / 8);
    const int bandTop = height / 3;
    const int row = monitor.top + bandTop + (height * 2 / 3 - bandTop - side) / 2 + 1;
    const double before = Now();
    const std::vector<std::uint32_t> screen = CaptureScreen();
    const double at = (before + Now()) / 2;
    const SIZE size = ScreenSize();
    if (screen.empty() || row >= size.cy) return std::nullopt;
    auto pixel = [&](int x) { return screen[static_cast<size_t>(row) * size.cx + monitor.left + (x + width) % width]; };
    // A white run exactly as long as the object is wide: nothing else, not the wizard.
    for (int x = 0; x < width; ++x) {
        if (pixel(x) != kWhitePixel || pixel(x - 1) == kWhitePixel) continue;
        int run = 1;
        while (run <= side && pixel(x + run) == kWhitePixel) ++run;
        if (run == side) return Sighting{x, at};
    }
    return std::nullopt;
}

// How far the object moved between two sightings against how far it should have,
// both round the screen's width, in pixels.
int MissedBy(const Sighting& first, const Sighting& second, int width)
{
    const double frames = (second.at - first.at) * kWineRefreshHz;
    const int expected = static_cast<int>(frames * kStep + 0.5) % width;
    const int moved = ((second.left - first.left) % width + width) % width;
    const int off = std::abs(moved - expected);
    return std::min(off, width - off);
}

// Every row below the readout, but for the wizard's columns, holds only its band's grey
// and, in rows that the objects cross, their white and black: nothing the wizard left.
bool OnlyBandsAndObjects(RECT wizard)
{
    constexpr COLORREF kBands[] = {RGB(64, 64, 64), RGB(128, 128, 128), RGB(192, 192, 192)};
    const SIZE size = ScreenSize();
    const std::vector<std::uint32_t> screen = CaptureScreen();
    if (screen.empty()) return false;
    for (int y = MotionReadoutArea({size.cx, size.cy}).bottom; y < size.cy; ++y) {
        int band = 0;
        while (band < 2 && y >= (band + 1) * size.cy / 3) ++band;
        const bool crossed = MotionRowMoves(y, size.cy);
        for (int x = 0; x < size.cx; ++x) {
            if (x >= wizard.left && x < wizard.right && y >= wizard.top && y < wizard.bottom) continue;
            const COLORREF pixel = screen[static_cast<size_t>(y) * size.cx + x];
            if (pixel != kBands[band] && !(crossed && (pixel == kWhitePixel || pixel == RGB(0, 0, 0)))) return false;
        }
    }
    return true;
}

RECT PrimaryRect()
{
    const SIZE size = ScreenSize();
    return {0, 0, size.cx, size.cy};
}

// Frames the instrumented build's player has shown so far.
long FramesShown(HWND pattern)
{
    static const UINT query = RegisterWindowMessageA("Lumetta.MotionFrames");
    DWORD_PTR frames = 0;
    SendMessageTimeoutA(pattern, query, 0, 0, SMTO_ABORTIFHUNG, 5000, &frames);
    return static_cast<long>(frames);
}

}  // namespace

using Motion = EndToEnd;

TEST_F(Motion, the_object_moves_as_the_formula_says_with_the_wizard_shown_or_hidden)
{
    Lumetta app(kMotionIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 2, 4));
    // The wizard moves from the centre to the bottom: what it leaves is repainted at once.
    ASSERT_TRUE(Settled(dialog));
    EXPECT_TRUE(WaitUntil([&] { return OnlyBandsAndObjects(WindowRect(dialog)); }, 300));
    std::optional<Sighting> first;
    ASSERT_TRUE(WaitUntil([&] { return (first = SightObject(PrimaryRect())).has_value(); }));
    const int width = ScreenSize().cx;
    for (bool hidden : {false, true}) {
        if (hidden) {
            PostMessageA(GetDlgItem(dialog, IDC_HIDE), BM_CLICK, 0, 0);
            ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
            first = SightObject(PrimaryRect());
            ASSERT_TRUE(first.has_value());
        }
        Sleep(350);  // the time between the two sightings is measured, not assumed
        const std::optional<Sighting> second = SightObject(PrimaryRect());
        ASSERT_TRUE(second.has_value());
        EXPECT_LE(MissedBy(*first, *second, width), kToleranceFrames * kStep)
            << (hidden ? "hidden: " : "shown: ") << first->left << " then " << second->left << " after "
            << second->at - first->at << " s";
    }
    ClickAt(10, 10);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

// Under Wine another process's processor time always reads 0, so the player's own
// frame count tells whether it still runs.
TEST_F(Motion, a_still_step_stops_it)
{
    Lumetta app(Instrumented(kMotionIni));
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return FramesShown(pattern) > 10; }));

    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 3, 4));
    ASSERT_TRUE(Settled(dialog));
    const long stoppedAt = FramesShown(pattern);
    Sleep(1000);
    EXPECT_LE(FramesShown(pattern), stoppedAt + 1) << "frames shown on a still step";
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}
