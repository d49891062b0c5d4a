// Shows what a user sees at the wizard's first step, for machines without a display:
// starts Lumetta in the given directory, answers the start-up messages, saves the
// screen once the wizard is up, and ends the program the way a user would.
#include <cstdio>

#include "Harness.h"
#include "resource.h"

int RunScreenshot(const std::string& directory, const std::string& output)
{
    StartOptions options;
    options.existingDirectory = directory;
    Lumetta app(options);
    HWND dialog = app.WaitForDialog();
    if (dialog == nullptr) {
        std::printf("the wizard did not appear\n");
        return 1;
    }
    Sleep(500);  // let the last paints of the first step reach the screen
    const bool saved = SaveScreen(output);
    app.Press(dialog, IDC_QUIT);
    const long code = app.WaitForExit();
    if (!saved) std::printf("could not write %s\n", output.c_str());
    if (code != 0) std::printf("lumetta.exe ended with %ld\n", code);
    return saved && code == 0 ? 0 : 1;
}
