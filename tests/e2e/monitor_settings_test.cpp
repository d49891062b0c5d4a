// The monitor's own settings from the wizard, over DDC/CI. Wine's dxva2.dll only has
// stubs; the test-only one (fake_dxva2) keeps its monitors in fake-monitors.ini in the
// program's folder and is loaded from the system directory with dxva2=n.
#include "Harness.h"

#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "resource.h"

namespace {

const char kIni[] =
    "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=P,Panel\r\n"
    "[P]\r\nMENU_NUMBER=2\r\nMENU0=Black level, Set it., Black, Black\r\nCONTROL0=Brightness, Contrast\r\n"
    "MENU1=White, Look., White, White\r\n";
const char kMonitor[] = "PHYSICAL=1\r\nCAPS=(prot(monitor)vcp(10 12))\r\nVCP10=50,100\r\nVCP12=70,100\r\n";

std::string Setting(const Lumetta& app, const char* display, const char* key)
{
    char value[64] = {};
    const std::string file = (app.WorkingDirectory() / "fake-monitors.ini").string();
    GetPrivateProfileStringA(display, key, "", value, sizeof value, file.c_str());
    return value;
}

std::string Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

// A drag as the trackbar itself reports it.
void Drag(HWND dialog, int row, int position)
{
    HWND trackbar = GetDlgItem(dialog, IDC_SETTING_SLIDER + row);
    PostMessageA(trackbar, TBM_SETPOS, TRUE, position);
    PostMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position), reinterpret_cast<LPARAM>(trackbar));
}

class MonitorSettings : public EndToEnd {
protected:
    void UseFakeDxva2() { fake_.emplace(); }
    void TearDown() override
    {
        fake_.reset();
        EndToEnd::TearDown();
    }
    // Starts on the step with settings, the monitors written before the rows are read.
    HWND Start(Lumetta& app, const std::string& monitors)
    {
        std::ofstream(app.WorkingDirectory() / "fake-monitors.ini", std::ios::binary) << monitors;
        HWND dialog = app.WaitForDialog();
        if (dialog != nullptr) app.Press(dialog, IDC_NEXT);
        return dialog != nullptr && WaitForStep(dialog, 2) ? dialog : nullptr;
    }
    bool Shows(HWND dialog, int id, const std::string& text)
    {
        return WaitUntil([&] { return Text(dialog, id) == text; });
    }

    std::optional<FakeDxva2> fake_;
};

TEST_F(MonitorSettings, a_dragged_trackbar_sets_the_monitor_and_a_resume_reads_it_again)
{
    UseFakeDxva2();
    Lumetta app(kIni);
    HWND dialog = Start(app, std::string("[DISPLAY1]\r\n") + kMonitor);
    ASSERT_TRUE(dialog != nullptr);
    ASSERT_TRUE(Shows(dialog, IDC_SETTING_VALUE, "50"));
    EXPECT_TRUE(Shows(dialog, IDC_SETTING_VALUE + 1, "70"));

    Drag(dialog, 0, 80);
    EXPECT_TRUE(WaitUntil([&] { return Setting(app, "DISPLAY1", "VCP10") == "80,100"; }));
    EXPECT_TRUE(Shows(dialog, IDC_SETTING_VALUE, "80"));

    // Changed on the monitor's own buttons while the computer slept.
    WritePrivateProfileStringA("DISPLAY1", "VCP10", "33,100", (app.WorkingDirectory() / "fake-monitors.ini").string().c_str());
    PostMessageA(dialog, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_TRUE(Shows(dialog, IDC_SETTING_VALUE, "33"));
    EXPECT_EQ(Setting(app, "DISPLAY1", "OPENS"), "2");
    EXPECT_EQ(Setting(app, "DISPLAY1", "RELEASED"), "1");
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog, IDC_SETTING_SLIDER), TBM_GETPOS, 0, 0), 33);

    // The trackbars take the keyboard, and lie between the texts and the buttons.
    HWND contrast = GetDlgItem(dialog, IDC_SETTING_SLIDER + 1);
    PostMessageA(contrast, WM_KEYDOWN, VK_END, 0);
    EXPECT_TRUE(WaitUntil([&] { return Setting(app, "DISPLAY1", "VCP12") == "100,100"; }));
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDC_SETTING_SLIDER), FALSE), contrast);
    EXPECT_EQ(GetNextDlgTabItem(dialog, contrast, FALSE), GetDlgItem(dialog, IDC_RESTORE));
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, IDC_RESTORE), FALSE), GetDlgItem(dialog, IDC_NEXT));

    // A step without settings is the template's dialog again.
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 3));
    EXPECT_EQ(GetDlgItem(dialog, IDC_SETTING_SLIDER), nullptr);
    EXPECT_EQ(GetDlgItem(dialog, IDC_RESTORE), nullptr);
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
    EXPECT_EQ(Setting(app, "DISPLAY1", "RELEASED"), "2");
}

TEST_F(MonitorSettings, a_monitor_taking_half_a_second_per_call_never_holds_the_wizard)
{
    UseFakeDxva2();
    Lumetta app(kIni);
    HWND dialog = Start(app, std::string("[DISPLAY1]\r\nLATENCY=500\r\n") + kMonitor);
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_SETTING_SLIDER)));
    EXPECT_EQ(Text(dialog, IDC_SETTING_VALUE), "");
    const ULONGLONG before = GetTickCount64();
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 3));
    EXPECT_LT(GetTickCount64() - before, 100u);
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

// A bus that sticks (docks, KVMs, some scalers): the wizard still answers at once, and
// Quit or closing it still ends the program within a second.
TEST_F(MonitorSettings, a_monitor_whose_calls_never_return_holds_neither_the_wizard_nor_the_exit)
{
    UseFakeDxva2();
    for (const bool close : {false, true}) {
        Lumetta app(kIni);
        HWND dialog = Start(app, std::string("[DISPLAY1]\r\nLATENCY=-1\r\n") + kMonitor);
        ASSERT_TRUE(dialog != nullptr);
        app.Press(dialog, IDC_NEXT);
        ASSERT_TRUE(WaitForStep(dialog, 3, 0, 500));
        const ULONGLONG before = GetTickCount64();
        if (close)
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        else
            app.Press(dialog, IDC_QUIT);
        EXPECT_EQ(app.WaitForExit(1000), 0L) << (close ? "WM_CLOSE" : "Quit");
        EXPECT_LT(GetTickCount64() - before, 1000u);
    }
}

// Guides are written by users: whatever CONTROL names, no trackbar puts the monitor to
// sleep, resets it or switches its input.
TEST_F(MonitorSettings, settings_that_are_no_level_are_never_written_and_brightness_still_is)
{
    UseFakeDxva2();
    Lumetta app("[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=P,Panel\r\n[P]\r\nMENU_NUMBER=2\r\n"
                "MENU0=Risky, Look., Black, Black\r\nCONTROL0=VCPD6, VCP04, VCP60\r\n"
                "MENU1=Black level, Set it., Black, Black\r\nCONTROL1=Brightness\r\n");
    HWND dialog = Start(app, "[DISPLAY1]\r\nPHYSICAL=1\r\nCAPS=(vcp(04 10 60(0F 11 12) D6(01 04)))\r\n"
                             "VCP04=0,1\r\nVCP10=50,100\r\nVCP60=15,18\r\nVCPD6=1,5\r\n");
    ASSERT_TRUE(dialog != nullptr);
    for (int row = 0; row < 3; ++row) {
        HWND note = GetDlgItem(dialog, IDC_SETTING_NOTE + row);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(note) != FALSE; })) << row;
        PostMessageA(GetDlgItem(dialog, IDC_SETTING_SLIDER + row), WM_KEYDOWN, VK_END, 0);
        Drag(dialog, row, 2);
    }
    app.Press(dialog, IDC_RESTORE);
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 3));
    ASSERT_TRUE(Shows(dialog, IDC_SETTING_VALUE, "50"));
    Drag(dialog, 0, 80);
    EXPECT_TRUE(WaitUntil([&] { return Setting(app, "DISPLAY1", "VCP10") == "80,100"; }));
    EXPECT_EQ(Setting(app, "DISPLAY1", "WRITES"), "10=80");
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

// --list asks for the capabilities only, writes nothing, and never waits long for a bus.
TEST_F(MonitorSettings, the_list_tells_what_each_monitor_offers_and_never_hangs)
{
    UseFakeDxva2();
    for (const bool stuck : {false, true}) {
        StartOptions options;
        options.dataIni = kIni;
        options.arguments = {"--list"};
        options.captureOutput = true;
        options.files = {{"fake-monitors.ini", std::string("[DISPLAY1]\r\nPHYSICAL=1\r\nCAPS=(vcp(10 12 60(0F 11) D6))\r\n") +
                                                   (stuck ? "LATENCY=-1\r\n" : "")}};
        const ULONGLONG before = GetTickCount64();
        Lumetta app(options);
        EXPECT_EQ(app.WaitForExit(5000), 0L);
        EXPECT_LT(GetTickCount64() - before, 5000u);
        const std::string said = app.Output();
        EXPECT_NE(said.find(stuck ? "  DDC/CI: no answer in time; its bus may be stuck\n"
                                  : "  DDC/CI: answers; offers Brightness, Contrast\n"),
                  std::string::npos)
            << said;
        EXPECT_EQ(Setting(app, "DISPLAY1", "WRITES"), "");
    }
}

TEST_F(MonitorSettings, wine_without_ddc_ci_shows_the_own_buttons_note)
{
    Lumetta app(kIni);
    HWND dialog = Start(app, "");
    ASSERT_TRUE(dialog != nullptr);
    HWND note = GetDlgItem(dialog, IDC_SETTING_NOTE);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(note) != FALSE; }));
    EXPECT_EQ(WindowText(note), "This monitor takes this setting only from its own buttons.");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_SETTING_SLIDER)));
    EXPECT_EQ(Text(dialog, IDC_PURPOSE), "Black level");
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

// Run by scripts/with-two-monitors.sh with the TwoMonitors cases.
class TwoMonitorsSettings : public MonitorSettings {};

TEST_F(TwoMonitorsSettings, values_go_to_the_monitor_under_the_pattern_window_and_follow_it)
{
    UseFakeDxva2();
    Lumetta app(kIni);
    HWND dialog = Start(app, std::string("[DISPLAY1]\r\n") + kMonitor +
                                 "[DISPLAY2]\r\nPHYSICAL=1\r\nCAPS=(vcp(10 12))\r\nVCP10=20,100\r\nVCP12=30,100\r\n");
    ASSERT_TRUE(dialog != nullptr);
    ASSERT_TRUE(Shows(dialog, IDC_SETTING_VALUE, "50"));
    Drag(dialog, 0, 60);
    EXPECT_TRUE(WaitUntil([&] { return Setting(app, "DISPLAY1", "VCP10") == "60,100"; }));
    // What Ctrl+M does.
    PostMessageA(dialog, WM_SYSCOMMAND, IDM_NEXT_MONITOR, 0);
    ASSERT_TRUE(Shows(dialog, IDC_SETTING_VALUE, "20"));
    Drag(dialog, 0, 25);
    EXPECT_TRUE(WaitUntil([&] { return Setting(app, "DISPLAY2", "VCP10") == "25,100"; }));
    EXPECT_EQ(Setting(app, "DISPLAY1", "VCP10"), "60,100");
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

}  // namespace
