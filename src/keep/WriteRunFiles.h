// What Lumetta keeps of a run: the report written at the last step, and each changed
// monitor's final settings in monitors.ini, for `lumetta --restore`.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

// Writes the report of the run so far, replacing the one this run wrote before, and
// saves the monitors' settings. AppState tells where the report is, or why it is not.
void WriteRunFiles(Platform& platform);
// Saves the final values of each monitor whose settings the run changed, keeping every
// other monitor's entries; nothing when nothing changed.
void SaveMonitorSettings(Platform& platform);
// Lists the connected monitors and gives each its key in monitors.ini, in the list's order.
std::vector<std::string> ConnectedMonitorKeys(Platform& platform, MonitorList& monitors);
