// Plays the moving pattern on the pattern window from a thread of its own, paced by the
// compositor's vertical blank or, where that clock does not pace (Wine's returns at
// once), by a high-resolution timer at the display mode's refresh rate. Implements the
// Shell seam's ShowMotion and StopMotion. The wizard's thread gives orders and repaints
// from the frame the player has reached; either puts on the window only under the
// mailbox's lock, after making sure its order is still the newest.
#pragma once

#include <windows.h>

#include "win32/WindowFrame.h"

// Shows speed px/s on the window, whole and at once: the frame the player has reached
// where it already plays that there at the window's size and its monitor's rate;
// otherwise the first frame, painted with memory, which the player then moves on.
void ShowMotion(HWND window, int speed, FrameMemory& memory);
// Nothing of the moving pattern reaches the window after this returns; the player
// gives its memory back and sleeps.
void StopMotion();
// Frames moved on since the program started, for the test build to report.
long MotionFramesShown();
