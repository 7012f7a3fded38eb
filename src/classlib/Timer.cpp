#include "Timer.h"

#include "Application.h"

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT WM_TIMER_APPLY = WM_APP + 0x102;

} // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    FWindow = AllocateHWnd(TWndMethod(this, &TTimer::WindowMessage));
    FWindowThread = GetCurrentThreadId();
    ApplyState();
}

TTimer::~TTimer()
{
    FEnabled = false;
    if (FRunning)
        KillTimer(FWindow, kTimerId);
    DeallocateHWnd(FWindow);
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
        PostMessageA(FWindow, WM_TIMER_APPLY, 0, 0);
}

void TTimer::ApplyState()
{
    if (FRunning) {
        KillTimer(FWindow, kTimerId);
        FRunning = false;
    }
    if (FEnabled && FInterval > 0 && !HasState(csDestroying))
        FRunning = SetTimer(FWindow, kTimerId, FInterval, nullptr) != 0;
}

void TTimer::WindowMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_TIMER:
        if (m.WParam == kTimerId && FEnabled)
            Timer();
        return;
    case WM_TIMER_APPLY:
        ApplyState();
        return;
    }
    DefaultHiddenWindowHandling(FWindow, m);
}

void TTimer::Timer()
{
    if (OnTimer)
        OnTimer(this);
}
