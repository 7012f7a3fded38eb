// TTimer: OnTimer every Interval milliseconds while Enabled, through a
// system timer on a message-only window of the thread that made the timer
// (one window serves all of a thread's timers). A new timer's system timer
// is set from that thread's message loop, with its state as it stands then.
//
// Enabled and Interval may be set from any thread: the change is posted to
// the timer's window and applied there (a system timer belongs to its
// window's thread). A tick that arrives after the timer was disabled is
// dropped.
#pragma once

#include "HiddenWindow.h"
#include "Object.h"

#include <atomic>

class TTimerHost;

class TTimer : public TComponent
{
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled.load(); }
    void SetEnabled(bool value);
    // Milliseconds; 0 stops the ticks.
    unsigned Interval() const { return FInterval.load(); }
    void SetInterval(unsigned value);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();

private:
    friend class TTimerHost;
    // A tick of the system timer: OnTimer, unless disabled meanwhile.
    void Tick();
    // Sets or kills the system timer to match Enabled and Interval; on the
    // window's thread only.
    void ApplyState();
    void RequestApply();

    TTimerHost* FHost = nullptr; // the window's keeper
    HWND FWindow = nullptr;      // the host's; not owned
    UINT_PTR FId = 0;            // the system timer's id on it
    DWORD FWindowThread = 0;
    std::atomic<bool> FEnabled{true};
    std::atomic<unsigned> FInterval{1000};
    bool FRunning = false;      // a system timer is set
    bool FApplyPending = false; // made, its state not yet applied
};
