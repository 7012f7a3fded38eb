#include "ThdTimer.h"

#include "classlib/Application.h"
#include "classlib/Exceptions.h"

TTimerThread::TTimerThread(TThreadedTimer* owner) : TThread(true), FOwner(owner)
{
    FWake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!FWake)
        RaiseLastOSError();
    Resume();
}

TTimerThread::~TTimerThread()
{
    Terminate();
    SetEvent(FWake);
    WaitFor();
    CloseHandle(FWake);
}

void TTimerThread::SetRunning(bool value)
{
    FRunning = value;
    SetEvent(FWake);
}

void TTimerThread::Execute()
{
    while (!Terminated()) {
        if (!FRunning.load()) {
            WaitForSingleObject(FWake, INFINITE);
            continue;
        }
        DWORD waited = WaitForSingleObject(FWake, static_cast<DWORD>(FInterval.load()));
        if (waited == WAIT_TIMEOUT && !Terminated() && FRunning.load())
            Synchronize([this] { FOwner->Tick(); });
    }
}

TThreadedTimer::TThreadedTimer(TComponent* AOwner) : TComponent(AOwner)
{
    FThread = std::make_unique<TTimerThread>(this);
}

TThreadedTimer::~TThreadedTimer()
{
    Destroying();
    SetEnabled(false);
    FThread.reset();
}

void TThreadedTimer::SetEnabled(bool value)
{
    std::lock_guard<std::mutex> guard(FEnabledLock);
    if (FEnabled.exchange(value) == value)
        return;
    if (!value) {
        FThread->SetRunning(false);
        return;
    }
    int interval = FThread->Interval();
    if (interval > 0 || (interval == 0 && FAllowZero.load()))
        FThread->SetRunning(true);
}

void TThreadedTimer::SetInterval(int value)
{
    bool wasEnabled = Enabled();
    SetEnabled(false);
    FThread->SetInterval(value);
    SetEnabled(wasEnabled);
}

void TThreadedTimer::Tick()
{
    if (!Enabled() || !OnTimer || HasState(csDestroying))
        return;
    try {
        OnTimer(this);
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
}
