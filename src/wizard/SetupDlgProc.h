// The wizard dialog's procedure: the Win32 entry point of the adjustment wizard.
#pragma once

#include <windows.h>

INT_PTR CALLBACK SetupDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
