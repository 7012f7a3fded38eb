// Fuzz target: the level detectors, the averaged envelope, and trim and
// expand, over random envelopes and settings. The input is a head of
// settings (below) and then one level per draw entry (each byte mod 129). The
// draw data are made exactly as long as the envelope, so a read past them is
// caught. Besides crashes and undefined behaviour it stops on a region or
// cut point outside the envelope's frames, a region that does not start
// before it ends, an averaged table of the wrong length, and a fitted range
// outside the file (or changed while reported unchanged).
#include "editor/TrimExpand.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// The head, in order: AUTO level (signed byte), PRETIME, POSTTIME, MINLENGTH,
// MININTERVAL (32-bit), the draw-block size (2 << byte mod 12), the rate
// (16-bit), the chunk of the averages (32-bit), a range's start and end
// (32-bit), the file's length (32-bit, or with flag bit 0 clear the draw
// data's frames plus the flag byte over 2), flags (bit 1: stereo draw data),
// and the TRIM level (signed byte).
struct FuzzHead
{
    std::int8_t AutoLevel;
    std::int32_t PreTime, PostTime, MinLength, MinInterval;
    std::uint8_t BlockShift;
    std::uint16_t Rate;
    std::int32_t Chunk;
    std::int32_t Start, End;
    std::int32_t SampleSize;
    std::uint8_t Flags;
    std::int8_t TrimLevel;
};
constexpr std::size_t kFuzzHeadSize = 1 + 4 * 4 + 1 + 2 + 4 + 4 + 4 + 4 + 1 + 1;

template <class T> T FuzzTake(const std::uint8_t*& at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    at += sizeof value;
    return value;
}

FuzzHead FuzzReadHead(const std::uint8_t* at)
{
    FuzzHead head;
    head.AutoLevel = FuzzTake<std::int8_t>(at);
    head.PreTime = FuzzTake<std::int32_t>(at);
    head.PostTime = FuzzTake<std::int32_t>(at);
    head.MinLength = FuzzTake<std::int32_t>(at);
    head.MinInterval = FuzzTake<std::int32_t>(at);
    head.BlockShift = FuzzTake<std::uint8_t>(at);
    head.Rate = FuzzTake<std::uint16_t>(at);
    head.Chunk = FuzzTake<std::int32_t>(at);
    head.Start = FuzzTake<std::int32_t>(at);
    head.End = FuzzTake<std::int32_t>(at);
    head.SampleSize = FuzzTake<std::int32_t>(at);
    head.Flags = FuzzTake<std::uint8_t>(at);
    head.TrimLevel = FuzzTake<std::int8_t>(at);
    return head;
}

void FuzzCheckRegions(const TAutoRegionList& found, std::int32_t lastFrame)
{
    for (const auto& [start, end] : found.Regions)
        if (start < 0 || start >= end || end > lastFrame)
            __builtin_trap();
}

void FuzzCheckFit(bool changed, std::int32_t start, std::int32_t end, const FuzzHead& head,
                  std::int32_t sampleSize)
{
    if (!changed && (start != head.Start || end != head.End))
        __builtin_trap();
    if (changed && (start < 0 || start >= end || end > sampleSize))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kFuzzHeadSize)
        return 0;
    const FuzzHead head = FuzzReadHead(data);
    const std::size_t entries = size - kFuzzHeadSize;
    const std::uint8_t* levels = data + kFuzzHeadSize;

    TDrawDataStereo stereo;
    TDrawDataMono mono;
    const bool isStereo = head.Flags & 2;
    if (isStereo)
        stereo.Data.resize(entries);
    else
        mono.Data.resize(entries);
    for (std::size_t k = 0; k < entries; ++k) {
        const int level = levels[k] % 129;
        const auto max = static_cast<std::int8_t>(level > 127 ? 127 : level);
        const auto min = static_cast<std::int8_t>(-level);
        if (isStereo)
            stereo.Data[k] = {0, static_cast<std::int8_t>(-(level / 2)), max, min};
        else
            mono.Data[k] = {max, min};
    }
    const TDrawLevels drawLevels = isStereo ? TDrawLevels(stereo) : TDrawLevels(mono);

    TMaxData envelope;
    BuildLevelEnvelope(drawLevels, 1, envelope);
    for (std::size_t k = 0; k < entries; ++k)
        if (envelope.Data[k] != levels[k] % 129)
            __builtin_trap();

    const int blockSize = 2 << (head.BlockShift % 12);
    const TLevelScale scale = TLevelScale::For(head.Rate, blockSize);
    const std::int32_t lastFrame = scale.FrameOf(static_cast<std::int64_t>(entries) - 1);
    const TAutoSettings settings{head.AutoLevel, head.PreTime, head.PostTime, head.MinLength,
                                 head.MinInterval};
    TCompData averages;
    for (TAutoMode mode :
         {TAutoMode::StripSilence, TAutoMode::CutPoints, TAutoMode::SearchSilence}) {
        const TAutoDetection found = DetectLevels(mode, envelope, averages, scale, settings);
        FuzzCheckRegions(found.Regions, lastFrame);
        for (std::int32_t point : found.CutPoints)
            if (point < 0 || point > lastFrame)
                __builtin_trap();
    }

    AverageEnvelope(envelope, head.Chunk, averages);
    const std::size_t chunk = head.Chunk < 1 ? 1 : static_cast<std::size_t>(head.Chunk);
    if (averages.Data.size() != entries / chunk)
        __builtin_trap();

    const std::int32_t sampleSize =
        head.Flags & 1 ? head.SampleSize
                       : scale.FrameOf(static_cast<std::int64_t>(entries)) + head.Flags / 2;
    const TTrimParams params = TTrimParams::For({head.TrimLevel, head.PreTime, head.PostTime},
                                                head.Rate, blockSize, sampleSize);
    std::int32_t start = head.Start, end = head.End;
    bool changed = TrimRange(drawLevels, params, start, end);
    FuzzCheckFit(changed, start, end, head, sampleSize);
    start = head.Start;
    end = head.End;
    changed = ExpandRange(drawLevels, params, start, end);
    FuzzCheckFit(changed, start, end, head, sampleSize);
    return 0;
}
