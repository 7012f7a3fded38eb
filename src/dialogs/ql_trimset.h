// The trim settings window: the threshold level of trim and expand and the
// margins before and after a region.
//
// The opener fills it from the TRIM settings, shows it modally and, when OK
// was pressed (FOkResult), stores the level and the margins back.
#pragma once

#include "ThresholdLink.h"

#include "controls/NumEdit.h"

#include "classlib/Form.h"
#include "controls/ExtControls.h"
#include "classlib/Panel.h"
#include "classlib/StandardControls.h"
#include "controls/FlatButton.h"
#include "controls/SkinDkPanels.h"

#include <memory>

class TForm8 : public TForm
{
public:
    explicit TForm8(TComponent* AOwner);

    bool FOkResult = false; // OK closed the window

    // --- Controls
    TNumEdit* dbEd; // the threshold in dB
    TSkinAlignmentPanel* SkinAlignmentPanel1;
    TSeekBar2* FSeekBar; // the threshold as a level, 0 .. 127
    TNumSpinEdit* PreEd; // ms
    TNumSpinEdit* PostEd;
    TFlatButton* OKBtn;
    TFlatButton* CancelBtn;

    int Level() const { return FThreshold->Level(); }
    void SetLevel(int level) { FThreshold->SetLevel(level); }

    // --- Handlers
    void OKBtnClick(TObject* Sender);
    void CancelBtnClick(TObject* Sender);

private:
    void CreateControls();

    std::unique_ptr<TThresholdLink> FThreshold; // dbEd and FSeekBar in step
};
