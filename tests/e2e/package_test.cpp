// The downloaded package, run from the folder it was unpacked into: its own data.ini
// is found, the first pattern step is painted, and Quit ends the program cleanly.
#include "Harness.h"

#include "resource.h"

E2E_TEST(package_runs_through_the_first_pattern_step)
{
    StartOptions options;
    options.existingDirectory = LumettaExe().substr(0, LumettaExe().find_last_of('\\'));
    Lumetta app(options);
    HWND dialog = app.WaitForDialog();
    REQUIRE(dialog != nullptr);
    EXPECT(ComboEntries(GetDlgItem(dialog, IDC_MODEL_COMBO)).size() >= 4);
    app.Press(dialog, IDC_NEXT);
    EXPECT(WaitForStep(dialog, 2));
    EXPECT(!WindowText(GetDlgItem(dialog, IDC_PURPOSE)).empty());
    // The first step of the first model shows the frame along the screen's edges.
    EXPECT(WaitUntil([] { return ScreenPixel(0, 0) == RGB(255, 255, 255); }));
    app.Press(dialog, IDC_QUIT);
    EXPECT_EQ(app.WaitForExit(), 0L);
    EXPECT(WaitUntil(NoLumettaProcess, 5000));
}
