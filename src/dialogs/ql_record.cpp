#include "ql_record.h"

#include "PartialWav.h"

#include "editor/Settings.h"
#include "editor/TimeText.h"

#include "audio/PipeAudio.h"
#include "audio/PipeIndicator.h"
#include "audio/PipeWave.h"

#include "classlib/Application.h"
#include "classlib/FilePaths.h"
#include "classlib/Seams.h"
#include "classlib/TextUtils.h"
#include "classlib/Thread.h"

#include <cmath>

namespace {

// Design sizes, pixels.
constexpr int kClientWidth = 330;
constexpr int kClientHeight = 262;
constexpr int kMargin = 8;
constexpr int kInnerWidth = kClientWidth - 2 * kMargin;
constexpr int kLabelWidth = 84;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 26;
constexpr int kLevelTickMs = 100;
constexpr int kLevelBarMax = 40;
// The longest wait for the writer to close the file once a recording ends.
constexpr DWORD kStopWaitMs = 5000;
// Posted to the window when the writer ended a recording by itself.
constexpr UINT kRecordingEndedMessage = WM_APP + 11;

TExtLabel* RecordLabel(TComponent* owner, TWinControl* parent, const char* caption, int left,
                       int top)
{
    TExtLabel* label = MakeChildControl<TExtLabel>(owner, parent, "");
    label->SetCaption(caption);
    label->SetBounds(left, top, kLabelWidth, 16);
    return label;
}

TComboBox* RecordChoice(TComponent* owner, TWinControl* parent, const char* name, int top)
{
    TComboBox* combo = MakeChildControl<TComboBox>(owner, parent, name);
    combo->SetStyle(TComboBoxStyle::csDropDownList);
    combo->SetBounds(8 + kLabelWidth, top, kInnerWidth - 24 - kLabelWidth, 20);
    return combo;
}

} // namespace

// --- Construction --------------------------------------------------------------------------

TForm11::TForm11(TComponent* AOwner, const TOption& option)
    : TForm11(AOwner, option, TSystemWaveIn::Instance())
{
}

TForm11::TForm11(TComponent* AOwner, const TOption& option, TWaveInDevice& device) : TForm(AOwner)
{
    SetName("Form11");
    SetCaption(RecordText::Caption);
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poOwnerFormCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);
    CreatePipeline(device);
    CreateControls();
    OnClose = TCloseEvent(this, &TForm11::FormClose);
    FinishLoading();
    RestoreChoices(option);
}

TForm11::~TForm11()
{
    // No event of a run ending now may reach a window being taken apart; a
    // failure already on its way finds the window whole and does nothing.
    FClosing = true;
    LevelTimer->SetEnabled(false);
    WaveOut->OnDone.Clear();
    WaveOut->OnThreadException.Clear();
    WaveOut->Stop();
    WaveOut->WaitForIdle(INFINITE);
}

void TForm11::CreatePipeline(TWaveInDevice& device)
{
    AudioIn = new TAudioIn(this, device);
    AudioIn->SetName("AudioIn");
    SoundIndicator = new TSoundIndicator(this);
    SoundIndicator->SetName("SoundIndicator");
    SoundIndicator->SetInput(AudioIn);
    WaveOut = new TWaveOut(this);
    WaveOut->SetName("WaveOut");
    WaveOut->SetInput(SoundIndicator);
    WaveOut->SetFileMode(TFileOutputMode::foRewrite);
    WaveOut->SetWavType(TWavType::wtPCM);
    WaveOut->SetSuspendWhenIdle(true);
    WaveOut->OnDone = TOutputDoneEvent(this, &TForm11::WaveOutDone);
    WaveOut->OnThreadException = TThreadExceptionEvent(this, &TForm11::WaveOutThreadException);
}

void TForm11::CreateControls()
{
    CreateInputGroup();
    CreateInfoGroup();

    const int buttonTop = kClientHeight - kMargin - kButtonHeight;
    RecordBtn = MakeChildControl<TFlatButton>(this, this, "RecordBtn");
    RecordBtn->SetCaption(RecordText::Start);
    RecordBtn->SetBounds(kClientWidth - 2 * (kButtonWidth + kMargin), buttonTop, kButtonWidth,
                         kButtonHeight);
    RecordBtn->OnClick = TNotifyEvent(this, &TForm11::RecordBtnClick);
    CloseBtn = MakeChildControl<TFlatButton>(this, this, "CloseBtn");
    CloseBtn->SetCaption(RecordText::Close);
    CloseBtn->SetCancel(true);
    CloseBtn->SetModalResult(mrCancel);
    CloseBtn->SetBounds(kClientWidth - kButtonWidth - kMargin, buttonTop, kButtonWidth,
                        kButtonHeight);

    SaveDialog1 = new TSaveDialog(this);
    SaveDialog1->SetName("SaveDialog1");
    SaveDialog1->SetFilter(RecordText::SaveFilter);
    LevelTimer = new TTimer(this);
    LevelTimer->SetName("LevelTimer");
    LevelTimer->SetEnabled(false);
    LevelTimer->SetInterval(kLevelTickMs);
    LevelTimer->OnTimer = TNotifyEvent(this, &TForm11::LevelTimerTimer);
}

void TForm11::CreateInputGroup()
{
    InputGroup = MakeChildControl<TExtGroupBox>(this, this, "InputGroup");
    InputGroup->SetCaption("入力設定");
    InputGroup->SetBounds(kMargin, kMargin, kInnerWidth, 94);
    RecordLabel(this, InputGroup, "入力", 8, 21);
    DeviceCombo = RecordChoice(this, InputGroup, "DeviceCombo", 18);
    RecordLabel(this, InputGroup, "レート", 8, 45);
    RateCombo = RecordChoice(this, InputGroup, "RateCombo", 42);
    for (int rate : kRecordRates)
        RateCombo->Items()->Add(IntToStr(rate));
    RateCombo->OnKeyDown = TKeyEvent(this, &TForm11::RateComboKeyDown);
    RateCombo->OnKeyPress = TKeyPressEvent(this, &TForm11::RateComboKeyPress);
    RecordLabel(this, InputGroup, "チャンネル", 8, 69);
    ChannelCombo = RecordChoice(this, InputGroup, "ChannelCombo", 66);
    ChannelCombo->Items()->Add(RecordText::Mono);
    ChannelCombo->Items()->Add(RecordText::Stereo);
}

void TForm11::CreateInfoGroup()
{
    InfoGroup = MakeChildControl<TExtGroupBox>(this, this, "InfoGroup");
    InfoGroup->SetCaption("情報");
    InfoGroup->SetBounds(kMargin, 108, kInnerWidth, 112);
    const int valueLeft = 8 + kLabelWidth;
    const int valueWidth = kInnerWidth - 16 - kLabelWidth;
    RecordLabel(this, InfoGroup, "経過時間", 8, 18);
    TimeLabel = MakeChildControl<TExtLabel>(this, InfoGroup, "TimeLabel");
    TimeLabel->SetAutoSize(false);
    TimeLabel->SetBounds(valueLeft, 18, valueWidth, 16);
    TimeLabel->SetCaption(RecordText::NoValue);
    RecordLabel(this, InfoGroup, "録音可能時間", 8, 38);
    CanLabel = MakeChildControl<TExtLabel>(this, InfoGroup, "CanLabel");
    CanLabel->SetAutoSize(false);
    CanLabel->SetBounds(valueLeft, 38, valueWidth, 16);
    CanLabel->SetCaption(RecordText::NoValue);
    RecordLabel(this, InfoGroup, "入力レベル", 8, 58);
    ProgressBar1 = MakeChildControl<TExtProgressBar>(this, InfoGroup, "ProgressBar1");
    ProgressBar1->SetBounds(valueLeft, 58, valueWidth, 14);
    ProgressBar1->SetMin(0);
    ProgressBar1->SetMax(kLevelBarMax);

    LimitChk = MakeChildControl<TExtCheckBox>(this, InfoGroup, "LimitChk");
    LimitChk->SetCaption("録音時間を制限する");
    LimitChk->SetBounds(8, 82, 150, 18);
    LimitChk->OnClick = TNotifyEvent(this, &TForm11::LimitChkClick);
    LimitSpin = MakeChildControl<TNumSpinEdit>(this, InfoGroup, "LimitSpin");
    LimitSpin->SetBounds(164, 80, 60, 22);
    LimitSpin->SetOptions(0); // whole minutes
    LimitSpin->SetMin(1);
    LimitSpin->SetValue(5);
    LimitSpin->SetEnabled(false);
    LimitLabel = MakeChildControl<TExtLabel>(this, InfoGroup, "LimitLabel");
    LimitLabel->SetCaption("分");
    LimitLabel->SetBounds(230, 84, 20, 16);
    LimitLabel->SetEnabled(false);
}

void TForm11::RestoreChoices(const TOption& option)
{
    const std::vector<AnsiString> devices = TAudioIn::DeviceNames();
    RateCombo->SetItemIndex(RecordRateIndex(option.InRate));
    ChannelCombo->SetItemIndex(RecordChannelIndex(option.InChannel));
    LimitChk->SetChecked(option.Limit);
    LimitSpin->SetValue(option.LimitTime);
    if (devices.empty()) {
        RecordBtn->SetEnabled(false);
        ShowMessageText(RecordText::NoDevice);
        return;
    }
    for (const AnsiString& name : devices)
        DeviceCombo->Items()->Add(name);
    DeviceCombo->SetItemIndex(RecordDeviceIndex(devices, option.InDevice));
}

void TForm11::ShowMessageText(const AnsiString& text)
{
    SeamMessageBox(Handle(), text, Application->Title(), MB_OK);
}

// --- The choices ---------------------------------------------------------------------------

AnsiString TForm11::DeviceName()
{
    const int index = DeviceCombo->ItemIndex();
    return index >= 0 ? DeviceCombo->Items()->Strings(index) : AnsiString();
}

int TForm11::RateValue()
{
    const int index = RateCombo->ItemIndex();
    return index >= 0 ? StrToIntDef(RateCombo->Items()->Strings(index), 0) : 0;
}

void TForm11::RateComboKeyDown(TObject* Sender, WORD& Key, TShiftState Shift)
{
    Key = 0;
}

void TForm11::RateComboKeyPress(TObject* Sender, char& Key)
{
    Key = 0;
}

void TForm11::LimitChkClick(TObject* Sender)
{
    if (FRecording) {
        // The limit of a recording under way cannot change.
        if (LimitChk->Checked() != LimitSpin->Enabled())
            LimitChk->SetChecked(LimitSpin->Enabled());
        return;
    }
    LimitSpin->SetEnabled(LimitChk->Checked());
    LimitLabel->SetEnabled(LimitChk->Checked());
}

// --- Recording -----------------------------------------------------------------------------

void TForm11::RecordBtnClick(TObject* Sender)
{
    if (FRecording)
        StopRecording();
    else
        StartRecording();
}

void TForm11::StartRecording()
{
    if (!SaveDialog1->Execute(Handle()))
        return;
    const AnsiString fileName = ChangeFileExt(SaveDialog1->FileName(), ".wav");
    if (FileExists(fileName) &&
        SeamMessageBox(Handle(), RecordText::OverwriteQuestion, RecordText::OverwriteCaption,
                       MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    if (DeviceCombo->Items()->Count() > TAudioIn::DeviceCount()) {
        ShowMessageText(RecordText::DeviceGone);
        return;
    }
    const int rate = RateValue();
    if (!RecordRateUsable(rate)) {
        ShowMessageText(RecordText::RateRefused);
        return;
    }
    AudioIn->SetBaseChannel(DeviceCombo->ItemIndex());
    AudioIn->SetInBitsPerSample(16);
    AudioIn->SetInChannels(ChannelCount());
    AudioIn->SetInSampleRate(rate);
    AudioIn->SetRecTime(RecordTimeLimit(LimitChk->Checked(), LimitSpin->AsInteger()));

    FStartTick = SeamTickCount();
    FRecording = true;
    RecordBtn->SetCaption(RecordText::Stop);
    for (TControl* control :
         std::initializer_list<TControl*>{CloseBtn, DeviceCombo, RateCombo, ChannelCombo})
        control->SetEnabled(false);
    // The focused choice may have gone grey: Space or Enter stops from here.
    if (RecordBtn->CanFocus())
        RecordBtn->SetFocus();
    LevelTimer->SetEnabled(true);
    WaveOut->SetFileName(fileName);
    WaveOut->Run();
}

void TForm11::BackToIdle()
{
    FRecording = false;
    LevelTimer->SetEnabled(false);
    RecordBtn->SetCaption(RecordText::Start);
    for (TControl* control :
         std::initializer_list<TControl*>{CloseBtn, DeviceCombo, RateCombo, ChannelCombo})
        control->SetEnabled(true);
}

// The stop path deletes or patches the file: the writer's worker must have
// closed it first. The wait serves the messages, so the writer's end of the
// run (on this thread) can arrive.
bool TForm11::WaitUntilFileClosed()
{
    return WaveOut->WaitForIdle(kStopWaitMs);
}

void TForm11::StopRecording()
{
    BackToIdle();
    WaveOut->Stop();
    const bool closed = WaitUntilFileClosed();
    const AnsiString fileName = WaveOut->FileName();
    if (SeamMessageBox(Handle(), RecordText::SaveQuestion, RecordText::SaveCaption, MB_YESNO) !=
        IDYES) {
        if (!closed || !DeleteFile(fileName))
            ShowMessageText(RecordText::DeleteFailed);
        return;
    }
    // A limited recording's header announced the whole limit.
    if (closed && AudioIn->RecTime() != -1)
        SettlePartialWav(fileName);
    if (SeamMessageBox(Handle(), RecordText::OpenQuestion, RecordText::OpenCaption, MB_YESNO) ==
        IDYES) {
        FOpenAfter = true;
        Close();
    }
}

void TForm11::EndForFullDisk()
{
    BackToIdle();
    WaveOut->Stop();
    if (WaitUntilFileClosed() && AudioIn->RecTime() != -1)
        SettlePartialWav(WaveOut->FileName());
    ShowMessageText(RecordText::DiskFull);
}

void TForm11::LevelTimerTimer(TObject* Sender)
{
    if (!FRecording)
        return;
    const AnsiString expanded = ExpandFileName(WaveOut->FileName());
    const std::int64_t freeBytes =
        expanded.empty() ? -1 : Seams().DiskFree(AnsiString(1, expanded[0]) + ":\\");
    if (DiskSpaceExhausted(freeBytes)) {
        EndForFullDisk();
        return;
    }
    CanLabel->SetCaption(
        RecordCapacityText(freeBytes, AudioIn->InSampleRate(), AudioIn->InChannels()));
    TBandValues values;
    SoundIndicator->GetValues(values);
    ProgressBar1->SetPosition(static_cast<int>(std::nearbyint(values[0])));
    TimeLabel->SetCaption(FormatTimeShort((SeamTickCount() - FStartTick) / 1000.0));
}

// The writer ran out of input (the limit reached, or a device that stopped
// handing sound back): the recording ends as by the stop button, once this
// event has returned and the writer is done with the run.
void TForm11::WaveOutDone(TComponent* Sender)
{
    if (FRecording)
        PostMessageA(Handle(), kRecordingEndedMessage, 0, 0);
}

void TForm11::WndProc(TMessage& message)
{
    if (message.Msg == kRecordingEndedMessage) {
        if (FRecording)
            StopRecording();
        return;
    }
    TForm::WndProc(message);
}

void TForm11::WaveOutThreadException(TComponent* Sender, std::exception_ptr E)
{
    const AnsiString message = ExceptionMessage(E);
    TThread::Synchronize([this, message] { RecordFailed(message); });
}

void TForm11::RecordFailed(const AnsiString& message)
{
    if (FClosing)
        return;
    BackToIdle();
    ShowMessageText(message);
    // A start that failed leaves no empty file; a run cut short leaves one
    // that says what it holds.
    SettlePartialWav(WaveOut->FileName());
}

void TForm11::FormClose(TObject* Sender, TCloseAction& Action)
{
    if (FRecording)
        Action = TCloseAction::caNone;
}
