// Level detection on the draw data of a two-hour 44.1 kHz stereo recording
// with 1,000 silences: the envelope, each detector, and trim and expand of
// every region found, against a plain pass over the same draw data.
// Target: each detector under 50 ms.
#include "BenchSupport.h"

#include "classlib/Exceptions.h"
#include "editor/TrimExpand.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLevelRuns = 9;
constexpr int kLevelRate = 44100;
constexpr std::int32_t kLevelFrames = 2 * 3600 * kLevelRate;
constexpr int kLevelSilences = 1000;
constexpr double kLevelDetectorTargetMs = 50;

// Median, fastest and slowest of some timings.
struct TLevelTimes
{
    double Median, Min, Max;
};

template <class Work> TLevelTimes LevelTime(Work work)
{
    work(); // warm-up
    std::vector<double> ms;
    for (int i = 0; i < kLevelRuns; ++i) {
        TBenchStopwatch watch;
        work();
        ms.push_back(watch.Milliseconds());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front(), ms.back()};
}

// The draw data of the recording: in every period of the recording a
// silence of 2.5 s (peaks of a few levels) and then sound of changing
// loudness, so that each period makes one region.
TDrawDataStereo LevelBenchDrawData(int blockSize)
{
    const std::int32_t entries = DrawEntryCount(2, std::uint32_t(kLevelFrames) * 4, blockSize);
    const std::int32_t period = entries / kLevelSilences;
    const std::int32_t silence = static_cast<std::int32_t>(2.5 * 2 * kLevelRate / blockSize);
    TDrawDataStereo stereo;
    stereo.Data.resize(entries);
    std::uint32_t noise = 22;
    auto next = [&noise](int range) {
        noise = noise * 1103515245u + 12345u;
        return static_cast<int>((noise >> 16) % range);
    };
    for (std::int32_t k = 0; k < entries; ++k) {
        const bool quiet = k % period < silence || k >= period * kLevelSilences;
        const int top = quiet ? 3 : 20 + next(100);
        const auto peak = [&] { return static_cast<std::int8_t>(next(top + 1)); };
        stereo.Data[k] = {peak(), static_cast<std::int8_t>(-peak()), peak(),
                          static_cast<std::int8_t>(-peak())};
    }
    return stereo;
}

void LevelReport(const char* what, const TLevelTimes& t, const TLevelTimes& plain,
                 const char* verdict = "")
{
    std::printf("  %-36s median %7.2f ms  (min %7.2f, max %7.2f)  x%6.1f of the plain pass%s\n",
                what, t.Median, t.Min, t.Max, t.Median / plain.Median, verdict);
}

const char* LevelVerdict(const TLevelTimes& t)
{
    return t.Median < kLevelDetectorTargetMs ? "  (target < 50 ms: met)"
                                             : "  (target < 50 ms: MISSED)";
}

void RunLevelDetectBench(const TBenchContext&)
{
    const int blockSize = WaveBlockSizeFor(kLevelFrames);
    const TDrawDataStereo stereo = LevelBenchDrawData(blockSize);
    const TDrawLevels levels(stereo);
    const TLevelScale scale = TLevelScale::For(kLevelRate, blockSize);
    std::printf("leveldetect: 2 hours of 44.1 kHz stereo, %d silences, block %d, %d entries "
                "(median of %d runs)\n",
                kLevelSilences, blockSize, stereo.Count(), kLevelRuns);

    // The plain pass: every byte of the draw data read once.
    volatile unsigned sink = 0;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(stereo.Data.data());
    const std::size_t byteCount = stereo.Data.size() * sizeof(TDrawEntryStereo);
    const TLevelTimes plain = LevelTime([&] {
        unsigned sum = 0;
        for (std::size_t i = 0; i < byteCount; ++i)
            sum += bytes[i];
        sink = sum;
    });
    LevelReport("plain pass over the draw data", plain, plain);

    TMaxData envelope;
    LevelReport("level envelope", LevelTime([&] { BuildLevelEnvelope(levels, 1, envelope); }),
                plain);

    const TAutoSettings settings{10, 100, 200, 1000, 1000};
    TCompData averages;
    TAutoDetection found;
    for (TAutoMode mode : {TAutoMode::StripSilence, TAutoMode::SearchSilence}) {
        const TLevelTimes t =
            LevelTime([&] { found = DetectLevels(mode, envelope, averages, scale, settings); });
        if (found.Regions.Count() != kLevelSilences)
            throw Exception("expected one region per silence, found " +
                            std::to_string(found.Regions.Count()));
        LevelReport(mode == TAutoMode::StripSilence ? "strip silence (1,000 regions)"
                                                    : "search silence (1,000 regions)",
                    t, plain, LevelVerdict(t));
    }

    // Every chunk a rise: the most cut points the data can give, each with
    // its peak search and walk back; the averages are rebuilt every run.
    const TAutoSettings everyRise{-128, 0, 0, 0, 0};
    const TLevelTimes cuts = LevelTime([&] {
        averages.Clear();
        found = DetectLevels(TAutoMode::CutPoints, envelope, averages, scale, everyRise);
    });
    const std::string cutsName =
        "cut points (" + std::to_string(found.CutPoints.size()) + ", worst case)";
    LevelReport(cutsName.c_str(), cuts, plain, LevelVerdict(cuts));

    const TAutoRegionList regions =
        DetectLevels(TAutoMode::StripSilence, envelope, averages, scale, settings).Regions;
    const TTrimParams params =
        TTrimParams::For({10, 100, 200}, kLevelRate, blockSize, kLevelFrames);
    int changed = 0;
    for (auto fit : {TrimRange, ExpandRange}) {
        const TLevelTimes t = LevelTime([&] {
            changed = 0;
            for (auto [start, end] : regions.Regions)
                changed += fit(levels, params, start, end);
        });
        const std::string name = std::string(fit == TrimRange ? "trim" : "expand") + " of " +
                                 std::to_string(regions.Count()) + " regions (" +
                                 std::to_string(changed) + " changed)";
        LevelReport(name.c_str(), t, plain);
    }
    std::fflush(stdout);
}

TBenchRegistration levelDetectRegistration("leveldetect", RunLevelDetectBench);

} // namespace
