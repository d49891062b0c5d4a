// The rows of monitor settings in the wizard dialog, made at run time so that a step
// without settings keeps exactly the template's controls and size.
#pragma once

#include <windows.h>

// Makes count rows (0 to 3) and the Restore button between the texts and the buttons,
// after removing any made before; the controls below move down and the dialog grows.
void MakeSettingRows(HWND dialog, int count);
void SetTrackbar(HWND trackbar, int maximum, int position);
