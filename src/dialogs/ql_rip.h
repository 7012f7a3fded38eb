// The CD ripping window: rips audio-CD tracks into WAV files, one file per
// track named after it, and previews the tracks.
//
//   TForm1       the window: the drives, the track list read from the
//                drive's track files, the preview with its bar and time,
//                eject, all or ticked tracks, and the rip through the CD
//                input into the WAV writer with progress and cancel
//   GetCdaInfo   a track file's length in seconds
//
// A rip runs one track per run of the writer. The writer's end of a run
// only arms EndCheckTimer; the timer starts the next track on the main
// thread once the writer's worker is done with the run. Every file a rip
// leaves on disk is a whole WAV file: a cancelled or failed track's file
// says what it holds, and one that never got its header is removed.
//
// The opener reads FWrittenFiles, FRipped and AddRipChk afterwards.
#pragma once

#include "RipRules.h"
#include "TrackPlayer.h"

#include "classlib/Dialogs.h"
#include "classlib/Form.h"
#include "classlib/Image.h"
#include "classlib/ImageList.h"
#include "classlib/ListView.h"
#include "controls/ExtControls.h"
#include "classlib/StandardControls.h"
#include "controls/FlatButton.h"
#include "controls/SkinDkPanels.h"
#include "classlib/Timer.h"

#include <exception>
#include <memory>
#include <vector>

class TCDIn;
class TThreadedTimer;
class TWaveOut;

// The length of a ".cda" track file in seconds; -1 when it is none or
// cannot be read.
int GetCdaInfo(const AnsiString& path);

class TForm1 : public TForm
{
public:
    // Loads the CD-ripping library (raises EPipeException "cdrip.dll could
    // not be loaded." when it cannot) and lists the drives and the first
    // drive's tracks. player previews the tracks; none: the system's.
    explicit TForm1(TComponent* AOwner, std::unique_ptr<TTrackPlayer> player = nullptr);
    ~TForm1() override;

    // --- Controls
    TExtLabel* InfoTotalLabel;     // track count and total time
    TListView* TrackList;          // tick boxes; "トラック", "時間"
    TImage* SeekBar;               // the preview bar
    TImage* SeekBtn;               // its knob
    TExtProgressBar* ProgressBar1; // 0..100, in the bar's place while ripping
    TSkinAlignmentPanel* ToolBar1; // the preview buttons and time
    TFlatButton* PlayBtn;          // "再生", "一時停止" while playing
    TFlatButton* StopBtn;
    TFlatButton* RewBtn;
    TFlatButton* FwdBtn;
    TExtLabel* InfoTimePanel; // played / length
    TExtLabel* MesLabel;      // the rip's progress and end, hidden otherwise
    TExtGroupBox* DriveGroup; // "ドライブ設定"
    TComboBox* DriveCombo;
    TFlatButton* EjectBtn;
    TFlatButton* CloseBtn;  // closes the tray
    TExtGroupBox* RipGroup; // "リッピング設定"
    TExtRadioButton* CheckRadio;
    TExtRadioButton* AllRadio;
    TExtCheckBox* AddRipChk;
    TFlatButton* RipBtn;
    TFlatButton* CancelBtn; // "閉じる(&C)"; "中止(&S)" while ripping
    TSaveDialog* SaveDialog1;
    TThreadedTimer* MainTimer; // 50 ms while a track previews
    TTimer* EndCheckTimer;     // drives the rip from track to track
    TCDIn* CDIn1;
    TWaveOut* WaveOut1; // Tag: the run state (track index, or a TRipTag)
    TTrackPlayer& MP() { return *FPlayer; }

    // --- What the last rip did
    std::vector<int> FTrackNumbers;        // tracks to rip (1-based), in list order
    int FPreviewTrack = -1;                // the track being previewed (1-based)
    std::vector<AnsiString> FWrittenFiles; // tracks ripped completely in the last run
    bool FRipped = false;                  // at least one track was ripped completely

    // --- Handlers
    void FormClose(TObject* Sender, TCloseAction& Action);
    void DriveComboChange(TObject* Sender);
    void TrackListClick(TObject* Sender);
    void TrackListItemChecked(TObject* Sender, TListItem* Item);
    void TrackListDblClick(TObject* Sender);
    void TrackListKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void TrackListCustomDrawItem(TObject* Sender, TListItem* Item, TCustomDrawState State,
                                 bool& DefaultDraw);
    void CheckRadioClick(TObject* Sender);
    void AllRadioClick(TObject* Sender);
    void PlayBtnClick(TObject* Sender);
    void StopBtnClick(TObject* Sender);
    void RewBtnClick(TObject* Sender);
    void FwdBtnClick(TObject* Sender);
    void SeekBarMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void MainTimerTimer(TObject* Sender);
    void EjectBtnClick(TObject* Sender);
    void CloseBtnClick(TObject* Sender);
    void RipBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);
    void EndCheckTimerTimer(TObject* Sender);
    void WaveOut1Progress(TComponent* Sender);
    void WaveOut1Done(TComponent* Sender);
    // On the thread that caught the failure; the rest runs on the main thread.
    void WaveOut1ThreadException(TComponent* Sender, std::exception_ptr E);

    // A rip runs: the window refuses to close.
    bool Ripping() const { return FRipping; }

private:
    void CreateControls();
    void CreatePreviewControls();
    void CreateSettingControls();
    void CreatePipeline();
    void DrawSeekBar();
    void ScanDrives();
    void ListTracks();
    void AddTrackFiles(const AnsiString& root);
    void SetPreviewEnabled(bool enabled);
    void CheckRipButton();
    int TickedCount() const;
    // Preview.
    void PlayTrack(int track);
    void ShowPlaying(bool playing);
    bool Previewing();
    int TrackCount() const { return TrackList->Items()->Count(); }
    TSeekBarGeometry SeekBarGeometry() const;
    void MoveKnobTo(int left);
    // Rip.
    void StartTrack(int index);
    void BeginRipLayout();
    void RestoreAfterRip();
    void ShowRipEnd(const char* text, TColor color);
    void RecordWrittenTrack();
    void RipFailed(const AnsiString& message);

    std::unique_ptr<TTrackPlayer> FPlayer; // owned
    TImageList* FShellImages;              // the system's small icons (shared, not owned)
    std::vector<AnsiString> FDriveRoots;   // the drive of each DriveCombo item
    AnsiString FChosenName;                // the name chosen in the save dialog
    AnsiString FCurrentFile;               // the file the current track goes into
    bool FRipping = false;                 // from the rip's start until its end is shown
    bool FClosing = false;                 // the window is being freed
};
