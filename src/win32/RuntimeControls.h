// What the wizard dialog grows by at run time: the rows of monitor settings on a step that
// names some, the lines below the model list on step 1 (the monitor) and on the last
// step (the report), and the button that opens the report. A step without them keeps
// exactly the template's controls and size.
#pragma once

#include <windows.h>

#include "monitor/MonitorCheck.h"

// Makes count rows (0 to 3) and the Restore button between the texts and the buttons,
// after removing any made before; the controls below move down and the dialog grows.
void MakeSettingRows(HWND dialog, int count);
void SetTrackbar(HWND trackbar, int maximum, int position);
// Makes the lines below the model list, each as tall as its text needs at the dialog's
// width, after removing any made before; the buttons move down and the dialog grows.
void MakeStepLines(HWND dialog, const MonitorLines& lines);
// Makes, or removes, the last step's button that opens the report, right of the model list.
void MakeReportButton(HWND dialog, bool shown);
