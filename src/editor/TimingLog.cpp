#include "TimingLog.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <windows.h>

namespace {

constexpr const char* kTimingLogVariable = "ZANDREL_TIMING_LOG";

bool TimingLogPath(char (&path)[MAX_PATH])
{
    const DWORD length = GetEnvironmentVariableA(kTimingLogVariable, path, MAX_PATH);
    return length > 0 && length < MAX_PATH;
}

double TimingNowMilliseconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The log file, open from its first line while the variable names it: an
// open for every line would cost the start it measures a round trip to
// the system each time.
class TOpenTimingLog
{
public:
    // The file the variable names now (null when none or when it cannot be
    // opened); a file named before is let go.
    std::FILE* For(const char* path)
    {
        if (FFile && path && std::strcmp(path, FPath) == 0)
            return FFile;
        LetGo();
        if (path && (FFile = std::fopen(path, "a")))
            std::strcpy(FPath, path);
        return FFile;
    }
    ~TOpenTimingLog() { LetGo(); }

private:
    void LetGo()
    {
        if (FFile)
            std::fclose(FFile);
        FFile = nullptr;
    }
    std::FILE* FFile = nullptr;
    char FPath[MAX_PATH] = {};
};

TOpenTimingLog& OpenTimingLog()
{
    static TOpenTimingLog log;
    return log;
}

// Appends "EVENTSUFFIX MS" in one write, so that a reader never sees half
// a line.
void LogTimingWith(const char* event, const char* suffix)
{
    static std::mutex lock;
    char path[MAX_PATH];
    if (!TimingLogPath(path)) {
        std::lock_guard<std::mutex> guard(lock);
        OpenTimingLog().For(nullptr);
        return;
    }
    const double now = TimingNowMilliseconds();
    std::lock_guard<std::mutex> guard(lock);
    if (std::FILE* log = OpenTimingLog().For(path)) {
        std::fprintf(log, "%s%s %.3f\n", event, suffix, now);
        std::fflush(log);
    }
}

} // namespace

bool TimingLogRequested()
{
    char path[MAX_PATH];
    return TimingLogPath(path);
}

void LogTiming(const char* event)
{
    LogTimingWith(event, "");
}

TTimingSpan::TTimingSpan(const char* step) : FStep(step)
{
    LogTimingWith(FStep, ".begin");
}

TTimingSpan::~TTimingSpan()
{
    LogTimingWith(FStep, ".end");
}
