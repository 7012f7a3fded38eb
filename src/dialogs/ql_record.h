// The recording window: records a wave-input device into a 16-bit PCM WAV
// file, optionally limited to a number of minutes, showing the time
// recorded, the time the target drive still holds and an input level.
//
//   TForm11  the window; the pipeline AudioIn -> SoundIndicator -> WaveOut
//
// A recording ends by the stop button, by reaching its limit, by the writer
// running out of input, or when the drive is nearly full. Each end waits
// (at most 5 s, serving the messages meanwhile) until the writer has closed
// the file before it deletes or patches it, and every file left on disk
// says what it holds.
//
// The opener reads FOpenAfter, the recorded file and the choices afterwards.
#pragma once

#include "RecordRules.h"

#include "controls/NumEdit.h"

#include "classlib/Dialogs.h"
#include "classlib/Form.h"
#include "classlib/Panel.h"
#include "controls/ExtControls.h"
#include "classlib/StandardControls.h"
#include "controls/FlatButton.h"
#include "classlib/Timer.h"

#include <exception>

class TAudioIn;
class TSoundIndicator;
class TWaveOut;
class TWaveInDevice;
struct TOption;

class TForm11 : public TForm
{
public:
    // Fills the choices from the recording settings of option. device: the
    // wave-in devices recorded from (the system's unless given; not owned).
    TForm11(TComponent* AOwner, const TOption& option);
    TForm11(TComponent* AOwner, const TOption& option, TWaveInDevice& device);
    ~TForm11() override;

    // --- Controls
    TFlatButton* CloseBtn;    // "閉じる(&C)"; disabled while recording
    TExtGroupBox* InputGroup; // "入力設定"
    TComboBox* DeviceCombo;
    TComboBox* RateCombo;          // the seven rates; keys do nothing
    TComboBox* ChannelCombo;       // "モノラル", "ステレオ"
    TExtGroupBox* InfoGroup;       // "情報"
    TExtLabel* TimeLabel;          // time recorded
    TExtLabel* CanLabel;           // time the drive still holds
    TExtProgressBar* ProgressBar1; // input level, 0..40
    TExtCheckBox* LimitChk;
    TNumSpinEdit* LimitSpin; // minutes
    TExtLabel* LimitLabel;   // "分"
    TFlatButton* RecordBtn;  // "録音開始(&R)"; "録音終了" while recording
    TSaveDialog* SaveDialog1;
    TTimer* LevelTimer; // 100 ms while recording
    TAudioIn* AudioIn;
    TSoundIndicator* SoundIndicator;
    TWaveOut* WaveOut;

    DWORD FStartTick = 0;    // tick count when recording started, ms
    bool FOpenAfter = false; // the opener opens the recorded file

    // --- The choices, as the opener stores them
    AnsiString DeviceName();
    int RateValue();
    int ChannelCount() { return ChannelCombo->ItemIndex() + 1; }

    // --- Handlers
    void FormClose(TObject* Sender, TCloseAction& Action);
    void LimitChkClick(TObject* Sender);
    void RecordBtnClick(TObject* Sender);
    void LevelTimerTimer(TObject* Sender);
    void RateComboKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void RateComboKeyPress(TObject* Sender, char& Key);
    void WaveOutDone(TComponent* Sender);
    // On the thread that caught the failure; the rest runs on the main thread.
    void WaveOutThreadException(TComponent* Sender, std::exception_ptr E);

    bool Recording() const { return FRecording; }
    void WndProc(TMessage& message) override;

private:
    void CreateControls();
    void CreateInputGroup();
    void CreateInfoGroup();
    void CreatePipeline(TWaveInDevice& device);
    // The devices, and the choices of the last recording; without a device
    // the window says so and cannot record.
    void RestoreChoices(const TOption& option);
    void ShowMessageText(const AnsiString& text);
    void StartRecording();
    void StopRecording();
    void EndForFullDisk();
    void BackToIdle();
    bool WaitUntilFileClosed();
    void RecordFailed(const AnsiString& message);

    bool FRecording = false; // from a successful start until an end
    bool FClosing = false;   // the window is being freed
};
