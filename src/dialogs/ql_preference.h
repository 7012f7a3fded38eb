// The preferences window: general settings and sound output, display
// colours and sizes, and the keyboard shortcut of every command, on three
// pages.
//
//   TForm6  the window; Form6 while the preferences command shows it
//
// The opener fills the controls and the shortcut table, shows the window
// and afterwards reads the controls, the table and the four flags. The
// window only edits its controls, keeps the flags and enforces its rules:
// no colour twice, no arrow key without a modifier, no plain key for
// playing while renaming, and a question before a shortcut moves from
// another command.
#pragma once

#include "PreferenceRules.h"

#include "controls/NumEdit.h"

#include "classlib/Dialogs.h"
#include "classlib/Form.h"
#include "classlib/ListView.h"
#include "classlib/PageControl.h"
#include "classlib/Panel.h"
#include "classlib/Shape.h"
#include "classlib/StandardControls.h"
#include "controls/ExtControls.h"
#include "controls/FlatButton.h"

#include <array>
#include <vector>

struct TOption;
class TCustomImageList;

// One command in the shortcut table, in action-list order.
struct TShortCutRecord
{
    AnsiString Caption; // the action's caption
    TShortCut ShortCut; // the assignment being edited
    int ImageIndex;     // the action's image, -1 for none
};

enum class TPreferencePage
{
    General = 0,
    Display = 1,
    ShortCuts = 2
};

class TForm6 : public TForm
{
public:
    // The device, buffer size and count of option are selected when the
    // lists hold them.
    TForm6(TComponent* AOwner, const TOption& option);

    // --- Pages
    TPageControl* PageControl1;
    TTabSheet* GeneralSheet;  // "全般"
    TTabSheet* DisplaySheet;  // "表示"
    TTabSheet* ShortCutSheet; // "ショートカット"

    // --- General page
    TExtCheckBox* chk1;     // SAVE DATA
    TExtCheckBox* chk2;     // SAVE FORM
    TExtCheckBox* chk3;     // SAVE NOCAUTION
    TExtCheckBox* chk6;     // SAVE FILELIST
    TExtCheckBox* chk5;     // USE CUTTOADD
    TComboBox* DeviceCombo; // item 0 the system's choice, then every wave-out device
    TComboBox* BufSizeCombo;
    TComboBox* BufCountCombo;
    TNumSpinEdit* ZeroSpin; // silence threshold, 0 .. 256

    // --- Display page
    TComboBox* PresetCombo;
    TShape* sp1;  // WAVE
    TShape* sp2;  // BACK
    TShape* sp3;  // REGWAVE
    TShape* sp4;  // REGBACK
    TShape* sp6;  // PREBACK
    TShape* sp7;  // CENTER
    TShape* sp8;  // ZERO
    TShape* sp9;  // POSBAR
    TShape* sp10; // CUTBAR
    TShape* sp11; // RANGE
    TExtCheckBox* StripeChk;
    TComboBox* MarkSizeCombo; // item index = size - 1
    TComboBox* DispSizeCombo; // item index = size - 1
    TColorDialog* ColorDialog1;

    // --- Shortcut page
    TListView* ShortCutList; // "内容", "ショートカット"; one row per table record
    TComboBox* ShiftCombo;   // the modifier index
    TComboBox* KeyCombo;     // the 92 keys
    TFlatButton* DeleteBtn;
    TFlatButton* ChangeBtn;

    // --- Below the pages
    TFlatButton* InitializeBtn;
    TFlatButton* CancelBtn;
    TFlatButton* OkBtn;

    // What the person changed, and whether the window closed with OK.
    bool FColorsChanged = false;
    bool FGeneralChanged = false;
    bool FShortCutsChanged = false;
    bool FOkResult = false;
    std::vector<TShortCutRecord> FShortCutTable;

    // --- For the opener
    TSwatchColors SwatchColors() const;
    void SetSwatchColors(const TSwatchColors& colors);
    // Takes the table and lists it; images: the actions' images (not owned).
    void SetShortCutTable(std::vector<TShortCutRecord> table, TCustomImageList* images);
    TPreferencePage VisiblePage() const;
    // The buffer choices as numbers.
    int ChosenBufSize();
    int ChosenBufCount();

    // --- Handlers
    void SwatchMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PresetComboChange(TObject* Sender);
    void AudioChoiceChange(TObject* Sender);
    void ShortCutListSelectItem(TObject* Sender, TListItem* Item, bool Selected);
    void DeleteBtnClick(TObject* Sender);
    void ChangeBtnClick(TObject* Sender);
    void InitializeBtnClick(TObject* Sender);
    void OkBtnClick(TObject* Sender);
    void ShortCutListCustomDrawSubItem(TObject* Sender, TListItem* Item, int SubItem,
                                       TCustomDrawState State, bool& DefaultDraw);

private:
    void CreateGeneralPage();
    void CreateDisplayPage();
    void CreateShortCutPage();
    void CreateButtons();
    void SelectChoices(const TOption& option);
    std::array<TShape*, kSwatchCount> Swatches() const;
    int SelectedCommand() const;
    // A command's shortcut in the table and its row.
    void ShowShortCut(int command, TShortCut shortCut);
    void ClearSelectedShortCut();
    void ResetGeneralPage();
    void ResetDisplayPage();
    void ResetShortCutPage();
};

// The preferences window while the preferences command shows it.
extern TForm6* Form6;
