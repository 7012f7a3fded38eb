// The about window: the product's name, version and two notices. It has no
// buttons: any key, or a mouse press anywhere on it, closes it.
//
//   TForm7  the window
#pragma once

#include "classlib/Form.h"
#include "classlib/Image.h"
#include "controls/ExtControls.h"
#include "classlib/Panel.h"

class TForm7 : public TForm
{
public:
    explicit TForm7(TComponent* AOwner);

    TPanel* Panel1;
    TExtLabel* ProductLabel; // "Zandrel"
    TExtLabel* VersionLabel;
    TImage* Image1; // a waveform with a cut, drawn at creation
    TExtLabel* NoticeLabel1;
    TExtLabel* NoticeLabel2;

    // --- Handlers
    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void AnyMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

protected:
    void WndProc(TMessage& message) override;

private:
    void CreateTexts();
    void DrawImage();
};
