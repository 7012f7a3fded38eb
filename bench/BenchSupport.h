// What every benchmark shares: a registry that main walks, a stopwatch,
// figures of repeated runs, large files of real sound, dropping a file from
// the system's cache, and the report lines.
//
// A benchmark is a function registered under a name:
//   static TBenchRegistration registration("drawdata", RunDrawDataBench);
// main runs every benchmark, or those named on its command line, with the
// folder for its generated files. One registered as named-only runs only
// when named (a single whole-process job, timed from outside).
#pragma once

#include "classlib/Types.h"

#include <cstddef>
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
    bool NamedOnly; // left out of a run of every benchmark
};

std::vector<TBenchEntry>& BenchRegistry();

struct TBenchRegistration
{
    TBenchRegistration(const char* name, TBenchFunction run, bool namedOnly = false)
    {
        BenchRegistry().push_back({name, run, namedOnly});
    }
};

// Runs of every timed measurement: the median of at least nine.
constexpr int kBenchRuns = 9;

// Elapsed wall time in milliseconds since it was made (or restarted).
class TBenchStopwatch
{
public:
    TBenchStopwatch();
    void Restart();
    double Milliseconds() const;

    // The performance counter now, in milliseconds: the same clock in every
    // process of the machine.
    static double NowMilliseconds();

private:
    std::int64_t FStart; // performance-counter ticks at the start
};

// The spread of one figure over its runs.
struct TBenchFigures
{
    double Min = 0;
    double Median = 0;
    double Max = 0;
};

// Min, median (the mean of the middle two for an even count) and max; all 0
// for no values.
TBenchFigures BenchFiguresOf(std::vector<double> values);

// The ratio of each run's a to the same run's b.
std::vector<double> BenchRatios(const std::vector<double>& a, const std::vector<double>& b);

// The 1 GiB files of sound the benchmarks share (the largest that opens),
// in the data folder.
constexpr std::uint32_t kBenchSoundBytes = 0x40000000;
constexpr const char* kBenchStereoSound = "sound-stereo-1g.wav";
constexpr const char* kBenchMonoSound = "sound-mono-1g.wav";

// Makes (or keeps, when it is already there as this would make it) a 16-bit
// PCM WAV file of dataSize bytes of sound at path: tones whose pitch and
// loudness drift, under noise, different in each channel, with quiet
// passages. Every byte is written and flushed to the disk, so that reading
// it back costs what a recording costs. False when it cannot be made.
bool BenchSoundWav(const AnsiString& path, std::uint16_t channels, std::uint32_t rate,
                   std::uint32_t dataSize);

// The 16-bit value of channel (0 or 1) at frame of the generated sound.
std::int16_t BenchSoundValue(std::uint32_t frame, unsigned channel);

// Drops the file from the system's file cache, so that the next read comes
// from the disk. Done through the command the environment variable
// ZANDREL_BENCH_EVICT names (the file's name is appended); false when it is
// not set or the file is still cached.
bool BenchEvictFromCache(const AnsiString& path);
// Whether the runner said how to drop files from the cache.
bool BenchCanEvict();

// Reads the whole file at path into memory, as plainly as a file is read;
// answers the bytes read.
std::size_t BenchPlainFileRead(const AnsiString& path);
// The sum of count bytes at data: a plain pass over memory.
unsigned BenchByteSum(const void* data, std::size_t count);

// A file a pattern matched: its name (without the folder) and size.
struct TBenchFile
{
    AnsiString Name;
    std::int64_t Bytes;
};
// The files (not folders) that pattern ("C:\data\*.wav") matches.
std::vector<TBenchFile> BenchFilesMatching(const AnsiString& pattern);

// bytes / ms as MiB per second.
double BenchMiBPerSecond(std::uint64_t bytes, double ms);

// One report line: "  label  min / median / max unit".
void BenchPrintFigures(const char* label, const TBenchFigures& figures, const char* unit);
// The lines of a measure timed beside plain work in the same runs: its
// figures in ms, each run's ratio to the plain work's ("  / " + plainName),
// and whether its max stays below targetMs.
void BenchPrintAgainstPlain(const char* label, const std::vector<double>& ms, const char* plainName,
                            const std::vector<double>& plainMs, double targetMs);
