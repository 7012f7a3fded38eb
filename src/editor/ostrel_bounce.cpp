// The bounce from the main window: the two commands with the save dialog,
// the drop of regions onto a folder of the explorer tree, and the window's
// side of a bounce (the checks, the free space, the job in the processing
// window and the wait). The files themselves are BounceWriter's.
#include "ostrel.h"

#include "BounceWriter.h"
#include "ql_process.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FileNames.h"
#include "classlib/FilePaths.h"
#include "classlib/Seams.h"
#include "classlib/TextUtils.h"

#include <algorithm>

namespace {

// The bar and "k / n" at the file in progress.
void BounceShowFile(TForm4& window, int position, int total)
{
    window.Bar->SetPosition(position);
    window.MesLabel2->SetCaption(IntToStr(position) + " / " + IntToStr(total));
}

// Writes each region of the file that wav describes as a file of its own
// into folder, in order, in window (shown, its first texts set). The bar
// counts the files ("k / n"); Cancel stops after the file in progress while
// files remain. Done closes the window when CloseChk is checked, else says
// so and waits; Cancelled and Failed (the files written stay, a partial one
// is gone) say so in red and wait.
TBounceOutcome BounceInWindow(TForm4& window, const TWavInfo& wav,
                              const std::vector<TBounceRegion>& regions, TBounceFolder& folder)
{
    const int total = static_cast<int>(regions.size());
    window.BeginJob();
    window.Bar->SetMax(total);
    BounceShowFile(window, 1, total);
    window.LetMessagesThrough();

    TBounceProgress progress;
    // Inside a file the window keeps painting and takes the Cancel click;
    // the job acts on it between files.
    progress.PieceWritten = [&window] {
        if (window.ProgressDue())
            window.LetMessagesThrough();
    };
    progress.FileWritten = [&window](int written, int count) {
        BounceShowFile(window, std::min(written + 1, count), count);
        return window.LetMessagesThrough() && !window.FCancelled;
    };
    const TBounceOutcome outcome = WriteBounceFiles(wav, regions, folder, progress);
    switch (outcome.Result) {
    case TBounceResult::Done:
        if (window.CloseChk->Checked())
            window.EndJob();
        else
            window.FinishJob(BounceText::Finished);
        break;
    case TBounceResult::Cancelled:
        window.StopJob(BounceText::Cancelled);
        break;
    case TBounceResult::Failed:
        window.StopJob(BounceText::Failed);
        break;
    }
    return outcome;
}

} // namespace

// --- Commands ------------------------------------------------------------------------------

void TFormVusk::actFileBounceExecute(TObject* Sender)
{
    BounceToChosenFolder(false);
}

void TFormVusk::actFileBounceSelOnlyExecute(TObject* Sender)
{
    BounceToChosenFolder(true);
}

void TFormVusk::BounceToChosenFolder(bool selectedOnly)
{
    if (FDocument.Busy())
        return;
    const int count = selectedOnly ? SelectedRegionCount() : RegionCount();
    if (count == 0)
        return;
    SaveDialog1->SetTitle(BounceText::DialogTitle);
    SaveDialog1->SetFileName(BounceProposedName(count));
    if (!SaveDialog1->Execute(Handle()))
        return;
    // Only the folder counts; the name the user typed is not used.
    BounceRegions(ExtractFileDir(SaveDialog1->FileName()), selectedOnly);
}

// --- The drop on the explorer tree ---------------------------------------------------------

void TFormVusk::ShellTreeView1DragOver(TObject* Sender, TObject* Source, int X, int Y,
                                       TDragState State, bool& Accept)
{
    Accept = Source == EditList;
}

void TFormVusk::ShellTreeView1DragDrop(TObject* Sender, TObject* Source, int X, int Y)
{
    if (Source != EditList)
        return;
    TTreeNode* node = ShellTreeView1->GetNodeAt(X, Y);
    if (!node)
        return;
    TTreeNode* folder = DirectoryExists(ShellTreeView1->Path(node)) ? node : node->Parent();
    if (!folder)
        return;
    BounceRegions(ShellTreeView1->Path(folder), true);
    // The new files show in the tree.
    ShellTreeView1->Refresh(folder);
}

// --- The bounce ----------------------------------------------------------------------------

std::vector<TRegionData> TFormVusk::RegionsToBounce(bool selectedOnly) const
{
    std::vector<TRegionData> regions;
    for (const TRegionData* region : selectedOnly ? SelectedRegions() : ListedRegions())
        regions.push_back(*region);
    return regions;
}

void TFormVusk::BounceRegions(const AnsiString& folder, bool selectedOnly)
{
    if (FDocument.Busy() || !FileLoaded() || folder.empty() || !DirectoryExists(folder))
        return;
    const std::vector<TRegionData> regions = RegionsToBounce(selectedOnly);
    if (regions.empty())
        return;
    // Nothing else may run meanwhile: the writer lets messages through, and
    // an open from the file-list window would empty the list it reads.
    TBusyScope busy(FDocument);
    HaltPlayback();
    const std::int64_t needed = BounceSpaceNeeded(regions, FEngine->WavInfo());
    const std::int64_t free = DiskFreeOf(folder);
    if (free < needed) {
        SeamMessageBox(Handle(), BounceSpaceMessage(needed, free), BounceText::SpaceCaption,
                       MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    RunBounceWindow(folder, regions);
}

void TFormVusk::RunBounceWindow(const AnsiString& folder, const std::vector<TRegionData>& regions)
{
    std::unique_ptr<TBounceFolder> target =
        FBounceTarget ? FBounceTarget(folder) : std::make_unique<TDiskBounceFolder>(folder);
    TForm4* window = new TForm4(this);
    TProcessWindowScope scope(*this, window);
    window->SetCaption(BounceText::Caption);
    window->MesLabel1->Font()->SetColor(clBlack);
    window->MesLabel1->SetCaption(BounceText::Running);
    window->CloseChk->SetVisible(true);
    window->CloseChk->SetChecked(FOption.ProcessClose);
    SetEnabled(false);
    window->ShowPainted();
    BounceInWindow(*window, FEngine->WavInfo(), regions, *target);
    window->WaitUntilClosed();
    FOption.ProcessClose = window->CloseChk->Checked();
}

void TFormVusk::WireBounceEvents()
{
    Wire(actFileBounce->OnExecute, &TFormVusk::actFileBounceExecute);
    Wire(actFileBounceSelOnly->OnExecute, &TFormVusk::actFileBounceSelOnlyExecute);
    Wire(ShellTreeView1->OnDragOver, &TFormVusk::ShellTreeView1DragOver);
    Wire(ShellTreeView1->OnDragDrop, &TFormVusk::ShellTreeView1DragDrop);
}
