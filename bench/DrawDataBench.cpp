// Draw data of a 1 GiB file: a plain sequential read of its samples, the
// build as the processing window runs it (through the engine, with its
// progress reporting), and the reopen from the draw cache.
// Targets: build within 1.25 x the plain read (warm); reopen under 50 ms.
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

constexpr std::uint32_t kBenchDataSize = 0x40000000; // 1 GiB, the largest file that opens
constexpr int kBenchRuns = 3;
constexpr int kZeroLevel = 256;
constexpr double kBuildTarget = 1.25; // build time / plain read time
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

void DrawBenchFile(const TBenchContext& context, const char* name, std::uint16_t channels)
{
    const AnsiString path = context.DataFolder + name;
    if (!BenchSparseWav(path, channels, 44100, kBenchDataSize))
        throw Exception("cannot make " + path);
    TDirectWavEngine engine(nullptr);
    if (!engine.LoadFile(path))
        throw Exception("not playable: " + path);
    const TWavInfo& wav = engine.WavInfo();
    const int blockSize = WaveBlockSizeFor(wav.SampleSize);

    const double readMs = BenchBestOf(kBenchRuns, true, [&] { DrawBenchPlainRead(wav); });

    TDrawDataStereo stereo;
    TDrawDataMono mono;
    int reports = 0;
    const double buildMs = BenchBestOf(kBenchRuns, false, [&] {
        reports = 0;
        TDrawBuildOutcome outcome =
            MakeDrawData(engine, blockSize, kZeroLevel, DrawBenchProgress(SeamTickCount(), reports),
                         stereo, mono);
        if (outcome.Result != TDrawBuildResult::Done)
            throw Exception("build failed: " + outcome.Error);
    });
    const std::int32_t entries = channels == 2 ? stereo.Count() : mono.Count();

    const AnsiString cachePath = DrawCachePath(path);
    TBenchStopwatch writeWatch;
    if (!SaveDrawCache(cachePath, wav, kZeroLevel, stereo, mono))
        throw Exception("cannot write " + cachePath);
    const double writeMs = writeWatch.Milliseconds();
    const std::int64_t cacheBytes = FileSizeOf(cachePath);

    TBenchStopwatch firstWatch;
    TDrawDataStereo stereoBack;
    TDrawDataMono monoBack;
    if (!LoadDrawCache(path, kZeroLevel, blockSize, stereoBack, monoBack))
        throw Exception("the cache just written was not taken: " + cachePath);
    const double firstReopenMs = firstWatch.Milliseconds();
    const double reopenMs = BenchBestOf(kBenchRuns, false, [&] {
        LoadDrawCache(path, kZeroLevel, blockSize, stereoBack, monoBack);
    });
    if (stereoBack.Data != stereo.Data || monoBack.Data != mono.Data)
        throw Exception("the cache read back differs: " + cachePath);

    const double ratio = buildMs / readMs;
    std::printf("%s: %u-channel 16-bit, %u MiB of samples, block %d, %d entries, %d progress "
                "reports\n",
                name, channels, kBenchDataSize >> 20, blockSize, entries, reports);
    std::printf("  plain read        %8.1f ms  %8.1f MB/s\n", readMs,
                BenchMiBPerSecond(wav.DataSize, readMs));
    std::printf("  draw-data build   %8.1f ms  %8.1f MB/s  build/read %.3f (target <= %.2f: %s)\n",
                buildMs, BenchMiBPerSecond(wav.DataSize, buildMs), ratio, kBuildTarget,
                ratio <= kBuildTarget ? "met" : "MISSED");
    std::printf("  cache write       %8.1f ms  %8.1f MB/s  (%lld bytes)\n", writeMs,
                BenchMiBPerSecond(cacheBytes, writeMs), static_cast<long long>(cacheBytes));
    std::printf("  cached reopen     %8.1f ms  %8.1f MB/s  first %.1f ms (target < %.0f ms: %s)\n",
                reopenMs, BenchMiBPerSecond(cacheBytes, reopenMs), firstReopenMs, kReopenTargetMs,
                firstReopenMs < kReopenTargetMs ? "met" : "MISSED");
    std::fflush(stdout);
}

void RunDrawDataBench(const TBenchContext& context)
{
    std::printf("drawdata (best of %d, warm; MB = 2^20 bytes)\n", kBenchRuns);
    DrawBenchFile(context, "stereo-1g.wav", 2);
    DrawBenchFile(context, "mono-1g.wav", 1);
}

TBenchRegistration drawDataRegistration("drawdata", RunDrawDataBench);

} // namespace
