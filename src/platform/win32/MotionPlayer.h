// Plays the moving pattern on the pattern window from a thread of its own, paced by the
// compositor's vertical blank or, where that clock does not pace (Wine's returns at
// once), by a high-resolution timer at the display mode's refresh rate. The wizard's
// thread only leaves orders for it and never waits for it, except once at exit.
#pragma once

#include <windows.h>

// Plays speed px/s on the window, on the monitor of that device name; 0 stops and lets
// the thread sleep. The same order again only has the whole frame shown anew.
void PlayMotion(HWND window, int speed, const char* monitorName);
// Whether the player already plays that order, and so repaints its own frame when given
// it again; the first frame of a new one is the wizard's to paint.
bool PlayingMotion(HWND window, int speed, const char* monitorName);
// Frames moved on since the program started, for the test build to report.
long MotionFramesShown();
// Stops the player and waits for its thread to end.
void EndMotionPlayer();
