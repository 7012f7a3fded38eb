#include "support/StrayDialogGuard.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace testing_support {

namespace {

HHOOK gHook = nullptr;

bool IsDialogBox(HWND window)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof(name));
    return lstrcmpA(name, "#32770") == 0;
}

LRESULT CALLBACK StrayDialogHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_ACTIVATE) {
        auto window = reinterpret_cast<HWND>(wp);
        if (IsDialogBox(window)) {
            char caption[256] = {};
            GetWindowTextA(window, caption, sizeof(caption));
            ADD_FAILURE() << "a system dialog box appeared: \"" << caption
                          << "\"; prompts must go through the seams";
            EndDialog(window, IDCANCEL);
        }
    }
    return CallNextHookEx(gHook, code, wp, lp);
}

} // namespace

void InstallStrayDialogGuard()
{
    if (!gHook)
        gHook = SetWindowsHookExA(WH_CBT, StrayDialogHook, nullptr, GetCurrentThreadId());
}

void RemoveStrayDialogGuard()
{
    if (gHook)
        UnhookWindowsHookEx(gHook);
    gHook = nullptr;
}

} // namespace testing_support
