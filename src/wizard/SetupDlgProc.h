// The wizard dialog's Win32 entry points: its procedure and the restore that the
// pattern window calls when the user clicks or types while the wizard is hidden.
#pragma once

#include <windows.h>

INT_PTR CALLBACK SetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void RestoreWizard();
