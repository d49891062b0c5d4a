// Two monitors (scripts/with-two-monitors.sh): the primary 1280x1024 at 0,0 and a
// second one 1024x768 beside it, right of it, left of it (negative coordinates) or
// below it, as the run's layout puts it. The wizard takes the pattern window from one
// to the other, by a move or by its system-menu command and shortcut.
#include "Harness.h"

#include <cstdlib>
#include <string>

#include "resource.h"

namespace {

constexpr COLORREF kWhitePixel = RGB(255, 255, 255);
constexpr COLORREF kBlackPixel = RGB(0, 0, 0);

const char kBorderIni[] =
    "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=PANEL,Flat panel\r\n"
    "[PANEL]\r\nMENU_NUMBER=3\r\nMENU0=Edges, Look., Border, A frame\r\n"
    "MENU1=Edges again, Look., Border, A frame\r\nMENU2=Last edges, Look., Border, A frame\r\n";

// The two monitors as the display gives them.
struct Layout {
    RECT primary;
    RECT second;
    int count;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM context)
{
    auto& layout = *reinterpret_cast<Layout*>(context);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    ((info.dwFlags & MONITORINFOF_PRIMARY) != 0 ? layout.primary : layout.second) = info.rcMonitor;
    ++layout.count;
    return TRUE;
}

Layout ReadLayout()
{
    Layout layout = {};
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&layout));
    return layout;
}

// Where scripts/with-two-monitors.sh was told to put the second monitor.
bool Placed(const RECT& primary, const RECT& second)
{
    const char* placement = std::getenv("LUMETTA_SECOND_MONITOR");
    const std::string where = placement != nullptr ? placement : "RightOf";
    if (where == "LeftOf") return second.right == primary.left && second.top == primary.top;
    if (where == "Below") return second.top == primary.bottom && second.left == primary.left;
    return second.left == primary.right && second.top == primary.top;
}

POINT CentreOf(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

bool Covers(HWND window, const RECT& expected)
{
    return WaitUntil([&] {
        const RECT r = WindowRect(window);
        return EqualRect(&r, &expected) != FALSE;
    }, 5000);
}

// The white frame of Border, two pixels wide, along the monitor's four edges.
bool FrameOn(const RECT& m)
{
    const int midX = (m.left + m.right) / 2;
    const int midY = (m.top + m.bottom) / 2;
    const struct {
        int x, y, dx, dy;  // an edge pixel and the step inwards
    } edges[] = {{m.left, midY, 1, 0}, {m.right - 1, midY, -1, 0}, {midX, m.top, 0, 1}, {midX, m.bottom - 1, 0, -1}};
    return WaitUntil([&] {
        for (const auto& e : edges)
            if (ScreenPixel(e.x, e.y) != kWhitePixel || ScreenPixel(e.x + e.dx, e.y + e.dy) != kWhitePixel ||
                ScreenPixel(e.x + 2 * e.dx, e.y + 2 * e.dy) != kBlackPixel)
                return false;
        return true;
    }, 5000);
}

// Where the wizard's top-left corner goes on a monitor.
POINT Centred(HWND dialog, const RECT& m)
{
    const RECT r = WindowRect(dialog);
    return {m.left + (m.right - m.left - (r.right - r.left)) / 2, m.top + (m.bottom - m.top - (r.bottom - r.top)) / 2};
}
POINT BottomCentre(HWND dialog, const RECT& m)
{
    const RECT r = WindowRect(dialog);
    return {m.left + (m.right - m.left - (r.right - r.left)) / 2, m.bottom - (r.bottom - r.top) - 50};
}
bool At(HWND dialog, POINT p)
{
    return WaitUntil([&] {
        const RECT r = WindowRect(dialog);
        return r.left == p.x && r.top == p.y;
    }, 5000);
}

void MoveWizard(HWND dialog, int x, int y)
{
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PressCtrlM()
{
    INPUT keys[4] = {};
    const WORD sequence[4] = {VK_CONTROL, 'M', 'M', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = sequence[i];
        keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(4, keys, sizeof(INPUT));
}

// Every case needs the two monitors that scripts/with-two-monitors.sh gives.
class TwoMonitors : public EndToEnd {
protected:
    void SetUp() override
    {
        const Layout layout = ReadLayout();
        ASSERT_EQ(layout.count, 2) << "run under scripts/with-two-monitors.sh";
        primary = layout.primary;
        second = layout.second;
        ASSERT_TRUE(Placed(primary, second)) << second.left << "," << second.top;
        ASSERT_EQ(primary.right - primary.left, 1280);
        ASSERT_EQ(second.bottom - second.top, 768);
    }
    RECT primary = {};
    RECT second = {};
};

}  // namespace

TEST_F(TwoMonitors, the_command_line_starts_on_the_second_monitor_and_lists_both)
{
    StartOptions options;
    options.dataIni = kBorderIni;
    options.arguments = {"--monitor", "2"};
    Lumetta app(options);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_TRUE(Covers(app.PatternWindow(), second));
    EXPECT_TRUE(At(dialog, Centred(dialog, second)));
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);

    options.arguments = {"--list"};
    options.captureOutput = true;
    Lumetta list(options);
    EXPECT_EQ(list.WaitForExit(), 0L);
    const std::string output = list.Output();
    const std::string size = std::to_string(second.right - second.left) + " x " + std::to_string(second.bottom - second.top);
    EXPECT_NE(output.find("\\\\.\\DISPLAY1: 1280 x 1024 at (0, 0), 96 dpi, primary\n"), std::string::npos) << output;
    EXPECT_NE(output.find("\\\\.\\DISPLAY2: " + size + " at (" + std::to_string(second.left) + ", " +
                          std::to_string(second.top) + "), 96 dpi\n"),
              std::string::npos)
        << output;
}

TEST_F(TwoMonitors, start_on_the_primary_and_a_display_change_keeps_it_covered)
{
    Lumetta app(kBorderIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    EXPECT_TRUE(Covers(pattern, primary));

    // As after a change of scaling, and of resolution: the pattern window no longer
    // fits its monitor (Wine has one DPI, so the messages are the driver's own).
    SetWindowPos(pattern, nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(pattern, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
    EXPECT_TRUE(Covers(pattern, primary));
    SetWindowPos(pattern, nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    MoveWizard(dialog, 3000, 2000);  // on no monitor
    PostMessageA(pattern, WM_DISPLAYCHANGE, 24, MAKELPARAM(1280, 1024));
    EXPECT_TRUE(Covers(pattern, primary));
    EXPECT_TRUE(At(dialog, Centred(dialog, primary)));
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(TwoMonitors, moving_the_wizard_to_the_second_monitor_takes_the_pattern_there_and_back)
{
    Lumetta app(kBorderIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 2, 5));
    ASSERT_TRUE(FrameOn(primary));

    const POINT onSecond = {second.left + 120, second.top + 100};
    MoveWizard(dialog, onSecond.x, onSecond.y);
    EXPECT_TRUE(Covers(pattern, second));
    EXPECT_TRUE(FrameOn(second));
    EXPECT_TRUE(At(dialog, onSecond));  // left where it was put
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 3, 5));
    EXPECT_TRUE(At(dialog, BottomCentre(dialog, second)));

    // Back by a drag: the moves inside the size/move loop are not followed, its end is.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(dialog, WM_ENTERSIZEMOVE, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    MoveWizard(dialog, 300, 300);
    ASSERT_TRUE(Settled(dialog));
    EXPECT_TRUE(Covers(pattern, second));
    SendMessageTimeoutA(dialog, WM_EXITSIZEMOVE, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    EXPECT_TRUE(Covers(pattern, primary));
    EXPECT_TRUE(FrameOn(primary));
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 4, 5));
    EXPECT_TRUE(At(dialog, BottomCentre(dialog, primary)));
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(TwoMonitors, the_system_menu_command_and_ctrl_m_cycle_through_both_monitors)
{
    Lumetta app(Instrumented(kBorderIni));
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    EXPECT_EQ(SystemCommandState(pattern, IDM_NEXT_MONITOR), static_cast<UINT>(MF_ENABLED));
    for (const RECT& monitor : {second, primary}) {
        PostMessageA(dialog, WM_SYSCOMMAND, IDM_NEXT_MONITOR, 0);
        EXPECT_TRUE(Covers(pattern, monitor));
    }
    // With the focus in the wizard, the shortcut does the same and takes the wizard along.
    ASSERT_TRUE(WaitUntil([&] { return IsChild(dialog, FocusedWindow(dialog)) != FALSE; }));
    PressCtrlM();
    EXPECT_TRUE(Covers(pattern, second));
    EXPECT_TRUE(At(dialog, Centred(dialog, second)));
    PressCtrlM();
    EXPECT_TRUE(Covers(pattern, primary));
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(TwoMonitors, a_click_on_the_other_monitor_brings_a_hidden_wizard_back)
{
    Lumetta app(kBorderIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    PostMessageA(GetDlgItem(dialog, IDC_HIDE), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }));
    const POINT centre = CentreOf(second);
    ClickAt(centre.x, centre.y);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
    EXPECT_TRUE(Covers(app.PatternWindow(), primary));
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

// The moving pattern starts again at the second monitor's size: its objects are an
// eighth of that monitor's height.
TEST_F(TwoMonitors, the_moving_pattern_follows_the_wizard_at_the_new_monitors_size)
{
    Lumetta app("[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=M,Moving\r\n[M]\r\nMENU_NUMBER=1\r\n"
                "MENU0=Overdrive, Look., Motion, Squares\r\n");
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 2, 3));
    PostMessageA(dialog, WM_SYSCOMMAND, IDM_NEXT_MONITOR, 0);
    ASSERT_TRUE(Covers(app.PatternWindow(), second));
    const int height = second.bottom - second.top;
    const int side = height / 8;
    const int row = second.top + height / 3 + (height / 3 - side) / 2 + 1;  // the middle band's object
    EXPECT_TRUE(WaitUntil([&] {
        const std::vector<std::uint32_t> pixels = CaptureScreen({second.left, row, second.right, row + 1});
        int run = 0;
        for (size_t x = 0; x < pixels.size() && run <= side; ++x) {
            run = pixels[x] == kWhitePixel ? run + 1 : 0;
            if (run == side && (x + 1 == pixels.size() || pixels[x + 1] != kWhitePixel)) return true;
        }
        return false;
    }, 5000)) << "no object " << side << " pixels wide on the second monitor";
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}
