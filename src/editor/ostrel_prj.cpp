// The program's entry: one running instance at a time. A second start hands
// the focus to the first instance's window and ends without opening its
// argument.
#include "ToolkitStartup.h"
#include "ostrel.h"

#include "classlib/Application.h"
#include "toolbar/BarItem.h"

#include <cstdlib>
#include <ole2.h>
#include <windows.h>

namespace {

// Brings the running instance's main window to the front, if it has one.
void ActivateFirstInstance()
{
    if (HWND window = FindWindowA(kMainWindowClassName, nullptr))
        SetForegroundWindow(window);
}

std::vector<AnsiString> ArgumentsAfterProgramName()
{
    std::vector<AnsiString> args;
    for (int i = 1; i < __argc; ++i)
        args.emplace_back(__argv[i]);
    return args;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kInstanceMutexName);
    if (existing) {
        ActivateFirstInstance();
        CloseHandle(existing);
        return 0;
    }
    // Held until the process ends.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    OleInitialize(nullptr);
    StartBarFramework();
    {
        TApplication application(nullptr);
        ToolkitStartup();
        application.SetTitle(kApplicationTitle);
        application.CreateForm(FormVusk);
        FormVusk->SetCommandLineArgs(ArgumentsAfterProgramName());
        application.Run();
    }
    // After the forms: their themed parts leave the theme's listeners first.
    ToolkitShutdown();
    StopBarFramework();
    OleUninitialize();
    if (mutex)
        ReleaseMutex(mutex);
    return 0;
}
