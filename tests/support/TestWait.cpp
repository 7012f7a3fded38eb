#include "support/TestWait.h"

#include "classlib/Application.h"
#include "classlib/Thread.h"

namespace testing_support {

bool WaitPumping(HANDLE handle, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    HANDLE handles[2] = {handle, SyncEvent()};
    const DWORD count = handles[1] ? 2 : 1;
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        DWORD left = elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
        DWORD r = MsgWaitForMultipleObjects(count, handles, FALSE, left, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r == WAIT_TIMEOUT || r == WAIT_FAILED)
            return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        if (count == 2 && r == WAIT_OBJECT_0 + 1)
            CheckSynchronize();
        else if (Application)
            Application->ProcessMessages();
    }
}

bool WaitUntil(const std::function<bool()>& condition, HANDLE changed, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs || !WaitPumping(changed, timeoutMs - elapsed))
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
