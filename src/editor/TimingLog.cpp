#include "TimingLog.h"

#include <cstdio>
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

// Appends "EVENTSUFFIX MS" in one write, so that a reader never sees half
// a line.
void LogTimingWith(const char* event, const char* suffix)
{
    char path[MAX_PATH];
    if (!TimingLogPath(path))
        return;
    const double now = TimingNowMilliseconds();
    if (std::FILE* log = std::fopen(path, "a")) {
        std::fprintf(log, "%s%s %.3f\n", event, suffix, now);
        std::fclose(log);
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
