#include "LevelDetect.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

namespace {

// Entry counts are worked out in 64 bits: times and margins come from a
// settings file read unchecked, and must neither overflow nor wrap.
constexpr double kLevelEntryLimit = 9007199254740992.0; // 2^53

// A time of ms milliseconds as draw entries, unrounded.
double LevelEntriesOf(int ms, const TLevelScale& scale)
{
    return ms / 1000.0 * scale.EntriesPerSecond;
}

// The same rounded half to even.
std::int64_t LevelRoundedEntriesOf(int ms, const TLevelScale& scale)
{
    const double entries = std::nearbyint(LevelEntriesOf(ms, scale));
    return static_cast<std::int64_t>(std::clamp(entries, -kLevelEntryLimit, kLevelEntryLimit));
}

// A margin in entries: a negative time widens nothing.
std::int64_t LevelMarginOf(int ms, const TLevelScale& scale)
{
    return std::max<std::int64_t>(0, LevelRoundedEntriesOf(ms, scale));
}

// What both region detectors share: the envelope, the margins and the list
// the regions go to.
class TLevelRegionSink
{
public:
    TLevelRegionSink(const TMaxData& envelope, const TLevelScale& scale,
                     const TAutoSettings& settings)
        : FLast(envelope.Count() - 1), FPre(LevelMarginOf(settings.PreTime, scale)),
          FPost(LevelMarginOf(settings.PostTime, scale)), FScale(scale)
    {
    }

    std::int64_t Last() const { return FLast; }

    // Adds the region of the entries first to last widened by the margins,
    // within the envelope, unless it would start where it ends (only strip
    // silence makes such a pair: a single entry without margins).
    void Add(std::int64_t first, std::int64_t last, bool withPost = true)
    {
        const std::int64_t from = std::max<std::int64_t>(0, first - FPre);
        const std::int64_t to = std::min(FLast, withPost ? last + FPost : last);
        if (from < to)
            FRegions.Regions.emplace_back(FScale.FrameOf(from), FScale.FrameOf(to));
    }

    TAutoRegionList Take() { return std::move(FRegions); }

private:
    std::int64_t FLast; // the last entry of the envelope
    std::int64_t FPre;  // margin before, entries
    std::int64_t FPost; // margin after, entries
    TLevelScale FScale;
    TAutoRegionList FRegions;
};

// For every entry t, the highest entry t' <= t that ends a run of runLength
// entries below quietLevel, or -1 when none does.
std::vector<std::int32_t> LevelQuietRunEnds(const TMaxData& envelope, std::int32_t runLength,
                                            int quietLevel)
{
    std::vector<std::int32_t> ends(envelope.Data.size());
    std::int32_t run = 0;
    std::int32_t lastEnd = -1;
    for (std::int32_t t = 0; t < envelope.Count(); ++t) {
        run = envelope.Data[t] < quietLevel ? run + 1 : 0;
        if (run >= runLength)
            lastEnd = t;
        ends[t] = lastEnd;
    }
    return ends;
}

// The loudest entry from first to last - 1 (the first of equals).
std::int64_t LevelLoudestIn(const TMaxData& envelope, std::int64_t first, std::int64_t last)
{
    const auto begin = envelope.Data.begin();
    return std::max_element(begin + first, begin + last) - begin;
}

} // namespace

std::string LevelToDbText(double value, double maximum)
{
    if (!(value > 0))
        return "-∞";
    const double db = 20 * std::log10(value / maximum);
    if (!std::isfinite(db))
        return db > 0 ? "+∞" : "-∞";
    const long long tenths = std::llround(db * 10); // half away from zero
    std::string text = value > maximum ? "+" : tenths < 0 ? "-" : "";
    const long long size = tenths < 0 ? -tenths : tenths;
    return text + std::to_string(size / 10) + "." + std::to_string(size % 10);
}

int DbToLevel(double db, double maximum)
{
    const double level = std::nearbyint(std::pow(10.0, db / 20) * maximum);
    if (std::isnan(level))
        return 0;
    return static_cast<int>(std::clamp(level, double(INT_MIN), double(INT_MAX)));
}

std::optional<int> DbTextToLevel(const std::string& text, double maximum)
{
    if (text.empty())
        return 0;
    if (text.find('-', 1) != std::string::npos || std::count(text.begin(), text.end(), '.') > 1 ||
        text.find_first_not_of("0123456789.-") != std::string::npos ||
        text.find_first_of("0123456789") == std::string::npos)
        return std::nullopt;
    // Digits with at most one point, perhaps after a minus: read here, the
    // same whatever the locale.
    double size = 0, place = 1;
    bool fraction = false;
    for (char c : text) {
        if (c == '.')
            fraction = true;
        if (c == '.' || c == '-')
            continue;
        const int digit = c - '0';
        if (fraction)
            size += digit * (place /= 10);
        else
            size = size * 10 + digit;
    }
    const double db = text[0] == '-' ? -size : size;
    return db >= 0 ? static_cast<int>(maximum) : DbToLevel(db, maximum);
}

int TDrawLevels::Level(std::int32_t k) const
{
    if (FStereo) {
        const TDrawEntryStereo& e = FStereo->Data[k];
        return std::max({int(e.MaxL), -int(e.MinL), int(e.MaxR), -int(e.MinR)});
    }
    const TDrawEntryMono& e = FMono->Data[k];
    return std::max(int(e.Max), -int(e.Min));
}

void BuildLevelEnvelope(const TDrawLevels& levels, std::uint32_t drawGeneration, TMaxData& envelope)
{
    envelope.Data.resize(levels.Count());
    for (std::int32_t k = 0; k < levels.Count(); ++k)
        envelope.Data[k] = static_cast<std::uint8_t>(levels.Level(k));
    envelope.DrawGeneration = drawGeneration;
}

bool AverageEnvelope(const TMaxData& envelope, std::int32_t chunk, TCompData& averages)
{
    chunk = std::max(chunk, 1);
    if (averages.Chunk == chunk && averages.DrawGeneration == envelope.DrawGeneration)
        return false;
    averages.Chunk = chunk;
    averages.DrawGeneration = envelope.DrawGeneration;
    if (chunk == 1) {
        averages.Data = envelope.Data;
        return true;
    }
    averages.Data.resize(envelope.Data.size() / chunk);
    const std::uint8_t* values = envelope.Data.data();
    for (std::uint8_t& mean : averages.Data) {
        std::int64_t sum = 0;
        for (std::int32_t j = 0; j < chunk; ++j)
            sum += *values++;
        mean = static_cast<std::uint8_t>(std::nearbyint(static_cast<double>(sum) / chunk));
    }
    return true;
}

TLevelScale TLevelScale::For(int rate, int waveBlockSize)
{
    const int blockSize = std::max(waveBlockSize, 2);
    return {2.0 * rate / blockSize, blockSize / 2};
}

std::int32_t TLevelScale::FrameOf(std::int64_t k) const
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(k * FramesPerEntry, 0, INT32_MAX));
}

TAutoMode AutoModeOf(int stored)
{
    if (stored == 0)
        return TAutoMode::StripSilence;
    if (stored == 1)
        return TAutoMode::CutPoints;
    return TAutoMode::SearchSilence;
}

TAutoRegionList StripSilence(const TMaxData& envelope, const TLevelScale& scale,
                             const TAutoSettings& settings)
{
    TLevelRegionSink sink(envelope, scale, settings);
    const std::int64_t gap = LevelRoundedEntriesOf(settings.MinInterval, scale);
    const std::int64_t minimum = LevelRoundedEntriesOf(settings.MinLength, scale);
    std::int64_t start = -1; // first entry of the open region; -1 none
    std::int64_t loud = 0;   // loud entries of the open region
    std::int64_t quiet = -1; // quiet entries since its last loud one; -1 not yet long enough
    for (std::int64_t k = 0; k < sink.Last(); ++k) {
        if (envelope.Data[k] >= settings.Level) {
            if (start < 0) {
                start = k;
                loud = 0;
            }
            ++loud;
            quiet = loud < minimum ? -1 : 0;
        } else if (quiet >= 0 && ++quiet >= gap) { // a region long enough ends
            sink.Add(start, k - quiet);            // at its last loud entry
            quiet = -1;
            start = -1;
        }
    }
    if (start >= 0)
        sink.Add(start, sink.Last() - std::max<std::int64_t>(quiet, 0));
    return sink.Take();
}

TAutoRegionList SearchSilence(const TMaxData& envelope, const TLevelScale& scale,
                              const TAutoSettings& settings)
{
    if (settings.MinInterval <= 0)
        return {};
    TLevelRegionSink sink(envelope, scale, settings);
    const double gap = LevelEntriesOf(settings.MinInterval, scale);
    const double minimum = LevelEntriesOf(settings.MinLength, scale);
    std::int64_t start = -1; // first entry of the open region; -1 none
    std::int64_t quiet = 0;  // quiet entries since its last loud one
    for (std::int64_t k = 0; k < sink.Last(); ++k) {
        if (envelope.Data[k] > settings.Level) {
            quiet = 0;
            if (start < 0)
                start = k;
        } else if (start >= 0) {
            if (quiet >= gap) {
                const std::int64_t end = k - quiet; // the silence's first entry
                if (end - start >= minimum)
                    sink.Add(start, end);
                start = -1;
                quiet = 0;
            } else {
                ++quiet;
            }
        }
    }
    if (start >= 0)
        sink.Add(start, sink.Last(), false);
    return sink.Take();
}

std::vector<std::int32_t> FindCutPoints(const TMaxData& envelope, TCompData& averages,
                                        const TLevelScale& scale, int level)
{
    AverageEnvelope(envelope, kCutPointChunk, averages);
    const std::int64_t entries = envelope.Count();
    std::vector<std::int32_t> quietRunEnds; // made at the first rise
    std::vector<std::int32_t> points;
    for (std::int64_t i = 1; i < averages.Count(); ++i) {
        if (int(averages.Data[i]) - int(averages.Data[i - 1]) <= level)
            continue;
        const std::int64_t first = (i - 1) * kCutPointChunk;
        if (first >= entries) // averages of longer data: nothing of it here
            break;
        std::int64_t peak =
            LevelLoudestIn(envelope, first, std::min(entries, (i + 1) * kCutPointChunk));
        if (quietRunEnds.empty())
            quietRunEnds = LevelQuietRunEnds(envelope, kCutPointQuietRun, kCutPointQuietLevel);
        // Back to just after the nearest silence that ends before the peak.
        if (peak > 0 && quietRunEnds[peak - 1] >= 0)
            peak = quietRunEnds[peak - 1] + 1;
        points.push_back(scale.FrameOf(peak));
    }
    return points;
}

TAutoDetection DetectLevels(TAutoMode mode, const TMaxData& envelope, TCompData& averages,
                            const TLevelScale& scale, const TAutoSettings& settings)
{
    TAutoDetection found;
    switch (mode) {
    case TAutoMode::StripSilence:
        found.Regions = StripSilence(envelope, scale, settings);
        break;
    case TAutoMode::CutPoints:
        found.CutPoints = FindCutPoints(envelope, averages, scale, settings.Level);
        break;
    case TAutoMode::SearchSilence:
        found.Regions = SearchSilence(envelope, scale, settings);
        break;
    }
    return found;
}

std::vector<std::pair<std::int32_t, std::int32_t>>
CutPointRegions(const std::vector<std::int32_t>& cutPoints, std::int32_t sampleSize)
{
    std::vector<std::pair<std::int32_t, std::int32_t>> regions;
    std::int32_t previous = 0;
    auto add = [&](std::int32_t end) {
        if (previous < end)
            regions.emplace_back(previous, end);
    };
    for (std::int32_t point : cutPoints) {
        add(point - 1);
        previous = point;
    }
    add(sampleSize);
    return regions;
}
