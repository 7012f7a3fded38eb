// The bounce of the 1 GiB 16-bit stereo sound file as 100 regions, next to
// a plain copy of the same bytes through the same file layer (the byte
// source in, the bounce's new files out, the same pieces) in the same run,
// in every order of the three by turns. Every ratio is a run's bounce
// against the plain copy of the same run.
// Targets (median): NoTouch at volume 1.0 within 1.2 x the copy; MonoMix at
// volume 0.5 within 1.5 x.
#include "BenchSupport.h"

#include "classlib/Exceptions.h"
#include "classlib/FileByteSource.h"
#include "classlib/FilePaths.h"
#include "editor/BounceWriter.h"

#include <algorithm>
#include <cstdio>
#include <windows.h>

namespace {

constexpr int kBounceBenchRegions = 100;
constexpr double kNoTouchTarget = 1.2; // bounce time / copy time
constexpr double kMonoMixTarget = 1.5;

void BounceBenchEmpty(const AnsiString& folder)
{
    for (const TBenchFile& file : BenchFilesMatching(folder + "*.wav"))
        DeleteFile(folder + file.Name);
}

// Each region's bytes into a new file of its own, through the same file
// layer in the same pieces as the bounce, and nothing else: no conversion,
// no name search. The data goes to the same offsets, after 44 bytes where
// the head would be: writes that start on page boundaries measured up to
// twice slower here, and would flatter the bounce.
void BounceBenchPlainCopy(const TWavInfo& wav, const std::vector<TBounceRegion>& regions,
                          const AnsiString& folder)
{
    TFileByteSource source(wav.Path, FILE_SHARE_READ);
    if (!source.IsOpen())
        throw Exception("cannot open " + wav.Path);
    TDiskBounceFolder target(folder);
    std::vector<std::uint8_t> piece(kBouncePieceBytes);
    for (const TBounceRegion& region : regions) {
        std::unique_ptr<TStream> copy = target.CreateNew(region.Name + ".wav");
        if (!copy)
            throw Exception("cannot make " + region.Name);
        const TWavHead gap;
        copy->WriteBuffer(&gap, sizeof gap);
        const std::uint64_t end = wav.SampleStart + std::uint64_t(region.End) * wav.BlockSize;
        for (std::uint64_t at = wav.SampleStart + std::uint64_t(region.Start) * wav.BlockSize;
             at < end; at += kBouncePieceBytes) {
            const auto bytes = std::uint32_t(std::min<std::uint64_t>(kBouncePieceBytes, end - at));
            if (!source.ReadExact(at, piece.data(), bytes))
                throw Exception("short read in " + wav.Path);
            copy->WriteBuffer(piece.data(), std::int32_t(bytes));
        }
    }
}

std::vector<TBounceRegion> BounceBenchRegions(const TWavInfo& wav, double volume, TOutputMode mode)
{
    std::vector<TBounceRegion> regions;
    for (int i = 0; i < kBounceBenchRegions; ++i) {
        const auto start = std::int32_t(std::int64_t(wav.SampleSize) * i / kBounceBenchRegions);
        const auto end = std::int32_t(std::int64_t(wav.SampleSize) * (i + 1) / kBounceBenchRegions);
        regions.push_back({"take_" + std::to_string(i + 1), start, end, volume, mode});
    }
    return regions;
}

std::int64_t BounceBenchBytesIn(const AnsiString& folder)
{
    std::int64_t bytes = 0;
    for (const TBenchFile& file : BenchFilesMatching(folder + "*.wav"))
        bytes += file.Bytes;
    return bytes;
}

struct TBounceBenchCase
{
    const char* Name;
    double Target;                      // at most this x the copy; 0 for the copy itself
    std::vector<TBounceRegion> Regions; // the regions to bounce, or to copy plainly
    std::vector<double> Ms;             // one per run
};

// One timed run of a case into an empty folder; the bounce's output is
// checked for its size (outside the time).
double BounceBenchRun(const TWavInfo& wav, const AnsiString& folder, const TBounceBenchCase& c)
{
    BounceBenchEmpty(folder);
    TBenchStopwatch watch;
    if (c.Target == 0) {
        BounceBenchPlainCopy(wav, c.Regions, folder);
        return watch.Milliseconds();
    }
    const TBounceOutcome outcome = WriteBounceFiles(wav, c.Regions, folder, {});
    const double ms = watch.Milliseconds();
    if (outcome.Result != TBounceResult::Done)
        throw Exception(std::string("bounce failed: ") + outcome.Error);
    if (BounceBenchBytesIn(folder) != BounceSpaceNeeded(c.Regions, wav))
        throw Exception("the bounce wrote another size than it should");
    return ms;
}

void RunBounceBench(const TBenchContext& context)
{
    const AnsiString path = context.DataFolder + kBenchStereoSound;
    const AnsiString folder = context.DataFolder + "bounce\\";
    if (!BenchSoundWav(path, 2, 44100, kBenchSoundBytes))
        throw Exception("cannot make " + path);
    if (!ForceDirectories(folder))
        throw Exception("cannot make " + folder);
    TWavInfo wav;
    wav.Path = path;
    GetWavInfo(wav);
    if (!wav.IsPlayable)
        throw Exception("not playable: " + path);

    std::vector<TBounceBenchCase> cases = {
        {"plain copy", 0, BounceBenchRegions(wav, 1.0, TOutputMode::NoTouch), {}},
        {"NoTouch, volume 1.0",
         kNoTouchTarget,
         BounceBenchRegions(wav, 1.0, TOutputMode::NoTouch),
         {}},
        {"MonoMix, volume 0.5",
         kMonoMixTarget,
         BounceBenchRegions(wav, 0.5, TOutputMode::MonoMix),
         {}},
    };
    // One untimed round brings the source into the cache.
    for (const TBounceBenchCase& c : cases)
        BounceBenchRun(wav, folder, c);
    // Every order of the three in turn, so that no case always follows the
    // same one (each leaves its output to the system's write-back).
    std::vector<std::size_t> order = {0, 1, 2};
    for (int run = 0; run < kBenchRuns; ++run) {
        for (std::size_t i : order) {
            cases[i].Ms.push_back(BounceBenchRun(wav, folder, cases[i]));
        }
        std::next_permutation(order.begin(), order.end());
    }
    BounceBenchEmpty(folder);

    std::printf("bounce: %s, %u MiB of stereo sound as %d regions, pieces of %u KiB; warm, %d "
                "runs (min / median / max):\n",
                kBenchStereoSound, wav.DataSize >> 20, kBounceBenchRegions, kBouncePieceBytes >> 10,
                kBenchRuns);
    for (const TBounceBenchCase& c : cases) {
        const TBenchFigures ms = BenchFiguresOf(c.Ms);
        BenchPrintFigures(c.Name, ms, "ms");
        std::printf("  %-28s %9.1f MB/s of source (median)\n", "",
                    BenchMiBPerSecond(wav.DataSize, ms.Median));
    }
    for (const TBounceBenchCase& c : cases) {
        if (c.Target == 0)
            continue;
        const TBenchFigures ratio = BenchFiguresOf(BenchRatios(c.Ms, cases[0].Ms));
        const std::string label = std::string(c.Name) + " / copy";
        BenchPrintFigures(label.c_str(), ratio, "");
        std::printf("  target: median <= %.1f: %s\n", c.Target,
                    ratio.Median <= c.Target ? "met" : "MISSED");
    }
    std::fflush(stdout);
}

TBenchRegistration bounceRegistration("bounce", RunBounceBench);

} // namespace
