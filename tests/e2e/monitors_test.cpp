// Two monitors side by side (scripts/with-two-monitors.sh): the primary 1280x1024 at
// 0,0 and a second one 1024x768 at 1280,0. The wizard takes the pattern window from
// one to the other, by a move or by its system-menu command and shortcut.
#include "Harness.h"

#include "resource.h"

namespace {

constexpr RECT kPrimary{0, 0, 1280, 1024};
constexpr RECT kSecond{1280, 0, 2304, 768};
constexpr COLORREF kWhitePixel = RGB(255, 255, 255);
constexpr COLORREF kBlackPixel = RGB(0, 0, 0);

const char kBorderIni[] =
    "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=PANEL,Flat panel\r\n"
    "[PANEL]\r\nMENU_NUMBER=3\r\nMENU0=Edges, Look., Border, A frame\r\n"
    "MENU1=Edges again, Look., Border, A frame\r\nMENU2=Last edges, Look., Border, A frame\r\n";

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
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "run under scripts/with-two-monitors.sh";
    }
};

}  // namespace

TEST_F(TwoMonitors, start_on_the_primary_and_a_display_change_keeps_it_covered)
{
    Lumetta app(kBorderIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    EXPECT_TRUE(Covers(pattern, kPrimary));

    // As after a change of scaling, and of resolution: the pattern window no longer
    // fits its monitor (Wine has one DPI, so the messages are the driver's own).
    SetWindowPos(pattern, nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageA(pattern, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
    EXPECT_TRUE(Covers(pattern, kPrimary));
    SetWindowPos(pattern, nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    MoveWizard(dialog, 3000, 2000);  // on no monitor
    PostMessageA(pattern, WM_DISPLAYCHANGE, 24, MAKELPARAM(1280, 1024));
    EXPECT_TRUE(Covers(pattern, kPrimary));
    EXPECT_TRUE(At(dialog, Centred(dialog, kPrimary)));
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
    ASSERT_TRUE(FrameOn(kPrimary));

    MoveWizard(dialog, 1400, 100);
    EXPECT_TRUE(Covers(pattern, kSecond));
    EXPECT_TRUE(FrameOn(kSecond));
    EXPECT_TRUE(At(dialog, {1400, 100}));  // left where it was put
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 3, 5));
    EXPECT_TRUE(At(dialog, BottomCentre(dialog, kSecond)));

    // Back by a drag: the moves inside the size/move loop are not followed, its end is.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(dialog, WM_ENTERSIZEMOVE, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    MoveWizard(dialog, 300, 300);
    Sleep(300);  // nothing may happen, so there is nothing to poll for
    EXPECT_TRUE(Covers(pattern, kSecond));
    SendMessageTimeoutA(dialog, WM_EXITSIZEMOVE, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    EXPECT_TRUE(Covers(pattern, kPrimary));
    EXPECT_TRUE(FrameOn(kPrimary));
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 4, 5));
    EXPECT_TRUE(At(dialog, BottomCentre(dialog, kPrimary)));
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(TwoMonitors, the_system_menu_command_and_ctrl_m_cycle_through_both_monitors)
{
    Lumetta app(kBorderIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    for (const RECT& monitor : {kSecond, kPrimary}) {
        PostMessageA(dialog, WM_SYSCOMMAND, IDM_NEXT_MONITOR, 0);
        EXPECT_TRUE(Covers(pattern, monitor));
    }
    // With the focus in the wizard, the shortcut does the same, takes the wizard
    // along, and leaves no carriage return behind to press Next.
    ASSERT_TRUE(WaitUntil([&] { return IsChild(dialog, FocusedWindow(dialog)) != FALSE; }));
    PressCtrlM();
    EXPECT_TRUE(Covers(pattern, kSecond));
    EXPECT_TRUE(At(dialog, Centred(dialog, kSecond)));
    PressCtrlM();
    EXPECT_TRUE(Covers(pattern, kPrimary));
    Sleep(300);  // nothing may happen, so there is nothing to poll for
    EXPECT_TRUE(WaitForStep(dialog, 1, 0, 0));
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
    ClickAt(1800, 400);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
    EXPECT_TRUE(Covers(app.PatternWindow(), kPrimary));
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}
