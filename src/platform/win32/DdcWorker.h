// The DDC/CI worker thread: the one thread that calls the monitors, its mailbox and
// the message by which it tells the wizard that an answer waits there.
#pragma once

#include <windows.h>

#include "platform/Platform.h"

inline constexpr UINT kSettingsReportMessage = WM_APP + 1;

// The wizard's channel; the thread starts with the first request that names settings.
SettingsChannel& Win32SettingsChannel();
// The newest answer, for the dialog on kSettingsReportMessage; false when none waits.
bool TakeSettingsReport(SettingsReport& out);
// Stops the thread through its stop event and joins it; its physical monitors are
// released before it ends.
void StopSettingsWorker();
// A DLL of the system directory by its full path: never one planted beside the program.
HMODULE LoadSystemDll(const wchar_t* name);
