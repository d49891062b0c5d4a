#include "win32/MonitorFactsWin32.h"

#include <windows.h>

#include <setupapi.h>

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "win32/SystemDll.h"

namespace {

// {4d36e96e-e325-11ce-bfc1-08002be10318}: the monitors' device class.
constexpr GUID kMonitorClass = {0x4d36e96e, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
constexpr DWORD kMaxEdidBytes = 512;  // the base block and a few extensions
constexpr std::size_t kMaxInstanceId = 260;

// Declared from the Windows 11 SDK on; earlier systems answer it with an error.
constexpr DISPLAYCONFIG_DEVICE_INFO_TYPE kAdvancedColorInfo2 = static_cast<DISPLAYCONFIG_DEVICE_INFO_TYPE>(15);
constexpr UINT32 kHdrColourMode = 2;  // DISPLAYCONFIG_ADVANCED_COLOR_MODE_HDR
struct AdvancedColorInfo2 {
    DISPLAYCONFIG_DEVICE_INFO_HEADER header;
    UINT32 value;
    DISPLAYCONFIG_COLOR_ENCODING colorEncoding;
    UINT32 bitsPerColorChannel;
    UINT32 activeColorMode;
};

// setupapi and the registry calls are looked up, not imported: the program imports
// nothing but what every Windows loads anyway.
struct DeviceApi {
    using ClassDevsFn = HDEVINFO(WINAPI*)(const GUID*, PCWSTR, HWND, DWORD);
    using EnumInfoFn = BOOL(WINAPI*)(HDEVINFO, DWORD, PSP_DEVINFO_DATA);
    using InstanceIdFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, PWSTR, DWORD, PDWORD);
    using OpenKeyFn = HKEY(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, DWORD, DWORD, DWORD, REGSAM);
    using DestroyFn = BOOL(WINAPI*)(HDEVINFO);
    using QueryValueFn = LONG(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
    using CloseKeyFn = LONG(WINAPI*)(HKEY);

    DeviceApi() : setup(LoadSystemDll(L"setupapi.dll")), registry(LoadSystemDll(L"advapi32.dll")) {}
    ~DeviceApi()
    {
        if (setup != nullptr) FreeLibrary(setup);
        if (registry != nullptr) FreeLibrary(registry);
    }
    DeviceApi(const DeviceApi&) = delete;
    DeviceApi& operator=(const DeviceApi&) = delete;
    bool Usable() const
    {
        return classDevs && enumInfo && instanceId && openKey && destroy && queryValue && closeKey;
    }

    HMODULE setup;
    HMODULE registry;
    ClassDevsFn classDevs = LookUp<ClassDevsFn>(setup, "SetupDiGetClassDevsW");
    EnumInfoFn enumInfo = LookUp<EnumInfoFn>(setup, "SetupDiEnumDeviceInfo");
    InstanceIdFn instanceId = LookUp<InstanceIdFn>(setup, "SetupDiGetDeviceInstanceIdW");
    OpenKeyFn openKey = LookUp<OpenKeyFn>(setup, "SetupDiOpenDevRegKey");
    DestroyFn destroy = LookUp<DestroyFn>(setup, "SetupDiDestroyDeviceInfoList");
    QueryValueFn queryValue = LookUp<QueryValueFn>(registry, "RegQueryValueExW");
    CloseKeyFn closeKey = LookUp<CloseKeyFn>(registry, "RegCloseKey");
};

// The monitor's device interface path, "\\?\DISPLAY#LMT1234#5&1a2b&0&UID0#{guid}", names
// its device instance, "DISPLAY\LMT1234\5&1a2b&0&UID0": identical monitors share maker,
// model and even serial, never the instance.
bool InterfaceNamesInstance(const char* path, const wchar_t* instance)
{
    const char* at = path;
    if (std::strncmp(at, "\\\\?\\", 4) == 0) at += 4;
    std::size_t i = 0;
    for (; at[i] != '\0' && instance[i] != L'\0'; ++i) {
        const wchar_t c = at[i] == '#' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(at[i]));
        if (std::towupper(c) != std::towupper(instance[i])) return false;
    }
    return instance[i] == L'\0' && (at[i] == '\0' || at[i] == '#');
}

void ReadEdid(const char* devicePath, EdidInfo& edid)
{
    const DeviceApi api;
    if (!api.Usable() || devicePath[0] == '\0') return;
    HDEVINFO devices = api.classDevs(&kMonitorClass, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) return;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof device;
    for (DWORD index = 0; api.enumInfo(devices, index, &device); ++index) {
        wchar_t instance[kMaxInstanceId];
        if (!api.instanceId(devices, &device, instance, kMaxInstanceId, nullptr) ||
            !InterfaceNamesInstance(devicePath, instance))
            continue;
        HKEY key = api.openKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) break;
        BYTE bytes[kMaxEdidBytes];
        DWORD size = sizeof bytes;
        DWORD type = 0;
        if (api.queryValue(key, L"EDID", nullptr, &type, bytes, &size) == ERROR_SUCCESS && type == REG_BINARY)
            edid = DecodeEdid(std::span<const std::uint8_t>(bytes, size));
        api.closeKey(key);
        break;
    }
    api.destroy(devices);
}

DisplayMode ModeOf(const DEVMODEA& mode)
{
    return {static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
            static_cast<double>(mode.dmDisplayFrequency), (mode.dmDisplayFlags & DM_INTERLACED) != 0};
}

void ReadModes(const char* monitorName, MonitorFacts& facts)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsExA(monitorName, ENUM_CURRENT_SETTINGS, &mode, 0)) {
        facts.desktop = ModeOf(mode);
        if (mode.dmFields & DM_DISPLAYORIENTATION) facts.rotation = static_cast<int>(mode.dmDisplayOrientation) * 90;
    }
    for (DWORD i = 0; facts.modeCount < kMaxDisplayModes; ++i) {
        mode = {};
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsExA(monitorName, i, &mode, 0)) break;
        facts.modes[facts.modeCount++] = ModeOf(mode);
    }
}

void ReadRamp(const char* monitorName, MonitorFacts& facts)
{
    HDC dc = CreateDCA(monitorName, nullptr, nullptr, nullptr);
    if (dc == nullptr) return;
    facts.rampKnown = GetDeviceGammaRamp(dc, facts.ramp) != FALSE;
    DeleteDC(dc);
}

// The advanced-colour state of the path that shows this monitor: HDR, and the bits per
// colour of the signal. The newer query tells HDR from automatic colour management; the
// older one only with wideColorEnforced.
void ReadDisplayConfig(const char* monitorName, MonitorFacts& facts)
{
    UINT32 pathCount = 0;
    UINT32 modeCount = 0;
    if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS || pathCount == 0)
        return;
    constexpr UINT32 kMaxPaths = 32;
    DISPLAYCONFIG_PATH_INFO paths[kMaxPaths];
    DISPLAYCONFIG_MODE_INFO modes[2 * kMaxPaths];
    pathCount = std::min(pathCount, kMaxPaths);
    modeCount = std::min(modeCount, 2 * kMaxPaths);
    if (QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths, &modeCount, modes, nullptr) != ERROR_SUCCESS)
        return;
    for (UINT32 p = 0; p < pathCount; ++p) {
        DISPLAYCONFIG_SOURCE_DEVICE_NAME source = {};
        source.header = {DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME, sizeof source, paths[p].sourceInfo.adapterId,
                         paths[p].sourceInfo.id};
        if (DisplayConfigGetDeviceInfo(&source.header) != ERROR_SUCCESS) continue;
        char name[CCHDEVICENAME + 1] = {};
        WideCharToMultiByte(CP_ACP, 0, source.viewGdiDeviceName, -1, name, sizeof name - 1, nullptr, nullptr);
        if (std::strcmp(name, monitorName) != 0) continue;
        const LUID adapter = paths[p].targetInfo.adapterId;
        const UINT32 target = paths[p].targetInfo.id;
        DISPLAYCONFIG_TARGET_PREFERRED_MODE preferred = {};
        preferred.header = {DISPLAYCONFIG_DEVICE_INFO_GET_TARGET_PREFERRED_MODE, sizeof preferred, adapter, target};
        if (DisplayConfigGetDeviceInfo(&preferred.header) == ERROR_SUCCESS)
            facts.preferred = {static_cast<int>(preferred.width), static_cast<int>(preferred.height)};
        AdvancedColorInfo2 colour2 = {};
        colour2.header = {kAdvancedColorInfo2, sizeof colour2, adapter, target};
        DISPLAYCONFIG_GET_ADVANCED_COLOR_INFO colour = {};
        colour.header = {DISPLAYCONFIG_DEVICE_INFO_GET_ADVANCED_COLOR_INFO, sizeof colour, adapter, target};
        if (DisplayConfigGetDeviceInfo(&colour2.header) == ERROR_SUCCESS) {
            facts.hdr = colour2.activeColorMode == kHdrColourMode ? Known::Yes : Known::No;
            facts.bitsPerColour = static_cast<int>(colour2.bitsPerColorChannel);
        } else if (DisplayConfigGetDeviceInfo(&colour.header) == ERROR_SUCCESS) {
            facts.hdr = colour.advancedColorEnabled && !colour.wideColorEnforced ? Known::Yes : Known::No;
            facts.bitsPerColour = static_cast<int>(colour.bitsPerColorChannel);
        }
        return;
    }
}

}  // namespace

void IdentifyMonitorOf(const char* monitorName, MonitorFacts& facts)
{
    DISPLAY_DEVICEA device = {};
    device.cb = sizeof device;
    if (!EnumDisplayDevicesA(monitorName, 0, &device, EDD_GET_DEVICE_INTERFACE_NAME)) return;
    CopyText(facts.devicePath, std::string_view(device.DeviceID, strnlen(device.DeviceID, sizeof device.DeviceID)));
    ReadEdid(facts.devicePath, facts.edid);
}

void GatherMonitorFacts(const char* monitorName, MonitorFacts& facts)
{
    IdentifyMonitorOf(monitorName, facts);
    ReadModes(monitorName, facts);
    ReadRamp(monitorName, facts);
    ReadDisplayConfig(monitorName, facts);
}
