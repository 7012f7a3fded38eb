// Threads.
//
//   TThread            a thread object over CreateThread: created suspended or
//                      running, with a priority, Terminate, WaitFor, free on
//                      terminate, and calls into the main thread (Synchronize)
//   CheckSynchronize   runs the calls that threads queued for the main thread
//
// Synchronize (and Queue, which does not wait) posts to a hidden window of
// the main thread, so every message loop serves it: the application loop,
// modal loops, message boxes. WaitFor on
// the main thread serves it too, so freeing a thread that is synchronising
// cannot deadlock. A thread is never suspended from outside while it runs:
// Suspend is only called by the thread on itself and waits for Resume.
#pragma once

#include "Object.h"

#include <atomic>
#include <exception>
#include <functional>
#include <windows.h>

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

// A class whose Execute uses its own members
// - passes CreateSuspended true and calls Start() at the end of its own
//   constructor: a thread started by TThread's constructor could run Execute
//   before those members are made;
// - calls StopAndWait() in its destructor: by the time ~TThread runs, those
//   members are gone.
class TThread : public TObject
{
public:
    explicit TThread(bool CreateSuspended);
    // Terminates the thread and waits for it unless it never ran.
    ~TThread() override;

    // Starts a thread created suspended, or wakes one that suspended itself.
    void Resume();
    void Start() { Resume(); }
    // Called by the thread on itself: waits until Resume is called.
    void Suspend();
    bool Suspended() const { return FSuspended.load(); }

    void Terminate();
    bool Terminated() const { return FTerminated.load(); }
    bool Finished() const { return FFinished.load(); }
    // Waits for the thread to end and returns its ReturnValue. On the main
    // thread it keeps serving Synchronize, and messages that other threads
    // send to its windows, meanwhile.
    DWORD WaitFor();
    // Terminates the thread and waits for it to end, waking it first when it
    // suspended itself and letting it end at once when it never started (it
    // then skips Execute). Called by the thread itself it does not wait.
    void StopAndWait();

    TThreadPriority Priority() const;
    void SetPriority(TThreadPriority value);
    bool FreeOnTerminate() const { return FFreeOnTerminate; }
    void SetFreeOnTerminate(bool value) { FFreeOnTerminate = value; }

    HANDLE Handle() const { return FHandle; }
    DWORD ThreadID() const { return FThreadID; }

    // Runs on the main thread after Execute ends.
    TNotifyEvent OnTerminate;

    // Runs method on the main thread and waits for it; an exception it raises
    // is raised again here. On the main thread the call runs at once.
    static void Synchronize(const std::function<void()>& method);

    // Runs method on the main thread later, as Synchronize does, without
    // waiting for it (on the main thread too). What it raises goes to the
    // application object.
    static void Queue(std::function<void()> method);

    // The id of the thread that runs the windows (the first to use the library).
    static DWORD MainThreadID();
    static bool IsMainThread() { return GetCurrentThreadId() == MainThreadID(); }

protected:
    virtual void Execute() = 0;
    void SetReturnValue(int value) { FReturnValue = value; }
    int ReturnValue() const { return FReturnValue; }
    // Synchronize from the thread itself (the usual form in Execute).
    void SynchronizeMethod(const std::function<void()>& method) { Synchronize(method); }

private:
    static DWORD WINAPI ThreadProc(void* param);
    void RunExecute();
    void DoTerminate();

    HANDLE FHandle = nullptr;       // owned
    HANDLE FResumeEvent = nullptr;  // owned; Suspend waits on it
    DWORD FThreadID = 0;
    bool FCreatedSuspended = false;
    std::atomic<bool> FStarted{false};
    std::atomic<bool> FSuspended{false};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    bool FFreeOnTerminate = false;
    int FReturnValue = 0;
};

// Runs every call queued by Synchronize. Returns true when any ran. Only the
// main thread runs them; elsewhere it does nothing.
bool CheckSynchronize();

// Signalled whenever a call is queued for the main thread; for loops of the
// main thread that wait on handles and must keep serving Synchronize.
HANDLE SyncEvent();

// Waits for handle like WaitForSingleObject; on the main thread it keeps
// serving Synchronize meanwhile, so a thread that calls into the main thread
// cannot deadlock the wait. Returns WAIT_OBJECT_0 or WAIT_TIMEOUT.
DWORD WaitServingSynchronize(HANDLE handle, DWORD timeoutMs = INFINITE);

// Records the calling thread as the main thread and makes the hidden window
// that wakes it for queued calls. The application object calls it; calling it
// again does nothing.
void InitMainThread();
