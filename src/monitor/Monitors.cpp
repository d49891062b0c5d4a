#include "monitor/Monitors.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "base/Text.h"

namespace {

int Count(const MonitorList& monitors) { return std::clamp(monitors.count, 0, kMaxMonitors); }

// Rounds toward minus infinity, so that a centre left of or above the origin stays
// on the monitor it lies on.
int FloorHalf(long long sum) { return static_cast<int>(sum >= 0 ? sum / 2 : (sum - 1) / 2); }

bool Holds(Rect rect, Point p) { return p.x >= rect.left && p.x < rect.right && p.y >= rect.top && p.y < rect.bottom; }

int Width(Rect rect) { return rect.right - rect.left; }
int Height(Rect rect) { return rect.bottom - rect.top; }

}  // namespace

std::string_view MonitorName(const Monitor& monitor)
{
    const char* end = std::find(std::begin(monitor.name), std::end(monitor.name), '\0');
    return {monitor.name, static_cast<std::size_t>(end - monitor.name)};
}

int MonitorAtCentre(const MonitorList& monitors, Rect rect)
{
    const Point centre{FloorHalf(static_cast<long long>(rect.left) + rect.right),
                       FloorHalf(static_cast<long long>(rect.top) + rect.bottom)};
    for (int i = 0; i < Count(monitors); ++i)
        if (Holds(monitors.monitors[i].rect, centre)) return i;
    return -1;
}

int NextMonitor(const MonitorList& monitors, int index)
{
    const int count = Count(monitors);
    if (count == 0) return -1;
    return index < 0 || index >= count - 1 ? 0 : index + 1;
}

int PrimaryMonitor(const MonitorList& monitors)
{
    const int count = Count(monitors);
    for (int i = 0; i < count; ++i)
        if (monitors.monitors[i].primary) return i;
    return count > 0 ? 0 : -1;
}

int MonitorNamed(const MonitorList& monitors, std::string_view name)
{
    for (int i = 0; i < Count(monitors); ++i)
        if (MonitorName(monitors.monitors[i]) == name) return i;
    return PrimaryMonitor(monitors);
}

std::string DisplayName(int n) { return std::string(kDisplayNamePrefix) + std::to_string(n); }

int MonitorNumbered(const MonitorList& monitors, int n)
{
    const std::string name = DisplayName(n);
    for (int i = 0; i < Count(monitors); ++i)
        if (MonitorName(monitors.monitors[i]) == name) return i;
    return -1;
}

// The offsets within the monitor truncate toward zero, as they always have on the
// primary: a monitor smaller than the dialog gives the same negative offsets.
Point CentredOn(Rect monitor, Size dialog)
{
    return {monitor.left + (Width(monitor) - dialog.width) / 2, monitor.top + (Height(monitor) - dialog.height) / 2};
}

Point BottomCentreOn(Rect monitor, Size dialog)
{
    return {monitor.left + (Width(monitor) - dialog.width) / 2, monitor.bottom - dialog.height - kWizardBottomMargin};
}
