// The region edit window: one region of the main window's region list, its
// name and its length, start and end as time and as samples, kept in step;
// Next and Back step through the list without closing. OK, Next and Back
// write the region record, its list item and the main window's FModified
// themselves.
//
//   TForm2   the window; the opener (the main window's edit command) sets
//            the file facts, loads the selected item and shows it modally
#pragma once

#include "RegionEditRules.h"

#include "controls/NumEdit.h"
#include "editor/RenameRules.h"

#include "classlib/Actions.h"
#include "classlib/Form.h"
#include "classlib/Panel.h"
#include "classlib/StandardControls.h"
#include "controls/ExtControls.h"
#include "controls/FlatButton.h"

#include <cstdint>
#include <optional>

class TFormVusk;

class TForm2 : public TForm
{
public:
    // main: the window whose region list is edited (not owned).
    TForm2(TComponent* AOwner, TFormVusk& main);

    // --- Set by the opener before showing
    AnsiString FRegionName;         // the region's name as loaded
    std::int32_t FRegionStart = 0;  // its start as loaded, samples
    std::int32_t FRegionEnd = 0;    // its end as loaded, samples
    std::int32_t FMaxSamples = 0;   // the file's length in samples
    std::uint16_t FBlockAlign = 0;  // bytes of one frame
    std::uint32_t FBytesPerSec = 0; // bytes of one second

    // Loads the record and texts of the region list's row into the fields
    // and the edits (the opener, Next and Back).
    void LoadRegion(int row);

    // --- Controls
    TNumEdit* RenameEdit;
    TExtGroupBox* LengthGroup;
    TExtGroupBox* StartGroup;
    TExtGroupBox* EndGroup;
    TNumEdit* LengthEd1; // times, at most 10 characters
    TNumEdit* StartEd1;
    TNumEdit* EndEd1;
    TNumEdit* LengthEd2; // samples, at most 15 characters
    TNumEdit* StartEd2;
    TNumEdit* EndEd2;
    TExtLabel* MaxLabel;  // the file's total time
    TExtLabel* MaxLabel2; // its total samples
    TFlatButton* BackBtn;
    TFlatButton* NextBtn;
    TFlatButton* CancelBtn;
    TFlatButton* OKBtn;

    TActionList* ActionList1;
    TAction* actOk;        // Ctrl+O
    TAction* actNext;      // Ctrl+N
    TAction* actBack;      // Ctrl+P
    TAction* actSetOrgVal; // Escape: restore, or cancel when nothing changed
    TAction* actSelectAll; // Ctrl+A
    TAction* EditCut1;     // Ctrl+X
    TAction* EditCopy1;    // Ctrl+C
    TAction* EditPaste1;   // Ctrl+V
    TAction* actPreView;   // carries the rename-play shortcut; does nothing

    // --- Handlers
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void EditValChangeChange(TObject* Sender);
    void CheckKeyPress(TObject* Sender, char& Key);
    void CheckKeyPress2(TObject* Sender, char& Key);
    void RenameEditKeyPress(TObject* Sender, char& Key);
    void RenameEditChange(TObject* Sender);
    void RenameEditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void actOkExecute(TObject* Sender);
    void actNextExecute(TObject* Sender);
    void actBackExecute(TObject* Sender);
    void actNextUpdate(TObject* Sender);
    void actBackUpdate(TObject* Sender);
    void actSetOrgValExecute(TObject* Sender);
    void actSelectAllExecute(TObject* Sender);
    void EditCut1Execute(TObject* Sender);
    void EditCopy1Execute(TObject* Sender);
    void EditPaste1Execute(TObject* Sender);
    void actPreViewExecute(TObject* Sender);
    void CancelBtnClick(TObject* Sender);

    bool FCreating = true;  // until first shown: edit events are ignored
    bool FUnchanged = true; // the edits show the values loaded or restored

private:
    void CreateEdits();
    void CreateButtons();
    void CreateActions();
    TRegionEditFacts Facts() const;
    // The edit of a field of the length, start and end groups.
    TNumEdit* EditOf(TRegionEditField field) const;
    // The field an edit shows, or none for another control.
    std::optional<TRegionEditField> FieldOf(const TObject* edit) const;
    // The focused control when it is one of the seven edits.
    TNumEdit* FocusedEdit() const;
    // Writes an edit without its change reaching the sync.
    void WriteEdit(TNumEdit* edit, const AnsiString& text);
    // The name check, then the record, the item and FModified; false when
    // the name is refused (the message was shown) or the range is invalid.
    bool ApplyEdits();
    // Next (+1) or Back (-1).
    void StepTo(int delta);
    // The row after (+1) or before (-1) the selected one, or -1.
    int Neighbour(int delta) const;

    TFormVusk& FMain;         // not owned
    bool FWriting = false;    // the window writes its own edits
    TNameKeyFilter FNameKeys; // the name edit's typed bytes
};
