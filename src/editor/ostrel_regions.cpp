// Region commands: add, merge, clear, the edit commands with the program's
// own region clipboard, the six adjust commands, the output modes, the
// double click in the region list by column, Backspace in the list, and the
// region's sound while it plays (its volume and output mode on the engine,
// and their reset to the master values). The rules are RegionCommands';
// this file applies them.
#include "ostrel.h"

#include "audio/DirectWavEngine.h"
#include "dialogs/ql_regionedit.h"
#include "classlib/Application.h"
#include "classlib/Seams.h"

#include <algorithm>

namespace {

constexpr const char* kMergedMessage = "リージョンを結合しました";
constexpr const char* kPastedMessage = "リージョンを貼り付けました";
constexpr const char* kDuplicatedMessage = "リージョンを複製しました";

} // namespace

bool TFormVusk::RegionCommandsReady() const
{
    return FileLoaded() && !FDocument.Busy();
}

TNumEdit* TFormVusk::FocusedTextEdit() const
{
    return dynamic_cast<TNumEdit*>(ActiveControl());
}

// --- Add, merge, clear -----------------------------------------------------------------------

void TFormVusk::actRegionAddExecute(TObject* Sender)
{
    if (!RegionCommandsReady() || !View().HasSelection || ActiveControl() != FocusBtn)
        return;
    AddRegion(View().SelStart, View().SelEnd);
    SetFileListRegionCount(RegionCount());
}

void TFormVusk::actRegionEditExecute(TObject* Sender)
{
    if (ActiveControl() == CutManageList) {
        EditSelectedCutBar();
        return;
    }
    if (RegionCommandsReady() && ActiveControl() == EditList)
        EditSelectedRegion();
}

void TFormVusk::EditSelectedRegion()
{
    const int row = SelectedRegionRow();
    const TRegionData* region = RegionAt(row);
    if (!region)
        return;
    TScopedFree<TForm2> window(new TForm2(this, *this));
    window->SetCaption(AnsiString("リージョンの編集 ： ") + region->Name);
    window->FBlockAlign = FEngine->WavInfo().BlockSize;
    window->FBytesPerSec = FEngine->BytesPerSecond();
    window->FMaxSamples = FEngine->SampleSize();
    window->LoadRegion(row);
    window->MaxLabel->SetCaption(RegionTimeText(FEngine->SampleSize(), FEngine->Rate()));
    window->MaxLabel2->SetCaption(SampleCountText(FEngine->SampleSize()));
    window->ShowModal();
    FEditColumn = 0;
    // The window may have changed the region or moved the list's selection:
    // the waveform shows what the list selects, as a click on it would.
    EditListClick(this);
}

void TFormVusk::actRegionMergeExecute(TObject* Sender)
{
    if (ActiveControl() != EditList)
        return;
    const std::vector<int> selected = SelectedRegionRows();
    TRegionData* merged = selected.size() >= 2 ? RegionAt(selected.front()) : nullptr;
    if (!merged)
        return;
    const TRegionRange span = SelectedRegionSpan();
    std::vector<AnsiString> names;
    for (int row = 0; row < RegionCount(); ++row)
        names.push_back(RegionText(row, TRegionColumn::Name));
    const int row = selected.front();
    FDocument.MoveRegion(*merged, span);
    FDocument.RenameRegion(*merged, MergedRegionName(merged->Name, names));
    SetRegionText(row, TRegionColumn::Name, merged->Name);
    ShowRegionTimes(row);
    // The rows after the first go: the first keeps its place.
    RemoveRegionRows({selected.begin() + 1, selected.end()});
    SelectRegionRow(row, true);
    FocusRegionRow(row);
    ShowStatusMessage(kMergedMessage, clBlack, kStatusMessageMs);
}

void TFormVusk::actRegionClearExecute(TObject* Sender)
{
    if (!RegionCommandsReady() || RegionCount() == 0)
        return;
    ClearRegionList();
    ClearSelection();
    FDocument.SetRegionSelection(false);
    FocusWave();
    SetFileListRegionCount(0);
}

// --- Edit commands ---------------------------------------------------------------------------

void TFormVusk::CopyRegions()
{
    if (ActiveControl() == FocusBtn && View().HasSelection) {
        FDocument.RegionClip().Ranges = {{View().SelStart, View().SelEnd}};
        return;
    }
    const std::vector<const TRegionData*> selected = SelectedRegions();
    if (ActiveControl() != EditList || selected.empty())
        return;
    FDocument.RegionClip().Ranges.clear();
    for (const TRegionData* region : selected)
        FDocument.RegionClip().Ranges.push_back({region->Start, region->End});
}

void TFormVusk::actEditCopyExecute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedTextEdit())
        edit->CopyToClipboard();
    else if (RegionCommandsReady())
        CopyRegions();
}

void TFormVusk::actEditCutExecute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedTextEdit()) {
        edit->CutToClipboard();
        return;
    }
    if (!RegionCommandsReady() || ActiveControl() != EditList || SelectedRegionCount() == 0)
        return;
    CopyRegions();
    DeleteSelectedRegions();
}

void TFormVusk::actEditPasteExecute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedTextEdit()) {
        edit->PasteFromClipboard();
        return;
    }
    if (!RegionCommandsReady() || FDocument.RegionClip().Empty() || ActiveControl() != EditList)
        return;
    AddRegionRanges(FDocument.RegionClip().Ranges);
    ShowStatusMessage(kPastedMessage, clBlack, kStatusMessageMs);
}

void TFormVusk::actEditDoubleExecute(TObject* Sender)
{
    if (!RegionCommandsReady() || ActiveControl() != EditList)
        return;
    const int count = RegionCount();
    const std::int32_t length = FEngine->SampleSize();
    std::vector<AnsiString> names;
    for (int row = 0; row < count; ++row) {
        const TRegionData* region = RegionAt(row);
        names.push_back(region ? region->Name : AnsiString());
    }
    // Only a range a new region may take is duplicated, so that copy k is
    // row count + k.
    std::vector<int> sources;
    std::vector<TRegionRange> ranges;
    for (int row : SelectedRegionRows()) {
        const TRegionData* region = RegionAt(row);
        if (region && IsNewRegionRange({region->Start, region->End}, length)) {
            sources.push_back(row);
            ranges.push_back({region->Start, region->End});
        }
    }
    if (sources.empty())
        return;
    FDocument.RegionClip().Ranges = ranges;
    AddRegionRanges(ranges);
    const std::vector<AnsiString> copies = DuplicateNames(names, sources);
    for (int k = 0; k < static_cast<int>(copies.size()) && count + k < RegionCount(); ++k) {
        FDocument.RenameRegion(*RegionAt(count + k), copies[k]);
        SetRegionText(count + k, TRegionColumn::Name, copies[k]);
    }
    SortRegionListByKeys(DuplicateSortKeys(count, sources));
    FSortColumn = 1;
    ShowStatusMessage(kDuplicatedMessage, clBlack, kStatusMessageMs);
}

void TFormVusk::DeleteSelectedRegions()
{
    const std::vector<int> selected = SelectedRegionRows();
    if (selected.empty())
        return;
    RemoveRegionRows(selected);
    const int count = RegionCount();
    if (count > 0) {
        const int focused = FocusedRegionRow();
        SelectRegionRow(focused >= 0 ? focused : std::min(selected.front(), count - 1), false);
    } else {
        ClearSelection();
        FDocument.SetRegionSelection(false);
        FocusWave();
    }
    SetFileListRegionCount(count);
}

void TFormVusk::actEditDeleteExecute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedTextEdit()) {
        edit->ClearSelection();
        return;
    }
    if (ActiveControl() == CutManageList) {
        DeleteSelectedCutBar();
        return;
    }
    if (RegionCommandsReady() && ActiveControl() == EditList)
        DeleteSelectedRegions();
}

void TFormVusk::SelectWholeFile()
{
    FDocument.Select({0, FEngine->SampleSize()});
    DrawWave(0);
    SetPlayPosition(0);
    ShowPlayTime();
    ShowSelectionLabel();
}

void TFormVusk::actEditSelAllExecute(TObject* Sender)
{
    if (TNumEdit* edit = FocusedTextEdit()) {
        edit->SelectAll();
        return;
    }
    if (!RegionCommandsReady())
        return;
    if (ActiveControl() == EditList)
        SelectAllRegions();
    else if (ActiveControl() == FocusBtn) {
        SelectWholeFile();
    }
}

// --- Adjust commands -------------------------------------------------------------------------

namespace {

struct TAdjustEntry
{
    TAction* TFormVusk::*Action;
    TRegionAdjust Adjust;
};

const TAdjustEntry kAdjustCommands[] = {
    {&TFormVusk::actRegionStartWide, TRegionAdjust::StartWide},
    {&TFormVusk::actRegionStartShort, TRegionAdjust::StartShort},
    {&TFormVusk::actRegionEndWide, TRegionAdjust::EndWide},
    {&TFormVusk::actRegionEndShort, TRegionAdjust::EndShort},
    {&TFormVusk::actRegionRew, TRegionAdjust::Rew},
    {&TFormVusk::actRegionFwd, TRegionAdjust::Fwd},
};

struct TOutModeEntry
{
    TAction* TFormVusk::*Action;
    TOutputMode Mode;
};

const TOutModeEntry kOutModeCommands[] = {
    {&TFormVusk::actRegionNoChange, TOutputMode::NoTouch},
    {&TFormVusk::actRegionMonoMix, TOutputMode::MonoMix},
    {&TFormVusk::actRegionMonoLeft, TOutputMode::MonoLeft},
    {&TFormVusk::actRegionMonoRight, TOutputMode::MonoRight},
    {&TFormVusk::actRegionSwap, TOutputMode::Swap},
};

} // namespace

void TFormVusk::actRegionAdjustExecute(TObject* Sender)
{
    for (const TAdjustEntry& entry : kAdjustCommands)
        if (Sender == this->*entry.Action) {
            AdjustRegions(entry.Adjust);
            return;
        }
}

void TFormVusk::AdjustRegions(TRegionAdjust adjust)
{
    if (ActiveControl() == CutManageList) {
        NudgeCutBar(NudgesForward(adjust));
        return;
    }
    if (!RegionCommandsReady() || (ActiveControl() != EditList && ActiveControl() != FocusBtn))
        return;
    const TWaveViewState before = View();
    if (View().RegionSelection) {
        if (!AdjustSelectedRegions(adjust))
            return;
    } else {
        std::optional<TRegionRange> selection;
        if (View().HasSelection)
            selection = TRegionRange{View().SelStart, View().SelEnd};
        const std::optional<TRegionRange> next =
            AdjustedSelection(adjust, selection, View().PlayPos,
                              std::max(1, View().SamplesPerPixel), FEngine->SampleSize());
        if (!next)
            return;
        FDocument.Select(*next);
    }
    RedrawSelectionChange(before);
    ShowSelectionLabel();
    FollowAdjustedSelection(adjust);
    WaveImage->Repaint();
    // Only what is queued: waiting for a message here would stall the
    // command until the mouse moved.
    Application->ProcessMessages();
}

bool TFormVusk::AdjustSelectedRegions(TRegionAdjust adjust)
{
    const std::int32_t step = std::max(1, View().SamplesPerPixel);
    const std::int32_t length = FEngine->SampleSize();
    const std::optional<TRegionRange> span = RegionSpan(SelectedRegions());
    if (!span)
        return false;
    // The moves test the selection, the span of the selected regions, first.
    if ((adjust == TRegionAdjust::Rew || adjust == TRegionAdjust::Fwd) &&
        !AdjustedSelection(adjust, span, 0, step, length))
        return false;
    bool changed = false;
    for (int row : SelectedRegionRows()) {
        TRegionData* region = RegionAt(row);
        if (!region)
            continue;
        const std::optional<TRegionRange> next =
            AdjustedRegion(adjust, {region->Start, region->End}, step, length);
        if (!next)
            continue;
        FDocument.MoveRegion(*region, *next);
        ShowRegionTimes(row);
        changed = true;
    }
    if (!changed)
        return false;
    SelectSelectedRegions();
    return true;
}

void TFormVusk::FollowAdjustedSelection(TRegionAdjust adjust)
{
    if (FStopped) {
        SetPlayPosition(View().SelStart);
        if (!IsSampleVisible(View().SelStart))
            DrawWave(CentredStart(View(), View().SelStart));
        return;
    }
    if (MovesEndEarlier(adjust) &&
        std::int64_t(FEngine->GetPosition()) >= std::int64_t(View().SelEnd) - FEngine->BufSize()) {
        // Playback is already past the new end.
        if (!FEngine->Loop())
            actAudioStopExecute(this);
        return;
    }
    if (!MovesStartOnly(adjust))
        FEngine->SetPlayRange(-1, View().SelEnd);
    FEngine->SetLoopRange(View().SelStart, View().SelEnd);
}

// --- Output modes ----------------------------------------------------------------------------

void TFormVusk::actRegionOutModeExecute(TObject* Sender)
{
    const auto entry =
        std::find_if(std::begin(kOutModeCommands), std::end(kOutModeCommands),
                     [&](const TOutModeEntry& e) { return Sender == this->*e.Action; });
    const std::vector<int> selected = SelectedRegionRows();
    if (entry == std::end(kOutModeCommands) || selected.empty())
        return;
    for (int row : selected)
        if (TRegionData* region = RegionAt(row)) {
            FDocument.SetRegionOutMode(*region, entry->Mode);
            SetRegionText(row, TRegionColumn::OutMode, OutputModeText(entry->Mode));
        }
    if (selected.size() == 1 && View().RegionSelection)
        FEngine->SetOutputMode(entry->Mode);
}

// The check marks follow the selection at every update and when a menu of
// the output modes opens.
void TFormVusk::actRegionOutModeUpdate(TObject* Sender)
{
    const std::vector<const TRegionData*>& selected = SelectionForRules().Regions;
    const bool enabled = !selected.empty() && FileLoaded() && FEngine->WavInfo().Channel != 1;
    const std::optional<TOutputMode> shared = SharedOutputMode(selected);
    for (const TOutModeEntry& entry : kOutModeCommands)
        if (Sender == this->*entry.Action) {
            TAction* action = this->*entry.Action;
            action->SetEnabled(enabled);
            action->SetChecked(shared == entry.Mode);
        }
}

void TFormVusk::OutModeMenuPopup(TBarCustomItem* Sender, bool FromLink)
{
    for (const TOutModeEntry& entry : kOutModeCommands)
        (this->*entry.Action)->Update();
}

// --- The list's double click and keys --------------------------------------------------------

void TFormVusk::EditListDblClick(TObject* Sender)
{
    const int row = SelectedRegionRow();
    TRegionData* region = RegionAt(row);
    if (!region)
        return;
    EndDragEdit();
    const TPoint mouse = EditList->ScreenToClient(TPoint(Seams().CursorPos()));
    const std::optional<TRegionColumn> column = RegionColumnAt(mouse.x, mouse.y);
    if (!column)
        return;
    switch (*column) {
    case TRegionColumn::Name:
    case TRegionColumn::Length:
    case TRegionColumn::Start:
    case TRegionColumn::End:
        FEditColumn = static_cast<int>(*column);
        EditSelectedRegion();
        FEditColumn = 0;
        break;
    case TRegionColumn::Volume:
        if (region->Volume != 1.0)
            FDocument.SetRegionVolume(*region, 1.0);
        SetRegionText(row, TRegionColumn::Volume, kUnchangedVolumeText);
        FEngine->SetVolume(FMasterVolume);
        break;
    case TRegionColumn::OutMode: {
        const TRect cell = RegionCellRect(row, *column);
        const TPoint below = EditList->ClientToScreen(TPoint(cell.left, cell.bottom));
        OutModePopup->Popup(below.x, below.y);
        break;
    }
    case TRegionColumn::RenamePreview:
        break;
    }
}

bool TFormVusk::IsShortCut(WORD key, TShiftState shift)
{
    if (TForm::IsShortCut(key, shift))
        return true;
    // Only keys of this window's own controls (not of the file-list window).
    if (!HandleAllocated() || !IsChild(WindowHandle(), GetFocus()))
        return false;
    switch (ChildKeyAction(key, CommandState().Active, SelectedRegionCount())) {
    case TChildKeyAction::DeleteRegions:
        actEditDeleteExecute(this);
        return true;
    case TChildKeyAction::Swallow:
        return true;
    case TChildKeyAction::PassOn:
        break;
    }
    return false;
}

// --- The region's sound ----------------------------------------------------------------------

void TFormVusk::ApplyRegionAudio()
{
    if (ActiveControl() == EditList)
        ApplySelectedRegionAudio();
}

void TFormVusk::ApplySelectedRegionAudio()
{
    const std::vector<const TRegionData*> selected = SelectedRegions();
    if (selected.size() != 1)
        return;
    EditListClick(this);
    const TRegionData* region = selected.front();
    FEngine->SetVolume(FMasterVolume * region->Volume);
    FEngine->SetOutputMode(region->OutMode);
    FDocument.SetRegionSelection(true);
}

void TFormVusk::ResetRegionAudio()
{
    if (!FEngine)
        return;
    FEngine->SetVolume(FMasterVolume);
    FEngine->SetOutputMode(TOutputMode::NoTouch);
    FDocument.SetRegionSelection(false);
    if (View().HasSelection)
        RedrawWaveFromViewStart();
}

void TFormVusk::WireRegionCommands()
{
    Wire(actRegionAdd->OnExecute, &TFormVusk::actRegionAddExecute);
    Wire(actRegionEdit->OnExecute, &TFormVusk::actRegionEditExecute);
    Wire(actRegionMerge->OnExecute, &TFormVusk::actRegionMergeExecute);
    Wire(actRegionClear->OnExecute, &TFormVusk::actRegionClearExecute);
    Wire(actEditCopy->OnExecute, &TFormVusk::actEditCopyExecute);
    Wire(actEditCut->OnExecute, &TFormVusk::actEditCutExecute);
    Wire(actEditPaste->OnExecute, &TFormVusk::actEditPasteExecute);
    Wire(actEditDouble->OnExecute, &TFormVusk::actEditDoubleExecute);
    Wire(actEditDelete->OnExecute, &TFormVusk::actEditDeleteExecute);
    Wire(actEditSelAll->OnExecute, &TFormVusk::actEditSelAllExecute);
    for (const TAdjustEntry& entry : kAdjustCommands)
        Wire((this->*entry.Action)->OnExecute, &TFormVusk::actRegionAdjustExecute);
    for (const TOutModeEntry& entry : kOutModeCommands) {
        Wire((this->*entry.Action)->OnExecute, &TFormVusk::actRegionOutModeExecute);
        Wire((this->*entry.Action)->OnUpdate, &TFormVusk::actRegionOutModeUpdate);
    }
    OutModeMenu->OnPopup = TBarPopupEvent(this, &TFormVusk::OutModeMenuPopup);
    OutModePopup->Items()->OnPopup = OutModeMenu->OnPopup;
    Wire(EditList->OnDblClick, &TFormVusk::EditListDblClick);
}
