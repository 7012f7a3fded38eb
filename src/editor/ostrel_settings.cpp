// The settings file: read once at the first show, written once at the close;
// and the routines that push settings into the engine and the display.
#include "ostrel.h"

#include "TimingLog.h"
#include "ViewGeometry.h"

#include "audio/DirectWavEngine.h"
#include "classlib/Application.h"
#include "classlib/DateTime.h"
#include "classlib/Exceptions.h"
#include "classlib/FilePaths.h"
#include "classlib/IniFile.h"
#include "classlib/Seams.h"
#include "classlib/TextUtils.h"
#include "toolbar/BarCommon.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr const char* kCannotWriteSettings = "初期設定ファイルを書き込めません";
constexpr int kSmallestBufferBytes = 256;

// Opens the settings; a file that exists but cannot be read reads as empty
// (every key takes its default) rather than stopping the start.
std::unique_ptr<TIniFile> OpenSettingsForReading(const AnsiString& path)
{
    try {
        return std::make_unique<TIniFile>(path);
    } catch (const EIniFileException&) {
        return std::make_unique<TIniFile>("");
    }
}

// The wave-out devices' names, in the system's order; slow to read at the
// start. Any thread may read them.
std::vector<AnsiString> ReadOutputDevices()
{
    TTimingSpan span("sounddevices");
    return Seams().WaveOutDevices();
}

// The first of devices named name; the wave mapper when none is.
std::uint32_t OutputDeviceIn(const std::vector<AnsiString>& devices, const AnsiString& name)
{
    const auto named = std::find(devices.begin(), devices.end(), name);
    return named == devices.end() ? WAVE_MAPPER
                                  : static_cast<std::uint32_t>(named - devices.begin());
}

// Selects the combo box item when index names one; anything else leaves the
// box as it is.
void SetItemIndexIfValid(TComboBox* box, int index)
{
    if (index >= 0 && index < box->Items()->Count())
        box->SetItemIndex(index);
}

// The checked one of two or three radio buttons as 1, 2 or 3.
int CheckedNumber(TExtRadioButton* first, TExtRadioButton* second)
{
    if (first->Checked())
        return 1;
    return second->Checked() ? 2 : 3;
}

} // namespace

// --- Reading -----------------------------------------------------------------

void TFormVusk::LoadSettings(const AnsiString& path)
{
    {
        TTimingSpan span("toolbarplaces");
        RestoreToolbarPositions(path);
    }
    const TStoredSettings stored = ReadStoredSettings(OpenSettingsForReading(path)->Content());
    SkinDock2->SetAllowDrag(stored.Form.BarFix);
    ShowToolbarLock();

    FOption = stored.Option;
    ApplyDispSize();
    ApplyMarkSize();
    // Nothing plays before the window shows: the device list is read after.
    FOutputDevicePending = true;
    ApplyBufferSettings();

    VolumeItems()[MasterVolumeStepOf(stored.Playback.MasterVol)]->Click();
    SetLoopState(stored.Playback.Loop);

    {
        TTimingSpan span("filelist");
        CreateFileListWindow();
    }
    if (FOption.SaveForm)
        ApplyFormKeys(stored.Form);

    ApplyStoredShortCuts(stored.ShortCuts);
    TakeShortCutBackup();

    // Oldest first, so that the list ends in the stored order.
    for (auto recent = stored.RecentFiles.rbegin(); recent != stored.RecentFiles.rend(); ++recent)
        AddRecentFile(*recent);
    ApplyRenameKeys(stored.Rename);
}

void TFormVusk::ApplyFormKeys(const TFormKeys& form)
{
    const TStoredGeometry geometry =
        GeometryToApply(form.Geometry, GeometryLimitsFor(form.Geometry));

    SetBounds(geometry.Main.Left, geometry.Main.Top, geometry.Main.Width, geometry.Main.Height);
    EditList->Columns()->Items(0)->SetWidth(form.Column0Width);
    SetMasterPanelHeight(geometry.MasterPanelHeight);
    ExpPanel->SetWidth(geometry.ExpPanelWidth);
    switch (form.SubWindow) {
    case 1:
        actViewExpExecute(actViewExp);
        break;
    case 2:
        actViewRenExecute(actViewRen);
        break;
    case 3:
        actViewCutbarlistExecute(actViewCutbarlist);
        break;
    default:
        break;
    }
    TFileListPlacement placement;
    placement.Left = geometry.FileList.Left;
    placement.Top = geometry.FileList.Top;
    placement.Width = geometry.FileList.Width;
    placement.Height = geometry.FileList.Height;
    placement.NameWidth = form.FileListNameWidth;
    SetFileListPlacement(placement);
    if (form.FileListView)
        actViewFilelist->SetChecked(true);
}

// What the screen and the window, as they stand, leave for the stored
// geometry: the work areas nearest the stored places, the windows' smallest
// sizes, and the parts of the main window that are not its two panes.
TGeometryLimits TFormVusk::GeometryLimitsFor(const TStoredGeometry& stored) const
{
    TGeometryLimits limits;
    limits.MainWorkArea =
        PlainRectOf(MonitorRectAtPoint(TPoint(stored.Main.Left, stored.Main.Top), true));
    limits.FileListWorkArea =
        PlainRectOf(MonitorRectAtPoint(TPoint(stored.FileList.Left, stored.FileList.Top), true));
    limits.MainMinWidth = Constraints()->MinWidth();
    limits.MainMinHeight = Constraints()->MinHeight();
    limits.FileListMinWidth = GetSystemMetrics(SM_CXMINTRACK);
    limits.FileListMinHeight = GetSystemMetrics(SM_CYMINTRACK);
    limits.PaneMinSize = MasterSplitter->MinSize();
    limits.HeightBesidesUpperRow = Height() - MasterSplitter->MaxSize(UpperPanel);
    limits.WidthBesidesSidePane =
        Width() - UpperPanel->ClientWidth() + FlatSplitter1->Width() + FlatSplitter1->MinSize();
    return limits;
}

void TFormVusk::ApplyRenameKeys(const TRenameKeys& rename)
{
    if (rename.ActivePage >= 0 && rename.ActivePage < RenamePage->SheetCount())
        RenamePage->SetActiveTabIndex(rename.ActivePage);

    switch (rename.AddCheck) {
    case 1:
        rnAdd1->SetChecked(true);
        break;
    case 2:
        rnAdd2->SetChecked(true);
        break;
    default:
        rnAdd3->SetChecked(true);
        break;
    }
    rSp1->SetValue(rename.AddSp1);
    rSp2->SetValue(rename.AddSp2);
    rEd1->SetText(rename.AddEdit1);
    SetItemIndexIfValid(rCb1, rename.AddCb1);

    if (rename.DelCheck == 1)
        rnDel1->SetChecked(true);
    else
        rnDel2->SetChecked(true);
    rEd2->SetText(rename.DelEdit2);
    SetItemIndexIfValid(rCb2, rename.DelCb2);
    if (rename.DelCb2 == 2) {
        rLb7->SetEnabled(true);
        rSp3->SetEnabled(true);
    }
    rSp3->SetValue(rename.DelSp3);
    rSp4->SetValue(rename.DelSp4);

    switch (rename.ChangeCheck) {
    case 1:
        rnChange1->SetChecked(true);
        break;
    case 2:
        rnChange2->SetChecked(true);
        break;
    default:
        rnChange3->SetChecked(true);
        break;
    }
    rEd3->SetText(rename.ChangeEdit3);
    rEd4->SetText(rename.ChangeEdit4);
    rEd5->SetText(rename.ManualEdit5);
    rCk1->SetChecked(rename.ManualChk);
    rEd6->SetText(rename.ManualEdit6);
    SetItemIndexIfValid(rCb3, rename.ManualCb3);
}

// --- Writing -----------------------------------------------------------------

bool TFormVusk::SaveSettings(const AnsiString& path)
{
    if (!CanWriteSettingsFolder(path)) {
        Application->MessageBox(kCannotWriteSettings, "", MB_OK);
        return false;
    }
    bool allowDrag = SkinDock2->AllowDrag();
    SkinDock2->SetAllowDrag(true);
    bool written = true;
    try {
        SaveToolbarPositions(path);
        WriteSettingsFile(path, allowDrag);
    } catch (const Exception&) {
        written = false;
    }
    SkinDock2->SetAllowDrag(allowDrag);
    if (!written)
        Application->MessageBox(kCannotWriteSettings, "", MB_OK);
    return written;
}

bool TFormVusk::CanWriteSettingsFolder(const AnsiString& path) const
{
    AnsiString probe = path + FloatToStr(Now());
    for (int counter = 1; DirectoryExists(probe) || FileExists(probe); ++counter)
        probe = path + FloatToStr(Now()) + "_" + IntToStr(counter);
    if (!CreateDir(probe))
        return false;
    RemoveDir(probe);
    return true;
}

void TFormVusk::WriteSettingsFile(const AnsiString& path, bool allowDrag)
{
    TIniFile ini(path);
    if (!WriteStoredSettings(ini.Content(), StoredSettingsNow(allowDrag)))
        throw EIniFileException("The settings file cannot hold a value");
    ini.UpdateFile();
}

TStoredSettings TFormVusk::StoredSettingsNow(bool allowDrag)
{
    TStoredSettings settings;
    settings.Option = FOption;
    const auto volumeItems = VolumeItems();
    for (int i = 0; i < kMasterVolumeStepCount; ++i)
        if (volumeItems[i]->Checked())
            settings.Playback.MasterVol = MasterVolumeStep(i).Stored;
    settings.Playback.Loop = FEngine->Loop();
    settings.Form = FormKeysNow();
    settings.Form.BarFix = allowDrag;
    settings.ShortCuts = ShortCutsToStore();
    for (int i = 0; i < FRecentFiles->Count(); ++i)
        settings.RecentFiles.push_back(FRecentFiles->Strings(i));
    settings.Rename = RenameKeysNow();
    return settings;
}

TFormKeys TFormVusk::FormKeysNow() const
{
    TFormKeys form;
    // The restored bounds, also while minimised or maximised.
    TRect bounds = BoundsRect();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (HandleAllocated() && GetWindowPlacement(WindowHandle(), &placement))
        bounds = placement.rcNormalPosition;
    form.Geometry.Main = {bounds.left, bounds.top, bounds.Width(), bounds.Height()};
    form.Column0Width = EditList->Columns()->Items(0)->Width();
    form.Geometry.MasterPanelHeight = MasterPanel->Height();
    form.Geometry.ExpPanelWidth = ExpPanel->Width();
    const TFileListPlacement fileList = FileListPlacement();
    form.Geometry.FileList = {fileList.Left, fileList.Top, fileList.Width, fileList.Height};
    form.FileListNameWidth = fileList.NameWidth;
    form.FileListView = actViewFilelist->Checked();
    form.SubWindow = 0;
    if (actViewExp->Checked())
        form.SubWindow = 1;
    else if (actViewRen->Checked())
        form.SubWindow = 2;
    else if (actViewCutbarlist->Checked())
        form.SubWindow = 3;
    return form;
}

TRenameKeys TFormVusk::RenameKeysNow() const
{
    TRenameKeys rename;
    rename.ActivePage = RenamePage->ActiveTabIndex();
    rename.AddCheck = CheckedNumber(rnAdd1, rnAdd2);
    rename.AddSp1 = rSp1->AsInteger();
    rename.AddSp2 = rSp2->AsInteger();
    rename.AddEdit1 = rEd1->Text();
    rename.AddCb1 = rCb1->ItemIndex();
    rename.DelCheck = rnDel1->Checked() ? 1 : 2;
    rename.DelEdit2 = rEd2->Text();
    rename.DelCb2 = rCb2->ItemIndex();
    rename.DelSp3 = rSp3->AsInteger();
    rename.DelSp4 = rSp4->AsInteger();
    rename.ChangeCheck = CheckedNumber(rnChange1, rnChange2);
    rename.ChangeEdit3 = rEd3->Text();
    rename.ChangeEdit4 = rEd4->Text();
    rename.ManualEdit5 = rEd5->Text();
    rename.ManualChk = rCk1->Checked();
    rename.ManualEdit6 = rEd6->Text();
    rename.ManualCb3 = rCb3->ItemIndex();
    return rename;
}

// --- Toolbar positions ---------------------------------------------------------

// One section per toolbar, named as the toolbar. What cannot be restored
// (no section, another revision, an unknown dock) keeps the place the
// window gave it; a toolbar that would float off every monitor goes back to
// its first-start place instead.
void TFormVusk::RestoreToolbarPositions(const AnsiString& path)
{
    try {
        BarReadPlacesFromIni(this, path, "");
        TIniFile ini(path);
        for (TExtToolbar* bar : Toolbars()) {
            const TPoint stored(ini.ReadInteger(bar->Name(), "FloatLeft", 0),
                                ini.ReadInteger(bar->Name(), "FloatTop", 0));
            if (bar->Floating() && !MonitorFromPoint(stored, MONITOR_DEFAULTTONULL))
                DockToolbarAtDefault(bar);
        }
    } catch (const EIniFileException&) {
        // An unreadable file: the first-start places stay.
    }
}

void TFormVusk::SaveToolbarPositions(const AnsiString& path)
{
    BarWritePlacesToIni(this, path, "");
}

// --- Engine --------------------------------------------------------------------

void TFormVusk::ApplyAudioDevice()
{
    FOutputDevicePending = false;
    SetOutputDevice(OutputDeviceIn(ReadOutputDevices(), FOption.OutDevice));
    ApplyBufferSettings();
}

void TFormVusk::LookUpOutputDevice()
{
    if (!FOutputDevicePending || FDeviceLookup)
        return;
    auto devices = std::make_shared<std::vector<AnsiString>>();
    FDeviceLookup =
        std::make_unique<TBackgroundWork>([devices] { *devices = ReadOutputDevices(); },
                                          [this, devices] { TakeOutputDevices(*devices); });
}

void TFormVusk::EnsureOutputDevice()
{
    if (FDeviceLookup)
        FDeviceLookup->Await();
    if (FOutputDevicePending)
        TakeOutputDevices(ReadOutputDevices());
}

void TFormVusk::TakeOutputDevices(const std::vector<AnsiString>& devices)
{
    if (!FOutputDevicePending)
        return;
    FOutputDevicePending = false;
    SetOutputDevice(OutputDeviceIn(devices, FOption.OutDevice));
}

void TFormVusk::SetOutputDevice(std::uint32_t deviceId)
{
    if (FEngine->DeviceID() != deviceId) {
        HaltPlayback();
        FEngine->SetDeviceID(deviceId);
    }
}

void TFormVusk::ApplyBufferSettings()
{
    auto bufSize = static_cast<std::uint32_t>(std::max(FOption.BufSize, kSmallestBufferBytes));
    if (FEngine->BufSize() != bufSize) {
        HaltPlayback();
        FEngine->SetBufSize(bufSize);
    }
    if (FEngine->BufCount() != FOption.BufCount) {
        HaltPlayback();
        FEngine->SetBufCount(FOption.BufCount);
    }
    ApplyBufferSize();
}

void TFormVusk::ApplyBufferSize()
{
    HaltPlayback();
    TPlaybackBuffers buffers =
        PlaybackBufferFor(FOption.BufSize, FOption.BufCount, FEngine->Channel(), FEngine->Rate());
    FEngine->SetBufSize(static_cast<std::uint32_t>(buffers.Size));
    FEngine->SetBufCount(static_cast<std::uint16_t>(std::clamp(buffers.Count, 0, 0xFFFF)));
}

void TFormVusk::SetLoopState(bool on)
{
    FEngine->SetLoop(on);
    actAudioLoop->SetChecked(on);
    actAudioLoop->SetImageIndex(on ? kLoopOnImage : kLoopOffImage);
}

std::array<TExtItem*, kMasterVolumeStepCount> TFormVusk::VolumeItems() const
{
    return {vol0, vol6, vol12, vol20, vol30, volmute};
}

void TFormVusk::vol0Click(TObject* Sender)
{
    const auto volumeItems = VolumeItems();
    for (int i = 0; i < kMasterVolumeStepCount; ++i) {
        if (volumeItems[i] != Sender)
            continue;
        FEngine->SetVolume(MasterVolumeStep(i).Factor);
        volumeItems[i]->SetChecked(true);
        FMasterVolume = FEngine->Volume();
        return;
    }
}

// --- Display sizes -----------------------------------------------------------------

void TFormVusk::ApplyDispSize()
{
    TInfoPanelMetrics m = InfoPanelMetricsFor(FOption.DispSize);
    TLabel* captions[] = {Label6, Label5, Label3};
    TLabel* values[] = {InfoTimeLabel, InfoRegionLabel, InfoSampleLabel};
    if (m.Known) {
        for (TLabel* label : captions) {
            label->Font()->SetSize(m.CaptionFontSize);
            label->SetTop(m.CaptionTop);
        }
        for (TLabel* label : values) {
            label->Font()->SetSize(m.ValueFontSize);
            label->SetTop(m.ValueTop);
        }
        InfoPanel->SetHeight(m.PanelHeight);
        InfoPanel->SetTop(MasterPanel->Height() - m.PanelHeight);
    }
    PlaceInfoLabels();
}

void TFormVusk::PlaceInfoLabels()
{
    auto widthIn = [this](TLabel* label, const AnsiString& text) {
        Canvas()->Font()->Assign(label->Font());
        return Canvas()->TextWidth(text);
    };
    TInfoRowWidths widths;
    widths.TimeCaption = widthIn(Label6, Label6->Caption());
    widths.RegionCaption = widthIn(Label5, Label5->Caption());
    widths.SampleCaption = widthIn(Label3, Label3->Caption());
    widths.TimeRoom = widthIn(InfoTimeLabel, "99:99.99 / 99:99.99");
    widths.RegionRoom = widthIn(InfoRegionLabel, "99:99.99 [ 99:99.99 - 99:99.99 ]");
    widths.Time = widthIn(InfoTimeLabel, InfoTimeLabel->Caption());
    widths.Region = widthIn(InfoRegionLabel, InfoRegionLabel->Caption());
    widths.Samples = widthIn(InfoSampleLabel, InfoSampleLabel->Caption());
    const TInfoRowLefts lefts = InfoRowLefts(Label6->Left(), widths, InfoPanel->ClientWidth());
    InfoTimeLabel->SetLeft(lefts.Time);
    Label5->SetLeft(lefts.RegionCaption);
    InfoRegionLabel->SetLeft(lefts.Region);
    Label3->SetLeft(lefts.SampleCaption);
    InfoSampleLabel->SetLeft(lefts.Samples);
    Label6->SetVisible(lefts.TimeCaptionShown);
    Label5->SetVisible(lefts.RegionCaptionShown);
    Label3->SetVisible(lefts.SamplesShown);
    InfoSampleLabel->SetVisible(lefts.SamplesShown);
}

void TFormVusk::ApplyMarkSize()
{
    FMarkHeight = MarkHeightFor(FOption.MarkSize);
    FMarkHalf = FMarkHeight / 2;
    RedrawWaveFromViewStart();
}

// --- Toolbar commands ----------------------------------------------------------------

// The lock items are checked while the toolbars cannot be dragged.
void TFormVusk::ShowToolbarLock()
{
    ExtItem88->SetChecked(!SkinDock2->AllowDrag());
    ToolbarPopupLock->SetChecked(!SkinDock2->AllowDrag());
}

void TFormVusk::ExtItem88Click(TObject* Sender)
{
    SkinDock2->SetAllowDrag(!SkinDock2->AllowDrag());
    ShowToolbarLock();
}

void TFormVusk::ExtItem87Click(TObject* Sender)
{
    for (TExtToolbar* bar : Toolbars())
        bar->SetVisible(true);
}
