// The DDC/CI worker thread: the one thread that calls the monitors, and the message by
// which it tells the wizard that an answer waits in its mailbox. Implements the
// SettingsChannel seam of platform/Platform.h over dxva2.dll.
#pragma once

#include <windows.h>

#include "platform/Platform.h"

inline constexpr UINT kSettingsReportMessage = WM_APP + 1;

// The wizard's channel; the thread starts with the first request that names settings,
// and ends with EndWorkers.
SettingsChannel& Win32SettingsChannel();
// The dialog that the answers, and the session's unlock notices, go to.
void ReportSettingsTo(HWND dialog);
// The dialog is going: it asks for no more session notices.
void EndSettingsReports();
// The newest answer, for the dialog on kSettingsReportMessage; false when none waits.
bool TakeSettingsReport(SettingsReport& out);
