#include "win32/DdcRequests.h"

#include <algorithm>
#include <vector>

#include "win32/Dxva2Link.h"

namespace {

bool g_pending = false;

enum class Ran { Done, NotStarted, Late };

// Runs each job on a thread of its own and waits for all of them until one deadline. A
// late job is told to stop through its event and left to its thread, which may still use
// it: the caller deletes every other job.
template <class Job>
std::vector<Ran> RunWithin(const std::vector<Job*>& jobs, LPTHREAD_START_ROUTINE main, DWORD withinMs)
{
    std::vector<HANDLE> threads;
    for (Job* job : jobs) {
        job->stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        threads.push_back(job->stop != nullptr ? CreateThread(nullptr, 0, main, job, 0, nullptr) : nullptr);
    }
    const ULONGLONG deadline = GetTickCount64() + withinMs;
    std::vector<Ran> ran;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const ULONGLONG now = GetTickCount64();
        if (threads[i] != nullptr &&
            WaitForSingleObject(threads[i], now < deadline ? static_cast<DWORD>(deadline - now) : 0) != WAIT_OBJECT_0) {
            SetEvent(jobs[i]->stop);
            g_pending = true;
            ran.push_back(Ran::Late);
            continue;
        }
        ran.push_back(threads[i] != nullptr ? Ran::Done : Ran::NotStarted);
        if (threads[i] != nullptr) CloseHandle(threads[i]);
        if (jobs[i]->stop != nullptr) CloseHandle(jobs[i]->stop);
    }
    return ran;
}

struct Probe {
    char name[kMonitorNameSize] = {};
    DdcAnswer answer = DdcAnswer::None;
    VcpCodes caps;
    char text[kCapabilitiesSize] = {};
    HANDLE stop = nullptr;
};

DWORD WINAPI ProbeMain(void* context)
{
    auto& probe = *static_cast<Probe*>(context);
    Dxva2Link link(probe.stop);
    if (link.Open(probe.name) > 0 && link.Capabilities(probe.text)) {
        probe.text[kCapabilitiesSize - 1] = '\0';
        probe.caps = ParseCapabilities(probe.text);
        probe.answer = DdcAnswer::Answers;
    }
    return 0;
}

struct Restore {
    RestoreJob job;
    HANDLE stop = nullptr;
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

void ProbeDdc(std::span<ListedMonitor> monitors, DWORD withinMs)
{
    std::vector<Probe*> probes;
    for (const ListedMonitor& listed : monitors) {
        probes.push_back(new Probe);
        CopyText(probes.back()->name, MonitorName(listed.monitor));
    }
    const std::vector<Ran> ran = RunWithin(probes, ProbeMain, withinMs);
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (ran[i] == Ran::Late) {
            monitors[i].ddc = DdcAnswer::Stuck;
            continue;
        }
        if (ran[i] == Ran::Done) {
            monitors[i].ddc = probes[i]->answer;
            monitors[i].caps = probes[i]->caps;
        }
        delete probes[i];
    }
}

void RestoreMonitors(std::span<RestoreJob> jobs, DWORD withinMs)
{
    std::vector<Restore*> restores;
    for (const RestoreJob& job : jobs) restores.push_back(new Restore{job});
    const std::vector<Ran> ran = RunWithin(restores, RestoreMain, withinMs);
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        jobs[i].result = ran[i] == Ran::Done ? restores[i]->job.result : NoAnswerResult(jobs[i].saved);
        if (ran[i] != Ran::Late) delete restores[i];
    }
}

bool DdcRequestsPending() { return g_pending; }
