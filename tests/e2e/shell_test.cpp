// The program's shell: the full-screen pattern window, the wizard it owns, and a
// clean exit with code 0 however the wizard ends.
#include "Harness.h"

#include "resource.h"

namespace {

const char kMinimalIni[] =
    "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=PANEL,Flat panel\r\n"
    "[PANEL]\r\nMENU_NUMBER=1\r\nMENU0=Edges, Look at the edges., Border, A frame\r\n";

void QuitAndExpectCleanExit(Lumetta& app, HWND dialog)
{
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
    EXPECT_TRUE(WaitUntil(NoLumettaProcess, 5000));
}

}  // namespace

using Shell = EndToEnd;

TEST_F(Shell, pattern_window_covers_the_screen_in_black)
{
    Lumetta app(kMinimalIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    HWND pattern = app.PatternWindow();
    ASSERT_TRUE(pattern != nullptr);

    const SIZE screen = ScreenSize();
    const RECT rect = WindowRect(pattern);
    EXPECT_EQ(rect.left, 0L);
    EXPECT_EQ(rect.top, 0L);
    EXPECT_EQ(rect.right, static_cast<long>(screen.cx));
    EXPECT_EQ(rect.bottom, static_cast<long>(screen.cy));
    const LONG style = GetWindowLongA(pattern, GWL_STYLE);
    EXPECT_TRUE((style & WS_POPUP) != 0);
    EXPECT_TRUE((style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_BORDER)) == 0);
    EXPECT_EQ(WindowText(pattern), std::string());

    // Everywhere the dialog does not cover is black.
    const RECT box = WindowRect(dialog);
    const POINT probes[] = {{0, 0},
                            {screen.cx - 1, 0},
                            {0, screen.cy - 1},
                            {screen.cx - 1, screen.cy - 1},
                            {screen.cx / 2, box.top - 10},
                            {screen.cx / 2, box.bottom + 10},
                            {box.left - 10, screen.cy / 2},
                            {box.right + 10, screen.cy / 2}};
    for (const POINT& p : probes) {
        if (p.x < 0 || p.y < 0 || p.x >= screen.cx || p.y >= screen.cy || PtInRect(&box, p)) continue;
        const bool black = WaitUntil([&] { return ScreenPixel(p.x, p.y) == 0; }, 5000);
        EXPECT_TRUE(black) << "pixel (" << p.x << ", " << p.y << ") black";
    }
    QuitAndExpectCleanExit(app, dialog);
}

TEST_F(Shell, dialog_is_owned_by_the_pattern_window_and_has_its_controls)
{
    Lumetta app(kMinimalIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_TRUE(GetWindow(dialog, GW_OWNER) == app.PatternWindow());

    struct Expected {
        int id;
        const char* className;
    };
    const Expected controls[] = {
        {IDC_PATTERN_LABEL, "Static"}, {IDC_MODEL_COMBO, "ComboBox"}, {IDC_NEXT, "Button"},
        {IDC_QUIT, "Button"},          {IDC_PREVIOUS, "Button"},      {IDC_STEP, "Static"},
        {IDC_PURPOSE_LABEL, "Static"}, {IDC_HOWTO_LABEL, "Static"},   {IDC_SEEN_LABEL, "Static"},
        {IDC_PURPOSE, "Static"},       {IDC_SEEN, "Static"},          {IDC_HOWTO, "Static"},
        {IDC_HIDE, "Button"},
    };
    // Child windows come in template order, which is also the tab order.
    HWND child = GetWindow(dialog, GW_CHILD);
    for (const Expected& expected : controls) {
        ASSERT_TRUE(child != nullptr);
        EXPECT_EQ(static_cast<long long>(GetDlgCtrlID(child)), static_cast<long long>(expected.id));
        EXPECT_EQ(ClassName(child), std::string(expected.className));
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_TRUE(child == nullptr);
    QuitAndExpectCleanExit(app, dialog);
}

TEST_F(Shell, quit_ends_the_program_with_exit_code_0)
{
    Lumetta app(kMinimalIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    QuitAndExpectCleanExit(app, dialog);
}

TEST_F(Shell, closing_the_dialog_ends_the_program_with_exit_code_0)
{
    Lumetta app(kMinimalIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(app.WaitForExit(), 0L);
    EXPECT_TRUE(WaitUntil(NoLumettaProcess, 5000));
}

TEST_F(Shell, escape_does_not_close_the_wizard)
{
    Lumetta app(kMinimalIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    // Sent, so that the handler has run when the call returns.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(dialog, WM_COMMAND, IDCANCEL, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    EXPECT_TRUE(Settled(dialog));
    EXPECT_TRUE(IsWindowVisible(dialog));
    QuitAndExpectCleanExit(app, dialog);
}

TEST_F(Shell, the_next_monitor_command_is_greyed_out_on_a_single_monitor)
{
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    Lumetta app(Instrumented(kMinimalIni));
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ(SystemCommandState(app.PatternWindow(), IDM_NEXT_MONITOR), static_cast<UINT>(MF_GRAYED));
    QuitAndExpectCleanExit(app, dialog);
}

TEST_F(Shell, starts_and_quits_without_data_ini)
{
    StartOptions options;
    options.writeDataIni = false;
    Lumetta app(options);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    QuitAndExpectCleanExit(app, dialog);
}

TEST_F(Shell, starts_and_quits_when_data_ini_is_a_directory)
{
    StartOptions options;
    options.dataIniIsDirectory = true;
    Lumetta app(options);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    QuitAndExpectCleanExit(app, dialog);
}
