// Level detection on the draw data of a two-hour 44.1 kHz stereo recording
// with 1,000 silences: the envelope, each detector, and trim and expand of
// every region found. The draw data are built, as for a file, from the
// benchmarks' generated sound with a silence of 2.5 s at the start of each
// 1/1000 of the recording (two hours do not fit in a file that opens, so the
// sound is made as it is read). Every ratio is a run's figure against a
// plain pass over the same draw data in the same run.
// Target: each detector under 50 ms.
#include "BenchSupport.h"

#include "classlib/Exceptions.h"
#include "editor/TrimExpand.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kLevelRate = 44100;
constexpr std::uint32_t kLevelFrames = 2 * 3600 * kLevelRate;
constexpr std::uint32_t kLevelSilences = 1000;
constexpr std::uint32_t kLevelSilenceFrames = kLevelRate * 5 / 2;
constexpr double kLevelDetectorTargetMs = 50;

// The recording's value at a value index (frames interleaved): the generated
// sound, or a faint hiss in the silences.
std::int16_t LevelBenchValue(std::uint32_t value)
{
    const std::uint32_t frame = value / 2;
    if (frame % (kLevelFrames / kLevelSilences) < kLevelSilenceFrames)
        return static_cast<std::int16_t>((value * 2654435761u >> 25) - 64);
    return BenchSoundValue(frame, value % 2);
}

TDrawDataStereo LevelBenchDrawData(int blockSize)
{
    TDrawBuildParams params;
    params.DataSize = kLevelFrames * 4;
    params.BlockSize = blockSize;
    TDrawDataStereo stereo;
    std::vector<std::int16_t> chunk;
    const TDrawBuildOutcome outcome = BuildDrawDataStereo(
        [&chunk](std::size_t count, std::uint32_t bytePosition) {
            chunk.resize(count);
            for (std::size_t i = 0; i < count; ++i)
                chunk[i] = LevelBenchValue(static_cast<std::uint32_t>(bytePosition / 2 + i));
            return static_cast<const std::int16_t*>(chunk.data());
        },
        params, {}, stereo);
    if (outcome.Result != TDrawBuildResult::Done)
        throw Exception("draw-data build failed: " + outcome.Error);
    return stereo;
}

// The timings of one measurement over the runs.
struct TLevelMeasure
{
    std::string Label;
    std::vector<double> Ms;
    bool Detector = false; // held to the target
};

void RunLevelDetectBench(const TBenchContext&)
{
    const int blockSize = WaveBlockSizeFor(kLevelFrames);
    const TDrawDataStereo stereo = LevelBenchDrawData(blockSize);
    const TDrawLevels levels(stereo);
    const TLevelScale scale = TLevelScale::For(kLevelRate, blockSize);
    const TAutoSettings settings{10, 100, 200, 1000, 1000};
    // Every chunk a rise: the most cut points the data can give, each with
    // its peak search and walk back.
    const TAutoSettings everyRise{-128, 0, 0, 0, 0};
    const TTrimParams trim = TTrimParams::For({10, 100, 200}, kLevelRate, blockSize, kLevelFrames);

    TMaxData envelope;
    TCompData averages;
    TAutoDetection strip, search, cuts;
    int trimmed = 0, expanded = 0;
    auto fitAll = [&](auto fit) {
        int changed = 0;
        for (auto [start, end] : strip.Regions.Regions)
            changed += fit(levels, trim, start, end);
        return changed;
    };
    volatile unsigned plainSum = 0;
    const std::size_t byteCount = stereo.Data.size() * sizeof(TDrawEntryStereo);
    std::vector<TLevelMeasure> measures = {{"plain pass over the draw data"},
                                           {"level envelope"},
                                           {"strip silence", {}, true},
                                           {"search silence", {}, true},
                                           {"cut points (every chunk)", {}, true},
                                           {"trim of every region"},
                                           {"expand of every region"}};
    auto timed = [&](TLevelMeasure& measure, auto work) {
        TBenchStopwatch watch;
        work();
        measure.Ms.push_back(watch.Milliseconds());
    };
    for (int run = 0; run <= kBenchRuns; ++run) { // run 0 warms up
        timed(measures[0], [&] { plainSum = BenchByteSum(stereo.Data.data(), byteCount); });
        timed(measures[1], [&] { BuildLevelEnvelope(levels, 1, envelope); });
        timed(measures[2], [&] {
            strip = DetectLevels(TAutoMode::StripSilence, envelope, averages, scale, settings);
        });
        timed(measures[3], [&] {
            search = DetectLevels(TAutoMode::SearchSilence, envelope, averages, scale, settings);
        });
        averages.Clear(); // timed with the averages made anew
        timed(measures[4], [&] {
            cuts = DetectLevels(TAutoMode::CutPoints, envelope, averages, scale, everyRise);
        });
        timed(measures[5], [&] { trimmed = fitAll(TrimRange); });
        timed(measures[6], [&] { expanded = fitAll(ExpandRange); });
        if (run == 0)
            for (TLevelMeasure& measure : measures)
                measure.Ms.clear();
    }
    if (strip.Regions.Count() != int(kLevelSilences) ||
        search.Regions.Count() != int(kLevelSilences))
        throw Exception("expected one region per silence, found " +
                        std::to_string(strip.Regions.Count()) + " and " +
                        std::to_string(search.Regions.Count()));

    std::printf("leveldetect: 2 hours of 44.1 kHz stereo with %u silences, block %d, %d entries; "
                "%d regions each, %zu cut points, %d trimmed, %d expanded; %d runs "
                "(min / median / max)\n",
                kLevelSilences, blockSize, stereo.Count(), strip.Regions.Count(),
                cuts.CutPoints.size(), trimmed, expanded, kBenchRuns);
    for (const TLevelMeasure& measure : measures) {
        const TBenchFigures figures = BenchFiguresOf(measure.Ms);
        BenchPrintFigures(measure.Label.c_str(), figures, "ms");
        if (&measure != &measures[0])
            BenchPrintFigures("  / plain pass",
                              BenchFiguresOf(BenchRatios(measure.Ms, measures[0].Ms)), "");
        if (measure.Detector)
            std::printf("  target: max < %.0f ms: %s\n", kLevelDetectorTargetMs,
                        figures.Max < kLevelDetectorTargetMs ? "met" : "MISSED");
    }
    std::fflush(stdout);
}

TBenchRegistration levelDetectRegistration("leveldetect", RunLevelDetectBench);

} // namespace
