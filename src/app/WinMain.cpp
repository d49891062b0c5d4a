// Entry point and the full-screen pattern window. The whole run happens inside the
// window's creation: WM_CREATE runs the wizard modally, and WinMain's own loop only
// winds the program down once the wizard has ended.
#include <windows.h>

#include <direct.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/AppState.h"
#include "app/CommandLine.h"
#include "app/ConfigPath.h"
#include "config/Config.h"
#include "keep/RestoreSaved.h"
#include "keep/SavedSettings.h"
#include "keep/WriteRunFiles.h"
#include "monitor/MonitorListing.h"
#include "monitor/Monitors.h"
#include "patterns/PaintCycle.h"
#include "resource.h"
#include "win32/CommandLineIo.h"
#include "win32/DdcRequests.h"
#include "win32/MotionPlayer.h"
#include "win32/RunFilesWin32.h"
#include "win32/SetupDlgProc.h"
#include "win32/SystemDll.h"
#include "win32/WideText.h"
#include "win32/Win32Platform.h"
#include "win32/WindowFrame.h"
#include "win32/WorkerThread.h"
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

// With --pattern the pattern window shows one pattern and no wizard, until a key or a click.
bool g_patternOnly = false;

LRESULT OpenWizard(HWND window, WPARAM wParam, LPARAM lParam)
{
    UsePatternWindow(window);
    ShowWindow(window, SW_SHOW);
    if (g_patternOnly) {
        SetForegroundWindow(window);
        SetFocus(window);
        return 0;
    }
    if (g_app.configPath[0] == '\0') LocateConfigFile();
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
        if (g_patternOnly) {
            DestroyWindow(window);
            return 0;
        }
        RestoreWizard();
        break;
    case WM_SYSKEYDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (g_patternOnly) {
            DestroyWindow(window);
            return 0;
        }
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

// The monitors' device names, for a message about one that is not there.
std::string MonitorNames(const MonitorList& monitors)
{
    std::string names;
    for (int i = 0; i < monitors.count; ++i) names += (i > 0 ? ", " : "") + std::string(MonitorName(monitors.monitors[i]));
    return names;
}

// --config: the file, relative to the working directory, in any script; one that cannot
// be read is an error, never a silent fall back to data.ini.
bool UseConfigFile(const char* given)
{
    const std::wstring wide = WideOfUtf8(given);
    const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(length + 1, L'\0');
    full.resize(GetFullPathNameW(wide.c_str(), length + 1, full.data(), nullptr));
    const DWORD attributes = full.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(full.c_str());
    const std::string path = Utf8OfWide(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        SayToUser("Cannot read \"" + std::string(given) + "\" for --config. Try lumetta --help.\n");
        return false;
    }
    if (path.size() >= kConfigPathSize) {
        SayToUser("The path of \"" + std::string(given) + "\" for --config is too long. Try lumetta --help.\n");
        return false;
    }
    CopyText(g_app.configPath, path);
    return true;
}

// --monitor: that monitor becomes the current one before any window is made, as if the
// user had dragged the wizard there.
bool UseMonitor(int number)
{
    MonitorList monitors{};
    Win32Platform().shell.EnumerateMonitors(monitors);
    const int index = MonitorNumbered(monitors, number);
    if (index < 0) {
        SayToUser("There is no monitor " + DisplayName(number) + " for --monitor. The monitors are " +
                  MonitorNames(monitors) + ". Try lumetta --list.\n");
        return false;
    }
    MakeCurrentMonitor(monitors.monitors[index]);
    return true;
}

// The effective DPI of the monitor at that point, where the system tells it per monitor.
int DpiAt(POINT point)
{
    using DpiFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpi = LookUp<DpiFn>(LoadSystemDll(L"shcore.dll"), "GetDpiForMonitor");
    UINT x = 0;
    UINT y = 0;
    if (getDpi != nullptr && SUCCEEDED(getDpi(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), 0, &x, &y)))
        return static_cast<int>(x);
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.Get(), LOGPIXELSX);
}

// --list: every monitor (or the one --monitor names) with what step 1 would say of it and
// what it answers over DDC/CI, which is waited for 3 s at most in all.
int ListMonitors(int only)
{
    constexpr DWORD kDdcWaitMs = 3000;
    if (g_app.configPath[0] == '\0') LocateConfigFile();
    Platform& platform = Win32Platform();
    MonitorList monitors{};
    platform.shell.EnumerateMonitors(monitors);
    MonitorTexts texts{};
    ReadMonitorTexts(platform, texts);
    std::vector<ListedMonitor> listed;
    for (int i = 0; i < monitors.count; ++i) {
        const Monitor& monitor = monitors.monitors[i];
        if (only != 0 && i != MonitorNumbered(monitors, only)) continue;
        ListedMonitor& entry = listed.emplace_back();
        entry.monitor = monitor;
        entry.dpi = DpiAt({(monitor.rect.left + monitor.rect.right) / 2, (monitor.rect.top + monitor.rect.bottom) / 2});
        static MonitorFacts facts;
        facts = {};
        platform.shell.GatherFacts(monitor.name, facts);
        entry.lines = DescribeMonitor(facts, CheckMonitor(facts), texts);
        // A line from an ANSI data.ini, in UTF-8 as the listing is.
        for (int line = 0; line < entry.lines.count; ++line)
            CopyText(entry.lines.text[line], platform.files.ToUtf8(entry.lines.text[line], entry.lines.encoding[line]),
                     TextEncoding::Utf8);
    }
    ProbeDdc(listed, kDdcWaitMs);
    std::string text;
    for (const ListedMonitor& entry : listed) text += ListMonitor(entry);
    SayToUser(text);
    return 0;
}

// --restore: each connected monitor (or the one --monitor names) that has saved values
// gets them back; 0 when every one took them, 1 when one did not or did not answer.
int RestoreSavedSettings(int only)
{
    Platform& platform = Win32Platform();
    MonitorList monitors{};
    const std::vector<std::string> keys = ConnectedMonitorKeys(platform, monitors);
    const auto saved = std::make_unique<SavedSettings>(ParseSavedSettings(ReadSavedSettingsFile()));
    std::vector<RestoreJob> jobs;
    for (int i = 0; i < monitors.count; ++i) {
        const SavedMonitor* values = SavedFor(*saved, keys[static_cast<std::size_t>(i)]);
        if (values == nullptr || (only != 0 && i != MonitorNumbered(monitors, only))) continue;
        RestoreJob& job = jobs.emplace_back();
        CopyText(job.monitorName, MonitorName(monitors.monitors[i]));
        job.key = keys[static_cast<std::size_t>(i)];
        job.saved = *values;
    }
    if (jobs.empty()) {
        SayToUser("No monitor connected now has saved settings.\n");
        return 0;
    }
    RestoreMonitors(jobs, kRestoreWaitMs);
    std::string text;
    bool allTaken = true;
    for (const RestoreJob& job : jobs) {
        text += DescribeRestore(job.monitorName, job.key, job.result);
        allTaken = allTaken && AllTaken(job.result);
    }
    SayToUser(text);
    return allTaken ? 0 : 1;
}

// What the command line asks for before any window is made; false when it cannot be
// carried out and Lumetta is to end with kBadCommandExitCode.
bool Prepare(const Command& command)
{
    if (command.configPath[0] != '\0' && !UseConfigFile(command.configPath)) return false;
    return command.monitor == 0 || command.mode == CommandMode::List || command.mode == CommandMode::Restore ||
           UseMonitor(command.monitor);
}

// All that Lumetta does, whichever way the command line asks for it.
int Run(HINSTANCE instance, int showCommand)
{
    RestrictDllSearch();
    const std::vector<std::string> arguments = ReadArguments();
    const std::vector<std::string_view> words(arguments.begin(), arguments.end());
    static Command command;
    command = ParseCommandLine(words);
    if (!command.ok) {
        SayToUser(std::string(command.error) + "\n");
        return kBadCommandExitCode;
    }
    if (command.mode == CommandMode::Help) {
        SayToUser(UsageText());
        return 0;
    }
    MeasureScreen();
    if (!Prepare(command)) return kBadCommandExitCode;
    if (command.mode == CommandMode::List) return ListMonitors(command.monitor);
    if (command.mode == CommandMode::Restore) return RestoreSavedSettings(command.monitor);

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
    g_app.instance = instance;
    g_app.firstPaintPending = 1;
    g_app.loadedStepCount = 0;
    if (command.mode == CommandMode::Pattern) {
        g_patternOnly = true;
        UseSinglePattern(command.pattern);
    }

    HWND window = CreateWindowExA(0, kWindowClass, "", WS_POPUP, g_app.screenLeft, g_app.screenTop,
                                  g_app.screenWidth, g_app.screenHeight, nullptr, nullptr, instance, nullptr);
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

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    const int code = Run(instance, showCommand);
    // A thread stuck in a driver call would hold the clean-up that returning starts:
    // the system frees what is left.
    if (WorkersPending() || DdcRequestsPending()) ExitProcess(static_cast<UINT>(code));
    return code;
}
