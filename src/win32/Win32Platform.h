// The desktop side of the seams in platform/Platform.h: message boxes, the INI reader,
// the wizard's controls, the two windows and the monitors (IniReader, MessageBoxes,
// DialogControls, PatternScreen, Shell), over the windows its callers give it.
#pragma once

#include <windows.h>

#include "platform/Platform.h"

// The one Platform of the running program.
Platform& Win32Platform();
// The pattern window, from the start of its creation; the wizard dialog, from the start
// of its own.
void UsePatternWindow(HWND window);
void UseWizardDialog(HWND dialog);
// The wizard dialog while it exists, else null.
HWND WizardDialog();
// Opens the report that the last step offers in the user's browser.
void OpenOfferedReport(HWND owner);
// True while Lumetta itself moves the wizard.
bool OwnMoveUnderway();
#ifdef LUMETTA_INSTRUMENTED
// Lets the test build paint the pattern window in bands of at most this many rows
// (0: whole frames), as it does where memory for a whole frame cannot be had.
void LimitFrameRows(int rows);
#endif
