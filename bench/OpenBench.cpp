// The open of a 1 GiB file of sound as the user waits for it, through the
// real program: from starting it with the file to the waveform on the
// screen, without the draw cache (the processing window builds it) and with
// it; and the start of the program to its main window after the last run
// was ended by its process id and after it was closed normally.
// Targets: with the cache, the waveform within 50 ms of the main window;
// without, the processing window within 50 ms of the main window.
//
// The program runs as BenchProgram.h runs it, from a folder of this run's
// own; it stamps when its main window was shown, when the processing window
// was shown and when the waveform is painted. The program is named by the
// environment variable ZANDREL_BENCH_PROGRAM.
#include "BenchProgram.h"
#include "BenchSupport.h"

#include "classlib/Exceptions.h"
#include "classlib/FilePaths.h"
#include "editor/DrawCacheFile.h"

#include <cstdio>

namespace {

constexpr double kWaveAfterWindowTargetMs = 50;
constexpr double kProgressAfterWindowTargetMs = 50;
constexpr const char* kMainWindowClass = "TFormVusk";

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

class TOpenBenchProgram
{
public:
    // Sets up the program in a folder of its own, with wav linked into it.
    explicit TOpenBenchProgram(const AnsiString& wav)
        : FFolder("open"),
          FProgram(FFolder, BenchProgramNamed("ZANDREL_BENCH_PROGRAM"), kMainWindowClass),
          FWav(FFolder.Link(wav))
    {
    }

    // The file to open.
    const AnsiString& Wav() const { return FWav; }

    // Starts the program (with the file, unless empty), waits until the
    // main window shows (and the file's waveform was painted), then ends it.
    TOpenBenchTimes Run(const AnsiString& file, TBenchProgramEnd end) const
    {
        const TBenchProgramRun run = FProgram.Run(file, file.empty() ? nullptr : "wave", end);
        TOpenBenchTimes times;
        times.Window = run.Window();
        times.WindowSeen = run.WindowSeen;
        times.Progress = run.Stamps.Of("progress");
        times.Wave = run.Stamps.Of("wave");
        times.Exit = run.Exit;
        return times;
    }

private:
    TBenchFolder FFolder;
    TBenchProgram FProgram;
    AnsiString FWav; // the file it opens
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
        runs.push_back(program.Run(wav, TBenchProgramEnd::Close));
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
void OpenBenchRestart(const TOpenBenchProgram& program, TBenchProgramEnd end)
{
    program.Run("", end); // the first start follows the end of the runs before
    std::vector<TOpenBenchTimes> runs;
    for (int run = 0; run < kBenchRuns; ++run)
        runs.push_back(program.Run("", end));
    std::printf("  %s\n", end == TBenchProgramEnd::Close ? "after a normal close:"
                                                         : "after an end by process id:");
    OpenBenchPrintWindow(runs);
    if (end == TBenchProgramEnd::Close)
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
    program.Run(program.Wav(), TBenchProgramEnd::Close); // warm-up: the file and the program cached
    OpenBenchWithFile(program, false);
    OpenBenchWithFile(program, true);
    std::printf(" start to the main window, no file, %d runs (min / median / max):\n", kBenchRuns);
    OpenBenchRestart(program, TBenchProgramEnd::Terminate);
    OpenBenchRestart(program, TBenchProgramEnd::Close);
    std::fflush(stdout);
}

TBenchRegistration openRegistration("open", RunOpenBench);

} // namespace
