// The start of the program against the start of a bare window built with the
// same compiler (zandrel_bare_window), from outside, each started as a user
// starts a program: from the start to the main window shown, for the bare
// window, the program with no file, and the program with the 1 GiB file of
// sound on its command line to its waveform painted (its draw cache made
// beforehand by a first open). A round starts each of the three once, so
// that a busy moment of the machine weighs on all three alike; every ratio
// is a round's figure against the bare window of the same round.
// A region list of 10,000 regions on the same file on the command line: a
// fifth start, timed until the list is on the screen (the first paint after
// its open), against its own show.
// The first answer: a fourth start of the program, no file, gets a real
// click on its File menu's title through the system's input queue the moment
// its window is seen visible, and is timed until the menu is on the screen
// (its window visible), against the same round's bare window shown.
// Targets: the program within 2x the bare window (median); the waveform
// within 2x the bare window plus 50 ms; the first answer within 2x the bare
// window; the list within 300 ms of the show.
// The first paint: the program with no file stamps each paint of its
// window's thread (from the first WM_PAINT it takes until no painting
// waits); once its start is over and a pause went by, this side has its
// main window repainted whole, and the first paint is set against that
// repaint of the same run. Target: the first no dearer (median).
// Then the stamps of the starts (the program's through its first answer,
// and with the list), step by step.
//
// A sixth start runs the program with no file from a folder whose file list
// ("filelist.ini") holds 1,000 entries, each naming a WAV file (links of one
// 12-second file) in a folder of their own: a folder of the program's that
// holds 1,000 files would slow its loading, list or not. Its window stays
// hidden, as it does unless the user shows it. Target: shown at most 100 ms after the start with an
// empty list (the median of each round's difference).
//
// Both run as BenchProgram.h runs a program, each from a folder of its own;
// they are named by the environment variables ZANDREL_BENCH_PROGRAM and
// ZANDREL_BENCH_BARE.
#include "BenchProgram.h"
#include "BenchRegionList.h"
#include "BenchSupport.h"

#include "classlib/Exceptions.h"
#include "classlib/FilePaths.h"
#include "classlib/TextUtils.h"
#include "dialogs/FileListStore.h"
#include "editor/DrawCacheFile.h"

#include "support/ModalScript.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

namespace {

constexpr double kStartTargetRatio = 2;
constexpr double kWaveTargetExtraMs = 50;
constexpr int kFileListEntries = 1000;
constexpr double kFileListTargetExtraMs = 100;
constexpr const char* kFileListSound = "sound-stereo-12s.wav";
constexpr std::uint32_t kFileListSoundBytes = 12 * 44100 * 4;
constexpr int kListedRegions = 10000;
constexpr double kListedTargetMs = 300; // after the show
// The list is on the screen when the first paint after the open ends. A
// build that stamps no first paint began the rest of its start right after
// it; the run waits for that rest in either.
constexpr const char* kListedStamp = "firstpaint.end";
constexpr const char* kListedOlderStamp = "finishstart.begin";
constexpr const char* kProgramWindowClass = "TFormVusk";
constexpr const char* kBareWindowClass = "ZandrelBareWindow";
// The menu bar's dock and bar, and a menu's window (with or without the
// drop shadow).
constexpr const char* kDockWindowClass = "TSkinDock";
constexpr const char* kBarWindowClass = "TExtToolbar";
constexpr const char* kMenuWindowClasses[] = {"TExtPopupWindowS", "TExtPopupWindow"};
// The File menu's title: the first on the bar, this far into it.
constexpr int kFileTitleX = 20;
constexpr DWORD kMenuClosePatienceMs = 5000;
// The repaint comes this long after the start's last stamps, and is over
// well within the time given it.
constexpr DWORD kRepaintPauseMs = 1000;
constexpr DWORD kRepaintGivenMs = 1000;

struct TStartBenchRounds
{
    std::vector<TBenchProgramRun> Bare, Program, WithFile, Answer, Listed, WithFileList;
};

// The file list beside the program in folder: entries WAV files in
// entryFolder, each a link of wav under a name of its own.
void StartBenchWriteFileList(const TBenchFolder& folder, const TBenchFolder& entryFolder,
                             const AnsiString& wav, int entries)
{
    std::vector<AnsiString> paths;
    for (int i = 0; i < entries; ++i) {
        const AnsiString link = entryFolder.Path() + "entry-" + IntToStr(i) + ".wav";
        if (!CreateHardLinkA(link.c_str(), wav.c_str(), nullptr))
            throw Exception("cannot link " + wav + " as " + link);
        paths.push_back(link);
    }
    if (!WriteFileListFile(FileListFilePath(folder.Path() + "zandrel.exe"), paths))
        throw Exception("cannot write the file list in " + folder.Path());
}

// The menu bar: the bar in the topmost dock of the main window.
HWND StartBenchMenuBar(HWND mainWindow)
{
    HWND menuBar = nullptr;
    LONG top = 0;
    for (HWND dock = FindWindowExA(mainWindow, nullptr, kDockWindowClass, nullptr); dock;
         dock = FindWindowExA(mainWindow, dock, kDockWindowClass, nullptr)) {
        RECT place;
        HWND bar = FindWindowExA(dock, nullptr, kBarWindowClass, nullptr);
        if (bar && GetWindowRect(dock, &place) && (!menuBar || place.top < top)) {
            menuBar = bar;
            top = place.top;
        }
    }
    if (!menuBar)
        throw Exception("the main window shows no menu bar");
    return menuBar;
}

void StartBenchClickFileMenu(HWND mainWindow)
{
    RECT bar;
    GetWindowRect(StartBenchMenuBar(mainWindow), &bar);
    const POINT title{bar.left + kFileTitleX, (bar.top + bar.bottom) / 2};
    testing_support::ModalScript::RealPress(title);
    testing_support::ModalScript::RealRelease(title);
}

bool StartBenchMenuShown(DWORD processId)
{
    for (const char* className : kMenuWindowClasses)
        if (BenchVisibleWindow(processId, className))
            return true;
    return false;
}

// Escape closes the menu, as a user closes it, before the window is closed.
void StartBenchCloseMenu(DWORD processId)
{
    testing_support::ModalScript::RealKey(VK_ESCAPE, true);
    testing_support::ModalScript::RealKey(VK_ESCAPE, false);
    const DWORD giveUp = GetTickCount() + kMenuClosePatienceMs;
    while (StartBenchMenuShown(processId))
        if (GetTickCount() > giveUp)
            throw Exception("the File menu stayed open after Escape");
        else
            Sleep(1);
}

const TBenchPrompt kFileMenuClick{StartBenchClickFileMenu, StartBenchMenuShown,
                                  StartBenchCloseMenu};

// The main window repainted whole, as when a window above it goes; read
// back a while later.
TBenchPrompt StartBenchRepaint()
{
    auto given = std::make_shared<DWORD>();
    return {[given](HWND mainWindow) {
                *given = GetTickCount();
                RedrawWindow(mainWindow, nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
            },
            [given](DWORD) { return GetTickCount() - *given >= kRepaintGivenMs; },
            [](DWORD) {},
            {"finishstart.end", "sounddevices.end", "explorer-listed"},
            kRepaintPauseMs};
}

// The length of the paint that begins first at or after ms; -1 when none
// was stamped whole (a build that stamps no paints).
double StartBenchPaintFrom(const TBenchStamps& stamps, double ms)
{
    const double begin = stamps.FirstFrom("paint.begin", ms);
    const double end = begin < 0 ? -1 : stamps.FirstFrom("paint.end", begin);
    return end < 0 ? -1 : end - begin;
}

void StartBenchPrintPaints(const std::vector<TBenchProgramRun>& runs)
{
    std::vector<double> firstMs, laterMs, ratios;
    for (const TBenchProgramRun& run : runs) {
        firstMs.push_back(StartBenchPaintFrom(run.Stamps, 0));
        laterMs.push_back(StartBenchPaintFrom(run.Stamps, run.Given));
        if (firstMs.back() < 0 || laterMs.back() < 0) {
            std::printf(" the main window's paints: not stamped by this program\n");
            return;
        }
        ratios.push_back(firstMs.back() / laterMs.back());
    }
    std::printf(" the main window's paints, program with no file:\n");
    const TBenchFigures first = BenchFiguresOf(firstMs), later = BenchFiguresOf(laterMs);
    BenchPrintFigures("first paint", first, "ms");
    BenchPrintFigures("a later full repaint", later, "ms");
    BenchPrintFigures("  first against later", BenchFiguresOf(ratios), "");
    std::printf("  target: first paint median <= the repaint's %.1f ms: %s\n", later.Median,
                first.Median <= later.Median ? "met" : "MISSED");
}

void StartBenchPrintRatio(const char* label, const std::vector<double>& values,
                          const std::vector<double>& bare)
{
    BenchPrintFigures(label, BenchFiguresOf(values), "ms");
    BenchPrintFigures("  / bare window", BenchFiguresOf(BenchRatios(values, bare)), "");
}

void StartBenchPrintTarget(const char* what, double median, double target)
{
    std::printf("  target: %s median <= %.1f ms: %s\n", what, target,
                median <= target ? "met" : "MISSED");
}

// The stamps of what started in the order of the first run: a step's
// begin, end and length, or an event's time; medians over the runs.
void StartBenchPrintSteps(const char* what, const std::vector<TBenchProgramRun>& runs)
{
    std::printf(" %s step by step (medians, ms after the start):\n", what);
    auto median = [&runs](const std::string& event) {
        return BenchFiguresOf(BenchStampSeries(runs, event)).Median;
    };
    const std::string begin = ".begin", end = ".end";
    for (const auto& [event, ms] : runs.front().Stamps.Events()) {
        if (event.size() > end.size() && event.ends_with(end))
            continue;
        if (!(event.size() > begin.size() && event.ends_with(begin))) {
            std::printf("  %-28s %9.1f\n", event.c_str(), median(event));
            continue;
        }
        const std::string step = event.substr(0, event.size() - begin.size());
        std::vector<double> lengths;
        for (const TBenchProgramRun& run : runs)
            lengths.push_back(run.Stamps.Of(step + end) - run.Stamps.Of(event));
        std::printf("  %-28s %9.1f .. %9.1f  (%.1f)\n", step.c_str(), median(event),
                    median(step + end), BenchFiguresOf(lengths).Median);
    }
}

void StartBenchPrintFileList(const TStartBenchRounds& rounds)
{
    const std::vector<double> listMs = BenchStampSeries(rounds.WithFileList, "shown");
    const std::vector<double> programMs = BenchStampSeries(rounds.Program, "shown");
    std::vector<double> extraMs;
    for (size_t i = 0; i < listMs.size(); ++i)
        extraMs.push_back(listMs[i] - programMs[i]);
    std::printf(" the program with no file and %d file-list entries, window hidden:\n",
                kFileListEntries);
    BenchPrintFigures("program shown", BenchFiguresOf(listMs), "ms");
    const TBenchFigures extra = BenchFiguresOf(extraMs);
    BenchPrintFigures("  beyond the empty list's", extra, "ms");
    StartBenchPrintTarget("beyond the empty list's,", extra.Median, kFileListTargetExtraMs);
}

// When each run's list was on the screen, after the start or after its show.
std::vector<double> StartBenchListedSeries(const std::vector<TBenchProgramRun>& runs,
                                           bool afterShow)
{
    std::vector<double> values;
    for (const TBenchProgramRun& run : runs) {
        const double listed = run.Stamps.Of(kListedStamp) >= 0 ? run.Stamps.Of(kListedStamp)
                                                               : run.Stamps.Of(kListedOlderStamp);
        values.push_back(listed - (afterShow ? run.Window() : 0));
    }
    return values;
}

void RunStartBench(const TBenchContext& context)
{
    const AnsiString wav = context.DataFolder + kBenchStereoSound;
    if (!BenchSoundWav(wav, 2, 44100, kBenchSoundBytes))
        throw Exception("cannot make " + wav);
    const TBenchFolder bareFolder("start-bare"), programFolder("start-program");
    const TBenchProgram bare(bareFolder, BenchProgramNamed("ZANDREL_BENCH_BARE"), kBareWindowClass);
    const TBenchProgram program(programFolder, BenchProgramNamed("ZANDREL_BENCH_PROGRAM"),
                                kProgramWindowClass);
    const AnsiString listedWav = context.DataFolder + kFileListSound;
    if (!BenchSoundWav(listedWav, 2, 44100, kFileListSoundBytes))
        throw Exception("cannot make " + listedWav);
    const TBenchFolder listFolder("start-filelist"), entryFolder("start-filelist-entries");
    const TBenchProgram listProgram(listFolder, BenchProgramNamed("ZANDREL_BENCH_PROGRAM"),
                                    kProgramWindowClass);
    StartBenchWriteFileList(listFolder, entryFolder, listedWav, kFileListEntries);
    const AnsiString file = programFolder.Link(wav);
    const AnsiString cache = DrawCachePath(file);
    const AnsiString list =
        BenchRegionListFile(file, static_cast<std::int32_t>(kBenchSoundBytes / 4),
                            programFolder.Path(), kListedRegions);
    std::printf("start: the program against a bare window, %s cached\n", kBenchStereoSound);
    std::fflush(stdout);

    // Warm-up: both programs and the file in the system's cache, the draw
    // cache made (the processing window builds it when it is missing).
    bare.Run("", nullptr, TBenchProgramEnd::Close);
    program.Run(file, "wave", TBenchProgramEnd::Close);
    if (!FileExists(cache))
        throw Exception("no draw cache beside " + file + " after its open");
    program.Run("", nullptr, TBenchProgramEnd::Close);
    program.Run(list, kListedOlderStamp, TBenchProgramEnd::Close);
    listProgram.Run("", nullptr, TBenchProgramEnd::Close);

    const TBenchPrompt repaint = StartBenchRepaint();
    TStartBenchRounds rounds;
    for (int round = 0; round < kBenchRuns; ++round) {
        rounds.Bare.push_back(bare.Run("", nullptr, TBenchProgramEnd::Close));
        rounds.Program.push_back(program.Run("", nullptr, TBenchProgramEnd::Close, &repaint));
        rounds.WithFile.push_back(program.Run(file, "wave", TBenchProgramEnd::Close));
        rounds.Answer.push_back(program.Run("", nullptr, TBenchProgramEnd::Close, &kFileMenuClick));
        rounds.Listed.push_back(program.Run(list, kListedOlderStamp, TBenchProgramEnd::Close));
        rounds.WithFileList.push_back(listProgram.Run("", nullptr, TBenchProgramEnd::Close));
    }

    const std::vector<double> bareMs = BenchStampSeries(rounds.Bare, "shown");
    const std::vector<double> programMs = BenchStampSeries(rounds.Program, "shown");
    const std::vector<double> waveMs = BenchStampSeries(rounds.WithFile, "wave");
    std::printf(" %d rounds (min / median / max), ms after the start:\n", kBenchRuns);
    const TBenchFigures bareFigures = BenchFiguresOf(bareMs);
    BenchPrintFigures("bare window shown", bareFigures, "ms");
    StartBenchPrintRatio("program shown, no file", programMs, bareMs);
    StartBenchPrintRatio("program shown, with the file", BenchStampSeries(rounds.WithFile, "shown"),
                         bareMs);
    StartBenchPrintRatio("  its waveform painted", waveMs, bareMs);
    std::vector<double> answerMs, clickMs;
    for (const TBenchProgramRun& run : rounds.Answer) {
        answerMs.push_back(run.Answered);
        clickMs.push_back(run.WindowSeen);
    }
    BenchPrintFigures("File menu clicked (window seen)", BenchFiguresOf(clickMs), "ms");
    StartBenchPrintRatio("File menu on the screen", answerMs, bareMs);
    const double answerMedian = BenchFiguresOf(answerMs).Median;
    StartBenchPrintRatio("list of 10,000 regions listed",
                         StartBenchListedSeries(rounds.Listed, false), bareMs);
    const TBenchFigures listedFigures = BenchFiguresOf(StartBenchListedSeries(rounds.Listed, true));
    BenchPrintFigures("  after its show", listedFigures, "ms");
    const double programMedian = BenchFiguresOf(programMs).Median;
    const double waveMedian = BenchFiguresOf(waveMs).Median;
    std::printf("  medians against the bare window's: no file %.2fx, waveform %.2fx, first "
                "answer %.2fx\n",
                programMedian / bareFigures.Median, waveMedian / bareFigures.Median,
                answerMedian / bareFigures.Median);
    StartBenchPrintTarget("program shown, no file,", programMedian,
                          kStartTargetRatio * bareFigures.Median);
    StartBenchPrintTarget("waveform painted,", waveMedian,
                          kStartTargetRatio * bareFigures.Median + kWaveTargetExtraMs);
    StartBenchPrintTarget("File menu on the screen,", answerMedian,
                          kStartTargetRatio * bareFigures.Median);
    StartBenchPrintTarget("list listed after the show,", listedFigures.Median, kListedTargetMs);
    StartBenchPrintPaints(rounds.Program);
    StartBenchPrintFileList(rounds);
    StartBenchPrintSteps("the bare window", rounds.Bare);
    StartBenchPrintSteps("the program, no file, to its first answer,", rounds.Answer);
    StartBenchPrintSteps("the program with the list,", rounds.Listed);
    StartBenchPrintSteps("the program, no file, file-list entries,", rounds.WithFileList);
    std::fflush(stdout);
}

TBenchRegistration startRegistration("start", RunStartBench);

} // namespace
