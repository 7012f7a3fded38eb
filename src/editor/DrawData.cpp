#include "DrawData.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The highest and lowest of some 16-bit values; the empty peak is neutral
// when combined.
struct TPeak
{
    int Max = -32768;
    int Min = 32767;
};

TPeak DrawCombine(TPeak a, TPeak b)
{
    return {std::max(a.Max, b.Max), std::min(a.Min, b.Min)};
}

// The peaks of the even-numbered (left) and odd-numbered (right) values.
struct TStereoPeak
{
    TPeak Left;
    TPeak Right;
};

// High byte of a max: v div 256 toward zero; quiet sound above the threshold
// shows as 1; never below 0.
std::int8_t DrawMaxByte(int max, int zeroLevel)
{
    int high = max / 256;
    if (zeroLevel < max && max < 256)
        high = 1;
    return static_cast<std::int8_t>(high < 0 ? 0 : high);
}

std::int8_t DrawMinByte(int min, int zeroLevel)
{
    int high = min / 256;
    if (-256 < min && min < -zeroLevel)
        high = -1;
    return static_cast<std::int8_t>(high > 0 ? 0 : high);
}

TPeak DrawScanMonoScalar(const std::int16_t* values, std::size_t count)
{
    TPeak peak;
    for (std::size_t i = 0; i < count; ++i) {
        peak.Max = std::max<int>(peak.Max, values[i]);
        peak.Min = std::min<int>(peak.Min, values[i]);
    }
    return peak;
}

TStereoPeak DrawScanStereoScalar(const std::int16_t* values, std::size_t count)
{
    TStereoPeak peak;
    for (std::size_t i = 0; i + 1 < count; i += 2) {
        peak.Left.Max = std::max<int>(peak.Left.Max, values[i]);
        peak.Left.Min = std::min<int>(peak.Left.Min, values[i]);
        peak.Right.Max = std::max<int>(peak.Right.Max, values[i + 1]);
        peak.Right.Min = std::min<int>(peak.Right.Min, values[i + 1]);
    }
    return peak;
}

#if defined(__SSE2__)

constexpr std::size_t kLanes = 8;             // 16-bit values in one register
constexpr std::size_t kUnrolled = 4 * kLanes; // values per pass of the wide loop

// Lane-wise max and min over count values (a multiple of kLanes). Lane i
// sees the values at positions i mod 8, so even lanes hold left values and
// odd lanes right ones when the values are interleaved stereo.
void DrawScanLanes(const std::int16_t* values, std::size_t count, __m128i& maxOut, __m128i& minOut)
{
    __m128i max0 = _mm_set1_epi16(-32768), max1 = max0;
    __m128i min0 = _mm_set1_epi16(32767), min1 = min0;
    std::size_t i = 0;
    for (; i + kUnrolled <= count; i += kUnrolled) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + i + 8));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + i + 16));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + i + 24));
        max0 = _mm_max_epi16(max0, _mm_max_epi16(a, b));
        min0 = _mm_min_epi16(min0, _mm_min_epi16(a, b));
        max1 = _mm_max_epi16(max1, _mm_max_epi16(c, d));
        min1 = _mm_min_epi16(min1, _mm_min_epi16(c, d));
    }
    for (; i < count; i += kLanes) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(values + i));
        max0 = _mm_max_epi16(max0, a);
        min0 = _mm_min_epi16(min0, a);
    }
    maxOut = _mm_max_epi16(max0, max1);
    minOut = _mm_min_epi16(min0, min1);
}

// Folds the eight lanes to two, keeping lane parity: lane 0 gets the max (or
// min) of all even lanes, lane 1 that of all odd lanes.
__m128i DrawFoldMaxToPair(__m128i v)
{
    v = _mm_max_epi16(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
    return _mm_max_epi16(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
}

__m128i DrawFoldMinToPair(__m128i v)
{
    v = _mm_min_epi16(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 3, 2)));
    return _mm_min_epi16(v, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 3, 0, 1)));
}

int DrawLane0(__m128i v)
{
    return static_cast<std::int16_t>(_mm_cvtsi128_si32(v) & 0xFFFF);
}

int DrawLane1(__m128i v)
{
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(_mm_cvtsi128_si32(v)) >> 16);
}

#endif

TPeak DrawScanMono(const std::int16_t* values, std::size_t count)
{
#if defined(__SSE2__)
    if (count >= kLanes && count % kLanes == 0) {
        __m128i max, min;
        DrawScanLanes(values, count, max, min);
        max = DrawFoldMaxToPair(max);
        min = DrawFoldMinToPair(min);
        return {std::max(DrawLane0(max), DrawLane1(max)), std::min(DrawLane0(min), DrawLane1(min))};
    }
#endif
    return DrawScanMonoScalar(values, count);
}

TStereoPeak DrawScanStereo(const std::int16_t* values, std::size_t count)
{
#if defined(__SSE2__)
    if (count >= kLanes && count % kLanes == 0) {
        __m128i max, min;
        DrawScanLanes(values, count, max, min);
        max = DrawFoldMaxToPair(max);
        min = DrawFoldMinToPair(min);
        return {{DrawLane0(max), DrawLane0(min)}, {DrawLane1(max), DrawLane1(min)}};
    }
#endif
    return DrawScanStereoScalar(values, count);
}

TDrawEntryStereo DrawStereoEntry(const TStereoPeak& peak, int zeroLevel)
{
    return {DrawMaxByte(peak.Left.Max, zeroLevel), DrawMinByte(peak.Left.Min, zeroLevel),
            DrawMaxByte(peak.Right.Max, zeroLevel), DrawMinByte(peak.Right.Min, zeroLevel)};
}

TDrawEntryMono DrawMonoEntry(const TPeak& peak, int zeroLevel)
{
    return {DrawMaxByte(peak.Max, zeroLevel), DrawMinByte(peak.Min, zeroLevel)};
}

int DrawPercent(std::int32_t made, std::int32_t total)
{
    if (total <= 0)
        return 0;
    return static_cast<int>(std::nearbyint(static_cast<double>(made) * 100.0 / total));
}

// Runs one job at a time on a thread of its own, so that a chunk is scanned
// while the next is read. A job's exception is raised again by Wait.
//
// Both sides spin (yielding) before they block: handing a job over through a
// condition variable costs about 150 us under Wine, as much as the scan
// saves. The worker spins only for a few milliseconds between jobs, longer
// than one read from the cache takes; after that it sleeps until woken.
class TDrawScanWorker
{
public:
    TDrawScanWorker() : FThread([this] { Serve(); }) {}
    ~TDrawScanWorker()
    {
        WaitIdle();
        FState.store(kQuit);
        WakeIfSleeping();
        FThread.join();
    }
    TDrawScanWorker(const TDrawScanWorker&) = delete;
    TDrawScanWorker& operator=(const TDrawScanWorker&) = delete;

    // Only while idle (after Wait).
    void Start(std::function<void()> job)
    {
        FJob = std::move(job);
        FState.store(kJob);
        WakeIfSleeping();
    }

    // Returns once the job has run; raises what it raised.
    void Wait()
    {
        WaitIdle();
        if (FError)
            std::rethrow_exception(std::exchange(FError, nullptr));
    }

    // Returns once the job has run.
    void WaitIdle()
    {
        while (FState.load() == kJob)
            std::this_thread::yield();
    }

private:
    static constexpr int kIdle = 0;
    static constexpr int kJob = 1;
    static constexpr int kQuit = 2;
    static constexpr int kSpinsBeforeSleep = 4096; // yields: a few milliseconds

    void WakeIfSleeping()
    {
        if (FSleeping.load()) {
            std::lock_guard<std::mutex> lock(FLock);
            FWake.notify_one();
        }
    }

    int AwaitWork()
    {
        for (int i = 0; i < kSpinsBeforeSleep; ++i) {
            const int state = FState.load();
            if (state != kIdle)
                return state;
            std::this_thread::yield();
        }
        std::unique_lock<std::mutex> lock(FLock);
        FSleeping.store(true);
        FWake.wait(lock, [this] { return FState.load() != kIdle; });
        FSleeping.store(false);
        return FState.load();
    }

    void Serve()
    {
        while (AwaitWork() == kJob) {
            try {
                FJob();
            } catch (...) {
                FError = std::current_exception();
            }
            FState.store(kIdle);
        }
    }

    std::atomic<int> FState{kIdle};     // kJob from Start until the job has run
    std::atomic<bool> FSleeping{false}; // the worker blocks on FWake
    std::mutex FLock;                   // pairs with FWake
    std::condition_variable FWake;      // a job or the end is there
    std::function<void()> FJob;         // the job; handed over through FState
    std::exception_ptr FError;          // what the last job raised; handed back likewise
    std::thread FThread;                // last: starts once the rest is made
};

// One read of the walk: count values at value index first.
struct TDrawRead
{
    std::uint32_t First = 0;
    std::uint32_t Count = 0;
    std::size_t Got = 0;
};

TDrawBuildOutcome DrawShortRead(const TDrawRead& read)
{
    return {TDrawBuildResult::Failed, "The sample data ended early: " + std::to_string(read.Got) +
                                          " of " + std::to_string(read.Count) +
                                          " values read at byte " + std::to_string(read.First * 2) +
                                          "."};
}

// Walks the sample data chunk by chunk for both builds: reads each chunk,
// hands it to makeEntries, and reports progress after every chunk but the
// one that holds the end of the data. makeEntries(values, count, fullChunk)
// returns the entries made so far. While a chunk is scanned on the worker,
// the next one is read here, so the scan costs no time beside the reading;
// the progress handler runs only while nothing is scanned, so it may let
// window messages through that look at the draw data.
template <class MakeEntries>
TDrawBuildOutcome DrawWalkChunks(const TDrawSampleReader& reader, const TDrawBuildParams& params,
                                 std::int32_t entriesTotal, const TDrawProgressHandler& progress,
                                 MakeEntries makeEntries)
{
    const std::uint32_t totalValues = params.DataSize / 2;
    if (totalValues == 0)
        return {};
    const std::uint32_t chunkValues = std::max<std::uint32_t>(params.ChunkValues, 1);
    const std::uint32_t bufferValues = std::min(chunkValues, totalValues);
    std::unique_ptr<std::int16_t[]> buffers[2] = {
        std::unique_ptr<std::int16_t[]>(new std::int16_t[bufferValues]),
        std::unique_ptr<std::int16_t[]>(totalValues > chunkValues ? new std::int16_t[bufferValues]
                                                                  : nullptr)};
    std::unique_ptr<TDrawScanWorker> worker;
    if (totalValues > chunkValues)
        worker = std::make_unique<TDrawScanWorker>();

    auto readAt = [&](std::uint32_t first, std::int16_t* buffer) {
        TDrawRead read{first, std::min(chunkValues, totalValues - first), 0};
        read.Got = reader(buffer, read.Count, first * 2);
        return read;
    };
    int current = 0;
    TDrawRead read = readAt(0, buffers[0].get());
    for (;;) {
        if (read.Got != read.Count)
            return DrawShortRead(read);
        const std::uint32_t nextFirst = read.First + read.Count;
        const std::int16_t* values = buffers[current].get();
        const bool full = read.Count == chunkValues;
        std::int32_t made = 0;
        if (nextFirst >= totalValues) {
            makeEntries(values, read.Count, full);
            return {};
        }
        worker->Start([&made, &makeEntries, values, count = read.Count, full] {
            made = makeEntries(values, count, full);
        });
        TDrawRead next;
        try {
            next = readAt(nextFirst, buffers[1 - current].get());
        } catch (...) {
            worker->WaitIdle(); // the scan still uses the buffers
            throw;
        }
        worker->Wait();
        if (progress && !progress({made, entriesTotal, DrawPercent(made, entriesTotal)}))
            return {TDrawBuildResult::Cancelled, {}};
        read = next;
        current = 1 - current;
    }
}

// Runs a walk and turns whatever it raises into a failed build with an empty
// table: a read error must end the build, never the program.
template <class Data, class Walk> TDrawBuildOutcome DrawGuarded(Data& out, Walk walk)
{
    TDrawBuildOutcome outcome;
    try {
        outcome = walk();
    } catch (const std::exception& error) {
        outcome = {TDrawBuildResult::Failed, error.what()};
    }
    if (outcome.Result == TDrawBuildResult::Failed)
        out.Clear();
    return outcome;
}

} // namespace

int WaveBlockSizeFor(std::int32_t sampleSize)
{
    const double steps = std::nearbyint(static_cast<double>(sampleSize) / kFramesPerBlockStep);
    int blockSize = 2;
    while (steps >= blockSize)
        blockSize *= 2;
    return blockSize;
}

TDrawBuildOutcome BuildDrawDataStereo(const TDrawSampleReader& reader,
                                      const TDrawBuildParams& params,
                                      const TDrawProgressHandler& progress, TDrawDataStereo& out)
{
    const std::int32_t total = DrawEntryCount(2, params.DataSize, params.BlockSize);
    out.Data.assign(total, TDrawEntryStereo{});
    if (total == 0)
        return {};
    const std::size_t blockValues = static_cast<std::size_t>(params.BlockSize);
    std::int32_t made = 0;
    return DrawGuarded(out, [&] {
        return DrawWalkChunks(reader, params, total, progress,
                              [&](const std::int16_t* values, std::size_t count, bool) {
                                  for (std::size_t at = 0;
                                       at + blockValues <= count && made < total; at += blockValues)
                                      out.Data[made++] =
                                          DrawStereoEntry(DrawScanStereo(values + at, blockValues),
                                                          params.ZeroLevel);
                                  return made;
                              });
    });
}

TDrawBuildOutcome BuildDrawDataMono(const TDrawSampleReader& reader, const TDrawBuildParams& params,
                                    const TDrawProgressHandler& progress, TDrawDataMono& out)
{
    const std::int32_t total = DrawEntryCount(1, params.DataSize, params.BlockSize);
    out.Data.assign(total, TDrawEntryMono{});
    if (total == 0)
        return {};
    const std::size_t half = static_cast<std::size_t>(params.BlockSize / 2);
    std::int32_t made = 0;
    return DrawGuarded(out, [&] {
        return DrawWalkChunks(
            reader, params, total, progress,
            [&](const std::int16_t* values, std::size_t count, bool fullChunk) {
                // Entry k spans its own half block and the next, cut at the
                // chunk's end: each half is scanned once and used twice.
                const std::size_t entries = count / half;
                const std::size_t tail = count - entries * half;
                const std::int32_t first = made;
                TPeak current = DrawScanMono(values, std::min(half, count));
                for (std::size_t k = 0; k < entries && made < total; ++k) {
                    const std::size_t nextAt = (k + 1) * half;
                    const TPeak next = k + 1 < entries ? DrawScanMono(values + nextAt, half)
                                       : tail > 0      ? DrawScanMono(values + nextAt, tail)
                                                       : TPeak{};
                    out.Data[made++] = DrawMonoEntry(DrawCombine(current, next), params.ZeroLevel);
                    current = next;
                }
                // A full chunk's last entry repeats the one before it.
                if (fullChunk && made > first && made >= 2)
                    out.Data[made - 1] = out.Data[made - 2];
                return made;
            });
    });
}

double EstimateRemainingSeconds(std::uint32_t elapsedMs, int percent)
{
    if (percent <= 0)
        return -1;
    return static_cast<double>(elapsedMs) / percent * (100 - percent) / 1000.0;
}
