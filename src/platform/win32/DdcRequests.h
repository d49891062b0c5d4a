// Requests to the monitors outside the wizard, for the command line: each monitor is
// asked from a thread of its own, and all of them are waited for with one deadline. A
// request still inside a driver call then is left to the end of the process.
#pragma once

#include <windows.h>

#include <span>

#include "app/MonitorListing.h"

// Each monitor's capabilities string, nothing written; Stuck where none came in time.
void ProbeDdc(std::span<ListedMonitor> monitors, DWORD withinMs);
// Whether a request was left inside a driver call: the process must then end without the
// usual clean-up, which could wait on it.
bool DdcRequestsPending();
