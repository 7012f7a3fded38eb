// Controls of the tests: a wide edit (a Unicode window over the system's
// edit class, linked to actions through the wide link), a wide control
// without a window, and a fixture that puts wide edits on a form.
#pragma once

#include "support/FormFixture.h"
#include "unicode/UniActnList.h"
#include "unicode/UniControls.h"

namespace unicode_testing {

class TWideEdit : public TWinControl
{
public:
    explicit TWideEdit(TComponent* AOwner);

    int TextChanges = 0;     // CM_TEXTCHANGED seen
    AnsiString KeysPressed;  // what the ANSI key-press handling got
    char ReplaceKeyWith = 0; // set: the key-press handling replaces the key

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowHandle(const TCreateParams& params) override;
    void KeyPress(char& Key) override;
    TControlActionLink* CreateActionLink() override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
};

class TWideLabel : public TGraphicControl
{
public:
    using TGraphicControl::TGraphicControl;
};

// A fresh form for each test, to put wide edits on.
class WideEditFixture : public testing_support::FormFixture
{
protected:
    // A wide edit on the form, with its window.
    TWideEdit* NewEdit();
};

// What GetWindowTextW gives (up to 255 characters).
WideString WindowText(HWND window);

} // namespace unicode_testing
