// The bounce from the main window: the two commands with the save dialog,
// the drop of regions onto a folder of the explorer tree, and the window's
// side of a bounce (the checks, the free space, the processing window and
// the wait). The files themselves are BounceWriter's, shown by TForm4.
#include "ostrel.h"

#include "BounceWriter.h"
#include "ql_process.h"

#include "audio/DirectWavEngine.h"
#include "classlib/FileNames.h"
#include "classlib/FilePaths.h"
#include "classlib/Seams.h"

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
    const int count = selectedOnly ? EditList->SelCount() : EditList->Items()->Count();
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
    TListItems* items = EditList->Items();
    for (int i = 0; i < items->Count(); ++i) {
        const TListItem* item = items->Item(i);
        if (selectedOnly && !item->Selected())
            continue;
        if (const TRegionData* region = RegionOf(item))
            regions.push_back(*region);
    }
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
    window->BounceRegions(FEngine->WavInfo(), regions, *target);
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
