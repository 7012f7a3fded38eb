#include "TrimExpand.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// A margin of ms milliseconds in frames; a negative time widens nothing.
std::int32_t TrimMarginFrames(int ms, double framesPerSecond)
{
    const double frames = std::nearbyint(ms / 1000.0 * framesPerSecond);
    if (!(frames > 0))
        return 0;
    return static_cast<std::int32_t>(std::min(frames, double(INT32_MAX)));
}

// The draw entries a range covers: First holds its start, Last its end
// (limited to the last entry).
struct TTrimEntries
{
    std::int64_t First;
    std::int64_t Last;
};

// The entries of start .. end clamped to the file, or false when nothing of
// the draw data is to be read: the range is empty once clamped, or starts
// past the last entry.
bool TrimEntriesOf(const TDrawLevels& levels, const TTrimParams& params, std::int32_t start,
                   std::int32_t end, TTrimEntries& entries)
{
    const std::int64_t frames = std::max(params.SampleSize, 0);
    const std::int64_t from = std::clamp<std::int64_t>(start, 0, frames);
    const std::int64_t to = std::clamp<std::int64_t>(end, 0, frames);
    const std::int64_t perEntry = std::max(params.FramesPerEntry, 1);
    entries = {from / perEntry, std::min<std::int64_t>(to / perEntry, levels.Count() - 1)};
    return from < to && entries.First <= entries.Last;
}

bool TrimIsLoud(const TDrawLevels& levels, const TTrimParams& params, std::int64_t k)
{
    return levels.Level(static_cast<std::int32_t>(k)) > params.Level;
}

// Sets the range to the kept entries with the margins, unless the fit found
// nothing to change (both ends kept) or a single loud entry.
bool TrimApply(const TTrimParams& params, const TTrimEntries& was, const TTrimEntries& kept,
               std::int32_t& start, std::int32_t& end)
{
    if ((kept.First == was.First && kept.Last == was.Last) || kept.First == kept.Last)
        return false;
    const std::int64_t perEntry = std::max(params.FramesPerEntry, 1);
    const std::int32_t newStart = static_cast<std::int32_t>(
        std::max<std::int64_t>(0, kept.First * perEntry - params.PreFrames));
    const std::int32_t newEnd = static_cast<std::int32_t>(
        std::min<std::int64_t>(params.SampleSize, kept.Last * perEntry + params.PostFrames));
    const bool changed = newStart != start || newEnd != end;
    start = newStart;
    end = newEnd;
    return changed;
}

// Walks from entry from by step (+1 or -1) while within the draw data, and
// returns the entry at which kExpandQuietRun quiet entries in a row are
// counted, or -1 when the walk ends first.
std::int64_t TrimQuietRunFrom(const TDrawLevels& levels, const TTrimParams& params,
                              std::int64_t from, int step)
{
    std::int32_t quiet = 0;
    for (std::int64_t k = from; k >= 0 && k < levels.Count(); k += step) {
        quiet = TrimIsLoud(levels, params, k) ? 0 : quiet + 1;
        if (quiet == kExpandQuietRun)
            return k;
    }
    return -1;
}

} // namespace

TTrimParams TTrimParams::For(const TTrimSettings& settings, double framesPerSecond,
                             int waveBlockSize, std::int32_t sampleSize)
{
    TTrimParams params;
    params.Level = settings.Level;
    params.PreFrames = TrimMarginFrames(settings.PreTime, framesPerSecond);
    params.PostFrames = TrimMarginFrames(settings.PostTime, framesPerSecond);
    params.FramesPerEntry = std::max(waveBlockSize / 2, 1);
    params.SampleSize = sampleSize;
    return params;
}

bool TrimRange(const TDrawLevels& levels, const TTrimParams& params, std::int32_t& start,
               std::int32_t& end)
{
    TTrimEntries was;
    if (!TrimEntriesOf(levels, params, start, end, was))
        return false;
    TTrimEntries kept = was;
    while (kept.First < was.Last && !TrimIsLoud(levels, params, kept.First))
        ++kept.First;
    if (!TrimIsLoud(levels, params, kept.First))
        kept.First = was.First; // nothing loud
    while (kept.Last > was.First && !TrimIsLoud(levels, params, kept.Last))
        --kept.Last;
    if (!TrimIsLoud(levels, params, kept.Last))
        kept.Last = was.Last;
    return TrimApply(params, was, kept, start, end);
}

bool ExpandRange(const TDrawLevels& levels, const TTrimParams& params, std::int32_t& start,
                 std::int32_t& end)
{
    TTrimEntries was;
    if (!TrimEntriesOf(levels, params, start, end, was))
        return false;
    TTrimEntries kept = was;
    const std::int64_t before = TrimQuietRunFrom(levels, params, was.First - 1, -1);
    if (before >= 0)
        kept.First = before + kExpandQuietRun;
    const std::int64_t after = TrimQuietRunFrom(levels, params, was.Last + 1, +1);
    if (after >= 0)
        kept.Last = after - kExpandQuietRun;
    return TrimApply(params, was, kept, start, end);
}
