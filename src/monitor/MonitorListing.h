// What `lumetta --list` prints of one monitor: its device name, place, size and DPI, the
// lines that step 1 shows about it, and what it answers over DDC/CI.
#pragma once

#include <string>

#include "monitor/Capabilities.h"
#include "monitor/MonitorCheck.h"
#include "monitor/Monitors.h"

enum class DdcAnswer : std::uint8_t {
    None,     // no physical monitor, or one that refuses the request
    Answers,  // its capabilities string, in caps
    Stuck,    // no answer in the time allowed
};

struct ListedMonitor {
    Monitor monitor;
    int dpi;             // 0: unknown
    MonitorLines lines;  // UTF-8
    DdcAnswer ddc;
    VcpCodes caps;
};

// A few lines, each ending in '\n', in UTF-8.
std::string ListMonitor(const ListedMonitor& listed);
