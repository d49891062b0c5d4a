// Two monitors that Windows can describe (scripts/with-monitor-facts.sh): 1920x1080 with
// a digital monitor's EDID and 1280x1024 with an analogue one's, as any program sees them.
#include "Harness.h"

// Before <devguid.h>, so that it defines the class GUIDs instead of declaring them.
#include <initguid.h>

#include <devguid.h>
#include <setupapi.h>

#include <set>
#include <utility>

namespace {

constexpr DWORD kEdidBlockSize = 128;
constexpr int kProductCodeOffset = 10;  // little-endian, two bytes

BOOL CALLBACK AddSize(HMONITOR monitor, HDC, LPRECT, LPARAM sizes)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoA(monitor, &info);
    const RECT& r = info.rcMonitor;
    reinterpret_cast<std::multiset<std::pair<LONG, LONG>>*>(sizes)->emplace(r.right - r.left, r.bottom - r.top);
    return TRUE;
}

}  // namespace

TEST(MonitorFacts, wine_reports_both_monitors_with_their_edids)
{
    std::multiset<std::pair<LONG, LONG>> sizes;
    EnumDisplayMonitors(nullptr, nullptr, AddSize, reinterpret_cast<LPARAM>(&sizes));
    EXPECT_EQ(sizes, (std::multiset<std::pair<LONG, LONG>>{{1280, 1024}, {1920, 1080}}));

    std::multiset<int> productCodes;
    const HDEVINFO monitors = SetupDiGetClassDevsA(&GUID_DEVCLASS_MONITOR, nullptr, nullptr, DIGCF_PRESENT);
    ASSERT_NE(monitors, INVALID_HANDLE_VALUE);
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof device;
    for (DWORD k = 0; SetupDiEnumDeviceInfo(monitors, k, &device); ++k) {
        const HKEY key = SetupDiOpenDevRegKey(monitors, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) continue;
        BYTE edid[kEdidBlockSize] = {};
        DWORD size = sizeof edid;
        if (RegQueryValueExA(key, "EDID", nullptr, nullptr, edid, &size) == ERROR_SUCCESS && size == kEdidBlockSize)
            productCodes.insert(edid[kProductCodeOffset] | edid[kProductCodeOffset + 1] << 8);
        RegCloseKey(key);
    }
    SetupDiDestroyDeviceInfoList(monitors);
    EXPECT_EQ(productCodes, (std::multiset<int>{0x1234, 0x4321}));
}
