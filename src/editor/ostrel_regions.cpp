// Region commands. So far adding the selection as a region, and the
// region's sound while it plays: its volume and output mode on the engine,
// and their reset to the master values.
#include "ostrel.h"

#include "audio/DirectWavEngine.h"

void TFormVusk::actRegionAddExecute(TObject* Sender)
{
    if (!FileLoaded() || FBusy || !FView.HasSelection || ActiveControl() != FocusBtn)
        return;
    AddRegion(FView.SelStart, FView.SelEnd);
}

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
    FView.RegionSelection = true;
}

void TFormVusk::ResetRegionAudio()
{
    if (!FEngine)
        return;
    FEngine->SetVolume(FMasterVolume);
    FEngine->SetOutputMode(TOutputMode::NoTouch);
    FView.RegionSelection = false;
    if (FView.HasSelection)
        RedrawWaveFromViewStart();
}

void TFormVusk::WireRegionCommands()
{
    Wire(actRegionAdd->OnExecute, &TFormVusk::actRegionAddExecute);
}
