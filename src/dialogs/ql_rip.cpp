#include "ql_rip.h"

#include "CdaFile.h"
#include "PartialWav.h"

#include "editor/TimeText.h"
#include "editor/ostrel.h"

#include "audio/PipeCDROM.h"
#include "audio/PipeWave.h"
#include "audio/ThdTimer.h"

#include "classlib/Application.h"
#include "classlib/FileByteSource.h"
#include "classlib/FilePaths.h"
#include "classlib/Seams.h"
#include "classlib/TextUtils.h"
#include "classlib/Thread.h"

#include <algorithm>
#include <numeric>

namespace {

// Design sizes, pixels.
constexpr int kClientWidth = 420;
constexpr int kClientHeight = 408;
constexpr int kMargin = 8;
constexpr int kInnerWidth = kClientWidth - 2 * kMargin;
constexpr int kBarTop = 214;
constexpr int kBarHeight = 18;
constexpr int kKnobWidth = 10;
constexpr int kButtonHeight = 24;
constexpr int kPreviewTickMs = 50;
constexpr int kRipCheckMs = 1000;    // the end-check timer while ripping
constexpr int kMessageShowMs = 3000; // how long the end message stays
constexpr TColor kMaroon = 0x000080;
constexpr TColor kBlue = 0xFF0000;

TFlatButton* RipButton(TForm1* form, TWinControl* parent, const char* name, const char* caption,
                       int left, int top, int width)
{
    TFlatButton* button = MakeChildControl<TFlatButton>(form, parent, name);
    button->SetCaption(caption);
    button->SetBounds(left, top, width, kButtonHeight);
    return button;
}

// The ".cda" files directly in a drive's root, in name order.
std::vector<AnsiString> RipTrackFilesIn(const AnsiString& root)
{
    std::vector<AnsiString> names;
    ForEachFound(IncludeTrailingBackslash(root) + "*.cda", [&](const WIN32_FIND_DATAA& found) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(found.cFileName);
    });
    std::sort(names.begin(), names.end(),
              [](const AnsiString& a, const AnsiString& b) { return CompareStr(a, b) < 0; });
    return names;
}

} // namespace

int GetCdaInfo(const AnsiString& path)
{
    TFileByteSource source(path);
    return source.IsOpen() ? CdaTrackSeconds(source) : -1;
}

// --- Construction --------------------------------------------------------------------------

TForm1::TForm1(TComponent* AOwner, std::unique_ptr<TTrackPlayer> player)
    : TForm(AOwner), FPlayer(player ? std::move(player) : std::make_unique<TMciTrackPlayer>())
{
    SetName("Form1");
    SetCaption(RipText::Caption);
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
    // First, so that a library that cannot be loaded stops the window before
    // anything else is made.
    CreatePipeline();
    CreateControls();
    OnClose = TCloseEvent(this, &TForm1::FormClose);
    FinishLoading();
    ScanDrives();
}

TForm1::~TForm1()
{
    // No event of a run ending now may reach a window being taken apart; a
    // failure already on its way finds the window whole and does nothing.
    FClosing = true;
    WaveOut1->OnDone.Clear();
    WaveOut1->OnProgress.Clear();
    WaveOut1->OnThreadException.Clear();
    WaveOut1->Stop();
    WaveOut1->WaitForIdle(INFINITE);
    MainTimer->SetEnabled(false);
    EndCheckTimer->SetEnabled(false);
    FPlayer->Close();
}

void TForm1::CreatePipeline()
{
    CDIn1 = new TCDIn(this);
    CDIn1->SetName("CDIn1");
    WaveOut1 = new TWaveOut(this);
    WaveOut1->SetName("WaveOut1");
    WaveOut1->SetInput(CDIn1);
    WaveOut1->SetFileMode(TFileOutputMode::foRewrite);
    WaveOut1->SetWavType(TWavType::wtPCM);
    WaveOut1->SetSuspendWhenIdle(true);
    WaveOut1->OnProgress = TOutputProgressEvent(this, &TForm1::WaveOut1Progress);
    WaveOut1->OnDone = TOutputDoneEvent(this, &TForm1::WaveOut1Done);
    WaveOut1->OnThreadException = TThreadExceptionEvent(this, &TForm1::WaveOut1ThreadException);
}

void TForm1::CreateControls()
{
    InfoTotalLabel = MakeChildControl<TExtLabel>(this, this, "InfoTotalLabel");
    InfoTotalLabel->SetAutoSize(false);
    InfoTotalLabel->SetBounds(kMargin, kMargin, kInnerWidth, 16);
    InfoTotalLabel->SetCaption("");

    TrackList = MakeChildControl<TListView>(this, this, "TrackList");
    TrackList->SetBounds(kMargin, 28, kInnerWidth, 178);
    TrackList->SetViewStyle(TViewStyle::vsReport);
    TrackList->SetCheckboxes(true);
    TrackList->SetMultiSelect(true);
    TrackList->SetRowSelect(true);
    TrackList->SetHideSelection(false);
    TListColumn* column = TrackList->Columns()->Add();
    column->SetCaption("トラック");
    column->SetWidth(120);
    column = TrackList->Columns()->Add();
    column->SetCaption("時間");
    column->SetWidth(70);
    FShellImages = NewShellSmallImages(this);
    TrackList->SetSmallImages(FShellImages);
    TrackList->OnClick = TNotifyEvent(this, &TForm1::TrackListClick);
    TrackList->OnItemChecked = TLVItemCheckedEvent(this, &TForm1::TrackListItemChecked);
    TrackList->OnDblClick = TNotifyEvent(this, &TForm1::TrackListDblClick);
    TrackList->OnKeyDown = TKeyEvent(this, &TForm1::TrackListKeyDown);
    TrackList->OnCustomDrawItem = TLVCustomDrawItemEvent(this, &TForm1::TrackListCustomDrawItem);

    CreatePreviewControls();
    CreateSettingControls();

    MesLabel = MakeChildControl<TExtLabel>(this, this, "MesLabel");
    MesLabel->SetAutoSize(false);
    MesLabel->SetBounds(kMargin, 270, kInnerWidth, 16);
    MesLabel->SetVisible(false);

    const int buttonTop = kClientHeight - kMargin - kButtonHeight;
    const int buttonWidth = 96;
    RipBtn = RipButton(this, this, "RipBtn", RipText::RipCaption,
                       kClientWidth - 2 * (buttonWidth + kMargin), buttonTop, buttonWidth);
    RipBtn->SetEnabled(false);
    RipBtn->OnClick = TNotifyEvent(this, &TForm1::RipBtnClick);
    CancelBtn = RipButton(this, this, "CancelBtn", RipText::CloseCaption,
                          kClientWidth - buttonWidth - kMargin, buttonTop, buttonWidth);
    CancelBtn->SetCancel(true);
    CancelBtn->OnClick = TNotifyEvent(this, &TForm1::CancelBtnClick);

    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    SaveDialog1->SetFilter(RipText::SaveFilter);

    MainTimer = new TThreadedTimer(this);
    MainTimer->SetName("MainTimer");
    MainTimer->SetInterval(kPreviewTickMs);
    MainTimer->OnTimer = TNotifyEvent(this, &TForm1::MainTimerTimer);
    EndCheckTimer = new TTimer(this);
    EndCheckTimer->SetName("EndCheckTimer");
    EndCheckTimer->SetEnabled(false);
    EndCheckTimer->OnTimer = TNotifyEvent(this, &TForm1::EndCheckTimerTimer);
}

void TForm1::CreatePreviewControls()
{
    SeekBar = MakeChildControl<TImage>(this, this, "SeekBar");
    SeekBar->SetBounds(kMargin, kBarTop, kInnerWidth, kBarHeight);
    SeekBar->SetHint(RipText::SeekHint);
    SeekBar->SetShowHint(true);
    SeekBar->OnMouseDown = TMouseEvent(this, &TForm1::SeekBarMouseDown);
    SeekBtn = MakeChildControl<TImage>(this, this, "SeekBtn");
    SeekBtn->SetBounds(kMargin, kBarTop, kKnobWidth, kBarHeight);
    DrawSeekBar();

    ProgressBar1 = MakeChildControl<TExtProgressBar>(this, this, "ProgressBar1");
    ProgressBar1->SetBounds(kMargin, kBarTop, kInnerWidth, kBarHeight);
    ProgressBar1->SetMin(0);
    ProgressBar1->SetMax(100);
    ProgressBar1->SetVisible(false);

    ToolBar1 = MakeChildControl<TSkinAlignmentPanel>(this, this, "ToolBar1");
    ToolBar1->SetBounds(kMargin, 238, kInnerWidth, 28);
    PlayBtn = RipButton(this, ToolBar1, "PlayBtn", RipText::Play, 0, 2, 64);
    PlayBtn->OnClick = TNotifyEvent(this, &TForm1::PlayBtnClick);
    StopBtn = RipButton(this, ToolBar1, "StopBtn", RipText::Stop, 66, 2, 52);
    StopBtn->OnClick = TNotifyEvent(this, &TForm1::StopBtnClick);
    RewBtn = RipButton(this, ToolBar1, "RewBtn", RipText::Previous, 120, 2, 52);
    RewBtn->OnClick = TNotifyEvent(this, &TForm1::RewBtnClick);
    FwdBtn = RipButton(this, ToolBar1, "FwdBtn", RipText::Next, 174, 2, 52);
    FwdBtn->OnClick = TNotifyEvent(this, &TForm1::FwdBtnClick);
    InfoTimePanel = MakeChildControl<TExtLabel>(this, ToolBar1, "InfoTimePanel");
    InfoTimePanel->SetAutoSize(false);
    InfoTimePanel->SetAlignment(TAlignment::taRightJustify);
    InfoTimePanel->SetBounds(232, 7, kInnerWidth - 232, 16);
    InfoTimePanel->SetCaption(RipText::NoTime);
    SetPreviewEnabled(false);
}

void TForm1::CreateSettingControls()
{
    const int groupTop = 292;
    DriveGroup = MakeChildControl<TExtGroupBox>(this, this, "DriveGroup");
    DriveGroup->SetCaption("ドライブ設定");
    DriveGroup->SetBounds(kMargin, groupTop, 200, 74);
    DriveCombo = MakeChildControl<TComboBox>(this, DriveGroup, "DriveCombo");
    DriveCombo->SetStyle(TComboBoxStyle::csDropDownList);
    DriveCombo->SetBounds(8, 18, 184, 20);
    DriveCombo->OnChange = TNotifyEvent(this, &TForm1::DriveComboChange);
    EjectBtn = RipButton(this, DriveGroup, "EjectBtn", "Eject", 8, 44, 88);
    EjectBtn->OnClick = TNotifyEvent(this, &TForm1::EjectBtnClick);
    CloseBtn = RipButton(this, DriveGroup, "CloseBtn", "Close", 104, 44, 88);
    CloseBtn->OnClick = TNotifyEvent(this, &TForm1::CloseBtnClick);

    RipGroup = MakeChildControl<TExtGroupBox>(this, this, "RipGroup");
    RipGroup->SetCaption("リッピング設定");
    RipGroup->SetBounds(216, groupTop, kClientWidth - 216 - kMargin, 74);
    CheckRadio = MakeChildControl<TExtRadioButton>(this, RipGroup, "CheckRadio");
    CheckRadio->SetCaption("チェックしたトラックのみ");
    CheckRadio->SetBounds(8, 16, 180, 18);
    AllRadio = MakeChildControl<TExtRadioButton>(this, RipGroup, "AllRadio");
    AllRadio->SetCaption("全トラック");
    AllRadio->SetBounds(8, 34, 180, 18);
    AddRipChk = MakeChildControl<TExtCheckBox>(this, RipGroup, "AddRipChk");
    AddRipChk->SetCaption("ファイルリストに登録する");
    AddRipChk->SetBounds(8, 52, 180, 18);
    CheckRadio->SetChecked(true);
    CheckRadio->OnClick = TNotifyEvent(this, &TForm1::CheckRadioClick);
    AllRadio->OnClick = TNotifyEvent(this, &TForm1::AllRadioClick);
}

void TForm1::DrawSeekBar()
{
    TBitmap* groove = SeekBar->Bitmap();
    groove->SetSize(SeekBar->Width(), SeekBar->Height());
    TCanvas* canvas = groove->Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(TRect(0, 0, SeekBar->Width(), SeekBar->Height()));
    TRect track(0, SeekBar->Height() / 2 - 2, SeekBar->Width(), SeekBar->Height() / 2 + 2);
    Frame3D(canvas, track, clBtnShadow, clBtnHighlight, 1);

    TBitmap* knob = SeekBtn->Bitmap();
    knob->SetSize(SeekBtn->Width(), SeekBtn->Height());
    canvas = knob->Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    TRect face(0, 0, SeekBtn->Width(), SeekBtn->Height());
    canvas->FillRect(face);
    Frame3D(canvas, face, clBtnHighlight, clBtnShadow, 1);
}

// --- Drives and tracks ---------------------------------------------------------------------

void TForm1::ScanDrives()
{
    DriveCombo->Items()->Clear();
    FDriveRoots.clear();
    for (const TCDDriveInfo& drive : Seams().CDDrives()) {
        if (drive.Root.empty())
            continue;
        DriveCombo->Items()->Add(CDDriveCaption(drive.VolumeLabel, drive.Root[0]));
        FDriveRoots.push_back(drive.Root);
    }
    if (FDriveRoots.empty()) {
        DriveCombo->SetEnabled(false);
        return;
    }
    DriveCombo->SetItemIndex(0);
    ListTracks();
}

void TForm1::DriveComboChange(TObject* Sender)
{
    StopBtnClick(this);
    ListTracks();
}

void TForm1::ListTracks()
{
    FPlayer->Close();
    MainTimer->SetEnabled(false);
    FPreviewTrack = -1;
    TrackList->Items()->Clear();
    MoveKnobTo(SeekBar->Left());
    SetPreviewEnabled(false);
    InfoTotalLabel->SetCaption("");
    InfoTimePanel->SetCaption(RipText::NoTime);
    ShowPlaying(false);
    const int drive = DriveCombo->ItemIndex();
    if (drive < 0 || drive >= static_cast<int>(FDriveRoots.size()))
        return;
    CDIn1->SetCurrentDrive(drive);
    if (CDIn1->GetStatus() != 0)
        AddTrackFiles(FDriveRoots[drive]);
}

void TForm1::AddTrackFiles(const AnsiString& root)
{
    std::vector<int> lengths;
    AnsiString firstFile;
    {
        TListItemsUpdate update(TrackList->Items());
        for (const AnsiString& name : RipTrackFilesIn(root)) {
            const AnsiString path = IncludeTrailingBackslash(root) + name;
            const int seconds = GetCdaInfo(path);
            if (seconds == -1)
                continue;
            TListItem* item = TrackList->Items()->Add();
            item->SetCaption(ChangeFileExt(name, ""));
            item->SubItems()->Add(FormatTimeShort(seconds));
            item->SetImageIndex(ShellSmallIconIndex(path));
            lengths.push_back(seconds);
            if (firstFile.empty())
                firstFile = path;
        }
    }
    if (lengths.empty())
        return;
    // The disc's length as the player tells it; without a player, the sum
    // of the track files' lengths.
    const bool opened = FPlayer->Open(firstFile);
    const double total =
        opened ? FPlayer->Length() / 1000.0
               : static_cast<double>(std::accumulate(lengths.begin(), lengths.end(), 0LL));
    InfoTotalLabel->SetCaption(RipTotalText(TrackCount(), total));
    SetPreviewEnabled(opened);
}

void TForm1::SetPreviewEnabled(bool enabled)
{
    ToolBar1->SetEnabled(enabled);
    for (TFlatButton* button : {PlayBtn, StopBtn, RewBtn, FwdBtn})
        button->SetEnabled(enabled);
}

// --- Choosing tracks -----------------------------------------------------------------------

int TForm1::TickedCount() const
{
    int ticked = 0;
    for (int i = 0; i < TrackCount(); ++i)
        ticked += TrackList->Items()->Item(i)->Checked();
    return ticked;
}

void TForm1::CheckRipButton()
{
    // The list stays usable during a rip; a second rip must not start then.
    RipBtn->SetEnabled(!FRipping && TickedCount() > 0);
}

void TForm1::TrackListClick(TObject* Sender)
{
    CheckRipButton();
}

// A click in a tick box reaches TrackListClick before the list toggles the
// box; the rip button follows the toggle here.
void TForm1::TrackListItemChecked(TObject* Sender, TListItem* Item)
{
    CheckRipButton();
}

void TForm1::CheckRadioClick(TObject* Sender)
{
    CheckRipButton();
}

void TForm1::AllRadioClick(TObject* Sender)
{
    RipBtn->SetEnabled(true);
}

void TForm1::TrackListKeyDown(TObject* Sender, WORD& Key, TShiftState Shift)
{
    if (Key == VK_SPACE) {
        Key = 0;
        PlayBtnClick(this);
    } else if (Key == VK_RETURN) {
        Key = 0;
        for (TListItem* item = TrackList->GetNextSelected(nullptr); item;
             item = TrackList->GetNextSelected(item))
            item->SetChecked(!item->Checked());
        CheckRipButton();
    }
}

void TForm1::TrackListCustomDrawItem(TObject* Sender, TListItem* Item, TCustomDrawState State,
                                     bool& DefaultDraw)
{
    const bool previewed = Item->Index() + 1 == FPreviewTrack && Previewing();
    TrackList->Canvas()->Font()->SetColor(previewed ? clRed : clBlack);
}

// --- Preview -------------------------------------------------------------------------------

bool TForm1::Previewing()
{
    const TPlayerMode mode = FPlayer->Mode();
    return mode == TPlayerMode::Playing || mode == TPlayerMode::Paused;
}

void TForm1::ShowPlaying(bool playing)
{
    PlayBtn->SetCaption(playing ? RipText::Pause : RipText::Play);
    TrackList->Invalidate();
}

// Stops whatever plays and plays track from its start.
void TForm1::PlayTrack(int track)
{
    FPreviewTrack = track;
    FPlayer->Stop();
    FPlayer->Seek(FPlayer->TrackStart(track));
    FPlayer->Play();
    MainTimer->SetEnabled(true);
    ShowPlaying(true);
}

void TForm1::PlayBtnClick(TObject* Sender)
{
    if (FRipping || !ToolBar1->Enabled())
        return;
    switch (FPlayer->Mode()) {
    case TPlayerMode::Playing:
        FPlayer->Pause();
        MainTimer->SetEnabled(false);
        ShowPlaying(false);
        break;
    case TPlayerMode::Paused:
        FPlayer->Resume();
        MainTimer->SetEnabled(true);
        ShowPlaying(true);
        break;
    case TPlayerMode::Stopped: {
        // Without a selection, the first track.
        TListItem* selected = TrackList->Selected();
        PlayTrack(selected ? selected->Index() + 1 : 1);
        break;
    }
    case TPlayerMode::NotOpen:
        break;
    }
}

void TForm1::StopBtnClick(TObject* Sender)
{
    if (!Previewing())
        return;
    FPlayer->Stop();
    MainTimer->SetEnabled(false);
    ShowPlaying(false);
}

void TForm1::RewBtnClick(TObject* Sender)
{
    if (!FRipping && Previewing())
        PlayTrack(WrapTrack(FPreviewTrack, -1, TrackCount()));
}

void TForm1::FwdBtnClick(TObject* Sender)
{
    if (!FRipping && Previewing())
        PlayTrack(WrapTrack(FPreviewTrack, +1, TrackCount()));
}

void TForm1::TrackListDblClick(TObject* Sender)
{
    if (FRipping || !ToolBar1->Enabled())
        return;
    TListItem* clicked = TrackList->Selected();
    if (!Previewing())
        PlayBtnClick(this);
    else if (clicked)
        PlayTrack(clicked->Index() + 1);
}

void TForm1::MainTimerTimer(TObject* Sender)
{
    if (FPreviewTrack < 1)
        return;
    const std::int64_t start = FPlayer->TrackStart(FPreviewTrack);
    const std::int64_t length = FPlayer->TrackLength(FPreviewTrack);
    const std::int64_t position = FPlayer->Position();
    if (PreviewTrackEnded(start, length, position)) {
        FPlayer->Stop();
        MainTimer->SetEnabled(false);
        ShowPlaying(false);
    }
    const std::int64_t elapsed = PreviewElapsedMs(start, length, position);
    InfoTimePanel->SetCaption(PreviewTimeText(elapsed, length));
    MoveKnobTo(PreviewKnobLeft(SeekBarGeometry(), elapsed, length));
}

TSeekBarGeometry TForm1::SeekBarGeometry() const
{
    return {SeekBar->Left(), SeekBar->Width(), SeekBtn->Width()};
}

void TForm1::MoveKnobTo(int left)
{
    SeekBtn->SetLeft(left);
}

void TForm1::SeekBarMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button != TMouseButton::mbLeft || FRipping || !ToolBar1->Enabled())
        return;
    if (!Previewing() || FPreviewTrack < 1) {
        MoveKnobTo(PreviewKnobLeftAtClick(SeekBarGeometry(), X));
        return;
    }
    const std::int64_t start = FPlayer->TrackStart(FPreviewTrack);
    const std::int64_t length = FPlayer->TrackLength(FPreviewTrack);
    FPlayer->Seek(PreviewSeekForClick(SeekBarGeometry(), X, start, length));
    FPlayer->Play();
    MainTimer->SetEnabled(true);
    ShowPlaying(true);
}

// --- Drive ---------------------------------------------------------------------------------

void TForm1::EjectBtnClick(TObject* Sender)
{
    CDIn1->Eject();
}

void TForm1::CloseBtnClick(TObject* Sender)
{
    CDIn1->CloseTray();
}

// --- Rip -----------------------------------------------------------------------------------

void TForm1::RipBtnClick(TObject* Sender)
{
    FRipped = false;
    FTrackNumbers.clear();
    FWrittenFiles.clear();
    for (int i = 0; i < TrackCount(); ++i)
        if (AllRadio->Checked() || TrackList->Items()->Item(i)->Checked())
            FTrackNumbers.push_back(i + 1);
    if (FTrackNumbers.empty())
        return;
    SaveDialog1->SetFileName(RipSaveFileName(static_cast<int>(FTrackNumbers.size())));
    if (!SaveDialog1->Execute(Handle()))
        return;
    FChosenName = SaveDialog1->FileName();
    // The main window's stop command also moves its cursor when nothing
    // plays: only stop what plays.
    if (FormVusk && !FormVusk->Stopped())
        FormVusk->actAudioStopExecute(this);
    BeginRipLayout();
    StartTrack(0);
}

void TForm1::BeginRipLayout()
{
    FRipping = true;
    StopBtnClick(this);
    CancelBtn->SetCaption(RipText::AbortCaption);
    for (TControl* control : std::initializer_list<TControl*>{DriveCombo, EjectBtn, CloseBtn,
                                                              CheckRadio, AllRadio, RipBtn})
        control->SetEnabled(false);
    SeekBar->SetVisible(false);
    SeekBtn->SetVisible(false);
    ProgressBar1->SetPosition(0);
    ProgressBar1->SetVisible(true);
    SetPreviewEnabled(false);
    MesLabel->Font()->SetColor(kMaroon);
    MesLabel->SetCaption(RipProgressText(0, static_cast<int>(FTrackNumbers.size())));
    MesLabel->SetVisible(true);
    EndCheckTimer->SetInterval(kRipCheckMs);
}

void TForm1::StartTrack(int index)
{
    const int track = FTrackNumbers[index];
    CDIn1->SetStartTrack(track);
    CDIn1->SetEndTrack(track);
    FCurrentFile = RipTrackFileName(FChosenName, TrackList->Items()->Item(track - 1)->Caption());
    WaveOut1->SetFileName(FCurrentFile);
    WaveOut1->SetTag(index);
    ProgressBar1->SetPosition(0);
    WaveOut1->Run();
}

void TForm1::WaveOut1Progress(TComponent* Sender)
{
    ProgressBar1->SetPosition(WaveOut1->GetProgress());
}

void TForm1::WaveOut1Done(TComponent* Sender)
{
    EndCheckTimer->SetEnabled(true);
}

void TForm1::RecordWrittenTrack()
{
    FRipped = true;
    FWrittenFiles.push_back(FCurrentFile);
}

void TForm1::EndCheckTimerTimer(TObject* Sender)
{
    const int count = static_cast<int>(FTrackNumbers.size());
    switch (RipTimerStepFor(WaveOut1->Tag(), count)) {
    case TRipTimerStep::HideMessage:
        MesLabel->SetVisible(false);
        EndCheckTimer->SetEnabled(false);
        break;
    case TRipTimerStep::Cancelled:
        // The cancelled track's file stays, saying what it holds.
        SettlePartialWav(FCurrentFile);
        ShowRipEnd(RipText::Cancelled, clRed);
        break;
    case TRipTimerStep::Finished:
        RecordWrittenTrack();
        ShowRipEnd(RipText::Finished, kBlue);
        break;
    case TRipTimerStep::NextTrack: {
        RecordWrittenTrack();
        const int next = WaveOut1->Tag() + 1;
        EndCheckTimer->SetEnabled(false);
        MesLabel->SetCaption(RipProgressText(next, count));
        StartTrack(next);
        break;
    }
    }
}

// The run is over: the message for 3 s, the window as before the rip.
void TForm1::ShowRipEnd(const char* text, TColor color)
{
    ProgressBar1->SetVisible(false);
    MesLabel->Font()->SetColor(color);
    MesLabel->SetCaption(text);
    MesLabel->SetVisible(true);
    WaveOut1->SetTag(RipTagValue(TRipTag::EndShown));
    EndCheckTimer->SetInterval(kMessageShowMs);
    EndCheckTimer->SetEnabled(true);
    RestoreAfterRip();
}

void TForm1::RestoreAfterRip()
{
    FRipping = false;
    CancelBtn->SetCaption(RipText::CloseCaption);
    for (TControl* control :
         std::initializer_list<TControl*>{EjectBtn, CloseBtn, CheckRadio, AllRadio, RipBtn})
        control->SetEnabled(true);
    DriveCombo->SetEnabled(!FDriveRoots.empty());
    SeekBar->SetVisible(true);
    SeekBtn->SetVisible(true);
    SetPreviewEnabled(FPlayer->Mode() != TPlayerMode::NotOpen);
    // The rip greyed the focused button: the keys go on from the list.
    if (TrackList->CanFocus())
        TrackList->SetFocus();
}

void TForm1::CancelBtnClick(TObject* Sender)
{
    if (!FRipping) {
        Close();
        return;
    }
    WaveOut1->SetTag(RipTagValue(TRipTag::Cancelled));
    WaveOut1->Stop();
}

void TForm1::WaveOut1ThreadException(TComponent* Sender, std::exception_ptr E)
{
    const AnsiString message = ExceptionMessage(E);
    TThread::Synchronize([this, message] { RipFailed(message); });
}

void TForm1::RipFailed(const AnsiString& message)
{
    if (FClosing)
        return;
    SeamMessageBox(Handle(), message, Application->Title(), MB_OK);
    // A track that never got its header leaves nothing; one cut short
    // says what it holds.
    SettlePartialWav(FCurrentFile);
    ShowRipEnd(RipText::Cancelled, clRed);
}

void TForm1::FormClose(TObject* Sender, TCloseAction& Action)
{
    if (FRipping) {
        Action = TCloseAction::caNone;
        return;
    }
    StopBtnClick(this);
}
