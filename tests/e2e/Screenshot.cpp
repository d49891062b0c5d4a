// Shows what a user sees at the wizard's first step, for machines without a display:
// starts Lumetta in the given directory, answers the start-up messages, saves the
// screen once the wizard is up, and ends the program the way a user would.
#include <cstdio>

#include "Harness.h"
#include "resource.h"

namespace {

constexpr const char* kStartupCaptions[] = {"Lumetta - Version 1.00", "Lumetta - Setup Notes"};

}  // namespace

int RunScreenshot(const std::string& directory, const std::string& output)
{
    StartOptions options;
    options.existingDirectory = directory;
    Lumetta app(options);
    HWND dialog = nullptr;
    const bool up = WaitUntil([&] {
        for (const char* caption : kStartupCaptions)
            if (HWND box = app.FindWindowOf("#32770", caption)) Answer(box, IDOK);
        dialog = app.FindWindowOf("#32770", "Lumetta");
        return dialog != nullptr;
    });
    if (!up) {
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
