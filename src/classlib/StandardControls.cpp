#include "StandardControls.h"

#include "Exceptions.h"
#include "Form.h"
#include "ScopeExit.h"

#include <algorithm>
#include <commctrl.h>

namespace {

DWORD ButtonTextAlignment(TAlignment alignment)
{
    return alignment == TAlignment::taLeftJustify ? BS_LEFTTEXT : 0;
}

} // namespace

// ---------------------------------------------------------------------------
// TButtonControl

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner)
{
    SetTabStop(true);
    SetControlStyle(csSetCaption | csDoubleClicks);
}

TControlActionLink* TButtonControl::CreateActionLink()
{
    return new TButtonActionLink(this);
}

void TButtonControl::ActionChange(TObject* Sender, bool CheckDefaults)
{
    TWinControl::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (action && (!CheckDefaults || !Checked())) {
        bool disabled = FClicksDisabled;
        FClicksDisabled = true;
        TScopeExit restored([this, disabled] { FClicksDisabled = disabled; });
        SetChecked(action->Checked());
    }
}

bool TButtonActionLink::IsCheckedLinked()
{
    auto* button = dynamic_cast<TButtonControl*>(FClient);
    return TControlActionLink::IsCheckedLinked() && button &&
           button->Checked() == CustomAction()->Checked();
}

void TButtonActionLink::SetChecked(bool value)
{
    auto* button = dynamic_cast<TButtonControl*>(FClient);
    if (!button || !IsCheckedLinked())
        return;
    bool disabled = button->ClicksDisabled();
    button->SetClicksDisabled(true);
    TScopeExit restored([button, disabled] { button->SetClicksDisabled(disabled); });
    button->SetChecked(value);
}

// ---------------------------------------------------------------------------
// TButton

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& params)
{
    TButtonControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool value)
{
    if (value == FDefault)
        return;
    FDefault = value;
    TCustomForm* form = GetParentForm(this);
    UpdateDefaultStyle(form ? form->ActiveControl() : nullptr);
}

void TButton::UpdateDefaultStyle(TControl* focused)
{
    if (!HandleAllocated())
        return;
    bool active = focused == this || (FDefault && !dynamic_cast<TButton*>(focused));
    LONG_PTR style = GetWindowLongPtrA(WindowHandle(), GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_OWNERDRAW) {
        Invalidate();
        return;
    }
    SendMessageA(WindowHandle(), BM_SETSTYLE, active ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool TButton::IsActiveDefault()
{
    TCustomForm* form = GetParentForm(this);
    TWinControl* focused = form ? form->ActiveControl() : nullptr;
    return focused == this || (FDefault && !dynamic_cast<TButton*>(focused));
}

void TButton::Click()
{
    TCustomForm* form = GetParentForm(this);
    if (form && FModalResult != 0)
        form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED)
            Click();
        return;
    case CM_DIALOGKEY:
        CMDialogKey(m);
        return;
    case CM_DIALOGCHAR:
        CMDialogChar(m);
        return;
    case CM_FOCUSCHANGED:
        UpdateDefaultStyle(reinterpret_cast<TControl*>(m.LParam));
        return;
    }
    TButtonControl::WndProc(m);
}

void TButton::CMDialogKey(TMessage& m)
{
    bool enter = m.WParam == VK_RETURN && IsActiveDefault();
    bool escape = m.WParam == VK_ESCAPE && FCancel;
    if ((enter || escape) && ModifierKeys(KeyDataToShiftState(m.LParam)) == 0 && CanFocus()) {
        Click();
        m.Result = 1;
    }
}

void TButton::CMDialogChar(TMessage& m)
{
    if (IsAccelerator(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
    }
}

// ---------------------------------------------------------------------------
// TCheckBox

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::CreateParams(TCreateParams& params)
{
    TButtonControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= (FAllowGrayed ? BS_3STATE : BS_CHECKBOX) | ButtonTextAlignment(FAlignment);
}

void TCheckBox::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessageA(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(FState), 0);
}

void TCheckBox::SetState(TCheckBoxState value)
{
    if (value == FState)
        return;
    FState = value;
    if (HandleAllocated())
        SendMessageA(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(value), 0);
    if (!ClicksDisabled())
        Click();
}

void TCheckBox::SetChecked(bool value)
{
    SetState(value ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
}

void TCheckBox::SetAllowGrayed(bool value)
{
    SetWindowStyleProperty(FAllowGrayed, value);
}

void TCheckBox::SetAlignment(TAlignment value)
{
    SetWindowStyleProperty(FAlignment, value);
}

TCheckBoxState NextCheckBoxState(TCheckBoxState state, bool allowGrayed)
{
    switch (state) {
    case TCheckBoxState::cbUnchecked:
        return allowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked;
    case TCheckBoxState::cbChecked:
        return TCheckBoxState::cbUnchecked;
    case TCheckBoxState::cbGrayed:
        break;
    }
    return TCheckBoxState::cbChecked;
}

void TCheckBox::Toggle()
{
    SetState(NextCheckBoxState(FState, FAllowGrayed));
}

void TCheckBox::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED)
            Toggle();
        return;
    case CM_DIALOGCHAR:
        if (IsAccelerator(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
            SetFocus();
            Toggle();
            m.Result = 1;
        }
        return;
    }
    TButtonControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& params)
{
    TButtonControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= BS_RADIOBUTTON | ButtonTextAlignment(FAlignment);
}

void TRadioButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessageA(WindowHandle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    SetTabStop(value);
    if (HandleAllocated())
        SendMessageA(WindowHandle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value)
        return;
    if (Parent()) {
        for (int i = 0; i < Parent()->ControlCount(); ++i) {
            auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
            if (sibling && sibling != this)
                sibling->SetChecked(false);
        }
    }
    if (!ClicksDisabled())
        Click();
}

void TRadioButton::SetAlignment(TAlignment value)
{
    SetWindowStyleProperty(FAlignment, value);
}

void TRadioButton::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == BN_CLICKED)
            SetChecked(true);
        else if (HIWORD(m.WParam) == BN_DOUBLECLICKED)
            DblClick();
        return;
    case CM_DIALOGCHAR:
        if (IsAccelerator(static_cast<char>(m.WParam), Caption()) && CanFocus()) {
            SetFocus();
            SetChecked(true);
            m.Result = 1;
        }
        return;
    }
    TButtonControl::WndProc(m);
}

// ---------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetControlStyle(csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks);
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, "EDIT");
    params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (FBorderStyle == TBorderStyle::bsSingle)
        params.ExStyle |= WS_EX_CLIENTEDGE;
    if (FReadOnly)
        params.Style |= ES_READONLY;
    if (!FHideSelection)
        params.Style |= ES_NOHIDESEL;
    if (FCharCase == TEditCharCase::ecUpperCase)
        params.Style |= ES_UPPERCASE;
    else if (FCharCase == TEditCharCase::ecLowerCase)
        params.Style |= ES_LOWERCASE;
    if (FAlignment == TAlignment::taRightJustify)
        params.Style |= ES_RIGHT;
    else if (FAlignment == TAlignment::taCenter)
        params.Style |= ES_CENTER;
    if (FPasswordChar)
        params.Style |= ES_PASSWORD;
}

void TCustomEdit::CreateWnd()
{
    {
        FCreatingWindow = true;
        TScopeExit created([this] { FCreatingWindow = false; });
        TWinControl::CreateWnd();
    }
    HWND window = WindowHandle();
    SendMessageA(window, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    if (FPasswordChar)
        SendMessageA(window, EM_SETPASSWORDCHAR, static_cast<unsigned char>(FPasswordChar), 0);
    SendMessageA(window, EM_SETMODIFY, FModifiedSaved, 0);
}

void TCustomEdit::DestroyWnd()
{
    FModifiedSaved = Modified();
    TWinControl::DestroyWnd();
}

void TCustomEdit::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        if (HIWORD(m.WParam) == EN_CHANGE && !FCreatingWindow) {
            if (FInSetText)
                FChangeDuringSetText = true;
            Change();
        }
        return;
    case WM_SETTEXT:
        if (HandleAllocated()) {
            FInSetText = true;
            FChangeDuringSetText = false;
            {
                TScopeExit set([this] { FInSetText = false; });
                TWinControl::WndProc(m);
            }
            FChangePending = !FChangeDuringSetText;
            return;
        }
        break;
    case CM_TEXTCHANGED:
        TWinControl::WndProc(m);
        // The system reports programmatic writes to single-line edits only:
        // report the others (and writes before the window exists) here.
        if (!HandleAllocated() || FChangePending) {
            FChangePending = false;
            Change();
        }
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::DoEnter()
{
    if (FAutoSelect && !(ControlState() & csLButtonDown) && HandleAllocated() &&
        !(GetWindowLongPtrA(WindowHandle(), GWL_STYLE) & ES_MULTILINE))
        SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::SetMaxLength(int value)
{
    FMaxLength = std::max(value, 0);
    if (HandleAllocated())
        SendMessageA(WindowHandle(), EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
}

void TCustomEdit::SetReadOnly(bool value)
{
    FReadOnly = value;
    if (HandleAllocated())
        SendMessageA(WindowHandle(), EM_SETREADONLY, value, 0);
}

void TCustomEdit::ApplyCharCase()
{
    AnsiString text = Text();
    if (text.empty() || FCharCase == TEditCharCase::ecNormal)
        return;
    AnsiString converted = text;
    if (FCharCase == TEditCharCase::ecUpperCase)
        CharUpperBuffA(converted.data(), static_cast<DWORD>(converted.size()));
    else
        CharLowerBuffA(converted.data(), static_cast<DWORD>(converted.size()));
    SetText(converted);
}

void TCustomEdit::SetCharCase(TEditCharCase value)
{
    SetWindowStyleProperty(FCharCase, value);
    ApplyCharCase();
}

void TCustomEdit::SetPasswordChar(char value)
{
    SetWindowStyleProperty(FPasswordChar, value);
}

void TCustomEdit::SetHideSelection(bool value)
{
    SetWindowStyleProperty(FHideSelection, value);
}

void TCustomEdit::SetBorderStyle(TBorderStyle value)
{
    SetWindowStyleProperty(FBorderStyle, value);
}

void TCustomEdit::SetAlignment(TAlignment value)
{
    SetWindowStyleProperty(FAlignment, value);
}

bool TCustomEdit::Modified()
{
    if (!HandleAllocated())
        return FModifiedSaved;
    return SendMessageA(WindowHandle(), EM_GETMODIFY, 0, 0) != 0;
}

void TCustomEdit::SetModified(bool value)
{
    FModifiedSaved = value;
    if (HandleAllocated())
        SendMessageA(WindowHandle(), EM_SETMODIFY, value, 0);
}

int TCustomEdit::SelStart()
{
    DWORD start = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int value)
{
    SendMessageA(Handle(), EM_SETSEL, value, value);
}

int TCustomEdit::SelLength()
{
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int value)
{
    DWORD start = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    SendMessageA(WindowHandle(), EM_SETSEL, start, start + std::max(value, 0));
}

AnsiString TCustomEdit::SelText()
{
    int start = SelStart();
    int length = SelLength();
    return Text().substr(start, length);
}

void TCustomEdit::SetSelText(const AnsiString& value)
{
    SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomEdit::SelectAll()
{
    if (HandleAllocated())
        SendMessageA(WindowHandle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection()
{
    SendMessageA(Handle(), WM_CLEAR, 0, 0);
}

void TCustomEdit::CopyToClipboard()
{
    SendMessageA(Handle(), WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard()
{
    SendMessageA(Handle(), WM_CUT, 0, 0);
}

void TCustomEdit::PasteFromClipboard()
{
    SendMessageA(Handle(), WM_PASTE, 0, 0);
}

void TCustomEdit::Undo()
{
    SendMessageA(Handle(), WM_UNDO, 0, 0);
}

bool TCustomEdit::CanUndo()
{
    return HandleAllocated() && SendMessageA(WindowHandle(), EM_CANUNDO, 0, 0) != 0;
}

// ---------------------------------------------------------------------------
// TComboBoxStrings

HWND TComboBoxStrings::Window() const
{
    return FComboBox->WindowHandle();
}

void TComboBoxStrings::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

int TComboBoxStrings::Count() const
{
    if (!Window())
        return static_cast<int>(FSaved.size());
    return static_cast<int>(SendMessageA(Window(), CB_GETCOUNT, 0, 0));
}

AnsiString TComboBoxStrings::Strings(int Index) const
{
    CheckIndex(Index);
    if (!Window())
        return FSaved[Index].first;
    auto length = SendMessageA(Window(), CB_GETLBTEXTLEN, Index, 0);
    if (length <= 0)
        return "";
    AnsiString text(static_cast<size_t>(length) + 1, '\0');
    length = SendMessageA(Window(), CB_GETLBTEXT, Index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::max<LRESULT>(length, 0));
    return text;
}

TObject* TComboBoxStrings::Objects(int Index) const
{
    CheckIndex(Index);
    if (!Window())
        return FSaved[Index].second;
    return reinterpret_cast<TObject*>(SendMessageA(Window(), CB_GETITEMDATA, Index, 0));
}

void TComboBoxStrings::SetObjects(int Index, TObject* AObject)
{
    CheckIndex(Index);
    if (!Window())
        FSaved[Index].second = AObject;
    else
        SendMessageA(Window(), CB_SETITEMDATA, Index, reinterpret_cast<LPARAM>(AObject));
}

int TComboBoxStrings::AddObject(const AnsiString& S, TObject* AObject)
{
    if (!Window()) {
        int index = static_cast<int>(FSaved.size());
        if (FComboBox->Sorted()) {
            auto at = std::find_if(FSaved.begin(), FSaved.end(), [&](const auto& item) {
                return CompareStrings(item.first, S) > 0;
            });
            index = static_cast<int>(at - FSaved.begin());
        }
        FSaved.insert(FSaved.begin() + index, {S, AObject});
        return index;
    }
    auto index = static_cast<int>(
        SendMessageA(Window(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str())));
    if (index < 0)
        throw EOutOfMemory("The combo box cannot take more items");
    SendMessageA(Window(), CB_SETITEMDATA, index, reinterpret_cast<LPARAM>(AObject));
    return index;
}

void TComboBoxStrings::Insert(int Index, const AnsiString& S)
{
    if (Index < 0 || Index > Count())
        throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
    if (!Window()) {
        FSaved.insert(FSaved.begin() + Index, {S, nullptr});
        return;
    }
    if (SendMessageA(Window(), CB_INSERTSTRING, Index, reinterpret_cast<LPARAM>(S.c_str())) < 0)
        throw EOutOfMemory("The combo box cannot take more items");
}

void TComboBoxStrings::Delete(int Index)
{
    CheckIndex(Index);
    if (!Window())
        FSaved.erase(FSaved.begin() + Index);
    else
        SendMessageA(Window(), CB_DELETESTRING, Index, 0);
}

void TComboBoxStrings::Clear()
{
    FSaved.clear();
    if (Window()) {
        AnsiString text = FComboBox->Text();
        SendMessageA(Window(), CB_RESETCONTENT, 0, 0);
        if (FComboBox->Style() != TComboBoxStyle::csDropDownList)
            SetWindowTextA(Window(), text.c_str());
    }
    FComboBox->FSavedIndex = -1;
}

int TComboBoxStrings::IndexOf(const AnsiString& S) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Strings(i), S) == 0)
            return i;
    return -1;
}

void TComboBoxStrings::SetUpdateState(bool Updating)
{
    if (Window()) {
        SendMessageA(Window(), WM_SETREDRAW, !Updating, 0);
        if (!Updating)
            InvalidateRect(Window(), nullptr, TRUE);
    }
}

// ---------------------------------------------------------------------------
// TComboBox

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner)
{
    FItems = new TComboBoxStrings(this);
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 145, 21);
}

TComboBox::~TComboBox()
{
    delete FItems;
    FItems = nullptr;
}

void TComboBox::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, "COMBOBOX");
    params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
    switch (FStyle) {
    case TComboBoxStyle::csDropDown:
        params.Style |= CBS_DROPDOWN;
        break;
    case TComboBoxStyle::csSimple:
        params.Style |= CBS_SIMPLE;
        break;
    case TComboBoxStyle::csDropDownList:
        params.Style |= CBS_DROPDOWNLIST;
        break;
    }
    if (FSorted)
        params.Style |= CBS_SORT;
    if (FStyle != TComboBoxStyle::csSimple)
        params.Height = Height() + DropDownHeight();
}

int TComboBox::DropDownHeight()
{
    int itemHeight = std::abs(Font()->Height()) + 4;
    return std::max(FDropDownCount, 1) * itemHeight + 2;
}

void TComboBox::CreateWnd()
{
    AnsiString text = FText;
    TWinControl::CreateWnd();
    HWND window = WindowHandle();
    // A sorted box may place the items elsewhere: the selection follows its item.
    int selected = -1;
    for (size_t i = 0; i < FItems->FSaved.size(); ++i) {
        const auto& item = FItems->FSaved[i];
        auto index =
            SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.first.c_str()));
        if (index >= 0)
            SendMessageA(window, CB_SETITEMDATA, index, reinterpret_cast<LPARAM>(item.second));
        if (static_cast<int>(i) == FSavedIndex)
            selected = static_cast<int>(index);
    }
    FItems->FSaved.clear();
    FSavedIndex = selected;
    if (FMaxLength > 0)
        SendMessageA(window, CB_LIMITTEXT, FMaxLength, 0);
    SendMessageA(window, CB_SETMINVISIBLE, std::max(FDropDownCount, 1), 0);
    if (FSavedIndex >= 0)
        SendMessageA(window, CB_SETCURSEL, FSavedIndex, 0);
    else if (FStyle != TComboBoxStyle::csDropDownList)
        SetWindowTextA(window, text.c_str());
}

void TComboBox::DestroyWnd()
{
    HWND window = WindowHandle();
    FItems->FSaved.clear();
    auto count = SendMessageA(window, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        TComboBoxStrings& items = *FItems;
        AnsiString s = items.Strings(static_cast<int>(i));
        auto* object = reinterpret_cast<TObject*>(SendMessageA(window, CB_GETITEMDATA, i, 0));
        items.FSaved.push_back({s, object});
    }
    FSavedIndex = static_cast<int>(SendMessageA(window, CB_GETCURSEL, 0, 0));
    TWinControl::DestroyWnd();
}

void TComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    // The window's height includes the dropped list; the control's height
    // is the closed box the system reports back.
    if (HandleAllocated() && FStyle != TComboBoxStyle::csSimple)
        AHeight += DropDownHeight();
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

int TComboBox::ItemIndex()
{
    if (!HandleAllocated())
        return FSavedIndex;
    return static_cast<int>(SendMessageA(WindowHandle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int value)
{
    if (value < -1 || value >= FItems->Count())
        return;
    if (!HandleAllocated()) {
        FSavedIndex = value;
        FText = value >= 0 ? FItems->Strings(value) : AnsiString();
        return;
    }
    if (ItemIndex() != value)
        SendMessageA(WindowHandle(), CB_SETCURSEL, value, 0);
}

void TComboBox::SetStyle(TComboBoxStyle value)
{
    SetWindowStyleProperty(FStyle, value);
}

void TComboBox::SetSorted(bool value)
{
    SetWindowStyleProperty(FSorted, value);
}

void TComboBox::SetDropDownCount(int value)
{
    FDropDownCount = std::max(value, 1);
    if (HandleAllocated())
        SendMessageA(WindowHandle(), CB_SETMINVISIBLE, FDropDownCount, 0);
}

void TComboBox::SetMaxLength(int value)
{
    FMaxLength = std::max(value, 0);
    if (HandleAllocated())
        SendMessageA(WindowHandle(), CB_LIMITTEXT, FMaxLength, 0);
}

bool TComboBox::DroppedDown()
{
    return HandleAllocated() && SendMessageA(WindowHandle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TComboBox::SetDroppedDown(bool value)
{
    SendMessageA(Handle(), CB_SHOWDROPDOWN, value, 0);
}

void TComboBox::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case CN_COMMAND:
        switch (HIWORD(m.WParam)) {
        case CBN_EDITCHANGE:
            Change();
            break;
        case CBN_SELCHANGE:
            Click();
            Select();
            break;
        case CBN_DROPDOWN:
            if (OnDropDown)
                OnDropDown(this);
            break;
        case CBN_CLOSEUP:
            if (OnCloseUp)
                OnCloseUp(this);
            break;
        case CBN_DBLCLK:
            DblClick();
            break;
        }
        return;
    case CM_TEXTCHANGED:
        TWinControl::WndProc(m);
        Change();
        return;
    }
    TWinControl::WndProc(m);
}

void TComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}
