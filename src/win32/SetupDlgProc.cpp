#include "win32/SetupDlgProc.h"

#include <commctrl.h>

#include <cstdio>

#include "keep/WriteRunFiles.h"
#include "resource.h"
#include "win32/DdcWorker.h"
#include "win32/Win32Platform.h"
#include "win32/WindowFrame.h"
#include "win32/WorkerThread.h"
#include "wizard/SettingRows.h"
#include "wizard/Wizard.h"

namespace {

constexpr char kNextMonitorItem[] = "Move to next monitor\tCtrl+M";
constexpr WPARAM kSystemCommandMask = 0xFFF0;  // the system uses the low four bits

// What the dialog keeps to take the wizard from monitor to monitor.
struct MonitorMoves {
    HACCEL shortcuts = nullptr;
    HHOOK keyHook = nullptr;
    bool inSizeMove = false;  // between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE
};
MonitorMoves g_moves;

HWND DialogWindow() { return WizardDialog(); }
HWND PatternWindow() { return GetWindow(WizardDialog(), GW_OWNER); }

// A modal dialog's loop has no place for TranslateAccelerator; its message filter
// hook sees every message of the loop first. A translated key is swallowed: once
// TranslateAccelerator has acted on it, it must not be translated or dispatched again.
LRESULT CALLBACK WizardKeysHook(int code, WPARAM wParam, LPARAM lParam)
{
    auto* message = reinterpret_cast<MSG*>(lParam);
    HWND dialog = DialogWindow();
    if (code == MSGF_DIALOGBOX && dialog != nullptr &&
        (message->hwnd == dialog || IsChild(dialog, message->hwnd)) &&
        TranslateAcceleratorA(dialog, g_moves.shortcuts, message))
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void AddMonitorCommand(HWND dialog)
{
    HMENU menu = GetSystemMenu(dialog, FALSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_NEXT_MONITOR, kNextMonitorItem);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    g_moves.shortcuts = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_WIZARD));
    g_moves.keyHook = SetWindowsHookExA(WH_MSGFILTER, WizardKeysHook, nullptr, GetCurrentThreadId());
}

void RemoveKeyHook()
{
    if (g_moves.keyHook != nullptr) UnhookWindowsHookEx(g_moves.keyHook);
    g_moves.keyHook = nullptr;
}

void InitDialog(HWND dialog)
{
    // Recorded first: the configuration's message boxes are owned by the dialog.
    UseWizardDialog(dialog);
    ReportSettingsTo(dialog);
    AddMonitorCommand(dialog);
    InitWizard(Win32Platform());
    SetForegroundWindow(dialog);
}

// A drag is followed once it ends; a move outside the size/move loop (Win+Shift+Arrow,
// another program) at once. Lumetta's own moves are never the user's choice of monitor.
void OnWindowPosChanged(const WINDOWPOS& position)
{
    if (g_moves.inSizeMove || OwnMoveUnderway() || (position.flags & SWP_NOMOVE) != 0) return;
    FollowWizard(Win32Platform());
}

// The pattern window takes the capture and the focus, so that the next click or key
// press anywhere reaches it and brings the wizard back.
void HideWizard(HWND dialog)
{
    SetActiveWindow(PatternWindow());
    SetCapture(PatternWindow());
    SetFocus(PatternWindow());
    ShowWindow(dialog, SW_HIDE);
}

void DrawCursorPosition(HWND dialog)
{
    POINT cursor;
    GetCursorPos(&cursor);
    char text[32];
    const int length =
        std::snprintf(text, sizeof text, "(%4d, %4d)", static_cast<int>(cursor.x), static_cast<int>(cursor.y));
    WindowDC dc(dialog);
    TextOutA(dc.Get(), 0, 0, text, length);
}

void OnCommand(HWND dialog, int id, int notification)
{
    Platform& platform = Win32Platform();
    switch (id) {
    case IDC_MODEL_COMBO:
        if (notification == CBN_SELCHANGE) ChooseModel(platform);
        break;
    case IDC_PREVIOUS:
        GoPrevious(platform);
        break;
    case IDC_NEXT:
        GoNext(platform);
        break;
    case IDC_QUIT:
        EndDialog(dialog, 0);
        break;
    case IDC_HIDE:
        HideWizard(dialog);
        break;
    case IDC_RESTORE:
        RestoreSettings(platform);
        break;
    case IDC_OPEN_REPORT:
        OpenOfferedReport(dialog);
        break;
    default:
        break;  // Escape (IDCANCEL) among them: it does not close the wizard
    }
}

void OnTrackbar(HWND trackbar)
{
    const int row = GetDlgCtrlID(trackbar) - IDC_SETTING_SLIDER;
    if (row < 0 || row >= kMaxSettingRows) return;
    MoveSetting(Win32Platform(), row, static_cast<int>(SendMessageA(trackbar, TBM_GETPOS, 0, 0)));
}

void ShowWaitingReport()
{
    SettingsReport report;
    if (TakeSettingsReport(report)) ShowSettingsReport(Win32Platform(), report);
}

}  // namespace

INT_PTR CALLBACK SetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InitDialog(dialog);
        return TRUE;
    case WM_ENTERSIZEMOVE:
        g_moves.inSizeMove = true;
        return FALSE;
    case WM_EXITSIZEMOVE:
        g_moves.inSizeMove = false;
        FollowWizard(Win32Platform());
        return FALSE;
    case WM_WINDOWPOSCHANGED:
        if (dialog == DialogWindow()) OnWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lParam));
        return FALSE;
    case WM_SYSCOMMAND:
        if ((wParam & kSystemCommandMask) != IDM_NEXT_MONITOR) return FALSE;
        MoveToNextMonitor(Win32Platform());
        return TRUE;
    case WM_DESTROY:
        // The values the user left are kept for --restore, however the wizard ends.
        SaveMonitorSettings(Win32Platform());
        RemoveKeyHook();
        EndSettingsReports();
        EndWorkers();
        UseWizardDialog(nullptr);
        return FALSE;
    case WM_HSCROLL:
        if (lParam != 0) OnTrackbar(reinterpret_cast<HWND>(lParam));
        return FALSE;
    case kSettingsReportMessage:
        ShowWaitingReport();
        return TRUE;
    // Physical-monitor handles go stale across sleep and a locked session.
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC) ReadSettingsAgain(Win32Platform(), true);
        return FALSE;
    case WM_WTSSESSION_CHANGE:
        if (wParam == WTS_SESSION_UNLOCK) ReadSettingsAgain(Win32Platform(), true);
        return FALSE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return FALSE;
    case WM_RBUTTONDOWN:
        DrawCursorPosition(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

void RestoreWizard()
{
    // Once the wizard has ended, a click only repaints the pattern window.
    HWND dialog = DialogWindow();
    if (dialog != nullptr) {
        SetActiveWindow(dialog);
        ShowWindow(dialog, SW_SHOW);
        CheckDlgButton(dialog, IDC_HIDE, BST_UNCHECKED);
    }
    Win32Platform().shell.PaintPatternWindow();
    if (dialog != nullptr) SetFocus(dialog);
    ReleaseCapture();
}
