// Focus, tab order and the keyboard of a windowed control: the key events,
// the form's key preview, shortcuts and dialog keys.
#include "WinControl.h"

#include "Application.h"
#include "Form.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// TWinControl: focus and tab order

void TWinControl::SetTabStop(bool value)
{
    if (value == FTabStop)
        return;
    FTabStop = value;
    if (FHandle) {
        LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
        SetWindowLongPtrA(FHandle, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    if (!Parent())
        return;
    auto& list = Parent()->FTabList;
    int current = TabOrder();
    if (current < 0)
        return;
    value = std::clamp(value, 0, static_cast<int>(list.size()) - 1);
    list.erase(list.begin() + current);
    list.insert(list.begin() + value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list)
{
    for (TWinControl* c : FTabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

bool TWinControl::CanFocus()
{
    for (TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused() const
{
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus()
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this)
        form->FocusControl(this);
    else if (Handle())
        ::SetFocus(FHandle);
}

TWinControl* TWinControl::FirstFocusTarget()
{
    TWinControl* first = FindNextControl(nullptr, true, true, false);
    return first ? first->FocusTarget() : nullptr;
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    int n = static_cast<int>(list.size());
    auto found = std::find(list.begin(), list.end(), current);
    int start =
        found == list.end() ? (goForward ? n - 1 : 0) : static_cast<int>(found - list.begin());
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[i];
        if (c == current)
            break;
        if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) &&
            c->CanFocus())
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop)
{
    TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop);
    if (next)
        next->SetFocus();
}

// ---------------------------------------------------------------------------
// TWinControl: keyboard

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

bool TWinControl::DoKeyDown(TMessage& m)
{
    auto key = static_cast<WORD>(m.WParam);
    TShiftState shift = KeyDataToShiftState(m.LParam);
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview()) {
        form->KeyDown(key, shift);
        if (key == 0)
            return true;
    }
    KeyDown(key, shift);
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& m)
{
    auto key = static_cast<WORD>(m.WParam);
    TShiftState shift = KeyDataToShiftState(m.LParam);
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview()) {
        form->KeyUp(key, shift);
        if (key == 0)
            return true;
    }
    KeyUp(key, shift);
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& m)
{
    auto key = static_cast<char>(m.WParam & 0xFF);
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview()) {
        form->KeyPress(key);
        if (key == 0)
            return true;
    }
    KeyPress(key);
    if (key == 0)
        return true;
    m.WParam = (m.WParam & ~static_cast<WPARAM>(0xFF)) | static_cast<unsigned char>(key);
    return false;
}

UINT TWinControl::DialogCodeFor(WORD key)
{
    switch (key) {
    case VK_TAB:
        return DLGC_WANTTAB;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        return DLGC_WANTARROWS;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL:
        return DLGC_WANTALLKEYS;
    }
    return 0;
}

bool TWinControl::IsMenuKey(TMessage& m)
{
    auto key = static_cast<WORD>(m.WParam);
    TShiftState shift = KeyDataToShiftState(m.LParam);
    TCustomForm* form = GetParentForm(this);
    if (form && form->IsShortCut(key, shift))
        return true;
    return Application && Application->SendAppKeyDown(m.WParam, m.LParam, form);
}

void TWinControl::CNKeyDown(TMessage& m)
{
    m.Result = 1;
    if (IsMenuKey(m))
        return;
    auto key = static_cast<WORD>(m.WParam);
    UINT mask = DialogCodeFor(key);
    if (mask) {
        for (TWinControl* c = this; c; c = c->Parent())
            if (c->Perform(CM_CHILDKEY, key, reinterpret_cast<LPARAM>(this)))
                return;
        MSG keyMessage = {FHandle, WM_KEYDOWN, m.WParam, m.LParam, 0, {0, 0}};
        bool wanted = Perform(CM_WANTSPECIALKEY, key, m.LParam) != 0 ||
                      (Perform(WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&keyMessage)) &
                       (mask | DLGC_WANTMESSAGE)) != 0;
        TCustomForm* form = GetParentForm(this);
        if (!wanted && form && form->Perform(CM_DIALOGKEY, key, m.LParam))
            return;
    }
    m.Result = 0;
}

void TWinControl::CNChar(TMessage& m)
{
    m.Result = 0;
    TCustomForm* form = GetParentForm(this);
    if (!form)
        return;
    if (m.Msg == CN_CHAR) {
        MSG charMessage = {FHandle, WM_CHAR, m.WParam, m.LParam, 0, {0, 0}};
        if (Perform(WM_GETDLGCODE, m.WParam, reinterpret_cast<LPARAM>(&charMessage)) &
            (DLGC_WANTCHARS | DLGC_WANTMESSAGE))
            return;
    }
    if (form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam))
        m.Result = 1;
}

void TWinControl::CMDialogKey(TMessage& m)
{
    Broadcast(m);
}
