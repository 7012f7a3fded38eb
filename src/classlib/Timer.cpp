#include "Timer.h"

#include "Application.h"

#include <unordered_map>

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

private:
    void WindowMessage(TMessage& m)
    {
        if (m.Msg != WM_TIMER && m.Msg != WM_TIMER_APPLY) {
            DefaultHiddenWindowHandling(FWindow, m);
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
};

thread_local TTimerHost* TTimerHost::tHost = nullptr;

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    FHost = &TTimerHost::OfThisThread();
    FId = FHost->Add(this);
    FWindow = FHost->Window();
    FWindowThread = GetCurrentThreadId();
    ApplyState();
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
    if (GetCurrentThreadId() == FWindowThread)
        ApplyState();
    else
        PostMessageA(FWindow, WM_TIMER_APPLY, FId, 0);
}

void TTimer::ApplyState()
{
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
