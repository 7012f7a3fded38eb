#include "Timer.h"

#include "Application.h"

#include <unordered_map>
#include <utility>
#include <vector>

namespace {

constexpr UINT WM_TIMER_APPLY = WM_APP + 0x102;

} // namespace

// The window of one thread's timers: one message-only window serves them
// all, each under an id of its own (never reused, so that a change posted
// for a timer already gone finds nothing). It goes with the thread's last
// timer.
class TTimerHost
{
public:
    static TTimerHost& OfThisThread()
    {
        if (!tHost)
            tHost = new TTimerHost;
        return *tHost;
    }

    UINT_PTR Add(TTimer* timer)
    {
        if (!FWindow)
            FWindow = AllocateMessageHWnd(TWndMethod(this, &TTimerHost::WindowMessage));
        const UINT_PTR id = FNextId++;
        FTimers[id] = timer;
        return id;
    }

    void Remove(UINT_PTR id)
    {
        FTimers.erase(id);
        if (!FTimers.empty())
            return;
        DeallocateHWnd(FWindow);
        tHost = nullptr;
        delete this;
    }

    HWND Window() const { return FWindow; }

    // A new timer's system timer is set from the message loop, together with
    // those of the other timers made meanwhile; a form sets Enabled and
    // Interval after making its timers, and each change would otherwise set
    // or kill a system timer.
    void ApplyLater(UINT_PTR id)
    {
        FPendingIds.push_back(id);
        if (!FPendingPosted)
            FPendingPosted = PostMessageA(FWindow, WM_TIMER_APPLY, kAllPending, 0) != 0;
    }

private:
    static constexpr WPARAM kAllPending = 0; // no timer has id 0

    void ApplyPending()
    {
        FPendingPosted = false;
        for (UINT_PTR id : std::exchange(FPendingIds, {})) {
            const auto found = FTimers.find(id);
            if (found != FTimers.end())
                found->second->ApplyState();
        }
    }

    void WindowMessage(TMessage& m)
    {
        if (m.Msg != WM_TIMER && m.Msg != WM_TIMER_APPLY) {
            DefaultHiddenWindowHandling(FWindow, m);
            return;
        }
        if (m.Msg == WM_TIMER_APPLY && m.WParam == kAllPending) {
            ApplyPending();
            return;
        }
        const auto found = FTimers.find(m.WParam);
        if (found == FTimers.end())
            return;
        if (m.Msg == WM_TIMER)
            found->second->Tick();
        else
            found->second->ApplyState();
    }

    static thread_local TTimerHost* tHost;
    HWND FWindow = nullptr; // owned
    std::unordered_map<UINT_PTR, TTimer*> FTimers;
    UINT_PTR FNextId = 1;
    std::vector<UINT_PTR> FPendingIds; // new timers whose state waits
    bool FPendingPosted = false;
};

thread_local TTimerHost* TTimerHost::tHost = nullptr;

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    FHost = &TTimerHost::OfThisThread();
    FId = FHost->Add(this);
    FWindow = FHost->Window();
    FWindowThread = GetCurrentThreadId();
    FApplyPending = true;
    FHost->ApplyLater(FId);
}

TTimer::~TTimer()
{
    FEnabled = false;
    if (FRunning)
        KillTimer(FWindow, FId);
    FHost->Remove(FId);
}

void TTimer::SetEnabled(bool value)
{
    if (FEnabled.exchange(value) != value)
        RequestApply();
}

void TTimer::SetInterval(unsigned value)
{
    if (FInterval.exchange(value) != value)
        RequestApply();
}

void TTimer::RequestApply()
{
    if (GetCurrentThreadId() != FWindowThread)
        PostMessageA(FWindow, WM_TIMER_APPLY, FId, 0);
    else if (!FApplyPending)
        ApplyState();
}

void TTimer::ApplyState()
{
    FApplyPending = false;
    if (FRunning) {
        KillTimer(FWindow, FId);
        FRunning = false;
    }
    if (FEnabled && FInterval > 0 && !HasState(csDestroying))
        FRunning = SetTimer(FWindow, FId, FInterval, nullptr) != 0;
}

void TTimer::Tick()
{
    if (FEnabled)
        Timer();
}

void TTimer::Timer()
{
    if (OnTimer)
        OnTimer(this);
}
