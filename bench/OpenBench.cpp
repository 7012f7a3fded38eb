// The open of a 1 GiB file of sound as the user waits for it, through the
// real program: from starting it with the file to the waveform on the
// screen, without the draw cache (the processing window builds it) and with
// it; and the start of the program to its main window after the last run
// was ended by its process id and after it was closed normally.
// Targets: with the cache, the waveform within 50 ms of the main window;
// without, the processing window within 50 ms of the main window.
//
// The program runs from a copy in a folder of this run's own, beside this
// executable (its settings file and the file's draw cache land there; the
// file itself is linked in, not copied), with its timing log on (see
// editor/TimingLog.h): it writes when its main window was shown, when the
// processing window was shown and when the waveform is painted. Only those
// stamps time the runs: under Wine every look at another process's windows
// or at a file is a call to the one server the program's own window work
// waits on as well, so this side looks seldom, only to tell when a run is
// over and to check that the main window really became visible no earlier
// than the program says. The program is named by the environment variable
// ZANDREL_BENCH_PROGRAM.
#include "BenchSupport.h"

#include "classlib/Exceptions.h"
#include "classlib/FileNames.h"
#include "classlib/FilePaths.h"
#include "classlib/TextUtils.h"
#include "editor/DrawCacheFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <windows.h>

namespace {

constexpr double kWaveAfterWindowTargetMs = 50;
constexpr double kProgressAfterWindowTargetMs = 50;
constexpr DWORD kGiveUpMs = 120000; // a run that shows nothing for this long has failed
constexpr DWORD kLookEveryMs = 15;  // how often this side looks at the program
constexpr const char* kMainWindowClass = "TFormVusk";

// How a run of the program ends.
enum class TOpenBenchEnd
{
    Close,    // WM_CLOSE to the main window, as the user closes it
    Terminate // ended by its process id
};

// The times of one run, in ms after the program was started; -1 when it
// never happened.
struct TOpenBenchTimes
{
    double Window = -1;     // the main window was shown (the program's stamp)
    double WindowSeen = -1; // this side found the main window visible
    double Progress = -1;   // the processing window was shown
    double Wave = -1;       // the waveform of the file was painted
    double Exit = -1;       // after a normal close: from WM_CLOSE to the process's end
};

struct TOpenBenchFindWindow
{
    DWORD ProcessId;
    const char* ClassName;
    HWND Found;
};

BOOL CALLBACK OpenBenchMatchWindow(HWND window, LPARAM parameter)
{
    auto* find = reinterpret_cast<TOpenBenchFindWindow*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (processId != find->ProcessId || std::strcmp(className, find->ClassName) != 0 ||
        !IsWindowVisible(window))
        return TRUE;
    find->Found = window;
    return FALSE;
}

// The visible top-level window of class className of the process, or null.
HWND OpenBenchVisibleWindow(DWORD processId, const char* className)
{
    TOpenBenchFindWindow find{processId, className, nullptr};
    EnumWindows(OpenBenchMatchWindow, reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

// Takes the first line of each event of the timing log ("event MS", MS on
// the performance counter) into times, relative to started.
void OpenBenchReadLog(const AnsiString& logPath, double started, TOpenBenchTimes& times)
{
    std::ifstream log(logPath.c_str());
    std::string name;
    double ms = 0;
    while (log >> name >> ms) {
        double* time = name == "shown"      ? &times.Window
                       : name == "progress" ? &times.Progress
                       : name == "wave"     ? &times.Wave
                                            : nullptr;
        if (time && *time < 0)
            *time = ms - started;
    }
}

// Removes the folder with the files in it.
void OpenBenchRemoveFolder(const AnsiString& folder)
{
    for (const TBenchFile& file : BenchFilesMatching(folder + "*"))
        DeleteFile(folder + file.Name);
    RemoveDir(folder);
}

// A folder of this process's own beside its executable ("open-PID\").
AnsiString OpenBenchOwnFolder()
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    return ExtractFilePath(exe) + "open-" + IntToStr(static_cast<int>(GetCurrentProcessId())) +
           "\\";
}

class TOpenBenchProgram
{
public:
    // Sets up the program in a folder of its own, with wav linked into it
    // (or, where no link can be made, opened where it is).
    explicit TOpenBenchProgram(const AnsiString& wav) : FFolder(OpenBenchOwnFolder())
    {
        const char* program = std::getenv("ZANDREL_BENCH_PROGRAM");
        if (!program || !*program)
            throw Exception("ZANDREL_BENCH_PROGRAM does not name the program");
        OpenBenchRemoveFolder(FFolder); // what an ended run of the same id left
        if (!ForceDirectories(FFolder))
            throw Exception("cannot make " + FFolder);
        FPath = FFolder + "zandrel.exe";
        if (!CopyFileA(program, FPath.c_str(), FALSE))
            throw Exception(AnsiString("cannot copy ") + program + " to " + FPath);
        FLogPath = FFolder + "timing.log";
        FWav = FFolder + ExtractFileName(wav);
        if (!CreateHardLinkA(FWav.c_str(), wav.c_str(), nullptr)) {
            std::printf("  (no link to %s: opened where it is, its draw cache shared)\n",
                        wav.c_str());
            FWav = wav;
        }
    }

    ~TOpenBenchProgram() { OpenBenchRemoveFolder(FFolder); }

    TOpenBenchProgram(const TOpenBenchProgram&) = delete;
    TOpenBenchProgram& operator=(const TOpenBenchProgram&) = delete;

    // The file to open.
    const AnsiString& Wav() const { return FWav; }

    // Starts the program (with the file, unless empty), waits until the
    // main window shows (and the file's waveform was painted), then ends it.
    TOpenBenchTimes Run(const AnsiString& file, TOpenBenchEnd end) const
    {
        DeleteFile(FLogPath);
        SetEnvironmentVariableA("ZANDREL_TIMING_LOG", FLogPath.c_str());
        std::string command = "\"" + FPath + "\"";
        if (!file.empty())
            command += " \"" + file + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        const double started = TBenchStopwatch::NowMilliseconds();
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            throw Exception("cannot start " + FPath);
        SetEnvironmentVariableA("ZANDREL_TIMING_LOG", nullptr);
        CloseHandle(process.hThread);
        TOpenBenchTimes times;
        HWND mainWindow = nullptr;
        const DWORD giveUp = GetTickCount() + kGiveUpMs;
        while (!Finished(times, file) && GetTickCount() < giveUp &&
               WaitForSingleObject(process.hProcess, kLookEveryMs) == WAIT_TIMEOUT) {
            if (!mainWindow &&
                (mainWindow = OpenBenchVisibleWindow(process.dwProcessId, kMainWindowClass)))
                times.WindowSeen = TBenchStopwatch::NowMilliseconds() - started;
            if (mainWindow)
                OpenBenchReadLog(FLogPath, started, times);
        }
        const bool finished = Finished(times, file);
        times.Exit = End(process.hProcess, mainWindow, finished ? end : TOpenBenchEnd::Terminate);
        CloseHandle(process.hProcess);
        if (!finished)
            throw Exception("the program ended or stalled before it showed " +
                            AnsiString(times.WindowSeen < 0 ? "its window" : "the waveform"));
        if (times.WindowSeen < times.Window)
            throw Exception("the main window was visible before the program noted it shown");
        return times;
    }

private:
    static bool Finished(const TOpenBenchTimes& times, const AnsiString& file)
    {
        return times.WindowSeen >= 0 && times.Window >= 0 && (file.empty() || times.Wave >= 0);
    }

    // Ends the program; after a normal close, the ms it took to end.
    static double End(HANDLE process, HWND mainWindow, TOpenBenchEnd end)
    {
        if (end == TOpenBenchEnd::Close && mainWindow) {
            TBenchStopwatch watch;
            PostMessageA(mainWindow, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(process, kGiveUpMs) == WAIT_OBJECT_0)
                return watch.Milliseconds();
        }
        TerminateProcess(process, 1);
        WaitForSingleObject(process, INFINITE);
        return -1;
    }

    AnsiString FFolder;  // the run's own folder
    AnsiString FPath;    // the copy of the program that runs
    AnsiString FLogPath; // its timing log
    AnsiString FWav;     // the file it opens
};

// Figures of the named time of each run, or of one time after another.
std::vector<double> OpenBenchSeries(const std::vector<TOpenBenchTimes>& runs,
                                    double TOpenBenchTimes::*to,
                                    double TOpenBenchTimes::*from = nullptr)
{
    std::vector<double> values;
    for (const TOpenBenchTimes& run : runs)
        values.push_back(run.*to - (from ? run.*from : 0));
    return values;
}

// The main window's stamp, and how much later this side saw the window.
void OpenBenchPrintWindow(const std::vector<TOpenBenchTimes>& runs)
{
    BenchPrintFigures("main window visible",
                      BenchFiguresOf(OpenBenchSeries(runs, &TOpenBenchTimes::Window)), "ms");
    BenchPrintFigures("  seen from outside after it",
                      BenchFiguresOf(OpenBenchSeries(runs, &TOpenBenchTimes::WindowSeen,
                                                     &TOpenBenchTimes::Window)),
                      "ms");
}

void OpenBenchWithFile(const TOpenBenchProgram& program, bool cached)
{
    const AnsiString& wav = program.Wav();
    const AnsiString cache = DrawCachePath(wav);
    std::vector<TOpenBenchTimes> runs;
    for (int run = 0; run < kBenchRuns; ++run) {
        if (!cached)
            DeleteFile(cache);
        else if (!FileExists(cache))
            throw Exception("no draw cache beside " + wav);
        runs.push_back(program.Run(wav, TOpenBenchEnd::Close));
    }
    std::printf(" %s, %d runs (min / median / max), ms after the start:\n",
                cached ? "with the draw cache" : "without the draw cache", kBenchRuns);
    OpenBenchPrintWindow(runs);
    BenchPrintFigures("waveform painted",
                      BenchFiguresOf(OpenBenchSeries(runs, &TOpenBenchTimes::Wave)), "ms");
    const TBenchFigures waveAfterWindow =
        BenchFiguresOf(OpenBenchSeries(runs, &TOpenBenchTimes::Wave, &TOpenBenchTimes::Window));
    BenchPrintFigures("waveform after the window", waveAfterWindow, "ms");
    if (cached) {
        std::printf("  target: median <= %.0f ms: %s\n", kWaveAfterWindowTargetMs,
                    waveAfterWindow.Median <= kWaveAfterWindowTargetMs ? "met" : "MISSED");
        return;
    }
    for (const TOpenBenchTimes& run : runs)
        if (run.Progress < 0)
            throw Exception("the processing window was never seen");
    const TBenchFigures progressAfterWindow =
        BenchFiguresOf(OpenBenchSeries(runs, &TOpenBenchTimes::Progress, &TOpenBenchTimes::Window));
    BenchPrintFigures("processing window after it", progressAfterWindow, "ms");
    std::printf("  target: median <= %.0f ms: %s\n", kProgressAfterWindowTargetMs,
                progressAfterWindow.Median <= kProgressAfterWindowTargetMs ? "met" : "MISSED");
}

// Starts without a file, each run ended as the one before it.
void OpenBenchRestart(const TOpenBenchProgram& program, TOpenBenchEnd end)
{
    program.Run("", end); // the first start follows the end of the runs before
    std::vector<TOpenBenchTimes> runs;
    for (int run = 0; run < kBenchRuns; ++run)
        runs.push_back(program.Run("", end));
    std::printf("  %s\n", end == TOpenBenchEnd::Close ? "after a normal close:"
                                                      : "after an end by process id:");
    OpenBenchPrintWindow(runs);
    if (end == TOpenBenchEnd::Close)
        BenchPrintFigures("close to the end of the process",
                          BenchFiguresOf(OpenBenchSeries(runs, &TOpenBenchTimes::Exit)), "ms");
}

void RunOpenBench(const TBenchContext& context)
{
    const AnsiString wav = context.DataFolder + kBenchStereoSound;
    if (!BenchSoundWav(wav, 2, 44100, kBenchSoundBytes))
        throw Exception("cannot make " + wav);
    TOpenBenchProgram program(wav);
    std::printf("open: %s through the program, warm\n", kBenchStereoSound);
    std::fflush(stdout);
    program.Run(program.Wav(), TOpenBenchEnd::Close); // warm-up: the file and the program cached
    OpenBenchWithFile(program, false);
    OpenBenchWithFile(program, true);
    std::printf(" start to the main window, no file, %d runs (min / median / max):\n", kBenchRuns);
    OpenBenchRestart(program, TOpenBenchEnd::Terminate);
    OpenBenchRestart(program, TOpenBenchEnd::Close);
    std::fflush(stdout);
}

TBenchRegistration openRegistration("open", RunOpenBench);

} // namespace
