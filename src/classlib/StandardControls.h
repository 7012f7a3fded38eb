// The standard controls over the system's window classes (the common
// controls version 6 through the manifest).
//
//   TButtonControl   base of buttons, check boxes and radio buttons
//   TButton          a push button: Default takes Enter, Cancel takes Escape,
//                    ModalResult closes a modal form; owner-drawn buttons
//                    derive from it (BS_OWNERDRAW in CreateParams, CN_DRAWITEM)
//   TCheckBox        checked, unchecked or greyed; setting the state clicks
//   TRadioButton     checking one unchecks its siblings; setting it clicks
//   TCustomEdit      a single-line (or, for derived classes, multi-line) edit:
//                    OnChange for typing and for every programmatic write,
//                    MaxLength, ReadOnly, CharCase, selection, clipboard
//   TEdit            the edit the program's windows use
//   TComboBox        a drop-down list or combo with Items (TStrings)
//
// Each wrapper keeps no copy of what the window holds while the window
// exists; what it must keep across a RecreateWnd it saves in DestroyWnd.
#pragma once

#include "StringList.h"
#include "WinControl.h"

#include <vector>

class TButtonControl : public TWinControl
{
public:
    explicit TButtonControl(TComponent* AOwner);
    virtual bool Checked() { return false; }
    virtual void SetChecked(bool) {}

protected:
    // Setting Checked clicks, as a person's click would; code that sets it
    // without wanting the click holds ClicksDisabled.
    bool ClicksDisabled() const { return FClicksDisabled; }
    void SetClicksDisabled(bool value) { FClicksDisabled = value; }
    TControlActionLink* CreateActionLink() override;
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    friend class TButtonActionLink;

private:
    bool FClicksDisabled = false;
};

class TButtonActionLink : public TControlActionLink
{
public:
    using TControlActionLink::TControlActionLink;
    bool IsCheckedLinked() override;
    void SetChecked(bool value) override;
};

class TButton : public TButtonControl
{
public:
    explicit TButton(TComponent* AOwner);

    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    // Given to the parent form on a click (when not mrNone).
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    void Click() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    // This button takes Enter now: it has the focus, or it is the default
    // and the focused control is not a button.
    bool IsActiveDefault();

private:
    void CMDialogKey(TMessage& m);
    void CMDialogChar(TMessage& m);
    void UpdateDefaultStyle(TControl* focused);

    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
};

enum class TCheckBoxState
{
    cbUnchecked,
    cbChecked,
    cbGrayed
};

// The state a click gives a check box: unchecked, grayed (when allowed),
// checked, unchecked.
TCheckBoxState NextCheckBoxState(TCheckBoxState state, bool allowGrayed);

class TCheckBox : public TButtonControl
{
public:
    explicit TCheckBox(TComponent* AOwner);

    TCheckBoxState State() const { return FState; }
    // A change clicks (OnClick), unless clicks are disabled.
    void SetState(TCheckBoxState value);
    bool Checked() override { return FState == TCheckBoxState::cbChecked; }
    void SetChecked(bool value) override;
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value);
    // taRightJustify: the box left of the text (the default).
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    virtual void Toggle();

private:
    TCheckBoxState FState = TCheckBoxState::cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = TAlignment::taRightJustify;
};

class TRadioButton : public TButtonControl
{
public:
    explicit TRadioButton(TComponent* AOwner);

    bool Checked() override { return FChecked; }
    // Checking unchecks the radio buttons with the same parent and clicks.
    void SetChecked(bool value) override;
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    bool FChecked = false;
    TAlignment FAlignment = TAlignment::taRightJustify;
};

enum class TEditCharCase
{
    ecNormal,
    ecUpperCase,
    ecLowerCase
};
enum class TBorderStyle
{
    bsNone,
    bsSingle
};

class TCustomEdit : public TWinControl
{
public:
    explicit TCustomEdit(TComponent* AOwner);

    // 0: no limit (characters the system counts: bytes of ANSI text).
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    // Converts the text now and what is typed later.
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // Selects all text when the edit is entered with the keyboard.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    bool Modified();
    void SetModified(bool value);

    // Byte offsets into the ANSI text.
    int SelStart();
    void SetSelStart(int value);
    int SelLength();
    void SetSelLength(int value);
    AnsiString SelText();
    void SetSelText(const AnsiString& value);
    void SelectAll();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    bool CanUndo();
    void Clear() { SetText(""); }

    TNotifyEvent OnChange;
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void DoEnter() override;
    virtual void Change();

private:
    void ApplyCharCase();

    int FMaxLength = 0;
    bool FReadOnly = false;
    TEditCharCase FCharCase = TEditCharCase::ecNormal;
    char FPasswordChar = 0;
    bool FHideSelection = true;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FAutoSelect = true;
    bool FModifiedSaved = false; // Modified across a RecreateWnd
    bool FInSetText = false;     // a WM_SETTEXT is being handled
    bool FChangeDuringSetText = false;
    bool FChangePending = false; // the text was set and the window said nothing
    bool FCreatingWindow = false;
};

class TEdit : public TCustomEdit
{
public:
    using TCustomEdit::TCustomEdit;
};

class TComboBox;

// The items of a combo box: the window's list while it exists.
class TComboBoxStrings : public TStrings
{
public:
    explicit TComboBoxStrings(TComboBox* comboBox) : FComboBox(comboBox) {}
    int Count() const override;
    AnsiString Strings(int Index) const override;
    TObject* Objects(int Index) const override;
    void SetObjects(int Index, TObject* AObject) override;
    int AddObject(const AnsiString& S, TObject* AObject) override;
    void Insert(int Index, const AnsiString& S) override;
    void Delete(int Index) override;
    void Clear() override;
    int IndexOf(const AnsiString& S) const override;

protected:
    void SetUpdateState(bool Updating) override;

private:
    friend class TComboBox;
    HWND Window() const;
    void CheckIndex(int Index) const;

    TComboBox* FComboBox; // not owned: the box that owns these items
    // The items while the box has no window (and across a RecreateWnd).
    std::vector<std::pair<AnsiString, TObject*>> FSaved;
};

enum class TComboBoxStyle
{
    csDropDown,
    csSimple,
    csDropDownList
};

class TComboBox : public TWinControl
{
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;

    TStrings* Items() const { return FItems; }
    // -1: none selected.
    int ItemIndex();
    void SetItemIndex(int value);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    bool DroppedDown();
    void SetDroppedDown(bool value);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // Typing in the edit part (and setting Text).
    TNotifyEvent OnChange;
    // A new item chosen from the list; without OnSelect, OnChange runs.
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    void WndProc(TMessage& message) override;

protected:
    friend class TComboBoxStrings;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    virtual void Change();
    virtual void Select();

private:
    int DropDownHeight();

    TComboBoxStrings* FItems; // owned
    TComboBoxStyle FStyle = TComboBoxStyle::csDropDown;
    bool FSorted = false;
    int FDropDownCount = 8;
    int FMaxLength = 0;
    int FSavedIndex = -1; // ItemIndex while there is no window
};
