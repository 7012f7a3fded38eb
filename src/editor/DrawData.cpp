#include "DrawData.h"

#include <algorithm>
#include <cmath>

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

TDrawBuildOutcome DrawReadFailure(std::uint32_t firstValue, std::uint32_t count)
{
    return {TDrawBuildResult::Failed,
            "The sample data could not be read: " + std::to_string(count) + " values at byte " +
                std::to_string(firstValue * 2) + "."};
}

// Runs scan under guard, when there is one.
template <class Scan> bool DrawScanGuarded(const TDrawScanGuard& guard, Scan& scan)
{
    if (!guard) {
        scan();
        return true;
    }
    return guard([](void* context) { (*static_cast<Scan*>(context))(); }, &scan);
}

// Walks the sample data chunk by chunk for both builds: reads each chunk,
// hands it to makeEntries, and reports progress after every chunk but the
// one that holds the end of the data. makeEntries(values, count, fullChunk)
// returns the entries made so far; it runs under the scan guard, so it keeps
// plain values only. The chunks are read in place, without a copy (the
// engine maps the file), and scanned as they come on this thread:
// a second thread for the scan left the build waiting for a free core
// whenever the machine was busy, and the scan costs less than bringing the
// pages in.
template <class MakeEntries>
TDrawBuildOutcome DrawWalkChunks(const TDrawSampleReader& reader, const TDrawBuildParams& params,
                                 std::int32_t entriesTotal, const TDrawProgressHandler& progress,
                                 MakeEntries makeEntries)
{
    const std::uint32_t totalValues = params.DataSize / 2;
    const std::uint32_t chunkValues = std::max<std::uint32_t>(params.ChunkValues, 1);
    for (std::uint32_t first = 0; first < totalValues;) {
        const std::uint32_t count = std::min(chunkValues, totalValues - first);
        const std::int16_t* values = reader(count, first * 2);
        if (!values)
            return DrawReadFailure(first, count);
        std::int32_t made = 0;
        auto scan = [&] { made = makeEntries(values, count, count == chunkValues); };
        if (!DrawScanGuarded(params.ScanGuard, scan))
            return DrawReadFailure(first, count);
        first += count;
        if (first < totalValues && progress &&
            !progress({made, entriesTotal, DrawPercent(made, entriesTotal)}))
            return {TDrawBuildResult::Cancelled, {}};
    }
    return {};
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
