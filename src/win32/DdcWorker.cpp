#include "win32/DdcWorker.h"

#include <algorithm>
#include <cstring>

#include "monitor/SettingsWorker.h"
#include "win32/Dxva2Link.h"
#include "win32/SystemDll.h"
#include "win32/WorkerThread.h"

namespace {

constexpr DWORD kNotifyForThisSession = 0;  // NOTIFY_FOR_THIS_SESSION

struct ReportBox {
    SettingsReport report;
    bool waiting;
};

Mailbox<SettingsRequest, ReportBox> g_mailbox;
WorkerThread g_thread;
// Its own copy of the dialog handle: set before the worker starts, never changed while it runs.
HWND g_dialog = nullptr;
BOOL(WINAPI* g_unregisterSession)(HWND) = nullptr;

bool StopGiven() { return WaitForSingleObject(g_thread.StopEvent(), 0) != WAIT_TIMEOUT; }

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
    Dxva2Link link(g_thread.StopEvent());
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
