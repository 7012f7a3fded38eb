// The region list: the records of the open file's regions and the list view
// EditList, whose items point at them, kept in step. Adding regions with
// their default names and texts, sorting by a header click, the list's
// selection becoming the waveform's, reordering by dragging items, the drag
// edits of starts, ends and volumes by moving the mouse up or down (and the
// tick that also drives a cut bar's drag in its list), the popups, and the
// stripes. The rules are RegionList's; this file applies them.
#include "ostrel.h"

#include "PlayCursor.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Seams.h"
#include "classlib/TextUtils.h"

#include <unordered_map>

namespace {

constexpr TColor kRegionStripeColor = 0xEAF2FC;
constexpr TColor kManualInputFrameColor = 0x008000;
// Pixels a tick scrolls the list while its items are dragged past an edge.
constexpr int kListScrollStep = 16;

TPoint RegionMouseScreenPos()
{
    return TPoint(Seams().CursorPos());
}

} // namespace

// --- The door to the regions --------------------------------------------------------------

namespace {

TRegionData* RegionOf(const TListItem* item)
{
    return item ? static_cast<TRegionData*>(item->Data()) : nullptr;
}

void FitTextCount(TStrings* texts, int count)
{
    while (texts->Count() < count)
        texts->Add("");
    while (texts->Count() > count)
        texts->Delete(texts->Count() - 1);
}

} // namespace

int TFormVusk::RegionCount() const
{
    return EditList->Items()->Count();
}

TRegionData* TFormVusk::RegionAt(int row) const
{
    TListItems* items = EditList->Items();
    return row >= 0 && row < items->Count() ? RegionOf(items->Item(row)) : nullptr;
}

std::vector<const TRegionData*> TFormVusk::ListedRegions() const
{
    TListItems* items = EditList->Items();
    std::vector<const TRegionData*> regions;
    regions.reserve(items->Count());
    for (int i = 0; i < items->Count(); ++i)
        if (const TRegionData* region = RegionOf(items->Item(i)))
            regions.push_back(region);
    return regions;
}

const TFormVusk::TRegionSelectionReading& TFormVusk::ReadRegionSelection() const
{
    TRegionSelectionReading& reading = FSelectionReading;
    reading.Rows = EditList->SelectedIndexes();
    reading.Regions.clear();
    reading.Regions.reserve(reading.Rows.size());
    for (int row : reading.Rows)
        if (const TRegionData* region = RegionAt(row))
            reading.Regions.push_back(region);
    FSelectionReadingCurrent = true;
    return reading;
}

std::vector<int> TFormVusk::SelectedRegionRows() const
{
    return ReadRegionSelection().Rows;
}

std::vector<const TRegionData*> TFormVusk::SelectedRegions() const
{
    return ReadRegionSelection().Regions;
}

const TFormVusk::TRegionSelectionReading& TFormVusk::SelectionForRules() const
{
    return FSelectionReadingCurrent ? FSelectionReading : ReadRegionSelection();
}

int TFormVusk::SelectedRegionCount() const
{
    return EditList->SelCount();
}

int TFormVusk::SelectedRegionRow() const
{
    return EditList->ItemIndex();
}

int TFormVusk::FocusedRegionRow() const
{
    const TListItem* item = EditList->ItemFocused();
    return item ? item->Index() : -1;
}

AnsiString TFormVusk::RegionText(int row, TRegionColumn column) const
{
    TListItems* items = EditList->Items();
    if (row < 0 || row >= items->Count())
        return {};
    const TListItem* item = items->Item(row);
    if (column == TRegionColumn::Name)
        return item->Caption();
    const TStrings* texts = item->SubItems();
    const int index = SubItemOf(column);
    return index < texts->Count() ? texts->Strings(index) : AnsiString();
}

void TFormVusk::SetRegionText(int row, TRegionColumn column, const AnsiString& text)
{
    TListItems* items = EditList->Items();
    if (row < 0 || row >= items->Count())
        return;
    TListItem* item = items->Item(row);
    if (column == TRegionColumn::Name) {
        item->SetCaption(text);
        return;
    }
    TStrings* texts = item->SubItems();
    const int index = SubItemOf(column);
    if (index >= texts->Count())
        FitTextCount(texts, index + 1);
    if (texts->Strings(index) != text)
        texts->SetStrings(index, text);
}

void TFormVusk::ShowRegionTimes(int row)
{
    const TRegionData* region = RegionAt(row);
    if (!region)
        return;
    const std::vector<AnsiString> texts = RegionTimeTexts(*region, FEngine->Rate());
    TStrings* subItems = EditList->Items()->Item(row)->SubItems();
    TStringsUpdate update(subItems);
    for (int i = 0; i < static_cast<int>(texts.size()) && i < subItems->Count(); ++i)
        subItems->SetStrings(i, texts[i]);
}

TRect TFormVusk::RegionCellRect(int row, TRegionColumn column) const
{
    TListItems* items = EditList->Items();
    if (row < 0 || row >= items->Count())
        return TRect();
    return EditList->SubItemRect(items->Item(row), static_cast<int>(column));
}

void TFormVusk::AddRegion(std::int32_t start, std::int32_t end)
{
    AddRegionRanges({{start, end}});
}

void TFormVusk::AddRegionRanges(const std::vector<TRegionRange>& ranges)
{
    AddRegionItems(FDocument.AddRegions(FDocument.NewRegionRanges(ranges)));
}

void TFormVusk::AddRegions(const TAutoRegionList& regions)
{
    AddRegionItems(FDocument.AddRegions(FDocument.DetectedRegionRanges(regions)));
}

void TFormVusk::AddLoadedRegions(const std::vector<TRegionRecord>& regions)
{
    TListItemsUpdate update(EditList->Items());
    for (const TRegionRecord& loaded : regions) {
        TRegionData& record = FDocument.AddLoadedRegion(loaded);
        // A new item shows the record's output mode already; a loaded
        // volume shows as a percentage.
        TListItem* item = AddRegionItem(record);
        item->SubItems()->SetStrings(SubItemOf(TRegionColumn::Volume),
                                     RegionVolumePercentText(record.Volume));
    }
}

void TFormVusk::AddRegionItems(const std::vector<TRegionData*>& records)
{
    if (records.empty())
        return;
    TListItemsUpdate update(EditList->Items());
    for (TRegionData* record : records)
        AddRegionItem(*record);
}

TListItem* TFormVusk::AddRegionItem(TRegionData& record)
{
    TListItem* item = EditList->Items()->Add();
    item->SetData(&record);
    item->SetCaption(record.Name);
    item->SetImageIndex(RegionIconIndex());
    TStrings* texts = item->SubItems();
    TStringsUpdate update(texts);
    for (const AnsiString& text : NewRegionTexts(record, FEngine->Rate()))
        texts->Add(text);
    if (FRenameMode)
        texts->Add("");
    return item;
}

int TFormVusk::RegionIconIndex()
{
    // The shell's image list is slow to fetch the first time: the list
    // takes it with its first region.
    if (!FShellImages) {
        FShellImages = NewShellSmallImages(this);
        EditList->SetSmallImages(FShellImages);
    }
    if (FRegionIconPath != FEngine->Path()) {
        FRegionIconPath = FEngine->Path();
        FRegionIconIndex = ShellSmallIconIndex(FRegionIconPath);
    }
    return FRegionIconIndex;
}

void TFormVusk::RemoveRegionRows(const std::vector<int>& rows)
{
    TListItems* items = EditList->Items();
    std::vector<int> doomed;
    doomed.reserve(rows.size());
    for (int row : rows)
        if (row >= 0 && row < items->Count())
            doomed.push_back(row);
    std::sort(doomed.begin(), doomed.end());
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    std::vector<const TRegionData*> regions;
    regions.reserve(doomed.size());
    for (int row : doomed)
        if (const TRegionData* region = RegionAt(row))
            regions.push_back(region);
    if (static_cast<int>(doomed.size()) == items->Count()) {
        items->Clear();
    } else {
        // Each item the window deletes it first deselects.
        TRegionSelectionHold hold(*this);
        TListItemsUpdate update(items);
        // From the last: the ones before keep their places.
        for (auto row = doomed.rbegin(); row != doomed.rend(); ++row)
            items->Delete(*row);
    }
    ForgetRegionSelectionReading();
    FDocument.RemoveRegions(regions);
}

void TFormVusk::ClearRegionList()
{
    ClearRegionRows();
    FDocument.ClearRegions();
}

void TFormVusk::ClearRegionRows()
{
    EditList->Items()->Clear();
    ForgetRegionSelectionReading();
}

void TFormVusk::SelectRegionRow(int row, bool only)
{
    TListItems* items = EditList->Items();
    if (row < 0 || row >= items->Count())
        return;
    if (only)
        EditList->ClearSelection();
    items->Item(row)->SetSelected(true);
}

void TFormVusk::FocusRegionRow(int row)
{
    TListItems* items = EditList->Items();
    if (row < 0 || row >= items->Count())
        return;
    TListItem* item = items->Item(row);
    item->SetFocused(true);
    item->MakeVisible(false);
}

void TFormVusk::SelectAllRegions()
{
    {
        TRegionSelectionHold hold(*this);
        EditList->SelectAll();
    }
    EditListClick(this);
}

void TFormVusk::ClearRegionSelection()
{
    EditList->ClearSelection();
}

void TFormVusk::SortRegionListByKeys(const std::vector<AnsiString>& keys)
{
    TListItems* items = EditList->Items();
    if (static_cast<int>(keys.size()) != items->Count())
        return;
    std::unordered_map<const TListItem*, const AnsiString*> keyOf;
    for (int i = 0; i < items->Count(); ++i)
        keyOf[items->Item(i)] = &keys[i];
    EditList->CustomSort(
        [&keyOf](TListItem* a, TListItem* b) { return CompareStr(*keyOf[a], *keyOf[b]); });
    ForgetRegionSelectionReading();
}

void TFormVusk::FitRegionRowsToColumns()
{
    TListItems* items = EditList->Items();
    const int texts = EditList->Columns()->Count() - 1;
    TListItemsUpdate update(items);
    for (int i = 0; i < items->Count(); ++i)
        FitTextCount(items->Item(i)->SubItems(), texts);
}

// --- The link with the waveform selection --------------------------------------------------

void TFormVusk::SelectRegions(const std::vector<const TRegionData*>& regions)
{
    const std::optional<TRegionRange> span = RegionSpan(regions);
    if (!span)
        return;
    FDocument.Select(*span);
}

TRegionRange TFormVusk::SelectedRegionSpan() const
{
    const std::vector<const TRegionData*> regions = SelectedRegions();
    if (regions.size() < 2)
        return {-1, -1};
    return *RegionSpan(regions);
}

void TFormVusk::SelectSelectedRegions()
{
    SelectRegions(SelectedRegions());
}

void TFormVusk::UpdateRegionFromSelection()
{
    const int row = SelectedRegionRow();
    TRegionData* region = RegionAt(row);
    if (!View().RegionSelection || !region)
        return;
    FDocument.MoveRegion(*region, {View().SelStart, View().SelEnd});
    ShowRegionTimes(row);
}

void TFormVusk::ShowSelectionLabel()
{
    InfoRegionLabel->SetCaption(SelectionLabelText(ViewDocument(), View().SelStart, View().SelEnd));
}

void TFormVusk::EditListClick(TObject* Sender)
{
    if (FRangeClickTimer)
        FRangeClickTimer->SetEnabled(false);
    if (!FileLoaded())
        return;
    if (FRenameMode)
        UpdateRenamePreview();
    // Read once: with thousands selected each reading asks the list for
    // every item.
    const std::vector<const TRegionData*> selected = SelectedRegions();
    if (selected.empty())
        return;
    ClearSelection();
    HaltPlayback();
    FDocument.SetRegionSelection(true);
    SelectRegions(selected);
    const bool hidden = !IsSampleVisible(View().SelStart) ||
                        (selected.size() == 1 && !IsSampleVisible(View().SelEnd));
    DrawWave(hidden ? CentredStart(View(), View().SelStart) : View().ViewStart);
    SetPlayPosition(View().SelStart);
    ShowSelectionLabel();
}

// --- Sorting -------------------------------------------------------------------------------

void TFormVusk::EditListColumnClick(TObject* Sender, TListColumn* Column)
{
    FSortColumn = SortKeyAfterClick(FSortColumn, Column->Index());
    EditList->AlphaSort();
    ForgetRegionSelectionReading();
}

void TFormVusk::EditListCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data,
                                int& Compare)
{
    const TRegionData* a = RegionOf(Item1);
    const TRegionData* b = RegionOf(Item2);
    if (!a || !b) {
        Compare = 0;
        return;
    }
    Compare = CompareRegionRows(FSortColumn, {Item1->Caption(), *a, *Item1->SubItems()},
                                {Item2->Caption(), *b, *Item2->SubItems()});
}

// --- Selection by keyboard and mouse -------------------------------------------------------

// A range selection (Shift with the mouse released, or Shift with Up or
// Down) is taken, not while the mouse still sweeps one; and once the list
// has changed every item of it (Shift+End may change thousands), not for
// every item on the way.
void TFormVusk::TakeRegionListSelection(TObject* Sender)
{
    const int count = EditList->SelCount();
    if (count == 1) {
        EditListClick(Sender);
        return;
    }
    // Asking for the keys is a trip to the window system: once the click
    // is due, the range's other items need not.
    if (count < 2 || RangeClickPending() || !SeamKeyHeld(VK_SHIFT))
        return;
    const bool mouseRange = !SeamKeyHeld(VK_LBUTTON);
    const bool keyRange = SeamKeyHeld(VK_UP) || SeamKeyHeld(VK_DOWN);
    if (mouseRange || keyRange)
        FRangeClickTimer->SetEnabled(true);
}

void TFormVusk::EditListSelectItem(TObject* Sender, TListItem* Item, bool Selected)
{
    ForgetRegionSelectionReading();
    if (FRegionSelectionHeld == 0 && !EditList->UserSelecting())
        TakeRegionListSelection(Sender);
}

void TFormVusk::EditListUserSelection(TObject* Sender)
{
    if (FRegionSelectionHeld == 0)
        TakeRegionListSelection(Sender);
}

void TFormVusk::RangeClickTimerTimer(TObject* Sender)
{
    EditListClick(this);
}

std::optional<TRegionColumn> TFormVusk::RegionColumnAt(int x, int y) const
{
    TListItem* item = nullptr;
    int column = -1;
    if (!EditList->SubItemHitTest(x, y, item, column) || column < 0 ||
        column > static_cast<int>(TRegionColumn::RenamePreview))
        return std::nullopt;
    return static_cast<TRegionColumn>(column);
}

void TFormVusk::EditListMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                  int Y)
{
    if (Shift & ssDouble)
        return;
    const TPoint screen = EditList->ClientToScreen(TPoint(X, Y));
    // The list has taken the click's selection already; the popups' items
    // show their actions' enabling for it, not for the selection before.
    if (Button == TMouseButton::mbRight)
        UpdateActions();
    if (EditList->SelCount() == 0) {
        if (Button == TMouseButton::mbRight)
            EditListPopup->Popup(screen.x, screen.y);
        return;
    }
    if (Button == TMouseButton::mbRight) {
        // The output-mode column is the last shown: a click at or right of
        // it, on any row, opens its popup under the focused item's cell.
        TListItem* focused = EditList->ItemFocused();
        const TRect cell =
            focused ? EditList->SubItemRect(focused, static_cast<int>(TRegionColumn::OutMode))
                    : TRect();
        if (focused && X >= cell.left) {
            const TPoint below = EditList->ClientToScreen(TPoint(cell.left, cell.bottom));
            OutModePopup->Popup(below.x, below.y);
        } else {
            EditListPopup->Popup(screen.x, screen.y);
        }
        return;
    }
    const std::optional<TRegionColumn> column = RegionColumnAt(X, Y);
    if (Button != TMouseButton::mbLeft || !column)
        return;
    const TEditListDragMode mode = RegionPressMode(*column);
    if (mode == TEditListDragMode::None)
        return;
    FEditListStatus = TEditListStatus{true, screen.y, mode, {}};
}

void TFormVusk::EditListMouseMove(TObject* Sender, TShiftState Shift, int X, int Y)
{
    if (!FEditListStatus.Active || DragEditTimer->Enabled())
        return;
    switch (FEditListStatus.Mode) {
    case TEditListDragMode::MoveItems:
        EditList->BeginDrag(false);
        DragEditTimer->SetEnabled(true);
        break;
    case TEditListDragMode::Start:
    case TEditListDragMode::End:
    case TEditListDragMode::Volume:
        if (DragEditBegins(FEditListStatus.StartY, EditList->ClientToScreen(TPoint(X, Y)).y))
            BeginRegionDragEdit();
        break;
    case TEditListDragMode::None:
    case TEditListDragMode::CutBar:
        break;
    }
}

void TFormVusk::EditListMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                int Y)
{
    EndDragEdit();
}

void TFormVusk::EditListExit(TObject* Sender)
{
    FEngine->SetOutputMode(TOutputMode::NoTouch);
}

// --- Drag edits ----------------------------------------------------------------------------

void TFormVusk::BeginRegionDragEdit()
{
    FEditListStatus.Snapshots.clear();
    for (int row : SelectedRegionRows())
        if (const TRegionData* region = RegionAt(row))
            FEditListStatus.Snapshots.push_back({region->Volume, region->Start, region->End, row});
    if (FEditListStatus.Mode != TEditListDragMode::Volume)
        BrinkTimer->SetEnabled(false);
    DragEditTimer->SetEnabled(true);
}

void TFormVusk::DragEditTimerTimer(TObject* Sender)
{
    if (!FEditListStatus.Active) {
        DragEditTimer->SetEnabled(false);
        return;
    }
    const std::int32_t dy = RegionMouseScreenPos().y - FEditListStatus.StartY;
    switch (FEditListStatus.Mode) {
    case TEditListDragMode::Start:
    case TEditListDragMode::End:
    case TEditListDragMode::Volume:
        DragRegionTick(dy);
        break;
    case TEditListDragMode::MoveItems:
        ScrollListBy(EditList->ScreenToClient(RegionMouseScreenPos()).y);
        break;
    case TEditListDragMode::CutBar:
        DragCutBarTick(dy);
        break;
    case TEditListDragMode::None:
        break;
    }
    if (!SeamKeyHeld(VK_LBUTTON))
        EndDragEdit();
}

void TFormVusk::DragRegionTick(std::int32_t dy)
{
    const TEditListDragMode mode = FEditListStatus.Mode;
    const std::int32_t step = std::max(1, View().SamplesPerPixel);
    const std::int32_t length = FEngine->SampleSize();
    for (const TEditListSnapshot& snapshot : FEditListStatus.Snapshots) {
        const int row = snapshot.ItemIndex;
        TRegionData* region = RegionAt(row);
        if (!region)
            continue;
        if (mode == TEditListDragMode::Start) {
            FDocument.MoveRegion(*region, {DraggedRegionStart(snapshot, dy, step), region->End});
        } else if (mode == TEditListDragMode::End) {
            FDocument.MoveRegion(*region,
                                 {region->Start, DraggedRegionEnd(snapshot, dy, step, length)});
        } else {
            FDocument.SetRegionVolume(*region, DraggedRegionVolume(snapshot.Volume, dy));
            SetRegionText(row, TRegionColumn::Volume, DraggedVolumeText(region->Volume));
            continue;
        }
        ShowRegionTimes(row);
    }
    if (mode == TEditListDragMode::Volume) {
        const std::vector<const TRegionData*> selected = SelectedRegions();
        if (selected.size() == 1 && View().RegionSelection)
            FEngine->SetVolume(FMasterVolume * selected.front()->Volume);
        return;
    }
    const TWaveViewState before = View();
    SelectSelectedRegions();
    RedrawSelectionChange(before);
    ShowSelectionLabel();
    if (!FStopped) {
        FEngine->SetPlayRange(-1, View().SelEnd);
        FEngine->SetLoopRange(View().SelStart, View().SelEnd);
    }
}

void TFormVusk::ScrollListBy(int mouseY)
{
    const TRect client = EditList->ClientRect();
    const TListItem* top = EditList->TopItem();
    // The header is the list's top area: items scroll up under it.
    const int itemsTop = top ? top->DisplayRect(TDisplayCode::drBounds).top : client.top;
    if (mouseY < itemsTop)
        EditList->Scroll(0, -kListScrollStep);
    else if (mouseY > client.bottom)
        EditList->Scroll(0, kListScrollStep);
}

void TFormVusk::EndDragEdit()
{
    const TEditListStatus status = std::exchange(FEditListStatus, TEditListStatus{});
    const bool timerRan = DragEditTimer->Enabled();
    DragEditTimer->SetEnabled(false);
    if (!timerRan) {
        BrinkTimer->SetEnabled(FStopped);
        return;
    }
    switch (status.Mode) {
    case TEditListDragMode::Start:
    case TEditListDragMode::End:
        if (View().HasSelection)
            SetPlayPosition(View().SelStart);
        break;
    case TEditListDragMode::MoveItems:
        EditList->Invalidate();
        break;
    case TEditListDragMode::CutBar:
        EndCutBarDrag(status);
        break;
    case TEditListDragMode::Volume:
    case TEditListDragMode::None:
        break;
    }
    BrinkTimer->SetEnabled(FStopped);
}

// --- Reordering by dragging and drops from the waveform ------------------------------------

void TFormVusk::EditListDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                                 bool& Accept)
{
    Accept = Source == EditList || Source == WaveImage;
}

void TFormVusk::EditListDragDrop(TObject* Sender, TObject* Source, int X, int Y)
{
    if (Source == WaveImage) {
        actRegionAdd->Execute();
        return;
    }
    if (Source != EditList)
        return;
    const TListItem* target = EditList->GetItemAt(X, Y);
    std::vector<bool> selected(RegionCount(), false);
    for (int row : SelectedRegionRows())
        selected[row] = true;
    const auto keys = MoveRowsKeys(selected, target ? target->Index() : -1);
    if (!keys)
        return;
    std::vector<AnsiString> texts;
    texts.reserve(keys->size());
    for (char key : *keys)
        texts.emplace_back(1, key);
    SortRegionListByKeys(texts);
}

// --- Drawing -------------------------------------------------------------------------------

void TFormVusk::EditListAdvancedCustomDrawItem(TObject* Sender, TListItem* Item,
                                               TCustomDrawState State, TCustomDrawStage Stage,
                                               bool& DefaultDraw)
{
    if (Stage == TCustomDrawStage::cdPrePaint) {
        if (FOption.Stripe && !(State & cdsSelected) && Item->Index() % 2 == 1)
            EditList->Canvas()->Brush()->SetColor(kRegionStripeColor);
        return;
    }
    if (FRenameMode && RenamePage->ActiveTabIndex() == static_cast<int>(TRenameTab::Input) &&
        !EditList->Focused() && Item->Focused()) {
        TCanvas* canvas = EditList->Canvas();
        canvas->Brush()->SetColor(kManualInputFrameColor);
        canvas->FrameRect(Item->DisplayRect(TDisplayCode::drBounds));
    }
}

// --- Wiring --------------------------------------------------------------------------------

void TFormVusk::WireRegionListEvents()
{
    EditList->SetDragMode(TDragMode::dmManual);
    Wire(EditList->OnClick, &TFormVusk::EditListClick);
    Wire(EditList->OnColumnClick, &TFormVusk::EditListColumnClick);
    Wire(EditList->OnCompare, &TFormVusk::EditListCompare);
    Wire(EditList->OnSelectItem, &TFormVusk::EditListSelectItem);
    Wire(EditList->OnUserSelection, &TFormVusk::EditListUserSelection);
    Wire(EditList->OnMouseDown, &TFormVusk::EditListMouseDown);
    Wire(EditList->OnMouseMove, &TFormVusk::EditListMouseMove);
    Wire(EditList->OnMouseUp, &TFormVusk::EditListMouseUp);
    Wire(EditList->OnExit, &TFormVusk::EditListExit);
    Wire(EditList->OnDragOver, &TFormVusk::EditListDragOver);
    Wire(EditList->OnDragDrop, &TFormVusk::EditListDragDrop);
    Wire(EditList->OnAdvancedCustomDrawItem, &TFormVusk::EditListAdvancedCustomDrawItem);
    Wire(DragEditTimer->OnTimer, &TFormVusk::DragEditTimerTimer);
    FRangeClickTimer = new TTimer(this);
    FRangeClickTimer->SetEnabled(false);
    FRangeClickTimer->SetInterval(1);
    Wire(FRangeClickTimer->OnTimer, &TFormVusk::RangeClickTimerTimer);
}
