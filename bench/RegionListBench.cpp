// The region list in the main window with the 1 GiB file of sound open, as
// a user works it, of 10,000 regions and of 100: a batch of regions added
// with their default names (the result of detection or of turning cut bars
// into regions), one more region added to the full list, a click on the
// name column's header and one on the length column's, Delete with every
// other region selected, Delete with the rest selected (Ctrl+A), loading a
// region list of as many regions through Ctrl+O (the open dialog answering
// with the list, whose file of sound then opens from its draw cache), Ctrl+A
// (the waveform then spans them), a move of the mouse over the waveform with
// every region selected (the move handled and the loop idled: the actions'
// updates, which read the selection), one more idle step of the loop alone,
// a click on one region (the list then
// deselects every other), a Shift+click on the last region after a click on
// the first (the list selects every region on the way) and Delete with every
// region selected.
// Each step is timed from the key or click posted to the list settled (every
// message it caused handled, the list painted).
// Beside them, in the same run, a bare list view of the platform with as many
// items of as many texts: the items added, every item selected, a move of the
// mouse over it with every item selected and an idle step after it, and every
// item deleted, each settled the same way.
// Targets: with 10,000 regions, the header clicks, the load, select all, the
// clicks and delete all each within 300 ms (median); the idle step within
// 5 ms; the other steps but the mouse move under 500 ms.
// With 100 regions no target: they are compared with earlier figures.
#include "BenchMainWindow.h"
#include "BenchProgram.h"
#include "BenchRegionList.h"
#include "BenchSupport.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Application.h"
#include "classlib/Exceptions.h"
#include "classlib/Seams.h"
#include "editor/ostrel.h"

#include "support/WindowDriver.h"

#include <commctrl.h>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using testing_support::ActivateForm;
using testing_support::ClickAt;
using testing_support::FocusedWindow;
using testing_support::PressKey;
using testing_support::PumpMessages;
using testing_support::RealClick;
using testing_support::RealMouseMove;
using testing_support::ScreenPointOf;

namespace {

constexpr double kRegionListTargetMs = 300;
constexpr double kRegionListOtherTargetMs = 500;
constexpr double kRegionListIdleTargetMs = 5;
constexpr double kRegionListNoTarget = 0;
constexpr int kRegionListBareColumns = 6; // as many as the region list shows

enum TRegionListStep
{
    rlAdd,
    rlAddOne,
    rlSortName,
    rlSortLength,
    rlDeleteHalf,
    rlDeleteRest,
    rlLoad,
    rlSelectAll,
    rlMouseMove,
    rlIdleStep,
    rlPlainClick,
    rlShiftClickLast,
    rlDeleteAll,
    rlStepCount
};

struct TRegionListStepInfo
{
    const char* Label;
    double TargetMs; // the median's target with 10,000 regions; 0 for none
};

const TRegionListStepInfo kRegionListSteps[rlStepCount] = {
    {"add N (one batch)", kRegionListOtherTargetMs},
    {"add one to N", kRegionListOtherTargetMs},
    {"sort by name (header click)", kRegionListTargetMs},
    {"sort by length (header click)", kRegionListTargetMs},
    {"delete every other (Delete)", kRegionListOtherTargetMs},
    {"delete the rest (Delete)", kRegionListOtherTargetMs},
    {"load a list of N (Ctrl+O)", kRegionListTargetMs},
    {"select all (Ctrl+A)", kRegionListTargetMs},
    {"mouse move over the waveform, all selected", kRegionListNoTarget},
    {"idle step, all selected", kRegionListIdleTargetMs},
    {"plain click after select all", kRegionListTargetMs},
    {"Shift+click last after first", kRegionListTargetMs},
    {"delete all (Delete)", kRegionListTargetMs},
};

enum TBareListStep
{
    blAdd,
    blSelectAll,
    blMouseMove,
    blIdleStep,
    blDeleteAll,
    blStepCount
};

const char* const kBareListStepLabels[blStepCount] = {
    "bare list view: add N", "bare list view: select all",
    "bare list view: mouse move, all selected", "bare list view: idle step, all selected",
    "bare list view: delete all"};

// The bare list view's step each step of the region list is compared with.
struct TRegionListBareRatio
{
    TRegionListStep Step;
    TBareListStep Bare;
};
const TRegionListBareRatio kRegionListBareRatios[] = {{rlSelectAll, blSelectAll},
                                                      {rlMouseMove, blMouseMove},
                                                      {rlIdleStep, blIdleStep},
                                                      {rlDeleteAll, blDeleteAll}};

// What every size of list shares: the form with the file open, and what
// answers the prompts.
struct TRegionListBench
{
    TFormVusk* Form = nullptr;
    AnsiString Wav;              // the open file
    std::int32_t Frames = 0;     // its length
    AnsiString AnsweredFile;     // what the open dialog answers
    AnsiString UnexpectedPrompt; // a message box nobody expected, answered No
};

double RegionListBenchTimed(TRegionListBench& bench, const std::function<void()>& step)
{
    TBenchStopwatch watch;
    step();
    PumpMessages();
    const double ms = watch.Milliseconds();
    if (!bench.UnexpectedPrompt.empty())
        throw Exception("unexpected prompt: " + bench.UnexpectedPrompt);
    return ms;
}

// Moves the mouse, through the system's input queue, to the screen point
// centre or a few pixels right of it, the other of the two than the last
// such move: every call is a move.
void RegionListBenchMoveTo(POINT centre)
{
    static int nudge = 0;
    nudge = 8 - nudge;
    const POINT to = {centre.x + nudge, centre.y};
    RealMouseMove(to);
    POINT at = {};
    if (!GetCursorPos(&at) || at.x != to.x || at.y != to.y)
        throw Exception("the mouse did not move");
}

// The middle of the waveform on the screen.
POINT RegionListBenchWaveCentre(TFormVusk& form)
{
    TControl* wave = form.WaveImage;
    return wave->ClientToScreen(TPoint(wave->Width() / 2, wave->Height() / 2));
}

// One idle step of the loop with the queue empty, as the loop runs it after
// the last input message it has handled; its milliseconds.
double RegionListBenchIdleStep()
{
    TBenchStopwatch watch;
    Application->ProcessMessagesAndIdle();
    return watch.Milliseconds();
}

// Presses the key where the focus is.
void RegionListBenchPress(WORD key, TShiftState shift = 0)
{
    PressKey(FocusedWindow(), key, shift);
}

// Clicks the middle of a column's header, as the mouse does.
void RegionListBenchClickHeader(TListView* list, TRegionColumn column)
{
    const HWND header = ListView_GetHeader(list->Handle());
    RECT rect = {};
    if (!header || !Header_GetItemRect(header, static_cast<int>(column), &rect))
        throw Exception("the region list shows no header");
    ClickAt(header, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// The screen point on the name of the item at index, the list scrolled to
// show the item first; a click there goes through the system's input queue,
// as the mouse's does.
POINT RegionListBenchItemPoint(TListView* list, int index)
{
    ListView_EnsureVisible(list->Handle(), index, FALSE);
    PumpMessages();
    RECT name = {};
    ListView_GetItemRect(list->Handle(), index, &name, LVIR_LABEL);
    return ScreenPointOf(list->Handle(), name.left + 4, (name.top + name.bottom) / 2);
}

void RegionListBenchFocus(TWinControl* control)
{
    control->SetFocus();
    PumpMessages();
    if (GetFocus() != control->Handle())
        throw Exception("the list does not take the focus");
}

int RegionListBenchCount(const TRegionListBench& bench)
{
    return bench.Form->RegionCount();
}

void RegionListBenchExpect(bool holds, const char* what)
{
    if (!holds)
        throw Exception(AnsiString("the region list did not ") + what);
}

// One run of every step on an empty list of the open file; the
// milliseconds of each step.
std::vector<double> RegionListBenchRun(TRegionListBench& bench, int count,
                                       const TAutoRegionList& batch, const AnsiString& listFile)
{
    TFormVusk& form = *bench.Form;
    TListView* list = form.EditList;
    std::vector<double> ms(rlStepCount);
    ms[rlAdd] = RegionListBenchTimed(bench, [&] { form.AddRegions(batch); });
    ms[rlAddOne] = RegionListBenchTimed(bench, [&] { form.AddRegion(0, bench.Frames / count); });
    RegionListBenchExpect(RegionListBenchCount(bench) == count + 1, "take every region");

    // Each click is on another column than the last: each sorts ascending.
    ms[rlSortName] =
        RegionListBenchTimed(bench, [&] { RegionListBenchClickHeader(list, TRegionColumn::Name); });
    RegionListBenchExpect(form.SortColumn() == static_cast<int>(TRegionColumn::Name) + 1,
                          "sort by name at the header click");
    ms[rlSortLength] = RegionListBenchTimed(
        bench, [&] { RegionListBenchClickHeader(list, TRegionColumn::Length); });
    RegionListBenchExpect(form.SortColumn() == static_cast<int>(TRegionColumn::Length) + 1,
                          "sort by length at the header click");

    RegionListBenchFocus(list);
    form.ClearRegionSelection();
    for (int row = 0; row < form.RegionCount(); row += 2)
        form.SelectRegionRow(row, false);
    PumpMessages();
    ms[rlDeleteHalf] = RegionListBenchTimed(bench, [&] { RegionListBenchPress(VK_DELETE); });
    RegionListBenchExpect(RegionListBenchCount(bench) == count / 2, "delete every other region");
    RegionListBenchPress('A', ssCtrl);
    ms[rlDeleteRest] = RegionListBenchTimed(bench, [&] { RegionListBenchPress(VK_DELETE); });
    RegionListBenchExpect(RegionListBenchCount(bench) == 0 &&
                              form.Document().Regions().Count() == 0,
                          "delete the rest");

    // The list was saved, as far as the user knows: the load asks nothing.
    form.Document().MarkSaved();
    bench.AnsweredFile = listFile;
    ms[rlLoad] = RegionListBenchTimed(bench, [&] { RegionListBenchPress('O', ssCtrl); });
    bench.AnsweredFile.clear();
    RegionListBenchExpect(RegionListBenchCount(bench) == count, "load the list");

    RegionListBenchFocus(list);
    ms[rlSelectAll] = RegionListBenchTimed(bench, [&] { RegionListBenchPress('A', ssCtrl); });
    RegionListBenchExpect(form.SelectedRegionCount() == count &&
                              form.Document().View().HasSelection &&
                              form.SelectedRegionSpan().Start == 0,
                          "select every region and their span");
    ms[rlMouseMove] = RegionListBenchTimed(
        bench, [&] { RegionListBenchMoveTo(RegionListBenchWaveCentre(form)); });
    ms[rlIdleStep] = RegionListBenchIdleStep();
    const int clicked = 2;
    const POINT onClicked = RegionListBenchItemPoint(list, clicked);
    ms[rlPlainClick] = RegionListBenchTimed(bench, [&] { RealClick(onClicked); });
    RegionListBenchExpect(form.SelectedRegionRows() == std::vector<int>{clicked} &&
                              form.Document().View().HasSelection &&
                              form.Document().View().SelStart == form.RegionAt(clicked)->Start,
                          "select the clicked region alone");
    RealClick(RegionListBenchItemPoint(list, 0));
    const POINT onLast = RegionListBenchItemPoint(list, count - 1);
    ms[rlShiftClickLast] = RegionListBenchTimed(bench, [&] { RealClick(onLast, ssShift); });
    RegionListBenchExpect(form.SelectedRegionCount() == count &&
                              form.SelectedRegionSpan().Start == 0,
                          "select every region from the first to the last");
    RegionListBenchPress('A', ssCtrl);
    ms[rlDeleteAll] = RegionListBenchTimed(bench, [&] { RegionListBenchPress(VK_DELETE); });
    RegionListBenchExpect(RegionListBenchCount(bench) == 0 &&
                              form.Document().Regions().Count() == 0,
                          "delete every region");
    return ms;
}

// A list view of the platform in report mode with the region list's
// columns, in a window of its own on the screen, driven by its own
// messages; its items are added with its drawing held, as a list is filled.
class TBareListView
{
public:
    explicit TBareListView(const TRect& bounds)
    {
        FHost = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                                bounds.left, bounds.top, bounds.Width(), bounds.Height(), nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        RECT client = {};
        GetClientRect(FHost, &client);
        FList = CreateWindowExA(
            0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0,
            client.right, client.bottom, FHost, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (!FHost || !FList)
            throw Exception("cannot make a list view");
        ListView_SetExtendedListViewStyle(FList, LVS_EX_FULLROWSELECT);
        for (int column = 0; column < kRegionListBareColumns; ++column) {
            LVCOLUMNA info = {};
            info.mask = LVCF_WIDTH | LVCF_TEXT;
            info.cx = 90;
            char text[] = "column";
            info.pszText = text;
            ListView_InsertColumn(FList, column, &info);
        }
    }
    ~TBareListView() { DestroyWindow(FHost); }
    TBareListView(const TBareListView&) = delete;
    TBareListView& operator=(const TBareListView&) = delete;

    void Add(int count) const
    {
        SendMessageA(FList, WM_SETREDRAW, FALSE, 0);
        for (int i = 0; i < count; ++i) {
            std::string text = "item_" + std::to_string(i + 1);
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = text.data();
            ListView_InsertItem(FList, &item);
            for (int column = 1; column < kRegionListBareColumns; ++column)
                ListView_SetItemText(FList, i, column, text.data());
        }
        SendMessageA(FList, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(FList, nullptr, TRUE);
    }
    void SelectAll() const { ListView_SetItemState(FList, -1, LVIS_SELECTED, LVIS_SELECTED); }
    // Its middle on the screen.
    POINT Centre() const
    {
        RECT client = {};
        GetClientRect(FList, &client);
        return ScreenPointOf(FList, client.right / 2, client.bottom / 2);
    }
    void DeleteAll() const { ListView_DeleteAllItems(FList); }
    int Count() const { return ListView_GetItemCount(FList); }

private:
    HWND FHost; // the list's top-level window
    HWND FList;
};

std::vector<double> BareListRun(TRegionListBench& bench, const TBareListView& list, int count)
{
    std::vector<double> ms(blStepCount);
    ms[blAdd] = RegionListBenchTimed(bench, [&] { list.Add(count); });
    ms[blSelectAll] = RegionListBenchTimed(bench, [&] { list.SelectAll(); });
    ms[blMouseMove] = RegionListBenchTimed(bench, [&] { RegionListBenchMoveTo(list.Centre()); });
    ms[blIdleStep] = RegionListBenchIdleStep();
    ms[blDeleteAll] = RegionListBenchTimed(bench, [&] { list.DeleteAll(); });
    if (list.Count() != 0)
        throw Exception("the bare list view kept items");
    return ms;
}

void RegionListBenchPrint(int count, const std::vector<std::vector<double>>& stepMs,
                          const std::vector<std::vector<double>>& bareMs)
{
    std::printf(" %d regions, %d runs (min / median / max):\n", count, kBenchRuns);
    for (int step = 0; step < blStepCount; ++step)
        BenchPrintFigures(kBareListStepLabels[step], BenchFiguresOf(bareMs[step]), "ms");
    for (int step = 0; step < rlStepCount; ++step) {
        const TBenchFigures figures = BenchFiguresOf(stepMs[step]);
        BenchPrintFigures(kRegionListSteps[step].Label, figures, "ms");
        for (const TRegionListBareRatio& ratio : kRegionListBareRatios)
            if (ratio.Step == step)
                BenchPrintFigures("  / bare list view",
                                  BenchFiguresOf(BenchRatios(stepMs[step], bareMs[ratio.Bare])),
                                  "");
        const double target = kRegionListSteps[step].TargetMs;
        if (count < 10000 || target == kRegionListNoTarget)
            continue;
        std::printf("  target: median <= %.0f ms: %s\n", target,
                    figures.Median <= target ? "met" : "MISSED");
    }
}

// Every step with a list of count regions, a warm-up and the runs.
void RegionListBenchSize(TRegionListBench& bench, const AnsiString& folder, int count)
{
    TAutoRegionList batch;
    for (const TRegionRange& range : BenchRegionRanges(bench.Frames, count))
        batch.Regions.emplace_back(range.Start, range.End);
    const AnsiString listFile = BenchRegionListFile(bench.Wav, bench.Frames, folder, count);
    // Beside the main window, as large as the region list.
    const TRect window = bench.Form->BoundsRect();
    const TRect listArea = bench.Form->EditList->ClientRect();
    const TBareListView bare(TRect(window.right + 8, window.top,
                                   window.right + 8 + listArea.Width(),
                                   window.top + listArea.Height()));
    std::vector<std::vector<double>> stepMs(rlStepCount), bareMs(blStepCount);
    for (int run = 0; run <= kBenchRuns; ++run) { // run 0 warms up
        const std::vector<double> bareRun = BareListRun(bench, bare, count);
        ActivateForm(bench.Form);
        const std::vector<double> ms = RegionListBenchRun(bench, count, batch, listFile);
        if (run == 0)
            continue;
        for (int step = 0; step < rlStepCount; ++step)
            stepMs[step].push_back(ms[step]);
        for (int step = 0; step < blStepCount; ++step)
            bareMs[step].push_back(bareRun[step]);
    }
    RegionListBenchPrint(count, stepMs, bareMs);
    std::fflush(stdout);
}

void RunRegionListBench(const TBenchContext& context)
{
    const AnsiString wav = context.DataFolder + kBenchStereoSound;
    if (!BenchSoundWav(wav, 2, 44100, kBenchSoundBytes))
        throw Exception("cannot make " + wav);
    const TBenchFolder folder("regionlist");
    TRegionListBench bench;
    bench.Wav = folder.Link(wav);

    struct TSeamsRestored
    {
        ~TSeamsRestored() { ResetSeams(); }
    } seamsRestored;
    TClassLibSeams& seams = Seams();
    seams.FileDialog = [&bench](TFileDialogRequest& request) {
        if (request.Save || bench.AnsweredFile.empty()) {
            bench.UnexpectedPrompt = "a file dialog: " + request.Title;
            return false;
        }
        request.FileName = bench.AnsweredFile;
        request.Files = {bench.AnsweredFile};
        return true;
    };
    seams.MessageBox = [&bench](const TMessageBoxRequest& request) {
        bench.UnexpectedPrompt = request.Text;
        return IDNO;
    };

    TBenchMainWindow window(folder.Path() + "regionlist.ini");
    TFormVusk& form = window.Form();
    bench.Form = &form;
    std::printf("regionlist: the region list with %s open\n", kBenchStereoSound);
    std::fflush(stdout);
    // The first open makes the draw cache the loads of region lists open the
    // file from.
    if (!form.OpenWavFile(bench.Wav))
        throw Exception("cannot open " + bench.Wav);
    bench.Frames = form.Engine()->SampleSize();
    for (int count : {10000, 100})
        RegionListBenchSize(bench, folder.Path(), count);
}

TBenchRegistration regionListRegistration("regionlist", RunRegionListBench);

} // namespace
