// The cut bars of the main window: the document's entries, their list view
// CutManageList, the marks on the waveform, the cut commands (at the cursor,
// at both ends of the selection, the bars into regions, clearing), deleting
// and nudging the selected bar, and dragging a bar's place in its list. The
// rules are CutBarList's; this file applies them.
#include "ostrel.h"

#include "CutBarList.h"

#include "audio/DirectWavEngine.h"
#include "classlib/ScopeExit.h"
#include "dialogs/ql_cutbaredit.h"

namespace {

constexpr TColor kCutBarNumberColor = 0x000080;
constexpr TColor kCutBarStripeColor = 0xE1FFFF;
// Neighbours within this many pixels' worth of samples of a nudged bar get
// their marks drawn again.
constexpr int kNudgeRedrawPixels = 8;

} // namespace

void TFormVusk::RefreshCutBarList()
{
    TListItems* items = CutManageList->Items();
    TListItemsUpdate update(items);
    items->Clear();
    const std::vector<std::int32_t> bars = FDocument.CutBarSamples();
    for (int i = 0; i < static_cast<int>(bars.size()); ++i) {
        const TCutBarRow row = CutBarRowFor(i, bars[i], FEngine->Rate());
        TListItem* item = items->Add();
        item->SetCaption(row.Number);
        item->SubItems()->Add(row.Time);
        item->SubItems()->Add(row.Samples);
    }
}

// --- Adding --------------------------------------------------------------------------------

void TFormVusk::AddCutBar(std::int32_t sample)
{
    AddCutBars({sample});
}

void TFormVusk::AddCutBars(const std::vector<std::int32_t>& samples)
{
    for (std::int32_t sample : samples)
        DrawCutBarMark(sample);
    FDocument.AddCutBars(samples);
    RefreshCutBarList();
}

void TFormVusk::CutAt(std::int32_t sample)
{
    const std::vector<std::int32_t> others = FDocument.CutBarSamples();
    AddCutBar(sample);
    if (FOption.CutToAdd)
        AddRegion(CutRegionStart(others, sample), sample - 1);
}

void TFormVusk::actRegionCutExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy())
        return;
    CutAt(View().PlayPos);
}

void TFormVusk::actRegionCut2Execute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy() || !View().HasSelection)
        return;
    const TRegionRange selection{View().SelStart, View().SelEnd};
    AddCutBars({selection.Start, selection.End});
    if (FOption.CutToAdd)
        AddRegion(selection.Start, selection.End - 1);
}

void TFormVusk::actRegionCutToListExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy() || FDocument.CutBarCount() == 0)
        return;
    AddRegionRanges(CutBarsToRegions(FDocument.CutBarSamples(), FDocument.Length()));
}

void TFormVusk::actRegionCutClearExecute(TObject* Sender)
{
    if (!FileLoaded() || FDocument.Busy())
        return;
    ClearCutBars();
    RedrawWaveFromViewStart();
}

// --- The selected bar ----------------------------------------------------------------------

// The list is rebuilt rather than one item deleted, so the numbers stay in
// sequence.
void TFormVusk::DeleteSelectedCutBar()
{
    const TListItem* selected = CutManageList->Selected();
    if (!selected)
        return;
    const int index = selected->Index();
    if (!FDocument.DeleteCutBar(index))
        return;
    RefreshCutBarList();
    TListItems* items = CutManageList->Items();
    if (items->Count() > 0) {
        TListItem* next = items->Item(std::min(index, items->Count() - 1));
        CutManageList->SetSelected(next);
        next->MakeVisible(false);
    }
    RedrawWaveFromViewStart();
}

void TFormVusk::EditSelectedCutBar()
{
    const TListItem* selected = CutManageList->Selected();
    const int index = selected ? selected->Index() : -1;
    const std::optional<std::int32_t> bar = FDocument.CutBarAt(index);
    if (!bar || !FileLoaded())
        return;
    const std::int32_t length = FDocument.Length();
    TScopedFree<TForm9> window(new TForm9(this));
    window->FBlockAlign = FEngine->WavInfo().BlockSize;
    window->FBytesPerSec = FEngine->BytesPerSecond();
    window->FCutPosition = *bar;
    window->FMaxSamples = length;
    window->LengthEd1->SetText(selected->SubItems()->Strings(0));
    window->LengthEd2->SetText(SampleCountText(*bar));
    window->MaxLabel->SetCaption(RegionTimeText(length, FEngine->Rate()));
    window->MaxLabel2->SetCaption(SampleCountText(length));
    window->ShowModal();
    if (!window->FOkResult)
        return;
    const std::optional<std::int32_t> position = SampleStrToInt(window->LengthEd2->Text());
    if (!position || *position > length)
        return;
    FDocument.MoveCutBar(index, *position);
    RefreshCutBarList();
    RedrawWaveFromViewStart();
}

void TFormVusk::NudgeCutBar(bool forward)
{
    const TListItem* selected = CutManageList->Selected();
    if (!selected || !FileLoaded())
        return;
    const int index = selected->Index();
    const std::optional<std::int32_t> old = FDocument.CutBarAt(index);
    const std::optional<TCutBarNudge> nudge = FDocument.NudgeCutBar(index, forward);
    if (!old || !nudge)
        return;
    {
        FCutListUpdating = true;
        TScopeExit updated([this] { FCutListUpdating = false; });
        RefreshCutBarList();
        TListItem* moved = CutManageList->Items()->Item(nudge->Index);
        CutManageList->SetSelected(moved);
        moved->MakeVisible(false);
    }
    if (IsSampleVisible(nudge->Sample)) {
        if (IsSampleVisible(*old))
            EraseCutBarMark(SampleToX(*old), false);
        DrawCutBarMark(nudge->Sample);
        RedrawCutBarMarksNear(nudge->Sample);
    } else {
        DrawWave(CentredStart(View(), nudge->Sample));
    }
}

void TFormVusk::RedrawCutBarMarksNear(std::int32_t sample)
{
    const std::int64_t reach =
        std::int64_t(kNudgeRedrawPixels) * std::max(1, View().SamplesPerPixel);
    for (std::int32_t bar : FDocument.CutBarSamples())
        if (std::abs(std::int64_t(bar) - sample) <= reach)
            DrawCutBarMark(bar);
}

void TFormVusk::CutManageListSelectItem(TObject* Sender, TListItem* Item, bool Selected)
{
    if (!Selected || FCutListUpdating || !FileLoaded() || !Item)
        return;
    const std::optional<std::int32_t> bar = FDocument.CutBarAt(Item->Index());
    if (!bar)
        return;
    ClearSelection();
    ResetRegionAudio();
    SetPlayPosition(*bar);
    if (!IsSampleVisible(*bar))
        DrawWave(CentredStart(View(), *bar));
}

void TFormVusk::CutManageListDblClick(TObject* Sender)
{
    EditSelectedCutBar();
}

// --- Dragging a bar's place in the list ----------------------------------------------------

void TFormVusk::CutManageListMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                       int X, int Y)
{
    if (Button != TMouseButton::mbLeft || (Shift & ssDouble) || !CutManageList->Selected())
        return;
    TListItem* item = nullptr;
    int column = -1;
    if (!CutManageList->SubItemHitTest(X, Y, item, column) || column < 1)
        return;
    FEditListStatus = TEditListStatus{
        true, CutManageList->ClientToScreen(TPoint(X, Y)).y, TEditListDragMode::CutBar, {}};
}

void TFormVusk::CutManageListContextPopup(TObject* Sender, TPoint MousePos, bool& Handled)
{
    // The right-click selected its bar already; the popup's items show
    // their actions' enabling for it. The list's popup then opens as usual.
    UpdateActions();
}

void TFormVusk::CutManageListMouseMove(TObject* Sender, TShiftState Shift, int X, int Y)
{
    if (!FEditListStatus.Active || FEditListStatus.Mode != TEditListDragMode::CutBar ||
        DragEditTimer->Enabled())
        return;
    if (!DragEditBegins(FEditListStatus.StartY, CutManageList->ClientToScreen(TPoint(X, Y)).y))
        return;
    const TListItem* selected = CutManageList->Selected();
    const int index = selected ? selected->Index() : -1;
    const std::optional<std::int32_t> bar = FDocument.CutBarAt(index);
    if (!bar)
        return;
    FEditListStatus.Snapshots = {{1.0, *bar, *bar, index}};
    DragEditTimer->SetEnabled(true);
}

void TFormVusk::CutManageListMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                     int Y)
{
    if (FEditListStatus.Mode == TEditListDragMode::CutBar)
        EndDragEdit();
}

void TFormVusk::DragCutBarTick(std::int32_t dy)
{
    if (FEditListStatus.Snapshots.empty())
        return;
    TEditListSnapshot& bar = FEditListStatus.Snapshots.front();
    if (bar.ItemIndex >= FDocument.CutBarCount() ||
        bar.ItemIndex >= CutManageList->Items()->Count())
        return;
    bar.End =
        DraggedCutBar(bar.Start, dy, std::max(1, View().SamplesPerPixel), FEngine->SampleSize());
    FDocument.PlaceCutBar(bar.ItemIndex, bar.End);
    const TCutBarRow row = CutBarRowFor(bar.ItemIndex, bar.End, FEngine->Rate());
    TStrings* texts = CutManageList->Items()->Item(bar.ItemIndex)->SubItems();
    texts->SetStrings(0, row.Time);
    texts->SetStrings(1, row.Samples);
}

void TFormVusk::EndCutBarDrag(const TEditListStatus& status)
{
    FDocument.SortCutBars();
    RefreshCutBarList();
    if (!status.Snapshots.empty()) {
        const int index = FDocument.CutBarIndexOf(status.Snapshots.front().End);
        if (index >= 0) {
            TListItem* item = CutManageList->Items()->Item(index);
            CutManageList->SetSelected(item);
            item->MakeVisible(false);
        }
    }
    RedrawWaveFromViewStart();
}

// --- Drawing -------------------------------------------------------------------------------

void TFormVusk::CutManageListCustomDrawSubItem(TObject* Sender, TListItem* Item, int SubItem,
                                               TCustomDrawState State, bool& DefaultDraw)
{
    TCanvas* canvas = CutManageList->Canvas();
    if (State & cdsSelected)
        return;
    canvas->Font()->SetColor(SubItem == 0 ? kCutBarNumberColor : FOption.CutBarColor);
    if (FOption.Stripe && Item->Index() % 2 == 1)
        canvas->Brush()->SetColor(kCutBarStripeColor);
}

// --- Wiring --------------------------------------------------------------------------------

void TFormVusk::WireCutBarEvents()
{
    Wire(actRegionCut->OnExecute, &TFormVusk::actRegionCutExecute);
    Wire(actRegionCut2->OnExecute, &TFormVusk::actRegionCut2Execute);
    Wire(actRegionCutToList->OnExecute, &TFormVusk::actRegionCutToListExecute);
    Wire(actRegionCutClear->OnExecute, &TFormVusk::actRegionCutClearExecute);
    Wire(CutManageList->OnSelectItem, &TFormVusk::CutManageListSelectItem);
    Wire(CutManageList->OnMouseDown, &TFormVusk::CutManageListMouseDown);
    Wire(CutManageList->OnContextPopup, &TFormVusk::CutManageListContextPopup);
    Wire(CutManageList->OnMouseMove, &TFormVusk::CutManageListMouseMove);
    Wire(CutManageList->OnMouseUp, &TFormVusk::CutManageListMouseUp);
    Wire(CutManageList->OnDblClick, &TFormVusk::CutManageListDblClick);
    Wire(CutManageList->OnCustomDrawSubItem, &TFormVusk::CutManageListCustomDrawSubItem);
}
