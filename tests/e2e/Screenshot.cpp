// Shows what a user sees, for machines without a display and for the documentation:
// starts Lumetta in the given directory, answers the start-up messages, optionally
// picks a model and walks to one of its steps, saves the screen, and ends the program
// the way a user would.
//   lumetta_screenshot <lumetta.exe> <out.bmp> <working directory> [model step]
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "Harness.h"
#include "resource.h"

namespace {

int TakeScreenshot(const std::string& directory, const std::string& output, int model, int step)
{
    StartOptions options;
    options.existingDirectory = directory;
    Lumetta app(options);
    HWND dialog = app.WaitForDialog();
    if (dialog == nullptr) {
        std::printf("the wizard did not appear\n");
        return 1;
    }
    if (model >= 0 && step >= 2) {
        app.Choose(dialog, model);
        for (int s = 2; s < step; ++s) {
            app.Press(dialog, IDC_NEXT);
            // A step with the monitor's own settings is left once they are read, as a
            // user would, so that the report at the end lists them.
            WaitForStep(dialog, s + 1);
            const HWND value = GetDlgItem(dialog, IDC_SETTING_VALUE);
            if (value != nullptr) WaitUntil([&] { return std::isdigit(static_cast<unsigned char>(WindowText(value)[0])) != 0; }, 3000);
        }
        if (!WaitForStep(dialog, step)) {
            std::printf("step %d of model %d was not reached\n", step, model);
            app.Press(dialog, IDC_QUIT);
            app.WaitForExit();
            return 1;
        }
    }
    Sleep(500);  // let the last paints reach the screen
    const bool saved = SaveScreen(output);
    app.Press(dialog, IDC_QUIT);
    const long code = app.WaitForExit();
    if (!saved) std::printf("could not write %s\n", output.c_str());
    if (code != 0) std::printf("lumetta.exe ended with %ld\n", code);
    return saved && code == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 6) {
        std::printf("usage: lumetta_screenshot <lumetta.exe> <out.bmp> <working directory> [model step]\n");
        return 2;
    }
    Programs().lumetta = ToWindowsPath(argv[1]);
    const int model = argc == 6 ? std::atoi(argv[4]) : -1;
    const int step = argc == 6 ? std::atoi(argv[5]) : 1;
    return TakeScreenshot(ToWindowsPath(argv[3]), ToWindowsPath(argv[2]), model, step);
}
