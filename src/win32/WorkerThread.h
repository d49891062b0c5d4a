// The threads beside the UI thread (the DDC/CI worker, the motion player) and the
// mailbox each shares with it. The UI thread never waits for a worker beyond a lock
// held only to copy or to put a frame; at exit it waits for all of them briefly, and a
// worker still inside a driver call is left to the end of the process.
#pragma once

#include <windows.h>

#include "base/Limits.h"

// The newest request one way and the newest report the other, under one lock, and an
// event that wakes the worker.
template <typename Request, typename Report>
class Mailbox {
public:
    Mailbox() : wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    ~Mailbox()
    {
        if (wake_ != nullptr) CloseHandle(wake_);
    }
    Mailbox(const Mailbox&) = delete;
    Mailbox& operator=(const Mailbox&) = delete;

    // Runs fn(request, report) under the lock: every access of either side goes through here.
    template <typename Fn>
    decltype(auto) Locked(Fn&& fn)
    {
        AcquireSRWLockExclusive(&lock_);
        const Unlock unlock{&lock_};
        return fn(request_, report_);
    }
    HANDLE WakeEvent() const { return wake_; }
    void Wake() { SetEvent(wake_); }

private:
    struct Unlock {
        SRWLOCK* lock;
        ~Unlock() { ReleaseSRWLockExclusive(lock); }
    };

    SRWLOCK lock_ = SRWLOCK_INIT;
    Request request_{};
    Report report_{};
    HANDLE wake_;
};

// One worker thread and its stop event. Once stopped it never starts again, so that a
// request or a paint at exit cannot bring it back.
class WorkerThread {
public:
    WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts main unless it runs already; false when it cannot run (stopped, or no
    // thread could be made: then nothing is left behind and a later call tries again).
    bool Start(LPTHREAD_START_ROUTINE main, void* context);
    bool Running() const { return thread_ != nullptr; }
    // Set once the stop is given; every wait of the thread watches it.
    HANDLE StopEvent() const { return stop_; }

private:
    friend bool EndWorkers(DWORD withinMs);

    HANDLE thread_ = nullptr;
    HANDLE stop_ = nullptr;
    bool stopGiven_ = false;
};

enum class Woken { Stop, Request, Timer, Timeout };
// Waits for the stop, the mailbox's wake event or a timer (either may be null) for at
// most ms. A failed wait counts as the stop: a bad handle ends the thread instead of
// spinning it.
Woken WaitForWork(HANDLE stop, HANDLE wake, HANDLE timer, DWORD ms);

// Gives every worker its stop and waits for all of them, for at most withinMs in all;
// false when one is still inside a call. Only the first call waits.
bool EndWorkers(DWORD withinMs = kWorkersExitWaitMs);
// Whether a worker was left running at exit: the process must then end without the
// usual clean-up, which could wait on it.
bool WorkersPending();
