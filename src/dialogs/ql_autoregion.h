// The automatic-region window: picks one of the three level detectors, sets
// its threshold and times, runs it as often as wanted with a preview over a
// copy of the waveform overview, and finally says whether its regions or
// its cut points are to be added.
//
//   TAutoRegionSource  what the window detects on and where the results go
//                      (the main window's envelope, averages and result
//                      lists)
//   TForm5             the window
//
// The opener fills the controls from the AUTO settings, shows the window
// modally, reads FResult and adds the results from its own lists, then
// stores the controls back. Every run replaces both result lists, so what
// an earlier run of another detector found is never added.
#pragma once

#include "ThresholdLink.h"

#include "editor/CursolImage.h"
#include "editor/LevelDetect.h"

#include "controls/NumEdit.h"

#include "classlib/Actions.h"
#include "classlib/Form.h"
#include "classlib/Panel.h"
#include "classlib/StandardControls.h"
#include "controls/ExtControls.h"
#include "controls/FlatButton.h"

#include <cstdint>
#include <memory>
#include <vector>

struct TAutoRegionSource
{
    const TMaxData* Envelope = nullptr; // not owned: the level envelope of the open file
    TCompData* Averages = nullptr;      // not owned: its chunk averages, reused between runs
    TLevelScale Scale;                  // draw entries of the open file
    std::int32_t SampleSize = 0;        // the file's length in frames
    TBitmap* Overview = nullptr;        // not owned: the clean waveform overview
    TColor BackColor = 0;               // COLOR BACK: the pixels the regions paint over
    TColor CutBarColor = 0;             // COLOR CUTBAR
    TAutoRegionList* Regions = nullptr; // not owned: the regions found by the last run
    TStrings* CutPoints = nullptr;      // not owned: the cut points found, decimal frames
};

// What the window asks the opener to add.
enum class TAutoResult
{
    Nothing = -1,
    Regions = 0,
    CutPoints = 1,
};

class TForm5 : public TForm
{
public:
    // source must outlive the window.
    TForm5(TComponent* AOwner, const TAutoRegionSource& source);

    TAutoResult FResult = TAutoResult::Nothing;

    // --- Controls
    TCursolImage* AutoImage;    // the preview
    TExtGroupBox* SettingGroup; // "設定"
    TNumEdit* dbEd;             // the threshold in dB
    TSkinAlignmentPanel* SkinAlignmentPanel1;
    TSeekBar2* FSeekBar; // the threshold as a level, 0 .. 127
    TNumSpinEdit* PreEd; // ms
    TNumSpinEdit* PostEd;
    TNumSpinEdit* MinLengthEd;
    TNumSpinEdit* MinIntervalEd;
    TExtLabel* Lb1; // PreEd's
    TExtLabel* Lb2; // PostEd's
    TExtLabel* Lb3; // MinLengthEd's
    TExtLabel* Lb4; // MinIntervalEd's: its text follows the type
    TExtLabel* CountLb;
    TExtCheckBox* DivCheck;   // cut points only: no regions between them
    TExtGroupBox* TypeGroup;  // "リージョン検出タイプ"
    TExtRadioButton* TypeRd1; // strip silence
    TExtRadioButton* TypeRd2; // cut points
    TExtRadioButton* TypeRd3; // search silence
    TFlatButton* ExecBtn;
    TFlatButton* AddListBtn;
    TFlatButton* CancelBtn;
    TActionList* ActionList1;
    TAction* actAdd; // Ctrl+O

    // --- The choices, as the opener reads and writes them
    TAutoMode Mode() const;
    void SetMode(TAutoMode mode);
    int Level() const { return FThreshold->Level(); }
    void SetLevel(int level) { FThreshold->SetLevel(level); }
    TAutoSettings Settings() const;

    // --- Handlers
    void TypeRd1Click(TObject* Sender);
    void ExecBtnClick(TObject* Sender);
    void AddListBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);

private:
    void CreateSettingGroup();
    void CreateTypeGroup();
    void CreateButtons();
    // The four time edits with their labels and units, and what each
    // type enables.
    void ApplyType();
    void CopyOverview();
    // The chosen detector over the source; both result lists replaced.
    void RunDetection();
    void DrawRegionPreview();
    void DrawCutPointPreview();
    // A start mark: a line over the whole height with a small flag on top.
    void DrawMark(int x, TColor color);

    TAutoRegionSource FSource;
    std::unique_ptr<TThresholdLink> FThreshold; // dbEd and FSeekBar in step
    std::vector<TControl*> FTimeControls;       // the time edits, their labels and units
};
