#include "monitor/MonitorListing.h"

#include <algorithm>

#include "config/Config.h"

std::string ListMonitor(const ListedMonitor& listed)
{
    const Rect& r = listed.monitor.rect;
    std::string text = std::string(MonitorName(listed.monitor)) + ": " + std::to_string(r.right - r.left) + " x " +
                       std::to_string(r.bottom - r.top) + " at (" + std::to_string(r.left) + ", " +
                       std::to_string(r.top) + ")";
    if (listed.dpi > 0) text += ", " + std::to_string(listed.dpi) + " dpi";
    if (listed.monitor.primary) text += ", primary";
    text += "\n";
    for (int i = 0; i < std::clamp(listed.lines.count, 0, kMaxMonitorLines); ++i)
        text += std::string("  ") + listed.lines.text[i] + "\n";
    switch (listed.ddc) {
    case DdcAnswer::None:
        return text + "  DDC/CI: does not answer\n";
    case DdcAnswer::Stuck:
        return text + "  DDC/CI: no answer in time; its bus may be stuck\n";
    case DdcAnswer::Answers:
        break;
    }
    std::string offered;
    for (const NamedSetting& setting : NamedSettings()) {
        if (!listed.caps.listed.test(setting.code) || !SliderMayWrite(setting.code, listed.caps)) continue;
        offered += (offered.empty() ? "" : ", ") + std::string(setting.name);
    }
    return text + "  DDC/CI: answers; offers " + (offered.empty() ? std::string("none of the named settings") : offered) +
           "\n";
}
