// What a run leaves behind: the report at the last step and the monitors' saved settings,
// which `lumetta --restore` gives back. Each case has user folders of its own and the
// test-only dxva2.dll, whose monitors live in fake-monitors.ini.
#include "Harness.h"

#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "resource.h"

namespace {

const char kIni[] =
    "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=P,Panel <digital>\r\n"
    "[P]\r\nMENU_NUMBER=1\r\nMENU0=Backlight, Set it., White, Paper & light\r\nCONTROL0=Brightness\r\n";

std::string Read(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Setting(const Lumetta& app, const char* key)
{
    char value[64] = {};
    GetPrivateProfileStringA("DISPLAY1", key, "", value, sizeof value, (app.WorkingDirectory() / "fake-monitors.ini").string().c_str());
    return value;
}

// Every tag closes in order, and only the page's own tags are there: a page that parses.
bool WellFormed(const std::string& html)
{
    const std::set<std::string> known = {"html", "head", "meta", "title", "style", "body", "h1", "h2", "p",
                                         "table", "tr", "th", "td", "ul", "li", "br"};
    std::vector<std::string> open;
    for (std::size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
        if (html.compare(at, 2, "<!") == 0) continue;
        const bool closing = html[at + 1] == '/';
        const std::size_t start = at + (closing ? 2 : 1);
        const std::string name = html.substr(start, html.find_first_of(" >", start) - start);
        if (!known.contains(name)) return false;
        if (name == "meta" || name == "br") continue;
        if (!closing) {
            open.push_back(name);
        } else if (open.empty() || open.back() != name) {
            return false;
        } else {
            open.pop_back();
        }
    }
    return open.empty();
}

// The monitor's path, by which a monitor without an EDID is known.
std::string DevicePath()
{
    DISPLAY_DEVICEA device = {};
    device.cb = sizeof device;
    EnumDisplayDevicesA("\\\\.\\DISPLAY1", 0, &device, EDD_GET_DEVICE_INTERFACE_NAME);
    return device.DeviceID;
}

StartOptions Restoring(const std::string& monitors)
{
    StartOptions options;
    options.dataIni = kIni;
    options.arguments = {"--restore"};
    options.captureOutput = true;
    options.files = {{"fake-monitors.ini", monitors}};
    return options;
}

}  // namespace

using RunFiles = EndToEnd;
// Run with the digital monitor's EDID, by scripts/with-monitor-facts.sh.
using MonitorFactsRunFiles = EndToEnd;

TEST_F(MonitorFactsRunFiles, a_finished_run_leaves_a_report_and_restore_brings_its_brightness_back)
{
    FakeDxva2 fake;
    UserFolders folders;
    StartOptions options;
    options.dataIni = kIni;
    options.files = {{"fake-monitors.ini", "[DISPLAY1]\r\nPHYSICAL=1\r\nCAPS=(vcp(10))\r\nVCP10=50,100\r\n"}};
    Lumetta app(options);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(dialog, IDC_SETTING_VALUE)) == "50"; }));
    HWND trackbar = GetDlgItem(dialog, IDC_SETTING_SLIDER);
    PostMessageA(trackbar, TBM_SETPOS, TRUE, 80);
    PostMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 80), reinterpret_cast<LPARAM>(trackbar));
    ASSERT_TRUE(WaitUntil([&] { return Setting(app, "VCP10") == "80,100"; }));
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 3));
    ASSERT_TRUE(Settled(dialog));

    const std::filesystem::path reports = folders.local / "Lumetta" / "Reports";
    std::vector<std::filesystem::path> pages;
    for (const auto& entry : std::filesystem::directory_iterator(reports)) pages.push_back(entry.path());
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_STEP_LINE)), "The report of this adjustment is saved as " + pages[0].string() + ".");
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_OPEN_REPORT)));
    const std::string html = Read(pages[0]);
    EXPECT_TRUE(WellFormed(html));
    for (const char* shown : {"LUMETTA TEST (LMT 1234), 2560 x 1440 native, digital input", "Panel &lt;digital&gt;",
                              "<td>Backlight</td><td>Paper &amp; light</td>",
                              "<td>Brightness</td><td class=\"n\">50</td><td class=\"n\">80</td>"})
        EXPECT_NE(html.find(shown), std::string::npos) << shown;
    EXPECT_NE(Read(folders.roaming / "Lumetta" / "monitors.ini").find("[LMT 1234 1001]\nVCP10=80\n"), std::string::npos);
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);

    // The monitor's own buttons, a reset, another computer: --restore puts the value back.
    WritePrivateProfileStringA("DISPLAY1", "VCP10", "33,100", (app.WorkingDirectory() / "fake-monitors.ini").string().c_str());
    StartOptions restoring = Restoring("");
    restoring.files.clear();
    restoring.existingDirectory = app.WorkingDirectory().string();
    Lumetta restore(restoring);
    EXPECT_EQ(restore.WaitForExit(), 0L);
    EXPECT_EQ(restore.Output(), "\\\\.\\DISPLAY1 (LMT 1234 1001): Brightness 80 set\n");
    EXPECT_EQ(Setting(app, "VCP10"), "80,100");
}

TEST_F(RunFiles, restore_reads_what_makes_sense_of_a_damaged_file_and_never_hangs)
{
    FakeDxva2 fake;
    UserFolders folders;
    std::filesystem::create_directories(folders.roaming / "Lumetta");
    std::ofstream(folders.roaming / "Lumetta" / "monitors.ini", std::ios::binary)
        << "garbage\n[" << DevicePath() << "]\nVCP10=80\nVCP12=lots\nVCPD6=1\n[unfinished\n";
    const std::string monitor = "[DISPLAY1]\r\nPHYSICAL=1\r\nVCP10=30,100\r\nVCP12=40,100\r\nVCPD6=1,5\r\n";
    Lumetta app(Restoring(monitor));
    EXPECT_EQ(app.WaitForExit(), 0L);
    EXPECT_EQ(app.Output(), "\\\\.\\DISPLAY1 (" + DevicePath() + "): Brightness 80 set\n");
    EXPECT_EQ(Setting(app, "VCP10"), "80,100");
    EXPECT_EQ(Setting(app, "WRITES"), "10=80");

    const ULONGLONG before = GetTickCount64();
    Lumetta stuck(Restoring(monitor + "LATENCY=-1\r\n"));
    EXPECT_EQ(stuck.WaitForExit(6000), 1L);
    EXPECT_LT(GetTickCount64() - before, 6000u);
    EXPECT_EQ(stuck.Output(), "\\\\.\\DISPLAY1 (" + DevicePath() + "): Brightness 80 no answer\n");
}

TEST_F(RunFiles, a_report_that_cannot_be_written_is_told_and_the_run_ends_as_always)
{
    UserFolders folders(true);
    Lumetta app(kIni);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    app.Press(dialog, IDC_NEXT);
    app.Press(dialog, IDC_NEXT);
    ASSERT_TRUE(WaitForStep(dialog, 3));
    ASSERT_TRUE(Settled(dialog));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_STEP_LINE)).rfind("The report could not be saved: ", 0), 0u);
    EXPECT_EQ(GetDlgItem(dialog, IDC_OPEN_REPORT), nullptr);
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}
