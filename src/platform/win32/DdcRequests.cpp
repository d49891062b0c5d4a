#include "platform/win32/DdcRequests.h"

#include <algorithm>
#include <vector>

#include "platform/win32/Dxva2Link.h"

namespace {

bool g_pending = false;

// Lives on the heap: a request left in a driver call keeps it until the process ends.
struct Probe {
    char name[kMonitorNameSize] = {};
    DdcAnswer answer = DdcAnswer::None;
    VcpCodes caps;
    char text[kCapabilitiesSize] = {};
};

DWORD WINAPI ProbeMain(void* context)
{
    auto& probe = *static_cast<Probe*>(context);
    Dxva2Link link;
    if (link.Open(probe.name) > 0 && link.Capabilities(probe.text)) {
        probe.text[kCapabilitiesSize - 1] = '\0';
        probe.caps = ParseCapabilities(probe.text);
        probe.answer = DdcAnswer::Answers;
    }
    return 0;
}

}  // namespace

void ProbeDdc(std::span<ListedMonitor> monitors, DWORD withinMs)
{
    std::vector<Probe*> probes;
    std::vector<HANDLE> threads;
    for (const ListedMonitor& listed : monitors) {
        auto* probe = new Probe;
        CopyText(probe->name, MonitorName(listed.monitor));
        HANDLE thread = CreateThread(nullptr, 0, ProbeMain, probe, 0, nullptr);
        probes.push_back(probe);
        threads.push_back(thread);
    }
    const ULONGLONG deadline = GetTickCount64() + withinMs;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (threads[i] == nullptr) {
            delete probes[i];
            continue;
        }
        const ULONGLONG now = GetTickCount64();
        if (WaitForSingleObject(threads[i], now < deadline ? static_cast<DWORD>(deadline - now) : 0) != WAIT_OBJECT_0) {
            monitors[i].ddc = DdcAnswer::Stuck;
            g_pending = true;
            continue;  // the thread may still use its probe
        }
        monitors[i].ddc = probes[i]->answer;
        monitors[i].caps = probes[i]->caps;
        CloseHandle(threads[i]);
        delete probes[i];
    }
}

namespace {

struct Restore {
    RestoreJob job;
    HANDLE stop;
};

DWORD WINAPI RestoreMain(void* context)
{
    auto& restore = *static_cast<Restore*>(context);
    Dxva2Link link(restore.stop);
    restore.job.result = RestoreValues(
        link, [&](std::uint32_t ms) { return WaitForSingleObject(restore.stop, ms) == WAIT_TIMEOUT; },
        restore.job.monitorName, restore.job.saved);
    return 0;
}

}  // namespace

void RestoreMonitors(std::span<RestoreJob> jobs, DWORD withinMs)
{
    std::vector<Restore*> restores;
    std::vector<HANDLE> threads;
    for (const RestoreJob& job : jobs) {
        auto* restore = new Restore{job, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
        restores.push_back(restore);
        threads.push_back(restore->stop != nullptr ? CreateThread(nullptr, 0, RestoreMain, restore, 0, nullptr) : nullptr);
    }
    const ULONGLONG deadline = GetTickCount64() + withinMs;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        RestoreJob& job = jobs[i];
        // What a monitor that never answers did: nothing.
        job.result = {};
        job.result.count = std::clamp(job.saved.count, 0, kMaxSavedCodes);
        for (int k = 0; k < job.result.count; ++k)
            job.result.items[k] = {job.saved.codes[k], job.saved.values[k], RestoreOutcome::NoAnswer, 0};
        const ULONGLONG now = GetTickCount64();
        if (threads[i] == nullptr ||
            WaitForSingleObject(threads[i], now < deadline ? static_cast<DWORD>(deadline - now) : 0) != WAIT_OBJECT_0) {
            if (threads[i] == nullptr) {
                if (restores[i]->stop != nullptr) CloseHandle(restores[i]->stop);
                delete restores[i];
                continue;
            }
            SetEvent(restores[i]->stop);
            g_pending = true;  // the thread may still use its job
            continue;
        }
        job.result = restores[i]->job.result;
        CloseHandle(threads[i]);
        CloseHandle(restores[i]->stop);
        delete restores[i];
    }
}

bool DdcRequestsPending() { return g_pending; }
