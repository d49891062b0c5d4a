// The command line: one pattern without the wizard, another guide in a folder of any
// script, and what a bad argument says and ends with. Lumetta has no console: the
// driver reads what it says from a pipe.
#include "Harness.h"

#include <fstream>

#include "resource.h"

namespace {

const char kIni[] = "[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=P,Panel\r\n[P]\r\nMENU_NUMBER=1\r\nMENU0=p, Look., White, White\r\n";

StartOptions WithArguments(std::vector<std::string> arguments)
{
    StartOptions options;
    options.dataIni = kIni;
    options.arguments = std::move(arguments);
    options.captureOutput = true;
    return options;
}

}  // namespace

using CommandLine = EndToEnd;

TEST_F(CommandLine, one_pattern_full_screen_without_the_wizard_until_escape)
{
    Lumetta app(WithArguments({"--pattern", "VLines"}));
    HWND pattern = app.WaitForWindow("MONITOR");
    ASSERT_TRUE(pattern != nullptr);
    // White columns two apart inside the blue frame.
    EXPECT_TRUE(WaitUntil([] { return ScreenPixel(4, 100) == RGB(255, 255, 255) && ScreenPixel(5, 100) == 0; }));
    EXPECT_EQ(ScreenPixel(0, 100), RGB(0, 0, 255));
    ASSERT_TRUE(Settled(pattern));
    EXPECT_EQ(app.FindWindowOf("#32770"), nullptr);  // no wizard, no welcome message
    PostMessageA(pattern, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(CommandLine, another_guide_in_a_folder_of_any_script)
{
    StartOptions options = WithArguments({"--config", "Réglages écran\\données.ini"});
    options.files = {{"Réglages écran/données.ini",
                      "\xEF\xBB\xBF[MODELS]\r\nMODEL_NUMBER=1\r\nMODEL0=P,Écran plat\r\n[BUTTONS]\r\nNEXT=&Suivant >>\r\n"}};
    Lumetta app(options);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_EQ(WideComboEntries(GetDlgItem(dialog, IDC_MODEL_COMBO)), std::vector<std::wstring>{L"\u00C9cran plat"});
    EXPECT_EQ(WideWindowText(GetDlgItem(dialog, IDC_NEXT)), L"&Suivant >>");
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
}

TEST_F(CommandLine, a_bad_argument_is_named_and_ends_with_code_2)
{
    const struct {
        std::vector<std::string> arguments;
        std::string said;
    } rows[] = {
        {{"--bogus"}, "Unknown option \"--bogus\". Try lumetta --help.\n"},
        {{"--config", "missing.ini"}, "Cannot read \"missing.ini\" for --config. Try lumetta --help.\n"},
        {{"--monitor", "9"},
         "There is no monitor \\\\.\\DISPLAY9 for --monitor. The monitors are \\\\.\\DISPLAY1. Try lumetta --list.\n"},
    };
    for (const auto& row : rows) {
        Lumetta app(WithArguments(row.arguments));
        EXPECT_EQ(app.WaitForExit(), 2L) << row.said;
        EXPECT_EQ(app.Output(), row.said);
    }
    Lumetta help(WithArguments({"/?"}));
    EXPECT_EQ(help.WaitForExit(), 0L);
    EXPECT_EQ(help.Output().rfind("Usage: lumetta.exe", 0), 0u);
}
