// The adjustment wizard's logic: step navigation and what each step shows. The
// dialog procedure in SetupDlgProc.cpp turns Win32 messages into these calls.
#pragma once

#include "monitor/MonitorCheck.h"
#include "platform/Platform.h"

// Runs once the dialog window is recorded in AppState: records the primary monitor as
// the current one, centres the dialog on it, fills the model list, applies the
// captions and shows step 1.
void InitWizard(Platform& platform);
// A selection change in the model list.
void ChooseModel(Platform& platform);
void GoPrevious(Platform& platform);
void GoNext(Platform& platform);
// Brings every control up to date for the current step and repaints the pattern.
void RefreshWizard(Platform& platform);

// Changing monitor. The new monitor becomes the current one: the pattern window covers
// it and shows the current step there, and every later position of the wizard is
// measured on it.
// After the user or another program has moved the wizard: the monitor under the
// wizard's centre, if that is another one; the wizard stays where it was put.
void FollowWizard(Platform& platform);
// The next monitor in the system's order, wrapping round; the wizard is placed on it
// as the current step places it (bottom centre on a pattern step, else centred).
void MoveToNextMonitor(Platform& platform);
// After the display configuration changed: the current monitor again (by name), or the
// primary when it is gone; a wizard left on no monitor is placed on the current one.
void FollowDisplayChange(Platform& platform);

// The texts of step 1's lines about the monitor, as the guide gives them or in English.
void ReadMonitorTexts(Platform& platform, MonitorTexts& texts);
