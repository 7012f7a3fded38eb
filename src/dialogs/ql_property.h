// The file properties window: the facts of the open WAV file, and a button
// that opens the folder holding it.
//
//   TForm3  the window
//
// The opener writes every text (FileFacts gives them) and shows the window
// modally; the window itself only opens the folder and closes.
#pragma once

#include "classlib/Form.h"
#include "controls/ExtControls.h"
#include "classlib/StandardControls.h"
#include "controls/FlatButton.h"

struct TFileFacts;

class TForm3 : public TForm
{
public:
    explicit TForm3(TComponent* AOwner);

    // --- The facts, each beside its caption label
    TExtLabel* NameLb;
    TEdit* PathEd; // read-only, so a long path can be scrolled and copied
    TExtLabel* ChannelLb;
    TExtLabel* RateLb;
    TExtLabel* SpsLb; // bytes per second
    TExtLabel* BlockLb;
    TExtLabel* BitLb;
    TExtLabel* OffsetLb;
    TExtLabel* SampleSizeLb;
    TExtLabel* TimeLb;
    TExtLabel* FileSizeLb;
    TExtLabel* DateLb;

    TFlatButton* OpenExpBtn; // opens the folder of the path in PathEd
    TFlatButton* CloseBtn;   // the default button

    // --- For the opener
    void ShowFacts(const TFileFacts& facts);

    // --- Handlers
    void OpenExpBtnClick(TObject* Sender);
    void CloseBtnClick(TObject* Sender);

private:
    void CreateFactRows();
    void CreateButtons();
};
