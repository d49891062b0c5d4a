// Test-only stand-in for dxva2.dll's monitor functions, never packaged. Its monitors
// live in fake-monitors.ini in the current directory, which the test writes and reads:
//   [DISPLAY1]          the display monitor \\.\DISPLAY1
//   PHYSICAL=1          physical monitors behind it (0: no DDC/CI)
//   CAPS=(vcp(10 12))   capabilities string; none: the request fails
//   LATENCY=500         milliseconds per call; -1: a call never returns (a stuck bus)
//   VCP10=50,100        current value and maximum; none: the read fails
// It counts OPENS (physical monitors handed out), RELEASED and READS there, and logs
// every write in WRITES (" 10=80 12=40").
#include <windows.h>

#include <physicalmonitorenumerationapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

struct Monitor {
    char section[16];
    char file[MAX_PATH];
};

void FileOf(char (&file)[MAX_PATH])
{
    const DWORD length = GetCurrentDirectoryA(MAX_PATH - 20, file);
    std::strcpy(file + length, "\\fake-monitors.ini");
}

// Handles carry the display's number: n * 16 + physical index + 1.
Monitor FromNumber(int number)
{
    Monitor m{};
    std::snprintf(m.section, sizeof m.section, "DISPLAY%d", number);
    FileOf(m.file);
    return m;
}

int NumberOf(HMONITOR handle)
{
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(handle, reinterpret_cast<MONITORINFO*>(&info))) return 0;
    const char* digits = std::strstr(info.szDevice, "DISPLAY");
    return digits == nullptr ? 0 : std::atoi(digits + 7);
}

Monitor FromPhysical(HANDLE physical) { return FromNumber(static_cast<int>(reinterpret_cast<INT_PTR>(physical) / 16)); }

int Number(const Monitor& m, const char* key) { return GetPrivateProfileIntA(m.section, key, 0, m.file); }

void Add(const Monitor& m, const char* key, int amount)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", Number(m, key) + amount);
    WritePrivateProfileStringA(m.section, key, text, m.file);
}

// Every call takes the monitor's latency, as a real bus transaction does.
void Wait(const Monitor& m)
{
    const int latency = Number(m, "LATENCY");
    Sleep(latency < 0 ? INFINITE : static_cast<DWORD>(latency));
}

bool ReadVcp(const Monitor& m, BYTE code, DWORD& current, DWORD& maximum)
{
    char key[8];
    char value[32];
    std::snprintf(key, sizeof key, "VCP%02X", code);
    GetPrivateProfileStringA(m.section, key, "", value, sizeof value, m.file);
    unsigned c = 0;
    unsigned x = 0;
    if (std::sscanf(value, "%u,%u", &c, &x) != 2) return false;
    current = c;
    maximum = x;
    return true;
}

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI GetNumberOfPhysicalMonitorsFromHMONITOR(HMONITOR monitor, DWORD* count)
{
    *count = static_cast<DWORD>(Number(FromNumber(NumberOf(monitor)), "PHYSICAL"));
    return *count > 0;
}

__declspec(dllexport) BOOL WINAPI GetPhysicalMonitorsFromHMONITOR(HMONITOR monitor, DWORD count,
                                                                 PHYSICAL_MONITOR* monitors)
{
    const int number = NumberOf(monitor);
    for (DWORD i = 0; i < count; ++i) {
        monitors[i].hPhysicalMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(number * 16 + i + 1));
        std::wcscpy(monitors[i].szPhysicalMonitorDescription, L"Fake monitor");
    }
    Add(FromNumber(number), "OPENS", static_cast<int>(count));
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI DestroyPhysicalMonitors(DWORD count, PHYSICAL_MONITOR* monitors)
{
    if (count > 0) Add(FromPhysical(monitors[0].hPhysicalMonitor), "RELEASED", static_cast<int>(count));
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI GetCapabilitiesStringLength(HANDLE physical, DWORD* length)
{
    const Monitor m = FromPhysical(physical);
    Wait(m);
    char caps[4096];
    *length = GetPrivateProfileStringA(m.section, "CAPS", "", caps, sizeof caps, m.file) + 1;
    return *length > 1;
}

__declspec(dllexport) BOOL WINAPI CapabilitiesRequestAndCapabilitiesReply(HANDLE physical, char* caps, DWORD length)
{
    const Monitor m = FromPhysical(physical);
    Wait(m);
    return GetPrivateProfileStringA(m.section, "CAPS", "", caps, length, m.file) > 0;
}

__declspec(dllexport) BOOL WINAPI GetVCPFeatureAndVCPFeatureReply(HANDLE physical, BYTE code, void*, DWORD* current,
                                                                  DWORD* maximum)
{
    const Monitor m = FromPhysical(physical);
    Wait(m);
    Add(m, "READS", 1);
    return ReadVcp(m, code, *current, *maximum);
}

__declspec(dllexport) BOOL WINAPI SetVCPFeature(HANDLE physical, BYTE code, DWORD value)
{
    const Monitor m = FromPhysical(physical);
    Wait(m);
    char text[32];
    char log[1024];
    GetPrivateProfileStringA(m.section, "WRITES", "", log, sizeof log, m.file);
    std::snprintf(text, sizeof text, " %02X=%lu", code, static_cast<unsigned long>(value));
    std::strncat(log, text, sizeof log - std::strlen(log) - 1);
    WritePrivateProfileStringA(m.section, "WRITES", log, m.file);
    DWORD current = 0;
    DWORD maximum = 0;
    if (!ReadVcp(m, code, current, maximum)) return FALSE;
    char key[8];
    std::snprintf(key, sizeof key, "VCP%02X", code);
    std::snprintf(text, sizeof text, "%lu,%lu", static_cast<unsigned long>(value), static_cast<unsigned long>(maximum));
    return WritePrivateProfileStringA(m.section, key, text, m.file);
}

}  // extern "C"
