// The cut-bar edit window: the position of one cut bar as time and as
// samples, kept in step. The opener (the cut-bar list) sets the fields and
// the two edits, shows it modally and, when FOkResult is set, stores the
// sample edit's value as the bar's new place.
//
//   TForm9   the window
#pragma once

#include "RegionEditRules.h"

#include "controls/NumEdit.h"

#include "classlib/Actions.h"
#include "classlib/Form.h"
#include "controls/ExtControls.h"
#include "classlib/StandardControls.h"
#include "controls/FlatButton.h"

#include <cstdint>

class TForm9 : public TForm
{
public:
    explicit TForm9(TComponent* AOwner);

    // --- Set by the opener before showing
    std::int32_t FCutPosition = 0;  // the bar's place, samples
    std::uint16_t FBlockAlign = 0;  // bytes of one frame
    std::uint32_t FBytesPerSec = 0; // bytes of one second
    std::int32_t FMaxSamples = 0;   // the file's length in samples

    bool FCreating = true;  // until first shown: edit events are ignored
    bool FUnchanged = true; // the edits show the bar's place
    bool FOkResult = false; // OK closed the window after an edit

    TNumEdit* LengthEd1;  // the time, at most 10 characters
    TNumEdit* LengthEd2;  // the samples, at most 15 characters
    TExtLabel* MaxLabel;  // the file's total time
    TExtLabel* MaxLabel2; // its total samples
    TFlatButton* CancelBtn;
    TFlatButton* OKBtn;

    TActionList* ActionList1;
    TAction* actEscape;  // Escape: restore, or cancel when nothing changed
    TAction* actSelAll;  // Ctrl+A
    TAction* EditCut1;   // Ctrl+X
    TAction* EditCopy1;  // Ctrl+C
    TAction* EditPaste1; // Ctrl+V

    // --- Handlers
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void LengthEd1Change(TObject* Sender);
    void TimeKeyPress(TObject* Sender, char& Key);
    void SampleKeyPress(TObject* Sender, char& Key);
    void OkBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);
    void actEscapeExecute(TObject* Sender);
    void actSelAllExecute(TObject* Sender);
    void EditCut1Execute(TObject* Sender);
    void EditCopy1Execute(TObject* Sender);
    void EditPaste1Execute(TObject* Sender);

private:
    TRegionEditFacts Facts() const;
    // The focused control when it is one of the two edits.
    TNumEdit* FocusedEdit() const;
    void WriteEdit(TNumEdit* edit, const AnsiString& text);

    bool FWriting = false; // the window writes its own edits
};
