#include "win32/MotionPlayer.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <optional>

#include "patterns/FrameTiming.h"
#include "patterns/Motion.h"
#include "platform/SoftCanvas.h"
#include "win32/SystemDll.h"
#include "win32/WorkerThread.h"

// Declared from Windows 10 1803 on; older systems refuse it and get a plain timer.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

constexpr double kFallbackHz = 60;  // where the mode reports no rate of its own
constexpr int kReadoutMargin = 4;

struct Order {
    HWND window = nullptr;
    int speed = 0;
    Size client{0, 0};
    double nominalHz = kFallbackHz;
};

struct Orders {
    Order newest;
    long given = 0;
};

// What of the moving pattern is on the window: the player's frame once it has moved the
// first one on (before that, the first frame that the wizard's thread painted), and the
// readout drawn over it.
struct OnScreen {
    const SoftCanvas* frame = nullptr;
    Rect readoutArea{0, 0, 0, 0};
    char readout[kMotionReadoutSize] = {};
};

Mailbox<Orders, OnScreen> g_mailbox;
WorkerThread g_thread;
std::atomic<long> g_framesShown{0};

using DwmFlushFn = HRESULT(WINAPI*)();

bool SameOrder(const Order& a, const Order& b)
{
    return a.window == b.window && a.speed == b.speed && a.client.width == b.client.width &&
           a.client.height == b.client.height && a.nominalHz == b.nominalHz;
}

double Seconds()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

// The readout's area of the frame, and the text over it in the context's default font;
// only where the text stays clear of the moving objects.
void DrawReadout(HDC dc, const SoftCanvas& frame, const OnScreen& shown)
{
    const int length = static_cast<int>(strnlen(shown.readout, kMotionReadoutSize));
    SIZE extent = {};
    GetTextExtentPoint32A(dc, shown.readout, length, &extent);
    if (kReadoutMargin + extent.cy > shown.readoutArea.bottom) return;
    PutOnWindow(dc, frame, shown.readoutArea);
    TextOutA(dc, kReadoutMargin, kReadoutMargin, shown.readout, length);
}

class Player {
public:
    ~Player()
    {
        if (timer_ != nullptr) CloseHandle(timer_);
    }

    bool Playing() const { return order_.speed != 0 && !still_; }

    void Take(const Order& order, long given)
    {
        taken_ = given;
        order_ = order;
        canvas_.reset();
        if (order.speed == 0) {
            // Nothing moves: a whole frame's memory is given back until something does.
            memory_.reset();
            return;
        }
        // The wizard's thread has put the first frame on the window; the player's own copy
        // of it is made at the first move, once the screen has taken that frame.
        Restart();
    }

    // Waits for the frame's moment, or for whatever comes first: an order or the stop.
    Woken WaitForFrame(HANDLE stop, HANDLE orders)
    {
        if (dwmFlush_ != nullptr && clock_.WaitsForVBlank()) {
            const double start = Seconds();
            const HRESULT result = dwmFlush_();
            const double now = Seconds();
            clock_.AddVBlankWait(now - start, SUCCEEDED(result), now);
            if (clock_.WaitsForVBlank()) return WaitForWork(stop, orders, nullptr, 0);
        }
        const double now = Seconds();
        const double wait = clock_.NextDue(now) - now;
        if (timer_ == nullptr) return WaitForWork(stop, orders, nullptr, static_cast<DWORD>(wait * 1000));
        LARGE_INTEGER due;
        due.QuadPart = -static_cast<LONGLONG>(wait * 1e7);  // 100 ns units, relative
        SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE);
        return WaitForWork(stop, orders, timer_, INFINITE);
    }

    void ShowNextFrame()
    {
        if (!Playing() || !Prepared()) return;
        const double now = Seconds();
        const std::int64_t frames = clock_.FramesDue(now);
        if (frames == 0) return;
        const bool shown = g_mailbox.Locked([&](Orders& orders, OnScreen& screen) {
            // A newer order means the wizard's thread paints the window anew: a frame of
            // this one would land on what it paints.
            if (orders.given != taken_) return false;
            Rect columns[4];
            const int count = MotionChangedColumns(frame_, frame_ + frames, clock_.Step(), order_.client, columns);
            frame_ += frames;
            Rect changed{order_.client.width, screen.readoutArea.bottom, 0, order_.client.height};
            for (int i = 0; i < count; ++i) {
                DrawMotionFrame(*canvas_, frame_, clock_.Step(), columns[i]);
                changed.left = std::min(changed.left, columns[i].left);
                changed.right = std::max(changed.right, columns[i].right);
            }
            const bool first = screen.frame == nullptr;
            screen.frame = &*canvas_;
            screen.readoutArea = MotionReadoutArea(order_.client);
            const WindowDC dc(order_.window);
            PutOnWindow(dc.Get(), *canvas_, changed);
            if (clock_.ReadoutDue(now, first, screen.readout)) DrawReadout(dc.Get(), *canvas_, screen);
            return true;
        });
        if (!shown) return;
        PushToScreen();
        ++g_framesShown;
        clock_.FrameShown(now);
    }

private:
    void Restart()
    {
        if (timer_ == nullptr) {
            timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
            if (timer_ == nullptr) timer_ = CreateWaitableTimerW(nullptr, FALSE, nullptr);  // before Windows 10 1803
        }
        // A due time that passed while nothing played leaves the timer signalled, and
        // setting it again does not clear that: it would wake at once, as a frame.
        if (timer_ != nullptr) WaitForSingleObject(timer_, 0);
        if (dwmFlush_ == nullptr) dwmFlush_ = LookUp<DwmFlushFn>(LoadSystemDll(L"dwmapi.dll"), "DwmFlush");
        frame_ = 0;
        clock_.Restart(Seconds(), order_.speed, order_.nominalHz);
        still_ = false;
    }

    // Each frame changes only a few columns of the last one: the whole frame is kept in
    // memory. Without memory for one, the first frame, which the wizard painted, stays still.
    bool Prepared()
    {
        if (canvas_) return true;
        if (!memory_) memory_.emplace();
        memory_->LimitRows(order_.client.height);
        const std::span<std::uint32_t> memory = memory_->For(order_.client);
        if (memory.size() != static_cast<std::size_t>(order_.client.width) * order_.client.height) {
            still_ = true;
            return false;
        }
        canvas_.emplace(order_.client, 0, memory, PixelOrder::Dib);
        DrawMotionFrame(*canvas_, frame_, clock_.Step());
        return true;
    }

    Order order_;
    long taken_ = 0;  // orders given up to the one being played
    std::optional<FrameMemory> memory_;
    std::optional<SoftCanvas> canvas_;
    bool still_ = false;  // no memory for a whole frame
    std::int64_t frame_ = 0;
    MotionClock clock_;
    DwmFlushFn dwmFlush_ = nullptr;
    HANDLE timer_ = nullptr;
};

DWORD WINAPI PlayerMain(void*)
{
    const HANDLE stop = g_thread.StopEvent();
    const HANDLE orders = g_mailbox.WakeEvent();
    {
        // The player lives on this thread's stack: its memory and handles end with it.
        Player player;
        for (;;) {
            // Asleep without using the processor while there is nothing to play.
            const Woken woken = player.Playing() ? player.WaitForFrame(stop, orders)
                                                 : WaitForWork(stop, orders, nullptr, INFINITE);
            if (woken == Woken::Stop) break;
            if (woken == Woken::Request) {
                Order order;
                long given = 0;
                g_mailbox.Locked([&](Orders& newest, OnScreen&) {
                    order = newest.newest;
                    given = newest.given;
                });
                player.Take(order, given);
            } else {
                player.ShowNextFrame();
            }
        }
        // The window must not be repainted from a frame that is gone.
        g_mailbox.Locked([](Orders&, OnScreen& screen) { screen.frame = nullptr; });
    }
    return 0;
}

// The display mode's rate on the monitor the window is on.
double NominalRefresh(HWND window)
{
    MONITORINFOEXA monitor = {};
    monitor.cbSize = sizeof monitor;
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    // 0 and 1 stand for the hardware's default rate, which says nothing.
    if (GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), reinterpret_cast<MONITORINFO*>(&monitor)) &&
        EnumDisplaySettingsA(monitor.szDevice, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1)
        return mode.dmDisplayFrequency;
    return kFallbackHz;
}

// An order for the window as it is now: its client size and its monitor's rate.
Order OrderFor(HWND window, int speed)
{
    RECT client = {};
    GetClientRect(window, &client);
    return {window, speed, {client.right, client.bottom}, speed ? NominalRefresh(window) : kFallbackHz};
}

}  // namespace

void ShowMotion(HWND window, int speed, FrameMemory& memory)
{
    const Order order = OrderFor(window, speed);
    // Once the player has been stopped at exit, the first frame still shows, still.
    const bool playing = g_thread.Start(PlayerMain, nullptr);
    const bool given = g_mailbox.Locked([&](Orders& orders, OnScreen& screen) {
        const bool same = playing && SameOrder(orders.newest, order);
        if (same && screen.frame != nullptr) {
            const WindowDC dc(window);
            PutOnWindow(dc.Get(), *screen.frame);
            DrawReadout(dc.Get(), *screen.frame, screen);
            PushToScreen();
            return false;
        }
        // Under the lock: no frame of an older order can land on this one.
        ShowOnWindow(window, memory, [](Canvas& canvas) { DrawMotionFrame(canvas, 0, 1); });
        if (!playing || same) return false;
        orders.newest = order;
        ++orders.given;
        screen.frame = nullptr;
        return true;
    });
    if (given) g_mailbox.Wake();
}

void StopMotion()
{
    if (!g_thread.Running()) return;
    const bool given = g_mailbox.Locked([](Orders& orders, OnScreen& screen) {
        if (orders.newest.speed == 0) return false;
        orders.newest = {};
        ++orders.given;
        screen.frame = nullptr;
        return true;
    });
    if (given) g_mailbox.Wake();
}

long MotionFramesShown() { return g_framesShown; }
