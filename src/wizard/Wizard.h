// The adjustment wizard's logic: step navigation and what each step shows. The
// dialog procedure in SetupDlgProc.cpp turns Win32 messages into these calls.
#pragma once

#include "platform/Platform.h"

// Runs once the dialog window and its rectangle are recorded in AppState: centres the
// dialog, fills the model list, applies the captions and shows step 1.
void InitWizard(Platform& platform);
// A selection change in the model list.
void ChooseModel(Platform& platform);
void GoPrevious(Platform& platform);
void GoNext(Platform& platform);
// Brings every control up to date for the current step and repaints the pattern.
void RefreshWizard(Platform& platform);
