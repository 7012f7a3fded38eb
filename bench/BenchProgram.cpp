#include "BenchProgram.h"

#include "BenchSupport.h"

#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/FilePaths.h"
#include "classlib/TextUtils.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <windows.h>

namespace {

constexpr DWORD kGiveUpMs = 120000;    // a run that shows nothing for this long has failed
constexpr DWORD kLookEveryMs = 15;     // how often this side looks at the program
constexpr DWORD kLookAtPromptedMs = 2; // ... and at a program it gives a prompt

// Removes the folder with the files in it.
void BenchRemoveFolder(const AnsiString& folder)
{
    for (const TBenchFile& file : BenchFilesMatching(folder + "*"))
        DeleteFile(folder + file.Name);
    RemoveDir(folder);
}

// Ends the program; after a normal close, the ms it took to end.
double BenchEndProgram(HANDLE process, HWND mainWindow, TBenchProgramEnd end)
{
    if (end == TBenchProgramEnd::Close && mainWindow) {
        TBenchStopwatch watch;
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process, kGiveUpMs) == WAIT_OBJECT_0)
            return watch.Milliseconds();
    }
    TerminateProcess(process, 1);
    WaitForSingleObject(process, INFINITE);
    return -1;
}

} // namespace

HWND BenchVisibleWindow(DWORD processId, const char* className)
{
    for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window;
         window = FindWindowExA(nullptr, window, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

TBenchFolder::TBenchFolder(const char* name)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    FPath = ExtractFilePath(exe) + name + "-" + IntToStr(static_cast<int>(GetCurrentProcessId())) +
            "\\";
    BenchRemoveFolder(FPath); // what an ended run of the same id left
    if (!ForceDirectories(FPath))
        throw Exception("cannot make " + FPath);
}

TBenchFolder::~TBenchFolder()
{
    BenchRemoveFolder(FPath);
}

AnsiString TBenchFolder::Link(const AnsiString& file) const
{
    const AnsiString link = FPath + ExtractFileName(file);
    if (CreateHardLinkA(link.c_str(), file.c_str(), nullptr))
        return link;
    std::printf("  (no link to %s: opened where it is, its draw cache shared)\n", file.c_str());
    return file;
}

AnsiString BenchProgramNamed(const char* variable)
{
    const char* program = std::getenv(variable);
    if (!program || !*program)
        throw Exception(AnsiString(variable) + " does not name the program");
    return program;
}

double TBenchStamps::Of(const std::string& event) const
{
    for (const auto& [name, ms] : FEvents)
        if (name == event)
            return ms;
    return -1;
}

double TBenchStamps::FirstFrom(const std::string& event, double ms) const
{
    for (const auto& [name, at] : FWritten)
        if (name == event && at >= ms)
            return at;
    return -1;
}

void TBenchStamps::Read(const AnsiString& logPath, double started)
{
    std::ifstream log(logPath.c_str());
    std::string name;
    double ms = 0;
    for (size_t line = 0; log >> name >> ms; ++line) {
        if (line < FLinesTaken)
            continue;
        ++FLinesTaken;
        if (Of(name) < 0)
            FEvents.emplace_back(name, ms - started);
        FWritten.emplace_back(name, ms - started);
    }
}

TBenchProgram::TBenchProgram(const TBenchFolder& folder, const AnsiString& programPath,
                             const char* mainWindowClass)
    : FPath(folder.Path() + ExtractFileName(programPath)),
      FLogPath(folder.Path() + ChangeFileExt(ExtractFileName(programPath), ".timing.log")),
      FMainWindowClass(mainWindowClass)
{
    if (!CopyFileA(programPath.c_str(), FPath.c_str(), FALSE))
        throw Exception("cannot copy " + programPath + " to " + FPath);
}

TBenchProgramRun TBenchProgram::Run(const AnsiString& argument, const char* awaited,
                                    TBenchProgramEnd end, const TBenchPrompt* prompt) const
{
    DeleteFile(FLogPath);
    SetEnvironmentVariableA("ZANDREL_TIMING_LOG", FLogPath.c_str());
    std::string command = "\"" + FPath + "\"";
    if (!argument.empty())
        command += " \"" + argument + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double started = TBenchStopwatch::NowMilliseconds();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        throw Exception("cannot start " + FPath);
    SetEnvironmentVariableA("ZANDREL_TIMING_LOG", nullptr);
    CloseHandle(process.hThread);
    TBenchProgramRun run;
    auto finished = [&] {
        return run.WindowSeen >= 0 && run.Window() >= 0 &&
               (!awaited || run.Stamps.Of(awaited) >= 0) && (!prompt || run.Answered >= 0);
    };
    HWND mainWindow = nullptr;
    auto promptDue = [&] {
        if (!prompt || !mainWindow || run.Given >= 0)
            return false;
        for (const char* stamp : prompt->After)
            if (run.Stamps.Of(stamp) < 0)
                return false;
        return true;
    };
    auto givePrompt = [&] {
        Sleep(prompt->PauseMs);
        run.Given = TBenchStopwatch::NowMilliseconds() - started;
        prompt->Give(mainWindow);
    };
    // Closely while a prompt is due at the window's show or was given.
    auto lookEvery = [&] {
        return prompt && (prompt->After.empty() || run.Given >= 0) ? kLookAtPromptedMs
                                                                   : kLookEveryMs;
    };
    const DWORD giveUp = GetTickCount() + kGiveUpMs;
    while (!finished() && GetTickCount() < giveUp &&
           WaitForSingleObject(process.hProcess, lookEvery()) == WAIT_TIMEOUT) {
        if (!mainWindow &&
            (mainWindow = BenchVisibleWindow(process.dwProcessId, FMainWindowClass)))
            run.WindowSeen = TBenchStopwatch::NowMilliseconds() - started;
        if (promptDue())
            givePrompt();
        if (run.Given >= 0 && run.Answered < 0 && prompt->Answered(process.dwProcessId))
            run.Answered = TBenchStopwatch::NowMilliseconds() - started;
        // A prompted program is left alone until it answers: this side's
        // looks are requests to the server its answer waits on as well.
        if (mainWindow && (run.Given < 0 || run.Answered >= 0))
            run.Stamps.Read(FLogPath, started);
    }
    const bool done = finished();
    if (done && prompt) {
        prompt->PutAway(process.dwProcessId);
        run.Stamps.Read(FLogPath, started);
    }
    run.Exit =
        BenchEndProgram(process.hProcess, mainWindow, done ? end : TBenchProgramEnd::Terminate);
    CloseHandle(process.hProcess);
    if (!done)
        throw Exception(FPath + " ended or stalled before it showed " +
                        AnsiString(run.WindowSeen < 0 || run.Window() < 0 ? "its window"
                                   : run.Answered < 0 && prompt           ? "its answer"
                                                                          : awaited));
    if (run.WindowSeen < run.Window())
        throw Exception("the main window was visible before the program noted it shown");
    return run;
}

std::vector<double> BenchStampSeries(const std::vector<TBenchProgramRun>& runs,
                                     const std::string& event)
{
    std::vector<double> values;
    for (const TBenchProgramRun& run : runs)
        values.push_back(run.Stamps.Of(event));
    return values;
}
