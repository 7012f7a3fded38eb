// A timer whose interval is measured by a thread of its own instead of the
// window message queue, so that its ticks keep their pace while the main
// thread is busy drawing. Each tick still runs on the main thread, one at a
// time: the timing thread hands it over and waits until it has run, so ticks
// never pile up.
//
//   TThreadedTimer  the component: Enabled, Interval, AllowZero,
//                   ThreadPriority, OnTimer
//   TTimerThread    the thread that waits for the interval
//
// Enabled may be set from any thread (a play-end handler switches the
// position timer off from the engine's thread).
#pragma once

#include "classlib/Object.h"
#include "classlib/Thread.h"

#include <atomic>
#include <memory>
#include <mutex>

class TThreadedTimer;

class TTimerThread : public TThread
{
public:
    explicit TTimerThread(TThreadedTimer* owner);
    ~TTimerThread() override;

    int Interval() const { return FInterval.load(); }
    void SetInterval(int value) { FInterval = value; }
    // Running: wait for the interval and tick when it passes; otherwise wait
    // without a time limit. Either way the current wait starts over.
    void SetRunning(bool value);

protected:
    void Execute() override;

private:
    TThreadedTimer* FOwner;           // not owned: the timer that owns this thread
    HANDLE FWake = nullptr;           // owned, auto-reset: restarts the current wait
    std::atomic<int> FInterval{1000}; // ms between ticks
    std::atomic<bool> FRunning{false};
};

class TThreadedTimer : public TComponent
{
public:
    explicit TThreadedTimer(TComponent* AOwner);
    // Switches off and ends the thread; no tick runs after this begins.
    ~TThreadedTimer() override;

    bool Enabled() const { return FEnabled.load(); }
    // On starts the ticks, the first a full interval later, when Interval is
    // above 0 (or 0 with AllowZero); otherwise only the flag changes.
    void SetEnabled(bool value);
    int Interval() const { return FThread->Interval(); }
    // Restarts the interval when enabled.
    void SetInterval(int value);
    bool AllowZero() const { return FAllowZero.load(); }
    void SetAllowZero(bool value) { FAllowZero = value; }
    TThreadPriority ThreadPriority() const { return FThread->Priority(); }
    void SetThreadPriority(TThreadPriority value) { FThread->SetPriority(value); }

    // Runs on the main thread, Sender = the timer.
    TNotifyEvent OnTimer;

private:
    friend class TTimerThread;
    // The tick, on the main thread.
    void Tick();

    std::mutex FEnabledLock; // callers on several threads switch in turn
    std::atomic<bool> FEnabled{false};
    std::atomic<bool> FAllowZero{false};   // an interval of 0 ticks as fast as it can
    std::unique_ptr<TTimerThread> FThread; // owned; times the ticks
};
