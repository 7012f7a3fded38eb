// Adding the regions of an automatic-region run to the region list of the
// main window: 1,000 regions spread over the benchmarks' 1 GiB stereo
// recording (about 1 h 41 min), added in one go as the detection commands
// add them, into an empty list each run. The ratio is against a plain pass
// over the recording's draw data in the same run.
// Target: well under a second.
#include "BenchMainWindow.h"
#include "BenchSupport.h"

#include "editor/ostrel.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Exceptions.h"

#include <cstdio>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr int kAddRegions = 1000;
constexpr double kAddTargetMs = 1000;

void RunRegionAddBench(const TBenchContext& context)
{
    const AnsiString wavPath = context.DataFolder + kBenchStereoSound;
    if (!BenchSoundWav(wavPath, 2, 44100, kBenchSoundBytes))
        throw Exception("cannot make " + wavPath);
    TBenchMainWindow window(context.DataFolder + "regionadd.ini");
    TFormVusk* form = &window.Form();
    form->FOption.SaveData = false;
    if (!form->OpenWavFile(wavPath))
        throw Exception("cannot open " + wavPath);

    TAutoRegionList regions;
    const std::int32_t step = form->Engine()->SampleSize() / kAddRegions;
    for (int i = 0; i < kAddRegions; ++i)
        regions.Regions.push_back({i * step + step / 4, (i + 1) * step - step / 4});
    const std::size_t byteCount =
        form->Document().DrawStereo().Data.size() * sizeof(TDrawEntryStereo);

    std::vector<double> plainMs, addMs;
    volatile unsigned plainSum = 0;
    for (int run = 0; run <= kBenchRuns; ++run) { // run 0 warms up
        TBenchStopwatch plain;
        plainSum = BenchByteSum(form->Document().DrawStereo().Data.data(), byteCount);
        const double plainTime = plain.Milliseconds();

        TBenchStopwatch add;
        form->AddRegions(regions);
        const double addTime = add.Milliseconds();
        if (form->RegionCount() != kAddRegions)
            throw Exception("the list holds " + std::to_string(form->RegionCount()) + " items");
        std::vector<int> all(kAddRegions);
        std::iota(all.begin(), all.end(), 0);
        form->RemoveRegionRows(all);
        if (run > 0) {
            plainMs.push_back(plainTime);
            addMs.push_back(addTime);
        }
    }
    static_cast<void>(plainSum);

    std::printf("regionadd: %d regions into the empty region list, %d draw entries; %d runs "
                "(min / median / max)\n",
                kAddRegions, form->Document().DrawStereo().Count(), kBenchRuns);
    BenchPrintFigures("plain pass over the draw data", BenchFiguresOf(plainMs), "ms");
    BenchPrintAgainstPlain("adding the regions", addMs, "plain pass", plainMs, kAddTargetMs);
    std::fflush(stdout);
}

TBenchRegistration regionAddRegistration("regionadd", RunRegionAddBench);

} // namespace
