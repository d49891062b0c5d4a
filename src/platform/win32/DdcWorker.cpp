#include "platform/win32/DdcWorker.h"

#include <physicalmonitorenumerationapi.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/SystemDll.h"
#include "platform/win32/WorkerThread.h"
#include "wizard/SettingsWorker.h"

namespace {

constexpr DWORD kPhysicalMonitors = kMaxPhysicalMonitors;
constexpr DWORD kNotifyForThisSession = 0;  // NOTIFY_FOR_THIS_SESSION

struct ReportBox {
    SettingsReport report;
    bool waiting;
};

Mailbox<SettingsRequest, ReportBox> g_mailbox;
WorkerThread g_thread;
HWND g_dialog = nullptr;
BOOL(WINAPI* g_unregisterSession)(HWND) = nullptr;

bool StopGiven() { return WaitForSingleObject(g_thread.StopEvent(), 0) != WAIT_TIMEOUT; }

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

// dxva2.dll is loaded when the first step with settings is shown, from the system
// directory by full path: a static import would load it at every start, and from
// the program's own folder before the system's, where a planted copy could lie.
class Dxva2Link final : public MonitorLink {
public:
    Dxva2Link() : dll_(LoadSystemDll(L"dxva2.dll")) {}
    ~Dxva2Link() override
    {
        Close();
        if (dll_ != nullptr) FreeLibrary(dll_);
    }
    Dxva2Link(const Dxva2Link&) = delete;
    Dxva2Link& operator=(const Dxva2Link&) = delete;

    int Open(const char* monitorName) override
    {
        Close();
        MonitorSearch search{monitorName, nullptr};
        EnumDisplayMonitors(nullptr, nullptr, MatchMonitor, reinterpret_cast<LPARAM>(&search));
        DWORD count = 0;
        if (search.found == nullptr || countFn_ == nullptr || getFn_ == nullptr ||
            !countFn_(search.found, &count) || count == 0)
            return 0;
        count = std::min(count, kPhysicalMonitors);
        if (!getFn_(search.found, count, monitors_)) return 0;
        count_ = count;
        return static_cast<int>(count_);
    }
    void Close() override
    {
        if (count_ > 0 && destroyFn_ != nullptr) destroyFn_(count_, monitors_);
        count_ = 0;
    }
    // Two bus transactions, the stop looked at between them.
    bool Capabilities(std::span<char> out) override
    {
        DWORD length = 0;
        if (count_ == 0 || lengthFn_ == nullptr || capsFn_ == nullptr || !lengthFn_(Handle(0), &length) ||
            length == 0 || length > out.size() || StopGiven() || !capsFn_(Handle(0), out.data(), length))
            return false;
        out[length - 1] = '\0';
        return true;
    }
    bool Read(int physical, std::uint8_t code, VcpReading& reading) override
    {
        DWORD current = 0;
        DWORD maximum = 0;
        if (physical >= static_cast<int>(count_) || readFn_ == nullptr ||
            !readFn_(Handle(physical), code, nullptr, &current, &maximum))
            return false;
        reading = {current, maximum};
        return true;
    }
    bool Write(int physical, std::uint8_t code, std::uint32_t value) override
    {
        return physical < static_cast<int>(count_) && writeFn_ != nullptr && writeFn_(Handle(physical), code, value);
    }

private:
    HANDLE Handle(int physical) const { return monitors_[physical].hPhysicalMonitor; }

    HMODULE dll_;
    // The VCP code type (MC_VCP_CODE_TYPE) is not asked for.
    using CountFn = BOOL(WINAPI*)(HMONITOR, DWORD*);
    using GetFn = BOOL(WINAPI*)(HMONITOR, DWORD, PHYSICAL_MONITOR*);
    using DestroyFn = BOOL(WINAPI*)(DWORD, PHYSICAL_MONITOR*);
    using LengthFn = BOOL(WINAPI*)(HANDLE, DWORD*);
    using CapsFn = BOOL(WINAPI*)(HANDLE, char*, DWORD);
    using ReadFn = BOOL(WINAPI*)(HANDLE, BYTE, void*, DWORD*, DWORD*);
    using WriteFn = BOOL(WINAPI*)(HANDLE, BYTE, DWORD);
    CountFn countFn_ = LookUp<CountFn>(dll_, "GetNumberOfPhysicalMonitorsFromHMONITOR");
    GetFn getFn_ = LookUp<GetFn>(dll_, "GetPhysicalMonitorsFromHMONITOR");
    DestroyFn destroyFn_ = LookUp<DestroyFn>(dll_, "DestroyPhysicalMonitors");
    LengthFn lengthFn_ = LookUp<LengthFn>(dll_, "GetCapabilitiesStringLength");
    CapsFn capsFn_ = LookUp<CapsFn>(dll_, "CapabilitiesRequestAndCapabilitiesReply");
    ReadFn readFn_ = LookUp<ReadFn>(dll_, "GetVCPFeatureAndVCPFeatureReply");
    WriteFn writeFn_ = LookUp<WriteFn>(dll_, "SetVCPFeature");
    PHYSICAL_MONITOR monitors_[kPhysicalMonitors] = {};
    DWORD count_ = 0;
};

// The worker's side of the mailbox.
class WorkerMailbox final : public WorkerSide {
public:
    bool Stopped() override { return StopGiven(); }
    bool WaitForRequest() override
    {
        return WaitForWork(g_thread.StopEvent(), g_mailbox.WakeEvent(), nullptr, INFINITE) == Woken::Request;
    }
    bool Pause(std::uint32_t ms) override
    {
        return WaitForWork(g_thread.StopEvent(), nullptr, nullptr, ms) == Woken::Timeout;
    }
    // Carried values are handed over once.
    void TakeRequest(SettingsRequest& out) override
    {
        g_mailbox.Locked([&](SettingsRequest& request, ReportBox&) {
            out = request;
            request.carried.count = 0;
        });
    }
    void Report(const SettingsReport& report) override
    {
        g_mailbox.Locked([&](SettingsRequest&, ReportBox& box) { box = {report, true}; });
        PostMessageA(g_dialog, kSettingsReportMessage, 0, 0);
    }
};

DWORD WINAPI WorkerMain(void*)
{
    Dxva2Link link;
    WorkerMailbox side;
    SettingsWorker worker(link, side);
    worker.Run();
    return 0;
}

// An unlock is announced only to windows that asked for it; wtsapi32 is loaded like
// dxva2, and only once settings are in use.
void AskForSessionChanges()
{
    HMODULE wts = LoadSystemDll(L"wtsapi32.dll");
    using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
    const auto registerSession = LookUp<RegisterFn>(wts, "WTSRegisterSessionNotification");
    g_unregisterSession = LookUp<BOOL(WINAPI*)(HWND)>(wts, "WTSUnRegisterSessionNotification");
    if (registerSession != nullptr) registerSession(g_dialog, kNotifyForThisSession);
}

class Channel final : public SettingsChannel {
public:
    void Post(const SettingsRequest& request) override
    {
        g_mailbox.Locked([&](SettingsRequest& pending, ReportBox&) { MergeRequest(pending, request); });
        // The rows stay unread where no thread can be had; the next request tries again.
        if (request.count > 0 && !g_thread.Running() && g_thread.Start(WorkerMain, nullptr)) AskForSessionChanges();
        g_mailbox.Wake();
    }
};

}  // namespace

SettingsChannel& Win32SettingsChannel()
{
    static Channel channel;
    return channel;
}

void ReportSettingsTo(HWND dialog) { g_dialog = dialog; }

void EndSettingsReports()
{
    if (g_unregisterSession != nullptr) g_unregisterSession(g_dialog);
    g_unregisterSession = nullptr;
}

bool TakeSettingsReport(SettingsReport& out)
{
    return g_mailbox.Locked([&](SettingsRequest&, ReportBox& box) {
        const bool waiting = box.waiting;
        if (waiting) out = box.report;
        box.waiting = false;
        return waiting;
    });
}
