#include "WideTestControls.h"

namespace unicode_testing {

TWideEdit::TWideEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(4, 4, 160, 24);
    SetTabStop(true);
}

void TWideEdit::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, "EDIT");
    params.Style |= ES_AUTOHSCROLL;
}

void TWideEdit::CreateWindowHandle(const TCreateParams& params)
{
    MakeUnicodeWindow(this, params, false);
}

void TWideEdit::WndProc(TMessage& m)
{
    if (m.Msg == CM_TEXTCHANGED)
        ++TextChanges;
    TWinControl::WndProc(m);
}

void TWideEdit::KeyPress(char& Key)
{
    KeysPressed += Key;
    if (ReplaceKeyWith)
        Key = ReplaceKeyWith;
}

TControlActionLink* TWideEdit::CreateActionLink()
{
    return new TUniWinControlActionLink(this);
}

void TWideEdit::ActionChange(TObject* Sender, bool CheckDefaults)
{
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action)
        return;
    if (!CheckDefaults || ControlWideText(this).empty())
        SetControlWideText(this, ActionWideCaption(action));
    if (!CheckDefaults || ControlWideHint(this).empty())
        SetControlWideHint(this, ActionWideHint(action));
    TWinControl::ActionChange(Sender, true);
}

TWideEdit* WideEditFixture::NewEdit()
{
    auto* edit = new TWideEdit(form);
    edit->SetParent(form);
    edit->HandleNeeded();
    return edit;
}

WideString WindowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

} // namespace unicode_testing
