// Entry point and the full-screen pattern window. The whole run happens inside the
// window's creation: WM_CREATE runs the wizard modally, and WinMain's own loop only
// winds the program down once the wizard has ended.
#include <windows.h>

#include <direct.h>

#include "app/AppState.h"
#include "app/ConfigPath.h"
#include "patterns/PaintCycle.h"
#include "platform/win32/Win32Platform.h"
#include "resource.h"
#include "wizard/SetupDlgProc.h"

namespace {

constexpr char kWindowClass[] = "MONITOR";
constexpr char kDialogTemplate[] = "IDD_DLG_SETUP";

void MeasureScreen()
{
    HWND desktop = GetDesktopWindow();
    HDC dc = GetDC(desktop);
    g_app.screenWidth = GetDeviceCaps(dc, HORZRES);
    g_app.screenHeight = GetDeviceCaps(dc, VERTRES);
    ReleaseDC(desktop, dc);
}

// data.ini is always the one in the current working directory.
void LocateConfigFile()
{
    static char directory[kConfigPathSize];
    if (_getcwd(directory, sizeof directory) == nullptr) directory[0] = '\0';
    BuildConfigPath(directory, g_app.configPath);
}

LRESULT OpenWizard(HWND window, WPARAM wParam, LPARAM lParam)
{
    g_app.patternWindow = window;
    ShowWindow(window, SW_SHOW);
    LocateConfigFile();
    const INT_PTR result = DialogBoxParamA(static_cast<HINSTANCE>(g_app.instance), kDialogTemplate,
                                           window, SetupDlgProc, 0);
    if (result == 0) {
        SendMessageA(window, WM_DESTROY, 0, 0);
        return 0;
    }
    return DefWindowProcA(window, WM_CREATE, wParam, lParam);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MainWndProc(HWND window, UINT message,
                                                              WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OpenWizard(window, wParam, lParam);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        PaintPatternWindow(Win32Platform());
        break;  // default processing validates the window
    case WM_ERASEBKGND:
        // Every paint covers the whole client area; erasing would blank the pattern
        // with the class's black until the next paint.
        return 1;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
        RestoreWizard();
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int showCommand)
{
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MONITOR));
    if (previous == nullptr) {
        WNDCLASSA windowClass = {};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = MainWndProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = icon;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);
    }
    MeasureScreen();
    g_app.instance = instance;
    g_app.firstPaintPending = 1;
    g_app.loadedStepCount = 0;

    HWND window = CreateWindowExA(0, kWindowClass, "", WS_POPUP, 0, 0, g_app.screenWidth,
                                  g_app.screenHeight, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}
