// Where the files Lumetta keeps of a run lie on Windows, and how they are written: the
// RunFiles seam of platform/Platform.h. Reports go to %LOCALAPPDATA%\Lumetta\Reports,
// saved settings to %APPDATA%\Lumetta\monitors.ini, each replaced through a temporary file.
#pragma once

#include <string>

#include "platform/Platform.h"

RunFiles& Win32RunFiles();
// monitors.ini as it is, for --restore; empty when there is none.
std::string ReadSavedSettingsFile();
