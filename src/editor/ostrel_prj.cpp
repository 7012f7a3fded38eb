// The program's entry: one running instance at a time. A second start hands
// the focus to the first instance's window and ends without opening its
// argument.
#include "InstanceTurn.h"
#include "TimingLog.h"
#include "ToolkitStartup.h"
#include "ostrel.h"

#include "classlib/Application.h"
#include "classlib/OleStart.h"
#include "toolbar/BarItem.h"

#include <cstdlib>
#include <memory>
#include <windows.h>

namespace {

// How long a start waits for an instance that is starting or ending.
constexpr DWORD kInstancePatienceMs = 10000;

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
    LogTiming("main");
    if (TakeInstanceTurn(kInstanceMutexName, kMainWindowClassName, kInstancePatienceMs) !=
        TInstanceTurn::Run)
        return 0;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    auto toolkit = std::make_unique<TTimingSpan>("toolkit");
    // OLE itself starts once the main window is on the screen (or at its
    // first need before); its formats are registered before any window.
    DropFormats();
    {
        TTimingSpan span("toolkit.bars");
        StartBarFramework();
    }
    {
        TApplication application(nullptr);
        LogTiming("toolkit.application");
        ToolkitStartup();
        application.SetTitle(kApplicationTitle);
        toolkit.reset();
        {
            TTimingSpan span("form");
            application.CreateForm(FormVusk);
        }
        FormVusk->SetCommandLineArgs(ArgumentsAfterProgramName());
        application.Run();
    }
    // The forms are gone and the settings written: a new start may run now,
    // without waiting for the rest of the teardown.
    if (mutex) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
    // After the forms: their themed parts leave the theme's listeners first.
    ToolkitShutdown();
    StopBarFramework();
    StopOle();
    return 0;
}
