#include "platform/win32/MotionPlayer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

#include "patterns/FrameTiming.h"
#include "patterns/Motion.h"
#include "platform/SoftCanvas.h"
#include "platform/win32/DdcWorker.h"
#include "platform/win32/WindowFrame.h"

// Declared from Windows 10 1803 on; older systems refuse it and get a plain timer.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

constexpr double kFallbackHz = 60;  // where the mode reports no rate of its own
constexpr int kReadoutMargin = 4;
constexpr double kReadoutSeconds = 0.5;  // the readout changes at most this often
constexpr std::size_t kReadoutSize = 64;

struct Order {
    HWND window = nullptr;
    int speed = 0;
    Size client{0, 0};
    double nominalHz = kFallbackHz;
};

// The mailbox between the wizard's thread and the player: the newest order only.
SRWLOCK g_lock = SRWLOCK_INIT;
Order g_order;
HANDLE g_orders = nullptr;  // auto-reset: a new order waits
HANDLE g_quit = nullptr;    // manual-reset: the player ends
HANDLE g_thread = nullptr;
std::atomic<long> g_framesShown{0};
std::atomic<long> g_ordersGiven{0};

using DwmFlushFn = HRESULT(WINAPI*)();

bool SameOrder(const Order& a, const Order& b)
{
    return a.window == b.window && a.speed == b.speed && a.client.width == b.client.width &&
           a.client.height == b.client.height && a.nominalHz == b.nominalHz;
}

enum class Wake { Frame, Order, Quit };

Wake WakeOf(DWORD waited)
{
    if (waited == WAIT_OBJECT_0) return Wake::Quit;
    return waited == WAIT_OBJECT_0 + 1 ? Wake::Order : Wake::Frame;
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

// The compositor's vertical-blank wait, looked up so that the program still starts
// where there is none, and loaded by full path like every DLL loaded on demand.
DwmFlushFn FindDwmFlush()
{
    HMODULE dwm = LoadSystemDll(L"dwmapi.dll");
    return dwm ? reinterpret_cast<DwmFlushFn>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmFlush"))) : nullptr;
}

class Player {
public:
    ~Player()
    {
        if (timer_ != nullptr) CloseHandle(timer_);
    }

    bool Playing() const { return order_.speed != 0 && !still_; }

    void Take(const Order& order, long ordersTaken)
    {
        ordersTaken_ = ordersTaken;
        const bool same = SameOrder(order, order_);
        order_ = order;
        if (order.speed == 0) {
            // Nothing moves: a whole frame's memory is given back until something does.
            canvas_.reset();
            memory_.reset();
            return;
        }
        if (same) {
            ShowWhole();
            return;
        }
        // The wizard has put the first frame on the window; the player's own copy of it
        // is made at the first move, once the screen has taken that frame.
        Restart();
    }

    // Waits for the frame's moment, or for whatever comes first: an order or the quit request.
    Wake WaitForFrame(HANDLE quit, HANDLE orders)
    {
        const HANDLE events[3] = {quit, orders, timer_};
        if (dwmFlush_ != nullptr && vblank_.Result() != VBlankCheck::Verdict::Unpaced) {
            const double start = Seconds();
            const HRESULT result = dwmFlush_();
            vblank_.AddWait(Seconds() - start, SUCCEEDED(result));
            if (vblank_.Result() != VBlankCheck::Verdict::Unpaced) return WakeOf(WaitForMultipleObjects(2, events, FALSE, 0));
            nextDue_ = Seconds();
        }
        // Due times run on from the first, so that late wake-ups do not add up.
        const double period = 1 / order_.nominalHz;
        const double now = Seconds();
        nextDue_ = std::max(nextDue_ + period, now);
        if (timer_ == nullptr)
            return WakeOf(WaitForMultipleObjects(2, events, FALSE, static_cast<DWORD>((nextDue_ - now) * 1000)));
        LARGE_INTEGER due;
        due.QuadPart = -static_cast<LONGLONG>((nextDue_ - now) * 1e7);  // 100 ns units, relative
        SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE);
        return WakeOf(WaitForMultipleObjects(3, events, FALSE, INFINITE));
    }

    void ShowNextFrame()
    {
        if (!Playing()) return;
        // A late frame moves the object on by the frames it missed, so that its speed
        // holds; the readout counts them as skipped. While the vertical-blank clock is
        // still on trial, a wait that returned at once was no frame at all.
        const double now = Seconds();
        const std::int64_t least = vblank_.Result() == VBlankCheck::Verdict::Undecided ? 0 : 1;
        const std::int64_t frames = std::max(least, std::llround((now - shownAt_) * Rate()));
        if (frames == 0 || !Prepared()) return;
        const std::int64_t previous = frame_;
        frame_ += frames;
        shownAt_ = now;
        Rect columns[4];
        const int count = MotionChangedColumns(previous, frame_, step_, order_.client, columns);
        Rect changed{order_.client.width, readout_.bottom, 0, order_.client.height};
        for (int i = 0; i < count; ++i) {
            DrawMotionFrame(*canvas_, frame_, step_, columns[i]);
            changed.left = std::min(changed.left, columns[i].left);
            changed.right = std::max(changed.right, columns[i].right);
        }
        canvas_->Pixels();  // everything drawn is in memory before it is shown
        // A newer order means the wizard is painting the window anew: a frame put now
        // would land on what it paints. The order's own repaint follows.
        if (g_ordersGiven != ordersTaken_) return;
        PutOnWindow(WindowDC(order_.window).Get(), *canvas_, changed);
        PushToScreen();
        ++g_framesShown;
        estimator_.AddFrame(now);
        ShowReadout(false);
    }

private:
    bool Measured() const { return vblank_.Result() == VBlankCheck::Verdict::Paced && estimator_.RefreshHz() > 0; }
    double Rate() const { return Measured() ? estimator_.RefreshHz() : order_.nominalHz; }

    void Restart()
    {
        if (timer_ == nullptr) {
            timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
            if (timer_ == nullptr) timer_ = CreateWaitableTimerW(nullptr, FALSE, nullptr);  // before Windows 10 1803
        }
        // A due time that passed while nothing played leaves the timer signalled, and
        // setting it again does not clear that: it would wake at once, as a frame.
        if (timer_ != nullptr) WaitForSingleObject(timer_, 0);
        if (dwmFlush_ == nullptr) dwmFlush_ = FindDwmFlush();
        frame_ = 0;
        step_ = MotionStepPerFrame(order_.speed, order_.nominalHz);
        estimator_.Reset();
        nextDue_ = shownAt_ = Seconds();
        readout_ = MotionReadoutArea(order_.client);
        canvas_.reset();
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
        DrawMotionFrame(*canvas_, frame_, step_);
        ShowReadout(true);
        return true;
    }

    void ShowWhole()
    {
        if (!Prepared()) return;
        DrawMotionFrame(*canvas_, frame_, step_);
        canvas_->Pixels();
        PutOnWindow(WindowDC(order_.window).Get(), *canvas_);
        ShowReadout(true);
        PushToScreen();
    }

    void ShowReadout(bool always)
    {
        const double now = Seconds();
        if (!always && now - readoutShownAt_ < kReadoutSeconds) return;
        readoutShownAt_ = now;
        const bool measured = Measured();
        const double rate = Rate();
        char text[kReadoutSize];
        FormatMotionReadout(text, rate, measured, static_cast<int>(step_ * rate + 0.5), estimator_.SkippedFrames());
        if (!always && std::strcmp(text, shown_) == 0) return;
        std::strcpy(shown_, text);
        WindowDC dc(order_.window);
        SIZE extent = {};
        const int length = static_cast<int>(std::strlen(text));
        GetTextExtentPoint32A(dc.Get(), text, length, &extent);
        // Only where it stays clear of the moving objects.
        if (kReadoutMargin + extent.cy > readout_.bottom) return;
        PutOnWindow(dc.Get(), *canvas_, readout_);
        TextOutA(dc.Get(), kReadoutMargin, kReadoutMargin, text, length);
    }

    Order order_;
    std::optional<FrameMemory> memory_;
    std::optional<SoftCanvas> canvas_;
    bool still_ = false;  // no memory for a whole frame
    std::int64_t frame_ = 0;
    int step_ = 1;
    Rect readout_{0, 0, 0, 0};
    RefreshEstimator estimator_;
    VBlankCheck vblank_;
    DwmFlushFn dwmFlush_ = nullptr;
    HANDLE timer_ = nullptr;
    double nextDue_ = 0;
    double shownAt_ = 0;
    double readoutShownAt_ = 0;
    char shown_[kReadoutSize] = {};
    long ordersTaken_ = 0;  // orders given up to the one being played
};

// The newest order, and how many were given up to it.
std::pair<Order, long> TakeOrder()
{
    AcquireSRWLockShared(&g_lock);
    const std::pair<Order, long> order{g_order, g_ordersGiven};
    ReleaseSRWLockShared(&g_lock);
    return order;
}

DWORD WINAPI PlayerMain(void*)
{
    // The player lives on this thread's stack: its memory and handles end with it.
    Player player;
    const HANDLE events[2] = {g_quit, g_orders};
    for (;;) {
        // Asleep without using the processor while there is nothing to play.
        const Wake wake = player.Playing() ? player.WaitForFrame(g_quit, g_orders)
                                           : WakeOf(WaitForMultipleObjects(2, events, FALSE, INFINITE));
        if (wake == Wake::Quit) return 0;
        if (wake == Wake::Order) {
            const auto [order, given] = TakeOrder();
            player.Take(order, given);
        } else {
            player.ShowNextFrame();
        }
    }
}

double NominalRefresh(const char* monitorName)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    // 0 and 1 stand for the hardware's default rate, which says nothing.
    if (EnumDisplaySettingsA(monitorName, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1)
        return mode.dmDisplayFrequency;
    return kFallbackHz;
}

// An order for the window as it is now: its client size and its monitor's rate.
Order OrderFor(HWND window, int speed, const char* monitorName)
{
    RECT client = {};
    GetClientRect(window, &client);
    return {window, speed, {client.right, client.bottom}, speed ? NominalRefresh(monitorName) : kFallbackHz};
}

}  // namespace

bool PlayingMotion(HWND window, int speed, const char* monitorName)
{
    if (g_thread == nullptr || speed == 0) return false;
    const Order order = OrderFor(window, speed, monitorName);
    AcquireSRWLockShared(&g_lock);
    const bool same = SameOrder(g_order, order);
    ReleaseSRWLockShared(&g_lock);
    return same;
}

void PlayMotion(HWND window, int speed, const char* monitorName)
{
    if (g_thread == nullptr) {
        if (speed == 0) return;  // nothing plays, nothing to stop
        g_orders = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        g_quit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_thread = CreateThread(nullptr, 0, PlayerMain, nullptr, 0, nullptr);
        if (g_thread == nullptr) return;
    }
    const Order order = OrderFor(window, speed, monitorName);
    AcquireSRWLockExclusive(&g_lock);
    g_order = order;
    ++g_ordersGiven;
    ReleaseSRWLockExclusive(&g_lock);
    SetEvent(g_orders);
}

long MotionFramesShown() { return g_framesShown; }

void EndMotionPlayer()
{
    if (g_thread == nullptr) return;
    SetEvent(g_quit);
    WaitForSingleObject(g_thread, INFINITE);
    CloseHandle(g_thread);
    CloseHandle(g_orders);
    CloseHandle(g_quit);
    g_thread = g_orders = g_quit = nullptr;
}
