// The settings file: read once at the first show, written once at the close;
// and the routines that push settings into the engine and the display.
#include "ostrel.h"

#include "RecentFiles.h"
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
    std::unique_ptr<TIniFile> ini = OpenSettingsForReading(path);
    SkinDock2->SetAllowDrag(ini->ReadBool("FORM", "BARFIX", true));
    ShowToolbarLock();

    FOption = ReadOption(ini->Content());
    ApplyDispSize();
    ApplyMarkSize();
    // Nothing plays before the window shows: the device list is read after.
    FOutputDevicePending = true;
    ApplyBufferSettings();

    int volumeStep = MasterVolumeStepOf(ini->ReadInteger("AUDIO", "MASTERVOL", 0));
    VolumeItems()[volumeStep]->Click();
    SetLoopState(ini->ReadBool("AUDIO", "LOOP", false));

    {
        TTimingSpan span("filelist");
        CreateFileListWindow();
    }
    if (FOption.SaveForm)
        ReadWindowGeometry(*ini);

    ReadShortCuts(*ini);
    TakeShortCutBackup();

    for (const AnsiString& recent : RecentFilesToAdd(ini->Content(), kRecentFileLimit))
        AddRecentFile(recent);
    ReadRenameSettings(*ini);
}

void TFormVusk::ReadWindowGeometry(const TIniFile& ini)
{
    const TStoredGeometry stored = ReadStoredGeometry(ini.Content());
    const TStoredGeometry geometry = GeometryToApply(stored, GeometryLimitsFor(stored));

    SetBounds(geometry.Main.Left, geometry.Main.Top, geometry.Main.Width, geometry.Main.Height);
    EditList->Columns()->Items(0)->SetWidth(ini.ReadInteger("FORM", "COLUMN0_WIDTH", 120));
    SetMasterPanelHeight(geometry.MasterPanelHeight);
    ExpPanel->SetWidth(geometry.ExpPanelWidth);
    switch (ini.ReadInteger("FORM", "SUBWINDOW_NUM", 0)) {
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
    placement.NameWidth = ini.ReadInteger("FORM", "FILELIST_NAME", placement.NameWidth);
    SetFileListPlacement(placement);
    if (ini.ReadBool("FORM", "FILELIST_VIEW", false))
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

void TFormVusk::ReadRenameSettings(const TIniFile& ini)
{
    int page = ini.ReadInteger("RENAME", "ACTIVEPAGE", 0);
    if (page >= 0 && page < RenamePage->SheetCount())
        RenamePage->SetActiveTabIndex(page);

    switch (ini.ReadInteger("RENAME", "ADD_CHECK", 2)) {
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
    rSp1->SetValue(ini.ReadInteger("RENAME", "ADD_SP1", 1));
    rSp2->SetValue(ini.ReadInteger("RENAME", "ADD_SP2", 2));
    rEd1->SetText(ini.ReadString("RENAME", "ADD_EDIT1", ""));
    SetItemIndexIfValid(rCb1, ini.ReadInteger("RENAME", "ADD_CB1", 1));

    if (ini.ReadInteger("RENAME", "DEL_CHECK", 1) == 1)
        rnDel1->SetChecked(true);
    else
        rnDel2->SetChecked(true);
    rEd2->SetText(ini.ReadString("RENAME", "DEL_EDIT2", ""));
    int fromWhere = ini.ReadInteger("RENAME", "DEL_CB2", 0);
    SetItemIndexIfValid(rCb2, fromWhere);
    if (fromWhere == 2) {
        rLb7->SetEnabled(true);
        rSp3->SetEnabled(true);
    }
    rSp3->SetValue(ini.ReadInteger("RENAME", "DEL_SP3", 1));
    rSp4->SetValue(ini.ReadInteger("RENAME", "DEL_SP4", 1));

    switch (ini.ReadInteger("RENAME", "CHANGE_CHECK", 1)) {
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
    rEd3->SetText(ini.ReadString("RENAME", "CHANGE_EDIT3", ""));
    rEd4->SetText(ini.ReadString("RENAME", "CHANGE_EDIT4", ""));
    rEd5->SetText(ini.ReadString("RENAME", "MANUAL_EDIT5", ""));
    rCk1->SetChecked(ini.ReadBool("RENAME", "MANUAL_CHK", false));
    rEd6->SetText(ini.ReadString("RENAME", "MANUAL_EDIT6", ""));
    SetItemIndexIfValid(rCb3, ini.ReadInteger("RENAME", "MANUAL_CB3", 0));
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
    TPlaybackKeys playback;
    const auto volumeItems = VolumeItems();
    for (int i = 0; i < kMasterVolumeStepCount; ++i)
        if (volumeItems[i]->Checked())
            playback.MasterVol = MasterVolumeStep(i).Stored;
    playback.Loop = FEngine->Loop();
    if (!WriteOption(ini.Content(), FOption, playback))
        throw EIniFileException("The settings file cannot hold a device name");
    WriteWindowGeometry(ini);
    WriteShortCuts(ini);
    WriteRecentFiles(ini);
    WriteRenameSettings(ini);
    ini.WriteBool("FORM", "BARFIX", allowDrag);
    if (!WriteLoadListType(ini.Content(), FOption))
        throw EIniFileException("The settings file cannot hold LOADLIST TYPE");
    ini.UpdateFile();
}

// The list, newest first; the keys of a longer list written before are
// removed, so the file holds no names beyond COUNT.
void TFormVusk::WriteRecentFiles(TIniFile& ini)
{
    const int count = FRecentFiles->Count();
    ini.WriteInteger("RECENT", "COUNT", count);
    for (int i = 0; i < count; ++i)
        ini.WriteString("RECENT", IntToStr(i), FRecentFiles->Strings(i));
    for (int i = count; i < kRecentFileLimit || ini.ValueExists("RECENT", IntToStr(i)); ++i)
        ini.DeleteKey("RECENT", IntToStr(i));
}

void TFormVusk::WriteWindowGeometry(TIniFile& ini)
{
    // The restored bounds, also while minimised or maximised.
    TRect bounds = BoundsRect();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (HandleAllocated() && GetWindowPlacement(WindowHandle(), &placement))
        bounds = placement.rcNormalPosition;
    ini.WriteInteger("FORM", "FORM_LEFT", bounds.left);
    ini.WriteInteger("FORM", "FORM_TOP", bounds.top);
    ini.WriteInteger("FORM", "FORM_WIDTH", bounds.Width());
    ini.WriteInteger("FORM", "FORM_HEIGHT", bounds.Height());
    ini.WriteInteger("FORM", "COLUMN0_WIDTH", EditList->Columns()->Items(0)->Width());
    ini.WriteInteger("FORM", "MASTERPANEL_HEIGHT", MasterPanel->Height());
    ini.WriteInteger("FORM", "EXPPANEL_WIDTH", ExpPanel->Width());
    TFileListPlacement fileList = FileListPlacement();
    ini.WriteInteger("FORM", "FILELIST_LEFT", fileList.Left);
    ini.WriteInteger("FORM", "FILELIST_TOP", fileList.Top);
    ini.WriteInteger("FORM", "FILELIST_WIDTH", fileList.Width);
    ini.WriteInteger("FORM", "FILELIST_HEIGHT", fileList.Height);
    ini.WriteInteger("FORM", "FILELIST_NAME", fileList.NameWidth);
    ini.WriteBool("FORM", "FILELIST_VIEW", actViewFilelist->Checked());
    int pane = 0;
    if (actViewExp->Checked())
        pane = 1;
    else if (actViewRen->Checked())
        pane = 2;
    else if (actViewCutbarlist->Checked())
        pane = 3;
    ini.WriteInteger("FORM", "SUBWINDOW_NUM", pane);
}

void TFormVusk::WriteRenameSettings(TIniFile& ini)
{
    ini.WriteInteger("RENAME", "ACTIVEPAGE", RenamePage->ActiveTabIndex());
    ini.WriteInteger("RENAME", "ADD_CHECK", CheckedNumber(rnAdd1, rnAdd2));
    ini.WriteInteger("RENAME", "ADD_SP1", rSp1->AsInteger());
    ini.WriteInteger("RENAME", "ADD_SP2", rSp2->AsInteger());
    ini.WriteString("RENAME", "ADD_EDIT1", rEd1->Text());
    ini.WriteInteger("RENAME", "ADD_CB1", rCb1->ItemIndex());
    ini.WriteInteger("RENAME", "DEL_CHECK", rnDel1->Checked() ? 1 : 2);
    ini.WriteString("RENAME", "DEL_EDIT2", rEd2->Text());
    ini.WriteInteger("RENAME", "DEL_CB2", rCb2->ItemIndex());
    ini.WriteInteger("RENAME", "DEL_SP3", rSp3->AsInteger());
    ini.WriteInteger("RENAME", "DEL_SP4", rSp4->AsInteger());
    ini.WriteInteger("RENAME", "CHANGE_CHECK", CheckedNumber(rnChange1, rnChange2));
    ini.WriteString("RENAME", "CHANGE_EDIT3", rEd3->Text());
    ini.WriteString("RENAME", "CHANGE_EDIT4", rEd4->Text());
    ini.WriteString("RENAME", "MANUAL_EDIT5", rEd5->Text());
    ini.WriteBool("RENAME", "MANUAL_CHK", rCk1->Checked());
    ini.WriteString("RENAME", "MANUAL_EDIT6", rEd6->Text());
    ini.WriteInteger("RENAME", "MANUAL_CB3", rCb3->ItemIndex());
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

int TFormVusk::WaveOutDeviceIndex(const AnsiString& productName) const
{
    std::vector<AnsiString> devices;
    {
        TTimingSpan span("sounddevices");
        devices = Seams().WaveOutDevices();
    }
    for (size_t i = 0; i < devices.size(); ++i)
        if (devices[i] == productName)
            return static_cast<int>(i);
    return -1;
}

void TFormVusk::ApplyAudioDevice()
{
    FOutputDevicePending = false;
    SetOutputDevice(static_cast<std::uint32_t>(WaveOutDeviceIndex(FOption.OutDevice)));
    ApplyBufferSettings();
}

void TFormVusk::EnsureOutputDevice()
{
    if (!FOutputDevicePending)
        return;
    FOutputDevicePending = false;
    SetOutputDevice(static_cast<std::uint32_t>(WaveOutDeviceIndex(FOption.OutDevice)));
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
