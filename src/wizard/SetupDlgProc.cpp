#include "wizard/SetupDlgProc.h"

#include <cstdio>

#include "app/AppState.h"
#include "platform/win32/GdiCanvas.h"
#include "platform/win32/Win32Platform.h"
#include "resource.h"
#include "wizard/Wizard.h"

namespace {

HWND PatternWindow() { return static_cast<HWND>(g_app.patternWindow); }
HWND DialogWindow() { return static_cast<HWND>(g_app.dialogWindow); }

void InitDialog(HWND dialog)
{
    // Recorded first: the configuration's message boxes are owned by the dialog.
    g_app.dialogWindow = dialog;
    InitWizard(Win32Platform());
    SetForegroundWindow(dialog);
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
    const int length = std::snprintf(g_app.scratch, sizeof g_app.scratch, "(%4d, %4d)",
                                     static_cast<int>(cursor.x), static_cast<int>(cursor.y));
    WindowDC dc(dialog);
    TextOutA(dc.Get(), 0, 0, g_app.scratch, length);
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
    default:
        break;  // Escape (IDCANCEL) among them: it does not close the wizard
    }
}

}  // namespace

INT_PTR CALLBACK SetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitDialog(dialog);
        return TRUE;
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
    HWND dialog = DialogWindow();
    SetActiveWindow(dialog);
    ShowWindow(dialog, SW_SHOW);
    CheckDlgButton(dialog, IDC_HIDE, BST_UNCHECKED);
    Win32Platform().shell.PaintPatternWindow();
    SetFocus(dialog);
    ReleaseCapture();
}
