#include "win32/Win32Platform.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "base/Text.h"
#include "config/IniFile.h"
#include "monitor/Monitors.h"
#include "win32/DdcWorker.h"
#include "win32/MonitorFactsWin32.h"
#include "win32/MotionPlayer.h"
#include "win32/RunFilesWin32.h"
#include "win32/RuntimeControls.h"
#include "win32/SystemDll.h"
#include "win32/WideText.h"
#include "win32/WindowFrame.h"

static_assert(kMonitorNameSize == CCHDEVICENAME + 1);

namespace {

int g_ownMoves = 0;
HWND g_patternWindow = nullptr;
HWND g_wizardDialog = nullptr;
char g_offeredReport[kConfigPathSize] = {};

// Marks the wizard's moves that Lumetta makes itself, which the dialog procedure must
// not take for the user's.
class OwnMove {
public:
    OwnMove() { ++g_ownMoves; }
    ~OwnMove() { --g_ownMoves; }
    OwnMove(const OwnMove&) = delete;
    OwnMove& operator=(const OwnMove&) = delete;
};

HWND DialogWindow() { return g_wizardDialog; }
HWND PatternWindow() { return g_patternWindow; }

class Win32MessageBoxes final : public MessageBoxes {
public:
    MessageAnswer Show(MessageOwner owner, const char* text, TextEncoding encoding, const char* caption,
                       MessageButtons buttons) override
    {
        HWND ownerWindow = owner == MessageOwner::Dialog ? DialogWindow() : PatternWindow();
        const UINT type = buttons == MessageButtons::OkCancel ? MB_OKCANCEL : MB_OK;
        const int answer =
            MessageBoxW(ownerWindow, WideText(text, encoding).Get(), WideText(caption, kOwnText).Get(), type);
        return answer == IDCANCEL ? MessageAnswer::Cancel : MessageAnswer::Ok;
    }
};

// An ANSI file is read by the system's own reader, as it always was. A UTF-8 or UTF-16
// file goes to Lumetta's reader, which follows the same rules and keeps every character
// where the system's would narrow it to the ANSI code page.
class ProfileIniReader final : public IniReader {
public:
    TextEncoding Read(const char* section, const char* key, std::span<char> out, const char* path) override
    {
        if (out.empty()) return TextEncoding::Ansi;
        out[0] = '\0';
        // Without a path the profile functions would fall back to a file in the
        // Windows directory, which is never the file the user meant.
        if (path == nullptr || path[0] == '\0') return TextEncoding::Ansi;
        IniText file = ReadIniFile(path);
        if (file.encoding == TextEncoding::Utf8)
            return TextIniReader(std::move(file)).Read(section, key, out, path);
        // The path is UTF-8. Where the ANSI code page can name it, the A function reads
        // the file exactly as it always did; elsewhere the W function, whose answer the
        // code page gives back as the file's own bytes.
        const std::wstring widePath = WideOfUtf8(path);
        BOOL lossy = FALSE;
        const int length = WideCharToMultiByte(CP_ACP, 0, widePath.c_str(), -1, nullptr, 0, nullptr, &lossy);
        std::string ansiPath(static_cast<std::size_t>(std::max(length, 1)), '\0');
        WideCharToMultiByte(CP_ACP, 0, widePath.c_str(), -1, ansiPath.data(), length, nullptr, &lossy);
        if (!lossy) {
            GetPrivateProfileStringA(section, key, "", out.data(), static_cast<DWORD>(out.size()), ansiPath.c_str());
            return TextEncoding::Ansi;
        }
        std::wstring value(out.size(), L'\0');
        GetPrivateProfileStringW(WideText(section, TextEncoding::Ansi).Get(), WideText(key, TextEncoding::Ansi).Get(),
                                 L"", value.data(), static_cast<DWORD>(value.size()), widePath.c_str());
        const int bytes = WideCharToMultiByte(CP_ACP, 0, value.c_str(), -1, out.data(), static_cast<int>(out.size()),
                                              nullptr, nullptr);
        out[bytes > 0 ? static_cast<std::size_t>(bytes) - 1 : 0] = '\0';
        return TextEncoding::Ansi;
    }
};

class Win32DialogControls final : public DialogControls {
public:
    void SetText(int id, const char* text, TextEncoding encoding) override
    {
        SetWindowTextW(Item(id), WideText(text, encoding).Get());
    }
    void Enable(int id, bool enabled) override { EnableWindow(Item(id), enabled); }
    void Show(int id, bool visible) override { ShowWindow(Item(id), visible ? SW_SHOW : SW_HIDE); }
    void Focus(int id) override { SetFocus(Item(id)); }
    void AddListEntry(int id, const char* text, TextEncoding encoding) override
    {
        const WideText entry(text, encoding);
        SendDlgItemMessageW(DialogWindow(), id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.Get()));
    }
    void SelectListEntry(int id, int index) override
    {
        SendDlgItemMessageA(DialogWindow(), id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    int SelectedListEntry(int id) override
    {
        return static_cast<int>(SendDlgItemMessageA(DialogWindow(), id, CB_GETCURSEL, 0, 0));
    }
    int ListEntryCount(int id) override
    {
        return static_cast<int>(SendDlgItemMessageA(DialogWindow(), id, CB_GETCOUNT, 0, 0));
    }
    // MoveWindow without its size: the size is whatever the dialog has now.
    void MoveDialog(int x, int y, bool repaint) override
    {
        OwnMove own;
        SetWindowPos(DialogWindow(), nullptr, x, y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
    }
    Rect DialogRect() override
    {
        RECT rect = {};
        GetWindowRect(DialogWindow(), &rect);
        return {rect.left, rect.top, rect.right, rect.bottom};
    }

    void EnableSystemCommand(int id, bool enabled) override
    {
        EnableMenuItem(GetSystemMenu(DialogWindow(), FALSE), static_cast<UINT>(id),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
    void SetSettingRows(int count) override
    {
        OwnMove own;
        MakeSettingRows(DialogWindow(), count);
    }
    void SetSlider(int id, int maximum, int position) override { SetTrackbar(Item(id), maximum, position); }
    void OfferReport(const char* path) override
    {
        CopyText(g_offeredReport, path);
        MakeReportButton(DialogWindow(), path[0] != '\0');
    }
    void SetStepLines(const MonitorLines& lines) override
    {
        OwnMove own;
        MakeStepLines(DialogWindow(), lines);
    }

private:
    static HWND Item(int id) { return GetDlgItem(DialogWindow(), id); }
};

// The pattern window's handle is known only once its creation has begun.
class PatternWindowScreen final : public PatternScreen {
public:
    void ShowFrame(const std::function<void(Canvas&)>& paint) override
    {
        ShowOnWindow(PatternWindow(), memory, paint);
    }

    FrameMemory memory;
};

PatternWindowScreen& PatternFrames()
{
    static PatternWindowScreen screen;
    return screen;
}

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM context)
{
    auto& monitors = *reinterpret_cast<MonitorList*>(context);
    if (monitors.count >= kMaxMonitors) return FALSE;
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(handle, reinterpret_cast<MONITORINFO*>(&info))) return TRUE;
    Monitor& monitor = monitors.monitors[monitors.count++];
    monitor.rect = {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
    CopyText(monitor.name, std::string_view(info.szDevice, strnlen(info.szDevice, CCHDEVICENAME)));
    monitor.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    return TRUE;
}

class Win32Shell final : public Shell {
public:
    void GatherFacts(const char* monitorName, MonitorFacts& facts) override
    {
        GatherMonitorFacts(monitorName, facts);
    }
    void IdentifyMonitor(const char* monitorName, MonitorFacts& facts) override
    {
        IdentifyMonitorOf(monitorName, facts);
    }
    void EnumerateMonitors(MonitorList& monitors) override
    {
        monitors.count = 0;
        EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    }
    void ShowMotion(int speed) override { ::ShowMotion(PatternWindow(), speed, PatternFrames().memory); }
    void StopMotion() override { ::StopMotion(); }
    void PlacePatternWindow(Rect rect) override
    {
        SetWindowPos(PatternWindow(), nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void ShowPatternWindow(bool visible) override
    {
        ShowWindow(PatternWindow(), visible ? SW_SHOW : SW_HIDE);
    }
    // A direct, synchronous paint: the pattern is on the screen when this returns.
    void PaintPatternWindow() override { SendMessageA(PatternWindow(), WM_PAINT, 0, 0); }
    void DestroyPatternWindow() override { SendMessageA(PatternWindow(), WM_DESTROY, 0, 0); }
};

}  // namespace

bool OwnMoveUnderway() { return g_ownMoves > 0; }

void UsePatternWindow(HWND window) { g_patternWindow = window; }

void UseWizardDialog(HWND dialog) { g_wizardDialog = dialog; }

HWND WizardDialog() { return g_wizardDialog; }

void OpenOfferedReport(HWND owner)
{
    if (g_offeredReport[0] == '\0') return;
    using OpenFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static const auto open = LookUp<OpenFn>(LoadSystemDll(L"shell32.dll"), "ShellExecuteW");
    if (open != nullptr) open(owner, L"open", WideOfUtf8(g_offeredReport).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

#ifdef LUMETTA_INSTRUMENTED
void LimitFrameRows(int rows) { PatternFrames().memory.LimitRows(rows); }
#endif

Platform& Win32Platform()
{
    static Win32MessageBoxes messages;
    static ProfileIniReader ini;
    static Win32DialogControls dialog;
    static Win32Shell shell;
    static Platform platform{ini, messages, dialog, PatternFrames(), shell, Win32SettingsChannel(), Win32RunFiles()};
    return platform;
}
