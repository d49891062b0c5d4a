// Requests to the monitors outside the wizard, for the command line: each monitor is
// asked from a thread of its own, and all of them are waited for with one deadline. A
// request still inside a driver call then is left to the end of the process.
#pragma once

#include <windows.h>

#include <span>

#include <string>

#include "keep/RestoreSaved.h"
#include "monitor/MonitorListing.h"

// Each monitor's capabilities string, nothing written; Stuck where none came in time.
void ProbeDdc(std::span<ListedMonitor> monitors, DWORD withinMs);
// Gives each monitor its saved values from a thread of its own; a monitor that has not
// answered within withinMs, all monitors together, is told to stop and counts as one
// that did not answer.
void RestoreMonitors(std::span<RestoreJob> jobs, DWORD withinMs);

// Whether a request was left inside a driver call: the process must then end without the
// usual clean-up, which could wait on it.
bool DdcRequestsPending();
