// The desktop's monitors and where the wizard goes on one of them: plain geometry in
// virtual-screen pixels, so that layouts no test machine has can be tested natively.
#pragma once

#include <string>
#include <string_view>

#include "base/Geometry.h"
#include "base/Limits.h"

// How the platform names its displays: this prefix and a number from 1.
inline constexpr std::string_view kDisplayNamePrefix = "\\\\.\\DISPLAY";

// Between the wizard's bottom edge and the bottom edge of its monitor.
inline constexpr int kWizardBottomMargin = 50;

struct Monitor {
    Rect rect;  // the full area, not the work area
    // The platform's device name: what stays the same when the display configuration
    // changes, while positions and sizes do not.
    char name[kMonitorNameSize];
    bool primary;
};

// In the system's order.
struct MonitorList {
    int count;
    Monitor monitors[kMaxMonitors];
};

// The device name; one that fills its whole buffer has no terminating zero.
std::string_view MonitorName(const Monitor& monitor);

// The monitor that holds the rectangle's centre, or -1 when none does.
int MonitorAtCentre(const MonitorList& monitors, Rect rect);
// The monitor after the given one, wrapping round; -1 for an empty list.
int NextMonitor(const MonitorList& monitors, int index);
// The primary monitor, or the first one when none is marked; -1 for an empty list.
int PrimaryMonitor(const MonitorList& monitors);
// The monitor of that device name or, when it is gone, the primary; -1 for an empty list.
int MonitorNamed(const MonitorList& monitors, std::string_view name);
// "\\.\DISPLAYn".
std::string DisplayName(int n);
// The monitor \\.\DISPLAYn, or -1 when there is none: a user's choice is never
// replaced by another monitor.
int MonitorNumbered(const MonitorList& monitors, int n);

// Top-left corners for a dialog of the given size.
Point CentredOn(Rect monitor, Size dialog);
Point BottomCentreOn(Rect monitor, Size dialog);

