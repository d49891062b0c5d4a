#include "wizard/SetupDlgProc.h"

#include "app/AppState.h"
#include "resource.h"

INT_PTR CALLBACK SetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        g_app.dialogWindow = dialog;
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_QUIT) EndDialog(dialog, 0);
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return FALSE;
    default:
        return FALSE;
    }
}
