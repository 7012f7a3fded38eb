// Fuzz target: the draw-data build over arbitrary sample data, checked entry
// for entry against a plain computation of the same table written here.
// The head picks:
//   byte 0  bit 0 stereo; bits 1-4 the block size B = 2 << (n mod 12); bit
//           5 each read scanned under a guard that lets it run to its end
//   byte 1, 2  values per read: 2,097,152 (what the program reads) when
//           byte 1 is 0, else byte 1 x 2^(byte 2 mod 8): small reads reach
//           every rule of the reads (blocks and windows cut at a read's
//           end, the last entry of a full read) with a small input
//   byte 3, 4  the silence threshold Z, a signed 16-bit value
//   byte 5  the read after which the user cancels (255: never)
// The rest is the sample data, any length (odd, no whole frame, empty).
// Besides crashes, undefined behaviour and reads outside the data (every
// read gets memory of exactly its size), it stops on
// - a read that is not the next one: not where the last ended, or more
//   than one read's worth, or past the data;
// - progress that is not that of the entries made after each read but the
//   last, or a build that did not stop when cancelled;
// - any entry that differs from the plain computation.
#include "editor/DrawData.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kHead = 6;

// The program reads 2,097,152 values at a time; the mono rule for a full
// read makes that size visible in the table.
static_assert(kDrawReadValues == 2097152);

struct TFuzzBuild
{
    bool Stereo = false;
    bool Guarded = false;
    int BlockSize = 2;
    std::uint32_t ChunkValues = kDrawReadValues;
    int ZeroLevel = 256;
    int CancelAfter = 255; // reads
    std::vector<std::int16_t> Values;
    std::uint32_t DataSize = 0; // bytes
};

TFuzzBuild FuzzBuildOf(const std::uint8_t* data, std::size_t size)
{
    TFuzzBuild b;
    b.Stereo = data[0] & 1;
    b.Guarded = data[0] & 0x20;
    b.BlockSize = 2 << (((data[0] >> 1) & 0x0F) % 12);
    b.ChunkValues = data[1] == 0 ? kDrawReadValues : std::uint32_t(data[1]) << (data[2] % 8);
    b.ZeroLevel = static_cast<std::int16_t>(data[3] | data[4] << 8);
    b.CancelAfter = data[5];
    const std::vector<std::uint8_t> bytes(data + kHead, data + size);
    b.DataSize = static_cast<std::uint32_t>(bytes.size());
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        b.Values.push_back(static_cast<std::int16_t>(bytes[i] | bytes[i + 1] << 8));
    return b;
}

// The high byte of a highest and of a lowest value: v / 256 toward zero;
// Z < max < 256 gives 1 and -256 < min < -Z gives -1; a max below 0 and a
// min above 0 give 0.
std::int8_t FuzzMaxByte(int max, int z)
{
    int high = max / 256;
    if (z < max && max < 256)
        high = 1;
    return static_cast<std::int8_t>(std::max(high, 0));
}

std::int8_t FuzzMinByte(int min, int z)
{
    int high = min / 256;
    if (-256 < min && min < -z)
        high = -1;
    return static_cast<std::int8_t>(std::min(high, 0));
}

// The table as the build must make it, read by read: stereo, one entry per
// whole block of B values of a read (even values left, odd right); mono,
// one per B/2 samples of a read, over B samples from its first cut at the
// read's end, and after a full read its last entry a copy of the one before.
// Reads after the cancelling one are not made; their entries stay 0.
// madeAfter gets the entries made after each read but the last. Data
// without a whole entry is not read at all.
template <class Entry>
std::vector<Entry> FuzzReference(const TFuzzBuild& b, std::vector<std::int32_t>& madeAfter)
{
    const std::size_t n = b.DataSize / 2;
    const std::size_t perEntry = b.Stereo ? b.BlockSize : b.BlockSize / 2;
    std::vector<Entry> table(n / perEntry);
    if (table.empty())
        return table;
    std::size_t made = 0;
    int reads = 0;
    for (std::size_t first = 0; first < n;) {
        const std::size_t count = std::min<std::size_t>(b.ChunkValues, n - first);
        const std::int16_t* v = b.Values.data() + first;
        const std::size_t madeBefore = made;
        for (std::size_t at = 0; at + perEntry <= count && made < table.size(); at += perEntry) {
            const std::size_t end = b.Stereo ? at + b.BlockSize : std::min(at + b.BlockSize, count);
            int max[2] = {-32768, -32768}, min[2] = {32767, 32767};
            for (std::size_t i = at; i < end; ++i) {
                const int side = b.Stereo ? (i - at) % 2 : 0;
                max[side] = std::max<int>(max[side], v[i]);
                min[side] = std::min<int>(min[side], v[i]);
            }
            std::int8_t bytes[4] = {
                FuzzMaxByte(max[0], b.ZeroLevel), FuzzMinByte(min[0], b.ZeroLevel),
                FuzzMaxByte(max[1], b.ZeroLevel), FuzzMinByte(min[1], b.ZeroLevel)};
            std::memcpy(&table[made++], bytes, sizeof(Entry));
        }
        if (!b.Stereo && count == b.ChunkValues && made > madeBefore && made >= 2)
            table[made - 1] = table[made - 2];
        first += count;
        if (first == n)
            break;
        madeAfter.push_back(static_cast<std::int32_t>(made));
        if (reads++ == b.CancelAfter)
            break;
    }
    return table;
}

template <class Data, class Build> void FuzzCheckBuild(const TFuzzBuild& b, Build build)
{
    TDrawBuildParams params;
    params.DataSize = b.DataSize;
    params.BlockSize = b.BlockSize;
    params.ZeroLevel = b.ZeroLevel;
    params.ChunkValues = b.ChunkValues;
    if (b.Guarded)
        params.ScanGuard = [](void (*scan)(void*), void* context) {
            scan(context);
            return true;
        };

    std::uint32_t nextByte = 0;
    std::unique_ptr<std::int16_t[]> served;
    auto reader = [&](std::size_t count, std::uint32_t bytePosition) -> const std::int16_t* {
        if (bytePosition != nextByte || count == 0 || count > b.ChunkValues ||
            bytePosition / 2 + count > b.Values.size())
            __builtin_trap();
        served = std::make_unique<std::int16_t[]>(count);
        std::copy_n(b.Values.data() + bytePosition / 2, count, served.get());
        nextByte = static_cast<std::uint32_t>(bytePosition + count * 2);
        return served.get();
    };

    Data out;
    using Entry = typename decltype(out.Data)::value_type;
    std::vector<std::int32_t> madeAfter;
    const std::vector<Entry> expected = FuzzReference<Entry>(b, madeAfter);
    const auto total = static_cast<std::int32_t>(expected.size());
    std::size_t reads = 0;
    bool cancelled = false;
    auto progress = [&](const TDrawProgress& p) {
        const int percent =
            static_cast<int>(std::nearbyint(static_cast<double>(p.EntriesMade) * 100.0 / total));
        if (cancelled || reads >= madeAfter.size() || p.EntriesMade != madeAfter[reads] ||
            p.EntriesTotal != total || p.Percent != percent)
            __builtin_trap();
        cancelled = static_cast<int>(reads++) == b.CancelAfter;
        return !cancelled;
    };
    const TDrawBuildOutcome outcome = build(reader, params, progress, out);
    const TDrawBuildResult wanted =
        cancelled ? TDrawBuildResult::Cancelled : TDrawBuildResult::Done;
    if (outcome.Result != wanted || reads != madeAfter.size() || out.Data != expected)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (TDrawBuildParams{}.ChunkValues != kDrawReadValues)
        __builtin_trap();
    if (size < kHead)
        return 0;
    const TFuzzBuild build = FuzzBuildOf(data, size);
    if (build.Stereo)
        FuzzCheckBuild<TDrawDataStereo>(build, BuildDrawDataStereo);
    else
        FuzzCheckBuild<TDrawDataMono>(build, BuildDrawDataMono);
    return 0;
}
