// Forms: the top-level windows of the program.
//
//   TCustomForm  a top-level window with a border style, position, window
//                state, a main menu, the active control (focus is tracked
//                from the controls' WM_SETFOCUS; OnEnter and OnExit fire as
//                it moves inside the form, never around other windows),
//                dialog keys (Tab and Shift+Tab in tab order, Enter to the
//                default button, Escape to the cancel button, for controls
//                whose WM_GETDLGCODE does not claim them), key preview,
//                shortcuts (its action lists first, then its menu), and
//                ShowModal with a loop of its own
//   TForm        the form the program's windows derive from
//
// A form built in code creates its controls in its constructor and ends it
// with FinishLoading(): that runs every component's Loaded and then
// OnCreate (a form that never calls it gets OnCreate before its first
// show). OnDestroy runs in BeforeDestruction, while the form and its child
// windows still exist: free forms with FreeAndNil, Release or their owner
// (a plain delete runs it only after the derived class is gone).
//
// ShowModal calls the modal seam once the form shows, inside the loop: a
// test driver answers the form by setting ModalResult there.
#pragma once

#include "WinControl.h"

class TMainMenu;

enum class TFormBorderStyle
{
    bsNone,
    bsSingle,
    bsSizeable,
    bsDialog,
    bsToolWindow,
    bsSizeToolWin
};
enum TBorderIcon : unsigned
{
    biSystemMenu = 1,
    biMinimize = 2,
    biMaximize = 4,
    biHelp = 8
};
using TBorderIcons = unsigned;
enum class TPosition
{
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum class TWindowState
{
    wsNormal,
    wsMinimized,
    wsMaximized
};
enum class TFormStyle
{
    fsNormal,
    fsStayOnTop
};
enum class TCloseAction
{
    caNone,
    caHide,
    caFree,
    caMinimize
};

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;
constexpr TModalResult mrCancel = IDCANCEL;
constexpr TModalResult mrAbort = IDABORT;
constexpr TModalResult mrRetry = IDRETRY;
constexpr TModalResult mrIgnore = IDIGNORE;
constexpr TModalResult mrYes = IDYES;
constexpr TModalResult mrNo = IDNO;
constexpr TModalResult mrAll = mrNo + 1;
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;
// Key, Shift, Handled.
using TShortCutEvent = TEvent<WORD, TShiftState, bool&>;

class TCustomForm : public TWinControl
{
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;
    void BeforeDestruction() override;

    // --- Showing and closing
    void Show();
    int ShowModal();
    bool Modal() const { return FModal; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // Asks OnCloseQuery, then OnClose decides: hide (the default), free,
    // minimise or nothing. The main form's close ends the application; a
    // modal form's close sets ModalResult to mrCancel.
    void Close();
    virtual bool CloseQuery();
    // Frees the form once the messages queued now are handled.
    void Release();
    // Its window is the active window.
    bool Active() const;

    // --- Appearance
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    // The registered window-class name; empty: the C++ class name.
    const AnsiString& WindowClassName() const { return FWindowClassName; }
    void SetWindowClassName(const AnsiString& value);
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* value);
    TCanvas* Canvas() const { return FCanvas; }
    TRect ClientRect() override;

    // --- Focus and keys
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* value) { FocusControl(value); }
    // Focuses the control now when the form is active, else when it next is.
    void FocusControl(TWinControl* control);
    // Called when a control of this form takes the focus.
    void SetFocusedControl(TWinControl* control);
    TWinControl* FocusedControl() const { return FFocusedControl; }
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    // OnShortCut, then the form's action lists, then its main menu.
    virtual bool IsShortCut(WORD key, TShiftState shift);
    // Forgets a control that leaves the form.
    void ControlRemoving(TControl* control);

    // Runs the update of every action the form shows (the idle loop).
    void UpdateActions();

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

    void WndProc(TMessage& message) override;

protected:
    friend class TWinControl;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void PaintWindow(HDC dc) override;
    virtual void DoCreate();
    virtual void DoDestroy();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();

private:
    void WMActivate(TMessage& m);
    void WMClose(TMessage& m);
    void WMGetMinMaxInfo(TMessage& m);
    void WMSysCommand(TMessage& m);
    void WMInitMenuPopup(TMessage& m);
    void CMShowingChanged(TMessage& m);
    void CMDialogKey(TMessage& m);
    // Shows the form and serves messages until its ModalResult is set.
    void RunModalLoop();
    void CloseModal();
    void ApplyPosition();
    void FocusFirstControl();
    // Gives the focus back to the active control (or its focus target);
    // false when there is none that can take it.
    bool RestoreActiveControlFocus();

    TFormBorderStyle FBorderStyle = TFormBorderStyle::bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = TPosition::poDesigned;
    TWindowState FWindowState = TWindowState::wsNormal; // wanted before the first show
    TFormStyle FFormStyle = TFormStyle::fsNormal;
    AnsiString FWindowClassName;
    TMainMenu* FMenu = nullptr;             // not owned; free-notified
    TControlCanvas* FCanvas;                // owned
    TWinControl* FActiveControl = nullptr;  // not owned; focused when the form is active
    TWinControl* FFocusedControl = nullptr; // not owned; the control with the focus now
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FKeyPreview = false;
    bool FCreated = false;         // OnCreate ran
    bool FDestroyed = false;       // OnDestroy ran
    bool FPositionApplied = false; // Position was applied at the first show
};

class TForm : public TCustomForm
{
public:
    using TCustomForm::TCustomForm;
};
