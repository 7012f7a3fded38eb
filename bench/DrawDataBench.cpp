// Draw data of a 1 GiB file of sound: a plain sequential read of its
// samples, the build as the processing window runs it (through the engine,
// with its progress reporting), and the reopen from the draw cache; warm,
// and cold where the runner can drop the file from the system's cache.
// Every ratio is a run's build against the plain read of the same run.
// Targets: build/read median <= 1.15, max <= 1.3 (warm); cold within 1.1 x
// the cold read; reopen under 50 ms.
//
// "drawdata-once" and "drawdata-once-mono" build the draw data of the stereo
// or the mono file once and end: a whole process to time from outside
// against other tools.
#include "BenchSupport.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FileByteSource.h"
#include "classlib/FilePaths.h"
#include "classlib/Seams.h"
#include "classlib/TextUtils.h"
#include "editor/DrawBuild.h"
#include "editor/DrawCacheFile.h"

#include <cstdio>
#include <memory>

namespace {

constexpr int kZeroLevel = 256;
constexpr double kBuildMedianTarget = 1.15; // build time / plain read time
constexpr double kBuildMaxTarget = 1.3;
constexpr double kColdTarget = 1.1;
constexpr double kReopenTargetMs = 50;

// Reads the sample data from start to end in reads of the build's size, as
// the file layer serves it, and nothing else.
void DrawBenchPlainRead(const TWavInfo& wav)
{
    std::unique_ptr<std::int16_t[]> buffer(new std::int16_t[kDrawReadValues]);
    TFileByteSource file(wav.Path);
    if (!file.IsOpen())
        throw Exception("cannot open " + wav.Path);
    for (std::uint32_t at = 0; at < wav.DataSize; at += kDrawReadValues * 2) {
        const std::size_t want = std::min<std::uint32_t>(kDrawReadValues * 2, wav.DataSize - at);
        if (file.ReadAt(wav.SampleStart + at, buffer.get(), want) != want)
            throw Exception("short read in " + wav.Path);
    }
}

// What the processing window does after each chunk, short of drawing: the
// percent, the time left and the two label texts.
TDrawProgressHandler DrawBenchProgress(DWORD startTick, int& reports)
{
    return [startTick, &reports](const TDrawProgress& progress) {
        ++reports;
        const double left = EstimateRemainingSeconds(SeamTickCount() - startTick, progress.Percent);
        const AnsiString first = "ファイル読み込み中..." + IntToStr(progress.Percent) + "%";
        const AnsiString second =
            left < 0 ? AnsiString("----") : Format("%d:%02d", int(left) / 60, int(left) % 60);
        return !first.empty() && !second.empty();
    };
}

// The file under test, opened in the engine, with what its build makes.
class TDrawBenchFile
{
public:
    TDrawBenchFile(const TBenchContext& context, const char* name, std::uint16_t channels)
        : FEngine(nullptr)
    {
        FPath = context.DataFolder + name;
        if (!BenchSoundWav(FPath, channels, 44100, kBenchSoundBytes))
            throw Exception("cannot make " + FPath);
        if (!FEngine.LoadFile(FPath))
            throw Exception("not playable: " + FPath);
        FBlockSize = WaveBlockSizeFor(FEngine.WavInfo().SampleSize);
    }

    const AnsiString& Path() const { return FPath; }
    const TWavInfo& Wav() const { return FEngine.WavInfo(); }
    int BlockSize() const { return FBlockSize; }
    const TDrawDataStereo& Stereo() const { return FStereo; }
    const TDrawDataMono& Mono() const { return FMono; }
    std::int32_t Entries() const { return Wav().Channel == 2 ? FStereo.Count() : FMono.Count(); }
    int Reports() const { return FReports; }

    double TimeRead() const
    {
        TBenchStopwatch watch;
        DrawBenchPlainRead(Wav());
        return watch.Milliseconds();
    }

    double TimeBuild()
    {
        FReports = 0;
        TBenchStopwatch watch;
        const TDrawBuildOutcome outcome =
            MakeDrawData(FEngine, FBlockSize, kZeroLevel,
                         DrawBenchProgress(SeamTickCount(), FReports), FStereo, FMono);
        const double ms = watch.Milliseconds();
        if (outcome.Result != TDrawBuildResult::Done)
            throw Exception("build failed: " + outcome.Error);
        return ms;
    }

private:
    AnsiString FPath;
    TDirectWavEngine FEngine;
    int FBlockSize = 0;
    TDrawDataStereo FStereo;
    TDrawDataMono FMono;
    int FReports = 0; // progress reports of the last build
};

void DrawBenchEvict(const TDrawBenchFile& file)
{
    if (!BenchEvictFromCache(file.Path()))
        throw Exception("cannot drop " + file.Path() + " from the cache");
}

// Runs of a read and a build, each against the other in the same run; the
// order alternates from run to run. cold drops the file before each.
void DrawBenchReadAndBuild(TDrawBenchFile& file, bool cold)
{
    std::vector<double> reads, builds;
    for (int run = 0; run < kBenchRuns; ++run) {
        auto read = [&] {
            if (cold)
                DrawBenchEvict(file);
            reads.push_back(file.TimeRead());
        };
        auto build = [&] {
            if (cold)
                DrawBenchEvict(file);
            builds.push_back(file.TimeBuild());
        };
        if (run % 2) {
            build();
            read();
        } else {
            read();
            build();
        }
    }
    const TBenchFigures read = BenchFiguresOf(reads);
    const TBenchFigures build = BenchFiguresOf(builds);
    const TBenchFigures ratio = BenchFiguresOf(BenchRatios(builds, reads));
    const std::uint32_t bytes = file.Wav().DataSize;
    std::printf(" %s, %d runs (min / median / max):\n", cold ? "cold" : "warm", kBenchRuns);
    BenchPrintFigures("plain read", read, "ms");
    BenchPrintFigures("draw-data build", build, "ms");
    std::printf("  %-28s %9.1f / %9.1f MB/s (median)\n", "read / build speed",
                BenchMiBPerSecond(bytes, read.Median), BenchMiBPerSecond(bytes, build.Median));
    BenchPrintFigures("build/read", ratio, "");
    if (cold)
        std::printf("  target: median <= %.2f: %s\n", kColdTarget,
                    ratio.Median <= kColdTarget ? "met" : "MISSED");
    else
        std::printf(
            "  target: median <= %.2f, max <= %.2f: %s\n", kBuildMedianTarget, kBuildMaxTarget,
            ratio.Median <= kBuildMedianTarget && ratio.Max <= kBuildMaxTarget ? "met" : "MISSED");
}

void DrawBenchCache(const TDrawBenchFile& file)
{
    const AnsiString cachePath = DrawCachePath(file.Path());
    TBenchStopwatch writeWatch;
    if (!SaveDrawCache(cachePath, file.Wav(), kZeroLevel, file.Stereo(), file.Mono()))
        throw Exception("cannot write " + cachePath);
    const double writeMs = writeWatch.Milliseconds();
    const std::int64_t cacheBytes = FileSizeOf(cachePath);

    std::vector<double> reopens;
    TDrawDataStereo stereoBack;
    TDrawDataMono monoBack;
    for (int run = 0; run < kBenchRuns; ++run) {
        TBenchStopwatch watch;
        if (!LoadDrawCache(file.Path(), kZeroLevel, file.BlockSize(), stereoBack, monoBack))
            throw Exception("the cache just written was not taken: " + cachePath);
        reopens.push_back(watch.Milliseconds());
    }
    if (stereoBack.Data != file.Stereo().Data || monoBack.Data != file.Mono().Data)
        throw Exception("the cache read back differs: " + cachePath);
    const TBenchFigures reopen = BenchFiguresOf(reopens);
    std::printf(" draw cache (%lld bytes): write %.1f ms\n", static_cast<long long>(cacheBytes),
                writeMs);
    BenchPrintFigures("cache read", reopen, "ms");
    std::printf("  target: max < %.0f ms: %s\n", kReopenTargetMs,
                reopen.Max < kReopenTargetMs ? "met" : "MISSED");
}

void DrawBenchFile(const TBenchContext& context, const char* name, std::uint16_t channels)
{
    TDrawBenchFile file(context, name, channels);
    file.TimeRead(); // warm-up: the file in the cache, the buffers made
    file.TimeBuild();
    std::printf("%s: %u-channel 16-bit, %u MiB of sound, block %d, %d entries, %d progress "
                "reports\n",
                name, channels, kBenchSoundBytes >> 20, file.BlockSize(), file.Entries(),
                file.Reports());
    DrawBenchReadAndBuild(file, false);
    if (BenchCanEvict())
        DrawBenchReadAndBuild(file, true);
    else
        std::printf(" cold: not measured (no way to drop a file from the cache was given)\n");
    DrawBenchCache(file);
    std::fflush(stdout);
}

void RunDrawDataBench(const TBenchContext& context)
{
    std::printf("drawdata (MB = 2^20 bytes)\n");
    DrawBenchFile(context, kBenchStereoSound, 2);
    DrawBenchFile(context, kBenchMonoSound, 1);
}

void DrawBenchOnce(const TBenchContext& context, const char* name, std::uint16_t channels)
{
    TDrawBenchFile file(context, name, channels);
    std::printf("%s built in %.1f ms\n", name, file.TimeBuild());
}

void RunDrawDataOnce(const TBenchContext& context)
{
    DrawBenchOnce(context, kBenchStereoSound, 2);
}

void RunDrawDataOnceMono(const TBenchContext& context)
{
    DrawBenchOnce(context, kBenchMonoSound, 1);
}

TBenchRegistration drawDataRegistration("drawdata", RunDrawDataBench);
TBenchRegistration drawDataOnceRegistration("drawdata-once", RunDrawDataOnce, true);
TBenchRegistration drawDataOnceMonoRegistration("drawdata-once-mono", RunDrawDataOnceMono, true);

} // namespace
