#include "InstanceTurn.h"

namespace {

constexpr DWORD kPollMs = 20;

bool MutexExists(const char* name)
{
    HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, name);
    if (!existing)
        return false;
    CloseHandle(existing);
    return true;
}

HWND ShownWindowOf(const char* windowClass)
{
    HWND window = FindWindowA(windowClass, nullptr);
    return window && IsWindowVisible(window) ? window : nullptr;
}

} // namespace

TInstanceTurn TakeInstanceTurn(const char* mutexName, const char* windowClass, DWORD patienceMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (!MutexExists(mutexName))
            return TInstanceTurn::Run;
        if (HWND window = ShownWindowOf(windowClass)) {
            SetForegroundWindow(window);
            return TInstanceTurn::Activated;
        }
        if (GetTickCount() - start >= patienceMs)
            return TInstanceTurn::GaveUp;
        Sleep(kPollMs);
    }
}
