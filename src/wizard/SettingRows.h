// The rows of monitor settings on a step whose CONTROL key names some: what each row
// shows and what the wizard asks of the DDC/CI worker. Nothing here waits for the
// monitor: a row not read yet is a state the dialog shows.
#pragma once

#include "platform/Platform.h"

// The rows of the current step (none on step 1, on the last step, or on a step
// without settings), each disabled until read.
void ShowSettingRows(Platform& platform);
// The rows read again from the current monitor; reopen also enumerates its physical
// monitors afresh (after sleep, an unlock or a display change).
void ReadSettingsAgain(Platform& platform, bool reopen);
// The worker's answer.
void ShowSettingsReport(Platform& platform, const SettingsReport& report);
// A trackbar moved by the user.
void MoveSetting(Platform& platform, int row, int position);
// Every row back to the value first read in this run.
void RestoreSettings(Platform& platform);
