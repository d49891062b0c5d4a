// What the system tells of one monitor, for the Shell seam's GatherFacts: its EDID, its
// modes, its gamma ramp and its advanced-colour state. Everything that cannot be read
// stays unknown. No colour-system (Wcs) call is made: under Wine they abort the process.
#pragma once

#include "monitor/MonitorCheck.h"

void GatherMonitorFacts(const char* monitorName, MonitorFacts& facts);
// Its EDID and device path only.
void IdentifyMonitorOf(const char* monitorName, MonitorFacts& facts);
