// Draw data: the compact table the waveform views, the level detectors and
// trimming read instead of the samples. For every half draw block of the file
// it holds the high bytes of the highest and the lowest sample of each
// channel.
//
//   TDrawEntryStereo, TDrawEntryMono   one entry (4 or 2 signed bytes)
//   TDrawDataStereo, TDrawDataMono     the table of a stereo or mono file
//   WaveBlockSizeFor                   the draw-block size for a file length
//   DrawEntryCount                     how many entries a file gets
//   BuildDrawDataStereo / ...Mono      the build over a sample reader
//
// The build is pure: it reads through a callback, reports progress through
// another, and knows nothing of files, windows or the engine (DrawBuild
// binds it to the engine for the processing window). It includes nothing of
// the platform, so the draw-cache parse that uses these types also builds
// natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TDrawEntryStereo
{
    std::int8_t MaxL; // high byte of the block's highest left sample, >= 0
    std::int8_t MinL; // high byte of its lowest left sample, <= 0
    std::int8_t MaxR;
    std::int8_t MinR;

    bool operator==(const TDrawEntryStereo&) const = default;
};

struct TDrawEntryMono
{
    std::int8_t Max; // >= 0
    std::int8_t Min; // <= 0

    bool operator==(const TDrawEntryMono&) const = default;
};

static_assert(sizeof(TDrawEntryStereo) == 4 && sizeof(TDrawEntryMono) == 2,
              "entries are stored in the draw cache byte for byte");

// Entry k stands for the frames from k * (the block size div 2) on.
struct TDrawDataStereo
{
    std::vector<TDrawEntryStereo> Data; // one entry per half draw block
    std::int32_t Count() const { return static_cast<std::int32_t>(Data.size()); }
    void Clear() { std::vector<TDrawEntryStereo>().swap(Data); }
};

struct TDrawDataMono
{
    std::vector<TDrawEntryMono> Data; // one entry per half draw block
    std::int32_t Count() const { return static_cast<std::int32_t>(Data.size()); }
    void Clear() { std::vector<TDrawEntryMono>().swap(Data); }
};

// The draw-block size before any file is opened.
constexpr int kInitialWaveBlockSize = 256;
// Frames of a file per unit of the block-size rule: a long file gets between
// 262144 and 524288 entries.
constexpr std::int32_t kFramesPerBlockStep = 262144;
// 16-bit values read at a time (4 MiB). The mono chunk-end rule makes it
// visible in the draw data: keep it.
constexpr std::uint32_t kDrawReadValues = 2097152;

// The draw-block size, in frames, for a file of sampleSize frames: the
// quotient sampleSize / 262144 rounded half to even, then the smallest power
// of two above it, at least 2.
int WaveBlockSizeFor(std::int32_t sampleSize);

// The entries a build makes for dataSize bytes of 16-bit samples in blocks
// of blockSize: stereo (channels 2) one per blockSize values, anything else
// one per blockSize div 2 samples. 0 for a block size below 2.
inline std::int32_t DrawEntryCount(std::uint16_t channels, std::uint32_t dataSize, int blockSize)
{
    if (blockSize < 2)
        return 0;
    const std::uint32_t values = dataSize / 2;
    const std::uint32_t perEntry = channels == 2 ? blockSize : blockSize / 2;
    return static_cast<std::int32_t>(values / perEntry);
}

// Gives count 16-bit values, starting bytePosition bytes into the sample
// data, as memory that stays readable until the next call. Null means the
// data could not be read (the file is shorter than its head says); it may
// also raise. Memory that can become unreadable while it is scanned needs a
// TDrawScanGuard.
using TDrawSampleReader =
    std::function<const std::int16_t*(std::size_t count, std::uint32_t bytePosition)>;

struct TDrawProgress
{
    std::int32_t EntriesMade;  // entries made so far
    std::int32_t EntriesTotal; // entries of the whole build
    int Percent;               // EntriesMade * 100 / EntriesTotal, rounded half to even
};

// Called after every chunk but the one that holds the end of the data, on
// the calling thread, between chunks; returns false to stop the build (the
// user cancelled).
using TDrawProgressHandler = std::function<bool(const TDrawProgress& progress)>;

enum class TDrawBuildResult
{
    Done,      // every entry made
    Cancelled, // the progress handler said stop; the entries made so far stay
    Failed     // a read failed or raised; the table is emptied
};

struct TDrawBuildOutcome
{
    TDrawBuildResult Result = TDrawBuildResult::Done;
    std::string Error; // why a build failed (the exception's message, or the failed read)
};

// Runs scan(context), which reads the values the reader gave last, and
// returns whether it ran to its end: false when those values turned out
// unreadable part way (memory mapped from a file that lost its bytes), the
// scan abandoned where it stopped without unwinding. The scans a build runs
// this way hold only plain values.
using TDrawScanGuard = std::function<bool(void (*scan)(void* context), void* context)>;

// What a build reads and how: dataSize bytes of sample data in blocks of
// BlockSize frames, quiet sound above ZeroLevel lifted to +-1.
struct TDrawBuildParams
{
    std::uint32_t DataSize = 0; // bytes of sample data
    int BlockSize = kInitialWaveBlockSize;
    int ZeroLevel = 256;                         // the silence threshold
    std::uint32_t ChunkValues = kDrawReadValues; // values per read; tests make it small
    TDrawScanGuard ScanGuard;                    // empty: chunks are scanned unguarded
};

// Builds the draw data of interleaved stereo samples: one entry per
// BlockSize values (BlockSize div 2 frames), whole blocks within each chunk.
TDrawBuildOutcome BuildDrawDataStereo(const TDrawSampleReader& reader,
                                      const TDrawBuildParams& params,
                                      const TDrawProgressHandler& progress, TDrawDataStereo& out);

// Builds the draw data of mono samples: one entry per H = BlockSize div 2
// samples, taking the max and min over the H samples of its own and the
// following H, cut at the chunk's end. After every full chunk, its last entry
// is replaced by the one before it.
TDrawBuildOutcome BuildDrawDataMono(const TDrawSampleReader& reader, const TDrawBuildParams& params,
                                    const TDrawProgressHandler& progress, TDrawDataMono& out);

// Seconds left when percent of the work took elapsedMs; negative while
// percent is 0 (nothing to estimate from yet).
double EstimateRemainingSeconds(std::uint32_t elapsedMs, int percent);
