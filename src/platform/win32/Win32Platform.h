// The desktop side of the seams in platform/Platform.h: message boxes, the INI
// reader, the wizard's controls, the two windows and the monitors, over the window
// handles recorded in AppState.
#pragma once

#include "platform/Platform.h"

// The one Platform of the running program.
Platform& Win32Platform();
// True while Lumetta itself moves the wizard.
bool OwnMoveUnderway();
