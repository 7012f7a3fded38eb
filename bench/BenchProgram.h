// Running a program from outside, as a user starts it, and reading its
// timing log (see editor/TimingLog.h).
//
// A program runs from a copy in a folder of the benchmark's own, beside the
// benchmark's executable (its settings file and a file's draw cache land
// there; a file of sound is linked in, not copied), with its timing log on.
// Only the log's stamps time the runs: under Wine every look at another
// process's windows or at a file is a call to the one server the program's
// own window work waits on as well, so this side looks seldom, only to tell
// when a run is over and to check that the main window really became
// visible no earlier than the program says.
#pragma once

#include "classlib/Types.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <windows.h>

// A folder of this process's own beside its executable ("NAME-PID\"), made
// empty; removed with the files in it when it goes.
class TBenchFolder
{
public:
    explicit TBenchFolder(const char* name);
    ~TBenchFolder();
    TBenchFolder(const TBenchFolder&) = delete;
    TBenchFolder& operator=(const TBenchFolder&) = delete;

    // With its trailing "\".
    const AnsiString& Path() const { return FPath; }

    // A link in the folder to file, so that what the program writes beside
    // the file (its draw cache) stays in the folder; file itself where no
    // link can be made.
    AnsiString Link(const AnsiString& file) const;

private:
    AnsiString FPath;
};

// The program the environment variable names (set by scripts/bench);
// throws when it names none.
AnsiString BenchProgramNamed(const char* variable);

// The visible top-level window of class className of the process, or null.
HWND BenchVisibleWindow(DWORD processId, const char* className);

// The timing log's stamps of one run: the first of each event, in the
// order written, in ms after the program was started.
class TBenchStamps
{
public:
    // The time of event; -1 when it was not written.
    double Of(const std::string& event) const;
    // The time of event's first writing at or after ms; -1 when none.
    double FirstFrom(const std::string& event, double ms) const;
    const std::vector<std::pair<std::string, double>>& Events() const { return FEvents; }

    // Takes the events of the log at logPath not taken yet, relative to
    // started (the performance counter in ms).
    void Read(const AnsiString& logPath, double started);

private:
    std::vector<std::pair<std::string, double>> FEvents;
    std::vector<std::pair<std::string, double>> FWritten; // every one, in order
    size_t FLinesTaken = 0;
};

// How a run of the program ends.
enum class TBenchProgramEnd
{
    Close,    // WM_CLOSE to the main window, as the user closes it
    Terminate // ended by its process id
};

// What a run gives the program the moment its main window is visible (a
// click), or once it wrote each stamp of After and PauseMs more went by,
// and how this side tells that the program answered (a window it shows):
// that is looked at every few milliseconds until it holds.
struct TBenchPrompt
{
    std::function<void(HWND mainWindow)> Give;
    std::function<bool(DWORD processId)> Answered;
    // Puts away what the answer left (a menu open) before the run ends.
    std::function<void(DWORD processId)> PutAway;
    std::vector<const char*> After;
    DWORD PauseMs = 0;
};

// One run, in ms after the program was started.
struct TBenchProgramRun
{
    TBenchStamps Stamps;
    double WindowSeen = -1; // this side found the main window visible
    double Given = -1;      // this side gave the prompt
    double Answered = -1;   // this side found the prompt answered
    double Exit = -1;       // after a normal close: from WM_CLOSE to the process's end

    // The main window was shown (the program's "shown" stamp).
    double Window() const { return Stamps.Of("shown"); }
};

class TBenchProgram
{
public:
    // A copy of the program at programPath in folder; its main window is a
    // top-level window of class mainWindowClass.
    TBenchProgram(const TBenchFolder& folder, const AnsiString& programPath,
                  const char* mainWindowClass);

    // Starts the program (with argument, unless empty) and waits until its
    // main window shows and, unless awaited is null, it wrote that stamp as
    // well, and, unless prompt is null, it answered the prompt given the
    // moment its window was seen; then ends it. Throws when the program ends
    // or stalls before.
    TBenchProgramRun Run(const AnsiString& argument, const char* awaited, TBenchProgramEnd end,
                         const TBenchPrompt* prompt = nullptr) const;

private:
    AnsiString FPath;    // the copy that runs
    AnsiString FLogPath; // its timing log
    const char* FMainWindowClass;
};

// The time of event in each run.
std::vector<double> BenchStampSeries(const std::vector<TBenchProgramRun>& runs,
                                     const std::string& event);
