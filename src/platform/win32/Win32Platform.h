// The desktop side of the seams in platform/Platform.h: message boxes, the INI
// reader, the wizard's controls, the two windows and the monitors, over the window
// handles recorded in AppState.
#pragma once

#include "platform/Platform.h"

// The one Platform of the running program.
Platform& Win32Platform();
// True while Lumetta itself moves the wizard.
bool OwnMoveUnderway();
#ifdef LUMETTA_INSTRUMENTED
// Lets the test build paint the pattern window in strips of at most this many rows
// (0: whole frames), as it does where memory for a whole frame cannot be had.
void LimitFrameRows(int rows);
#endif
