// The region-list file of 10,000 regions and 1,000 cut bars: the save (the
// list written into a new INI content, the text put in place of the old
// file) and the load (the file read into an INI content, the list read, and
// the texts of every row of the region and cut-bar lists made, as a load
// shows them), next to a plain read of the same file's bytes in the same
// run.
// Every ratio is a run's figure against the plain read of the same run.
// Target: the save and the load each well under a second (max < 250 ms).
#include "BenchSupport.h"

#include "classlib/Exceptions.h"
#include "editor/RegionFileDisk.h"
#include "editor/TimeText.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kRegionBenchRegions = 10000;
constexpr int kRegionBenchCutBars = 1000;
constexpr double kRegionBenchRate = 44100;
constexpr double kRegionBenchTargetMs = 250;

TRegionListFile RegionBenchList()
{
    TRegionListFile list;
    list.WavPath = "C:\\録音\\ライブ 2024\\表題曲.wav";
    const TOutputMode modes[] = {TOutputMode::NoTouch, TOutputMode::MonoMix, TOutputMode::MonoLeft,
                                 TOutputMode::MonoRight, TOutputMode::Swap};
    for (int i = 0; i < kRegionBenchRegions; ++i) {
        const std::int32_t start = i * 30000;
        list.Regions.push_back({"表題曲_" + std::to_string(i + 1), start, start + 29000 - i % 700,
                                i % 3 ? 1.0 : 0.5 + i % 100 * 0.01, modes[i % 5]});
    }
    for (int j = 0; j < kRegionBenchCutBars; ++j)
        list.CutBars.push_back(CutBarEntryText(j * 300007));
    return list;
}

void RegionBenchSave(const AnsiString& path, const TRegionListFile& list)
{
    if (!SaveRegionListFile(path, list))
        throw Exception("the list was not saved");
}

// The load with the texts of every row; returns the number of texts made.
std::size_t RegionBenchLoad(const AnsiString& path)
{
    const std::optional<TIniContent> ini = ReadRegionListFile(path);
    if (!ini)
        throw Exception("the list cannot be read");
    const TRegionFileRead read = ReadRegionList(*ini);
    if (read.Verdict != TRegionFileVerdict::Loaded ||
        read.Regions.size() != std::size_t(kRegionBenchRegions) ||
        read.CutBars.size() != std::size_t(kRegionBenchCutBars))
        throw Exception("the list did not load whole");
    std::size_t texts = 0;
    for (const TRegionRecord& region : read.Regions) {
        texts += FormatTime((region.End - region.Start) / kRegionBenchRate).size() +
                 FormatTime(region.Start / kRegionBenchRate).size() +
                 FormatTime(region.End / kRegionBenchRate).size() +
                 RegionVolumePercentText(region.Volume).size() +
                 AnsiString(OutputModeText(region.OutMode)).size() + region.Name.size();
    }
    for (const AnsiString& cutBar : read.CutBars)
        texts += FormatTime(std::stoi(cutBar) / kRegionBenchRate).size();
    return texts;
}

void RunRegionFileBench(const TBenchContext& context)
{
    const AnsiString path = context.DataFolder + "regions-10000.rgl";
    const TRegionListFile list = RegionBenchList();
    std::vector<double> saveMs, loadMs, plainMs;
    std::size_t fileBytes = 0, texts = 0;
    for (int run = 0; run <= kBenchRuns; ++run) { // run 0 warms up
        TBenchStopwatch watch;
        RegionBenchSave(path, list);
        const double save = watch.Milliseconds();
        watch.Restart();
        texts = RegionBenchLoad(path);
        const double load = watch.Milliseconds();
        watch.Restart();
        fileBytes = BenchPlainFileRead(path);
        const double plain = watch.Milliseconds();
        if (run == 0)
            continue;
        saveMs.push_back(save);
        loadMs.push_back(load);
        plainMs.push_back(plain);
    }
    std::printf("regionfile: %d regions and %d cut bars, a file of %zu bytes, %zu bytes of list "
                "texts; %d runs (min / median / max)\n",
                kRegionBenchRegions, kRegionBenchCutBars, fileBytes, texts, kBenchRuns);
    BenchPrintFigures("plain read of the file", BenchFiguresOf(plainMs), "ms");
    const struct
    {
        const char* label;
        const std::vector<double>& ms;
    } measures[] = {{"save", saveMs}, {"load with the list texts", loadMs}};
    for (const auto& measure : measures)
        BenchPrintAgainstPlain(measure.label, measure.ms, "plain read", plainMs,
                               kRegionBenchTargetMs);
    std::fflush(stdout);
}

TBenchRegistration regionFileRegistration("regionfile", RunRegionFileBench);

} // namespace
