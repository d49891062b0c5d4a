// The wizard dialog's Win32 side: its procedure, which turns messages into the calls of
// wizard/Wizard.h, and the restore that the pattern window calls when the user clicks or
// types while the wizard is hidden. The dialog's owner is the pattern window.
#pragma once

#include <windows.h>

INT_PTR CALLBACK SetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void RestoreWizard();
