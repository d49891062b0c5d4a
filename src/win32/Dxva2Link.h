// The physical monitors behind one display monitor, over dxva2.dll: the MonitorLink
// seam of platform/Platform.h. Each call may take long, or never return on a stuck bus:
// only worker threads make them.
#pragma once

#include <windows.h>

#include <physicalmonitorenumerationapi.h>

#include "platform/Platform.h"

// dxva2.dll is loaded when a link is first made, from the system directory by full path:
// a static import would load it at every start, and from the program's own folder before
// the system's, where a planted copy could lie.
class Dxva2Link final : public MonitorLink {
public:
    // The stop, when given, is looked at between the two transactions of a capabilities
    // request.
    explicit Dxva2Link(HANDLE stop = nullptr);
    ~Dxva2Link() override;
    Dxva2Link(const Dxva2Link&) = delete;
    Dxva2Link& operator=(const Dxva2Link&) = delete;

    int Open(const char* monitorName) override;
    void Close() override;
    bool Capabilities(std::span<char> out) override;
    bool Read(int physical, std::uint8_t code, VcpReading& reading) override;
    bool Write(int physical, std::uint8_t code, std::uint32_t value) override;

private:
    HANDLE Handle(int physical) const { return monitors_[physical].hPhysicalMonitor; }
    bool Stopped() const { return stop_ != nullptr && WaitForSingleObject(stop_, 0) != WAIT_TIMEOUT; }

    // The VCP code type (MC_VCP_CODE_TYPE) is not asked for.
    using CountFn = BOOL(WINAPI*)(HMONITOR, DWORD*);
    using GetFn = BOOL(WINAPI*)(HMONITOR, DWORD, PHYSICAL_MONITOR*);
    using DestroyFn = BOOL(WINAPI*)(DWORD, PHYSICAL_MONITOR*);
    using LengthFn = BOOL(WINAPI*)(HANDLE, DWORD*);
    using CapsFn = BOOL(WINAPI*)(HANDLE, char*, DWORD);
    using ReadFn = BOOL(WINAPI*)(HANDLE, BYTE, void*, DWORD*, DWORD*);
    using WriteFn = BOOL(WINAPI*)(HANDLE, BYTE, DWORD);

    HMODULE dll_;
    HANDLE stop_;
    CountFn countFn_;
    GetFn getFn_;
    DestroyFn destroyFn_;
    LengthFn lengthFn_;
    CapsFn capsFn_;
    ReadFn readFn_;
    WriteFn writeFn_;
    PHYSICAL_MONITOR monitors_[kMaxPhysicalMonitors] = {};
    DWORD count_ = 0;
};
