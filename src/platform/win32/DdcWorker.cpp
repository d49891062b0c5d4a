#include "platform/win32/DdcWorker.h"

#include <physicalmonitorenumerationapi.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "app/AppState.h"
#include "wizard/SettingsWorker.h"

namespace {

// Enough for a cloned display's physical monitors.
constexpr DWORD kMaxPhysicalMonitors = 4;
constexpr DWORD kNotifyForThisSession = 0;  // NOTIFY_FOR_THIS_SESSION

template <typename Fn>
Fn Lookup(HMODULE module, const char* name)
{
    return module == nullptr ? nullptr : reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

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
        count = std::min(count, kMaxPhysicalMonitors);
        if (!getFn_(search.found, count, monitors_)) return 0;
        count_ = count;
        return static_cast<int>(count_);
    }
    void Close() override
    {
        if (count_ > 0 && destroyFn_ != nullptr) destroyFn_(count_, monitors_);
        count_ = 0;
    }
    bool Capabilities(std::span<char> out) override
    {
        DWORD length = 0;
        if (count_ == 0 || lengthFn_ == nullptr || capsFn_ == nullptr || !lengthFn_(Handle(0), &length) ||
            length == 0 || length > out.size() || !capsFn_(Handle(0), out.data(), length))
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
    CountFn countFn_ = Lookup<CountFn>(dll_, "GetNumberOfPhysicalMonitorsFromHMONITOR");
    GetFn getFn_ = Lookup<GetFn>(dll_, "GetPhysicalMonitorsFromHMONITOR");
    DestroyFn destroyFn_ = Lookup<DestroyFn>(dll_, "DestroyPhysicalMonitors");
    LengthFn lengthFn_ = Lookup<LengthFn>(dll_, "GetCapabilitiesStringLength");
    CapsFn capsFn_ = Lookup<CapsFn>(dll_, "CapabilitiesRequestAndCapabilitiesReply");
    ReadFn readFn_ = Lookup<ReadFn>(dll_, "GetVCPFeatureAndVCPFeatureReply");
    WriteFn writeFn_ = Lookup<WriteFn>(dll_, "SetVCPFeature");
    PHYSICAL_MONITOR monitors_[kMaxPhysicalMonitors] = {};
    DWORD count_ = 0;
};

// The mailbox between the two threads: the newest request one way, the newest report
// the other, each copied under the lock. Nobody waits for the other side: the worker
// waits on its events, the wizard on its messages.
class Mailbox final : public WorkerSide, public SettingsChannel {
public:
    Mailbox() { InitializeCriticalSection(&lock_); }
    ~Mailbox() override { DeleteCriticalSection(&lock_); }
    Mailbox(const Mailbox&) = delete;
    Mailbox& operator=(const Mailbox&) = delete;

    // The wizard's side.
    void Post(const SettingsRequest& request) override
    {
        EnterCriticalSection(&lock_);
        request_ = request;
        LeaveCriticalSection(&lock_);
        if (thread_ == nullptr && request.count > 0) Start();
        if (wake_ != nullptr) SetEvent(wake_);
    }
    bool TakeReport(SettingsReport& out)
    {
        EnterCriticalSection(&lock_);
        const bool waiting = reportWaiting_;
        if (waiting) out = report_;
        reportWaiting_ = false;
        LeaveCriticalSection(&lock_);
        return waiting;
    }
    void Stop()
    {
        if (thread_ == nullptr) return;
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        for (HANDLE handle : {thread_, stop_, wake_}) CloseHandle(handle);
        thread_ = stop_ = wake_ = nullptr;
        if (unregisterSession_ != nullptr) unregisterSession_(dialog_);
    }

    // The worker's side.
    std::uint64_t NowMs() override { return GetTickCount64(); }
    bool WaitForRequest() override
    {
        const HANDLE events[] = {stop_, wake_};
        return WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0;
    }
    bool Pause(std::uint32_t ms) override { return WaitForSingleObject(stop_, ms) != WAIT_OBJECT_0; }
    void TakeRequest(SettingsRequest& out) override
    {
        EnterCriticalSection(&lock_);
        out = request_;
        LeaveCriticalSection(&lock_);
    }
    void Report(const SettingsReport& report) override
    {
        EnterCriticalSection(&lock_);
        report_ = report;
        reportWaiting_ = true;
        LeaveCriticalSection(&lock_);
        PostMessageA(dialog_, kSettingsReportMessage, 0, 0);
    }

private:
    static DWORD WINAPI Main(void* context)
    {
        Dxva2Link link;
        SettingsWorker worker(link, *static_cast<Mailbox*>(context));
        worker.Run();
        return 0;
    }

    // An unlock is announced only to windows that asked for it; wtsapi32 is loaded
    // like dxva2, and only once settings are in use.
    void Start()
    {
        dialog_ = static_cast<HWND>(g_app.dialogWindow);
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        wake_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Main, this, 0, nullptr);
        if (thread_ == nullptr) {
            CloseHandle(stop_);
            CloseHandle(wake_);
            stop_ = wake_ = nullptr;
            return;  // the rows stay unread; the next request tries again
        }
        HMODULE wts = LoadSystemDll(L"wtsapi32.dll");
        using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
        using UnregisterFn = BOOL(WINAPI*)(HWND);
        const auto registerSession = Lookup<RegisterFn>(wts, "WTSRegisterSessionNotification");
        unregisterSession_ = Lookup<UnregisterFn>(wts, "WTSUnRegisterSessionNotification");
        if (registerSession != nullptr) registerSession(dialog_, kNotifyForThisSession);
    }

    CRITICAL_SECTION lock_;
    SettingsRequest request_ = {};
    SettingsReport report_ = {};
    bool reportWaiting_ = false;
    HWND dialog_ = nullptr;
    HANDLE thread_ = nullptr;
    HANDLE stop_ = nullptr;
    HANDLE wake_ = nullptr;
    BOOL(WINAPI* unregisterSession_)(HWND) = nullptr;
};

Mailbox& TheMailbox()
{
    static Mailbox mailbox;
    return mailbox;
}

}  // namespace

HMODULE LoadSystemDll(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + std::wcslen(name) >= MAX_PATH) return nullptr;
    path[length] = L'\\';
    std::wcscpy(path + length + 1, name);
    return LoadLibraryW(path);
}

SettingsChannel& Win32SettingsChannel() { return TheMailbox(); }
bool TakeSettingsReport(SettingsReport& out) { return TheMailbox().TakeReport(out); }
void StopSettingsWorker() { TheMailbox().Stop(); }
