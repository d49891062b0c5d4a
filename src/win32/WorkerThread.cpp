#include "win32/WorkerThread.h"

namespace {

struct Workers {
    WorkerThread* all[kMaxWorkers] = {};
    int count = 0;
    bool ended = false;
    bool pending = false;
};

Workers& TheWorkers()
{
    static Workers workers;
    return workers;
}

}  // namespace

WorkerThread::WorkerThread()
{
    Workers& workers = TheWorkers();
    if (workers.count < kMaxWorkers) workers.all[workers.count++] = this;
}

bool WorkerThread::Start(LPTHREAD_START_ROUTINE main, void* context)
{
    if (thread_ != nullptr) return true;
    if (stopGiven_ || TheWorkers().ended) return false;
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (stop_ == nullptr) return false;
    thread_ = CreateThread(nullptr, 0, main, context, 0, nullptr);
    if (thread_ == nullptr) {
        CloseHandle(stop_);
        stop_ = nullptr;
        return false;
    }
    return true;
}

Woken WaitForWork(HANDLE stop, HANDLE wake, HANDLE timer, DWORD ms)
{
    HANDLE handles[3] = {stop};
    DWORD count = 1;
    const DWORD wakeAt = wake != nullptr ? count : MAXDWORD;
    if (wake != nullptr) handles[count++] = wake;
    if (timer != nullptr) handles[count++] = timer;
    const DWORD waited = WaitForMultipleObjects(count, handles, FALSE, ms);
    if (waited == WAIT_TIMEOUT) return Woken::Timeout;
    if (waited >= WAIT_OBJECT_0 + count || waited == WAIT_OBJECT_0) return Woken::Stop;
    return waited - WAIT_OBJECT_0 == wakeAt ? Woken::Request : Woken::Timer;
}

bool EndWorkers(DWORD withinMs)
{
    Workers& workers = TheWorkers();
    if (workers.ended) return !workers.pending;
    workers.ended = true;
    HANDLE threads[kMaxWorkers];
    DWORD count = 0;
    for (int i = 0; i < workers.count; ++i) {
        WorkerThread& worker = *workers.all[i];
        worker.stopGiven_ = true;
        if (worker.thread_ == nullptr) continue;
        SetEvent(worker.stop_);
        threads[count++] = worker.thread_;
    }
    if (count > 0 && WaitForMultipleObjects(count, threads, TRUE, withinMs) != WAIT_OBJECT_0) {
        // A driver call that never returns: its thread, and the handles it may still
        // use, are left to the end of the process.
        workers.pending = true;
        return false;
    }
    for (int i = 0; i < workers.count; ++i) {
        WorkerThread& worker = *workers.all[i];
        if (worker.thread_ == nullptr) continue;
        CloseHandle(worker.thread_);
        CloseHandle(worker.stop_);
        worker.thread_ = worker.stop_ = nullptr;
    }
    return true;
}

bool WorkersPending() { return TheWorkers().pending; }
