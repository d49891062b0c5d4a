// Entry point and the full-screen pattern window. The whole run happens inside the
// window's creation: WM_CREATE runs the wizard modally, and WinMain's own loop only
// winds the program down once the wizard has ended.
#include <windows.h>

#include <direct.h>

#include "app/AppState.h"
#include "app/ConfigPath.h"
#include "app/Monitors.h"
#include "patterns/PaintCycle.h"
#include "platform/win32/MotionPlayer.h"
#include "platform/win32/SetupDlgProc.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowFrame.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WorkerThread.h"
#include "resource.h"
#include "wizard/Wizard.h"

namespace {

constexpr char kWindowClass[] = "MONITOR";
constexpr char kDialogTemplate[] = "IDD_DLG_SETUP";

void MeasureScreen()
{
    WindowDC desktop(GetDesktopWindow());
    g_app.screenWidth = GetDeviceCaps(desktop.Get(), HORZRES);
    g_app.screenHeight = GetDeviceCaps(desktop.Get(), VERTRES);
}

// data.ini is always the one in the current working directory, whose name is kept as
// UTF-8, so that a folder in any script is found.
void LocateConfigFile()
{
    static wchar_t directory[kConfigPathSize];
    if (_wgetcwd(directory, kConfigPathSize) == nullptr) directory[0] = L'\0';
    BuildConfigPath(Utf8OfWide(directory), g_app.configPath);
}

LRESULT OpenWizard(HWND window, WPARAM wParam, LPARAM lParam)
{
    g_app.patternWindow = window;
    UsePatternWindow(window);
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

#ifdef LUMETTA_INSTRUMENTED
// The test build answers what another process cannot read from it: how many GDI
// objects it holds (wParam 0) and has ever created (wParam 1), and the state of a
// command of the wizard's system menu (wParam), as Wine keeps menus out of other
// processes' reach; how many frames the moving pattern has shown; and it paints the
// rows that hold characters in bands of wParam rows when told to.
bool AnswerTestQuery(UINT message, WPARAM wParam, LRESULT& result)
{
    static const UINT ledgerQuery = RegisterWindowMessageA("Lumetta.GdiLedger");
    static const UINT menuQuery = RegisterWindowMessageA("Lumetta.SystemCommandState");
    static const UINT bandRows = RegisterWindowMessageA("Lumetta.FrameRows");
    static const UINT motionFrames = RegisterWindowMessageA("Lumetta.MotionFrames");
    if (message == motionFrames) {
        result = MotionFramesShown();
        return true;
    }
    if (message == ledgerQuery) {
        const GdiLedger& ledger = LiveGdiObjects();
        result = wParam == 0 ? static_cast<LRESULT>(ledger.live) : static_cast<LRESULT>(ledger.created);
        return true;
    }
    if (message == menuQuery) {
        HMENU menu = GetSystemMenu(WizardDialog(), FALSE);
        result = GetMenuState(menu, static_cast<UINT>(wParam), MF_BYCOMMAND);
        return true;
    }
    if (message == bandRows) {
        LimitFrameRows(static_cast<int>(wParam));
        result = 0;
        return true;
    }
    return false;
}
#endif

}  // namespace

// Exported by its plain name: it is part of lumetta.exe's outside interface, and tools
// that look the pattern window's procedure up in the file rely on finding it there.
extern "C" __declspec(dllexport) LRESULT CALLBACK MainWndProc(HWND window, UINT message,
                                                              WPARAM wParam, LPARAM lParam)
{
#ifdef LUMETTA_INSTRUMENTED
    if (LRESULT answer = 0; AnswerTestQuery(message, wParam, answer)) return answer;
#endif
    switch (message) {
    case WM_CREATE:
        return OpenWizard(window, wParam, lParam);
    case WM_DESTROY:
        EndWorkers();
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
    case WM_DISPLAYCHANGE:
        FollowDisplayChange(Win32Platform());
        break;
    case WM_DPICHANGED:
        // The suggested rectangle keeps the window's size in logical units; the pattern
        // window keeps covering its monitor's physical pixels instead.
        Win32Platform().shell.PlacePatternWindow(CurrentMonitorRect());
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace {

// Users start Lumetta from download folders: a DLL planted beside it or in the working
// directory must never load. SetDefaultDllDirectories is looked up, not imported:
// Windows 7 without KB2533623 lacks it and would refuse to start the program.
void RestrictDllSearch()
{
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault == nullptr || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    RestrictDllSearch();
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MONITOR));
    // A 32-bit Windows never passes a previous instance, so the class is always registered.
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
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
    const int exitCode = message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
    // A worker stuck in a driver call would hold the clean-up that returning starts:
    // the system frees what is left.
    if (WorkersPending()) ExitProcess(static_cast<UINT>(exitCode));
    return exitCode;
}
