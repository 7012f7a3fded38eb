// The choice window shown when rename strings are loaded: how the strings
// go to the region list (from its top, from its first selected item, or to
// the selected items only).
//
//   TFormSelType        the window
//   ChooseLoadListType  the whole exchange for the opener
//
// The window starts from the LOADLIST TYPE setting it is given and writes
// the selected option back to it when it is freed, after OK and after
// Cancel alike; only FOkResult tells the opener to apply the strings.
#pragma once

#include "classlib/Actions.h"
#include "classlib/Form.h"
#include "classlib/StandardControls.h"
#include "controls/ExtControls.h"
#include "controls/FlatButton.h"

#include <cstdint>

class TFormSelType : public TForm
{
public:
    // loadListType: the setting (not owned; it must outlive the window).
    // Its option (2 ck2, 3 ck3, anything else ck1) is selected and has the
    // focus when the window opens.
    TFormSelType(TComponent* AOwner, std::int32_t& loadListType);
    // Writes 1, 2 or 3 for the selected option; nothing when none is.
    ~TFormSelType() override;

    bool FOkResult = false; // OK closed the window

    TExtLabel* Label1;
    TSkinAlignmentPanel* ChoicePanel; // holds the options, so arrow keys stay among them
    TExtRadioButton* ck1;             // from the top of the region list (1)
    TExtRadioButton* ck2;             // from the first selected item on (2)
    TExtRadioButton* ck3;             // to the selected items only (3)
    TFlatButton* OkBtn;
    TFlatButton* CancelBtn;
    TActionList* ActionList1;
    TAction* actOk;     // Enter: presses OkBtn
    TAction* actCancel; // Escape: presses CancelBtn

    // --- Handlers
    void OptionEnter(TObject* Sender);
    void OptionClick(TObject* Sender);
    void OkBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);
    void actOkExecute(TObject* Sender);
    void actCancelExecute(TObject* Sender);

private:
    void CreateOptions();
    void CreateButtons();
    void CreateActions();
    TExtRadioButton* OptionOf(std::int32_t stored) const;
    void KeepTabStopAtChoice();

    std::int32_t& FLoadListType; // the setting; not owned
};

// Shows the choice window modally over owner, starting from loadListType
// and leaving the selected option there however the window closed. True
// when OK was pressed: then apply the strings by LoadListTypeOf(loadListType).
bool ChooseLoadListType(TComponent* owner, std::int32_t& loadListType);
