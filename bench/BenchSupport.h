// What every benchmark shares: a registry that main walks, a stopwatch,
// large test files made without writing them, and the report lines.
//
// A benchmark is a function registered under a name:
//   static TBenchRegistration registration("drawdata", RunDrawDataBench);
// main runs every benchmark, or those named on its command line, with the
// folder for its generated files.
#pragma once

#include "classlib/Types.h"

#include <cstdint>
#include <vector>

struct TBenchContext
{
    AnsiString DataFolder; // generated files live here between runs (trailing "\")
};

using TBenchFunction = void (*)(const TBenchContext& context);

struct TBenchEntry
{
    const char* Name;
    TBenchFunction Run;
};

std::vector<TBenchEntry>& BenchRegistry();

struct TBenchRegistration
{
    TBenchRegistration(const char* name, TBenchFunction run)
    {
        BenchRegistry().push_back({name, run});
    }
};

// Elapsed wall time in milliseconds since it was made (or restarted).
class TBenchStopwatch
{
public:
    TBenchStopwatch();
    void Restart();
    double Milliseconds() const;

private:
    std::int64_t FStart;     // performance-counter ticks at the start
    std::int64_t FFrequency; // ticks per second
};

// The fastest of runs timings of work (after one untimed warm-up run when
// warmUp), in milliseconds.
template <class Work> double BenchBestOf(int runs, bool warmUp, Work work)
{
    if (warmUp)
        work();
    double best = 0;
    for (int i = 0; i < runs; ++i) {
        TBenchStopwatch watch;
        work();
        const double ms = watch.Milliseconds();
        if (i == 0 || ms < best)
            best = ms;
    }
    return best;
}

// Makes (or keeps, when it is already there with this head) a 16-bit PCM
// WAV file of dataSize bytes of silence at path: the 44-byte head is
// written and the file extended, so the data is a hole that costs no disk.
// False when the file cannot be made.
bool BenchSparseWav(const AnsiString& path, std::uint16_t channels, std::uint32_t rate,
                    std::uint32_t dataSize);

// bytes / ms as MiB per second.
double BenchMiBPerSecond(std::uint64_t bytes, double ms);
