// The region list of 10,000 regions in the main window, on a file of sound
// opened as the user opens it: a batch of 10,000 regions added with their
// default names (the result of detection or of turning cut bars into
// regions), one more region added to the full list, a header click on the
// name column and one on the length column, selecting every region (the
// waveform then spans them), deleting every other region, and deleting the
// rest; next to a plain read of the file of sound in the same run.
// Every ratio is a run's figure against the plain read of the same run.
// Target: each step well under a second (median < 500 ms); the slowest
// steps are the list's own notifications, one or two per item changed.
#include "BenchSupport.h"

#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "editor/ostrel.h"

#include <cstdio>
#include <memory>
#include <ole2.h>
#include <vector>

namespace {

constexpr int kRegionListBenchRegions = 10000;
constexpr std::uint32_t kRegionListBenchRate = 44100;
constexpr std::int32_t kRegionListBenchStep = 441; // frames from one region's start to the next
constexpr double kRegionListBenchTargetMs = 500;

enum TRegionListStep
{
    rlAdd,
    rlAddOne,
    rlSortName,
    rlSortLength,
    rlSelectAll,
    rlDeleteHalf,
    rlDeleteRest,
    rlStepCount
};

const char* const kRegionListStepLabels[rlStepCount] = {
    "add 10,000 (one batch)",          "add one to 10,000",
    "sort by name (header click)",     "sort by length (header click)",
    "select all, the wave spans them", "delete every other",
    "delete the other 5,000"};

TAutoRegionList RegionListBenchBatch()
{
    TAutoRegionList batch;
    for (int i = 0; i < kRegionListBenchRegions; ++i) {
        const std::int32_t start = i * kRegionListBenchStep;
        batch.Regions.push_back({start, start + 100 + i % 300});
    }
    return batch;
}

// One run of every step on form, its document open and its list empty;
// the milliseconds of each step.
std::vector<double> RegionListBenchRun(TFormVusk& form, const TAutoRegionList& batch)
{
    std::vector<double> ms(rlStepCount);
    TListView* list = form.EditList;
    TBenchStopwatch watch;
    form.AddRegions(batch);
    ms[rlAdd] = watch.Milliseconds();
    watch.Restart();
    form.AddRegion(0, kRegionListBenchStep);
    ms[rlAddOne] = watch.Milliseconds();
    if (list->Items()->Count() != kRegionListBenchRegions + 1)
        throw Exception("the regions were not all added");

    TListColumns* columns = list->Columns();
    watch.Restart();
    form.EditListColumnClick(list, columns->Items(static_cast<int>(TRegionColumn::Name)));
    ms[rlSortName] = watch.Milliseconds();
    watch.Restart();
    form.EditListColumnClick(list, columns->Items(static_cast<int>(TRegionColumn::Length)));
    ms[rlSortLength] = watch.Milliseconds();

    watch.Restart();
    list->SelectAll();
    form.EditListClick(list);
    ms[rlSelectAll] = watch.Milliseconds();
    if (!form.Document().View().HasSelection || form.SelectedRegionSpan().Start != 0)
        throw Exception("selecting every region did not select their span");

    list->ClearSelection();
    for (int i = 0; i < list->Items()->Count(); i += 2)
        list->Items()->Item(i)->SetSelected(true);
    watch.Restart();
    form.RemoveRegionItems(form.SelectedRegionItems());
    ms[rlDeleteHalf] = watch.Milliseconds();

    list->SelectAll();
    watch.Restart();
    form.RemoveRegionItems(form.SelectedRegionItems());
    ms[rlDeleteRest] = watch.Milliseconds();
    if (list->Items()->Count() != 0 || form.Document().Regions().Count() != 0)
        throw Exception("the regions were not all deleted");
    return ms;
}

void RunRegionListBench(const TBenchContext& context)
{
    const AnsiString soundPath = context.DataFolder + "regionlist-mono.wav";
    const std::uint32_t frames = kRegionListBenchRegions * kRegionListBenchStep + 1000;
    if (!BenchSoundWav(soundPath, 1, kRegionListBenchRate, frames * 2))
        throw Exception("the file of sound cannot be made");

    OleInitialize(nullptr);
    TApplication application(nullptr);
    std::unique_ptr<TFormVusk> form(new TFormVusk(nullptr));
    form->SetSettingsPath(context.DataFolder + "regionlist.ini");
    form->Show();
    Application->ProcessMessages();
    if (!form->OpenWavFile(soundPath))
        throw Exception("the file of sound does not open");

    const TAutoRegionList batch = RegionListBenchBatch();
    std::vector<std::vector<double>> stepMs(rlStepCount);
    std::vector<double> plainMs;
    std::size_t soundBytes = 0;
    for (int run = 0; run <= kBenchRuns; ++run) { // run 0 warms up
        const std::vector<double> ms = RegionListBenchRun(*form, batch);
        TBenchStopwatch watch;
        soundBytes = BenchPlainFileRead(soundPath);
        const double plain = watch.Milliseconds();
        if (run == 0)
            continue;
        for (int step = 0; step < rlStepCount; ++step)
            stepMs[step].push_back(ms[step]);
        plainMs.push_back(plain);
    }
    form->Document().SetModified(false);
    form.reset();
    OleUninitialize();

    std::printf("regionlist: %d regions in the main window's list, on a file of %zu bytes; "
                "%d runs (min / median / max)\n",
                kRegionListBenchRegions, soundBytes, kBenchRuns);
    BenchPrintFigures("plain read of the file of sound", BenchFiguresOf(plainMs), "ms");
    for (int step = 0; step < rlStepCount; ++step) {
        const TBenchFigures figures = BenchFiguresOf(stepMs[step]);
        BenchPrintFigures(kRegionListStepLabels[step], figures, "ms");
        BenchPrintFigures("  / plain read", BenchFiguresOf(BenchRatios(stepMs[step], plainMs)), "");
        std::printf("  target: median < %.0f ms: %s\n", kRegionListBenchTargetMs,
                    figures.Median < kRegionListBenchTargetMs ? "met" : "MISSED");
    }
    std::fflush(stdout);
}

TBenchRegistration regionListRegistration("regionlist", RunRegionListBench);

} // namespace
