// Waiting in tests without fixed sleeps: wait on an event with a generous
// limit while the main thread keeps dispatching messages and serving calls
// that other threads hand to it (Synchronize), so callbacks that reach the
// main thread can run meanwhile.
#pragma once

#include <functional>
#include <initializer_list>
#include <windows.h>

namespace testing_support {

constexpr DWORD kGenerousWaitMs = 10000;

// True when handle is signalled within timeoutMs.
bool WaitPumping(HANDLE handle, DWORD timeoutMs = kGenerousWaitMs);
// True when any of handles (at most 32) is signalled within timeoutMs.
bool WaitPumpingAny(std::initializer_list<HANDLE> handles, DWORD timeoutMs = kGenerousWaitMs);

// True when condition holds within timeoutMs. It is checked at once and again
// each time one of changed (auto-reset events that whatever makes progress
// sets) is signalled.
bool WaitUntil(const std::function<bool()>& condition, std::initializer_list<HANDLE> changed,
               DWORD timeoutMs = kGenerousWaitMs);

// A manual-reset event that tests set from any thread and wait for on the
// main thread.
class TestSignal
{
public:
    TestSignal();
    ~TestSignal();
    TestSignal(const TestSignal&) = delete;
    TestSignal& operator=(const TestSignal&) = delete;

    void Set() { SetEvent(FHandle); }
    void Reset() { ResetEvent(FHandle); }
    bool IsSet() const { return WaitForSingleObject(FHandle, 0) == WAIT_OBJECT_0; }
    bool Wait(DWORD timeoutMs = kGenerousWaitMs) { return WaitPumping(FHandle, timeoutMs); }
    // Waits serving nothing meanwhile (on a worker thread).
    bool WaitWithoutPumping(DWORD timeoutMs = kGenerousWaitMs)
    {
        return WaitForSingleObject(FHandle, timeoutMs) == WAIT_OBJECT_0;
    }
    HANDLE Handle() const { return FHandle; }

private:
    HANDLE FHandle; // owned
};

} // namespace testing_support
