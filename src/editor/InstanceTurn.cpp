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

// A question the window waits on comes up rather than the window under it,
// which, raised over the question, would hide it. Raised as well, since the
// system need not raise a window of another process it activates.
void BringToFront(HWND window)
{
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace

TInstanceTurn TakeInstanceTurn(const char* mutexName, const char* windowClass, DWORD patienceMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (!MutexExists(mutexName))
            return TInstanceTurn::Run;
        if (HWND window = ShownWindowOf(windowClass)) {
            BringToFront(GetLastActivePopup(window));
            return TInstanceTurn::Activated;
        }
        if (GetTickCount() - start >= patienceMs)
            return TInstanceTurn::GaveUp;
        Sleep(kPollMs);
    }
}
