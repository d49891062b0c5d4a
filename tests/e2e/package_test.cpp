// The downloaded package, run from the folder it was unpacked into: its own data.ini
// is found, the first pattern step is painted, and Quit ends the program cleanly.
#include "Harness.h"

#include "resource.h"

using Package = EndToEnd;

TEST_F(Package, package_runs_through_the_first_pattern_step)
{
    StartOptions options;
    options.exe = Programs().packaged;
    options.existingDirectory = options.exe.substr(0, options.exe.find_last_of('\\'));
    Lumetta app(options);
    HWND dialog = app.WaitForDialog();
    ASSERT_TRUE(dialog != nullptr);
    EXPECT_TRUE(ComboEntries(GetDlgItem(dialog, IDC_MODEL_COMBO)).size() >= 4);
    app.Press(dialog, IDC_NEXT);
    EXPECT_TRUE(WaitForStep(dialog, 2));
    EXPECT_TRUE(!WindowText(GetDlgItem(dialog, IDC_PURPOSE)).empty());
    // The first step of the first model shows the frame along the screen's edges.
    EXPECT_TRUE(WaitUntil([] { return ScreenPixel(0, 0) == RGB(255, 255, 255); }));
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
    EXPECT_TRUE(WaitUntil(NoLumettaProcess, 5000));
}
