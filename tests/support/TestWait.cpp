#include "support/TestWait.h"

#include "support/WindowDriver.h"

#include "classlib/Application.h"
#include "classlib/Thread.h"

namespace testing_support {

bool WaitPumping(HANDLE handle, DWORD timeoutMs)
{
    return WaitPumpingAny({handle}, timeoutMs);
}

bool WaitPumpingAny(std::initializer_list<HANDLE> handles, DWORD timeoutMs)
{
    HANDLE all[MAXIMUM_WAIT_OBJECTS];
    DWORD count = 0;
    for (HANDLE h : handles)
        if (count < MAXIMUM_WAIT_OBJECTS - 1)
            all[count++] = h;
    const DWORD waited = count;
    if (SyncEvent())
        all[count++] = SyncEvent();
    auto anySignalled = [&] {
        return WaitForMultipleObjects(waited, all, FALSE, 0) < WAIT_OBJECT_0 + waited;
    };
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        DWORD left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
        DWORD r = MsgWaitForMultipleObjects(count, all, FALSE, left, QS_ALLINPUT);
        if (r < WAIT_OBJECT_0 + waited)
            return true;
        if (r == WAIT_TIMEOUT || r == WAIT_FAILED)
            return anySignalled();
        if (r < WAIT_OBJECT_0 + count)
            CheckSynchronize();
        else if (Application)
            PumpMessages();
    }
}

bool WaitUntil(const std::function<bool()>& condition, std::initializer_list<HANDLE> changed,
               DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs || !WaitPumpingAny(changed, timeoutMs - elapsed))
            return condition();
    }
    return true;
}

TestSignal::TestSignal() : FHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

TestSignal::~TestSignal()
{
    CloseHandle(FHandle);
}

} // namespace testing_support
