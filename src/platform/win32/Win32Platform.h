// The desktop side of the seams in platform/Platform.h: message boxes, the INI
// reader and the wizard's controls over the window handles recorded in AppState.
#pragma once

#include "platform/Platform.h"

// The one Platform of the running program.
Platform& Win32Platform();
