#include "win32/Dxva2Link.h"

#include <algorithm>
#include <cstring>

#include "win32/SystemDll.h"

namespace {

struct MonitorSearch {
    const char* name;
    HMONITOR found;
};

BOOL CALLBACK MatchMonitor(HMONITOR handle, HDC, LPRECT, LPARAM context)
{
    auto& search = *reinterpret_cast<MonitorSearch*>(context);
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(handle, reinterpret_cast<MONITORINFO*>(&info)) &&
        std::strncmp(info.szDevice, search.name, CCHDEVICENAME) == 0) {
        search.found = handle;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

Dxva2Link::Dxva2Link(HANDLE stop)
    : dll_(LoadSystemDll(L"dxva2.dll")),
      stop_(stop),
      countFn_(LookUp<CountFn>(dll_, "GetNumberOfPhysicalMonitorsFromHMONITOR")),
      getFn_(LookUp<GetFn>(dll_, "GetPhysicalMonitorsFromHMONITOR")),
      destroyFn_(LookUp<DestroyFn>(dll_, "DestroyPhysicalMonitors")),
      lengthFn_(LookUp<LengthFn>(dll_, "GetCapabilitiesStringLength")),
      capsFn_(LookUp<CapsFn>(dll_, "CapabilitiesRequestAndCapabilitiesReply")),
      readFn_(LookUp<ReadFn>(dll_, "GetVCPFeatureAndVCPFeatureReply")),
      writeFn_(LookUp<WriteFn>(dll_, "SetVCPFeature"))
{
}

Dxva2Link::~Dxva2Link()
{
    Close();
    if (dll_ != nullptr) FreeLibrary(dll_);
}

int Dxva2Link::Open(const char* monitorName)
{
    Close();
    MonitorSearch search{monitorName, nullptr};
    EnumDisplayMonitors(nullptr, nullptr, MatchMonitor, reinterpret_cast<LPARAM>(&search));
    DWORD count = 0;
    if (search.found == nullptr || countFn_ == nullptr || getFn_ == nullptr || !countFn_(search.found, &count) ||
        count == 0)
        return 0;
    count = std::min<DWORD>(count, kMaxPhysicalMonitors);
    if (!getFn_(search.found, count, monitors_)) return 0;
    count_ = count;
    return static_cast<int>(count_);
}

void Dxva2Link::Close()
{
    if (count_ > 0 && destroyFn_ != nullptr) destroyFn_(count_, monitors_);
    count_ = 0;
}

bool Dxva2Link::Capabilities(std::span<char> out)
{
    DWORD length = 0;
    if (count_ == 0 || lengthFn_ == nullptr || capsFn_ == nullptr || !lengthFn_(Handle(0), &length) || length == 0 ||
        length > out.size() || Stopped() || !capsFn_(Handle(0), out.data(), length))
        return false;
    out[length - 1] = '\0';
    return true;
}

bool Dxva2Link::Read(int physical, std::uint8_t code, VcpReading& reading)
{
    DWORD current = 0;
    DWORD maximum = 0;
    if (physical >= static_cast<int>(count_) || readFn_ == nullptr ||
        !readFn_(Handle(physical), code, nullptr, &current, &maximum))
        return false;
    reading = {current, maximum};
    return true;
}

bool Dxva2Link::Write(int physical, std::uint8_t code, std::uint32_t value)
{
    return physical < static_cast<int>(count_) && writeFn_ != nullptr && writeFn_(Handle(physical), code, value);
}
