#include "Form.h"

#include "Application.h"
#include "Exceptions.h"
#include "Menu.h"
#include "ScopeExit.h"
#include "Screen.h"
#include "Seams.h"

#include <algorithm>
#include <vector>

namespace {

struct DisabledWindows
{
    HWND Except;
    std::vector<HWND> Windows;
};

BOOL CALLBACK DisableTaskWindow(HWND window, LPARAM data)
{
    auto* state = reinterpret_cast<DisabledWindows*>(data);
    if (window != state->Except && IsWindowVisible(window) && IsWindowEnabled(window)) {
        state->Windows.push_back(window);
        EnableWindow(window, FALSE);
    }
    return TRUE;
}

// Disables the thread's other top-level windows for a modal loop.
std::vector<HWND> DisableTaskWindows(HWND except)
{
    DisabledWindows state{except, {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableTaskWindow, reinterpret_cast<LPARAM>(&state));
    return state.Windows;
}

// Whether the program was started with a show command other than a plain
// show; the system may apply it to the first ShowWindow call.
bool StartedWithOwnShowCommand()
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    if (!(startup.dwFlags & STARTF_USESHOWWINDOW))
        return false;
    switch (startup.wShowWindow) {
    case SW_SHOWNORMAL:
    case SW_SHOW:
    case SW_SHOWDEFAULT:
        return false;
    default:
        return true;
    }
}

// Shows a hidden top-level window in its normal state, as ShowWindow does,
// but leaves the erase of the window and its children to their first paint.
// ShowWindow erases every child at once, one call to the window server
// after another, before the caller's next work (a file opened just after
// the show) can reach the screen.
void ShowNormalErasingLater(HWND window)
{
    SendMessageA(window, WM_SHOWWINDOW, TRUE, 0);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_DEFERERASE);
}

// Shows a form's hidden window by the show command.
void ShowFormWindow(HWND window, int command)
{
    const bool plainTopLevel = command == SW_SHOWNORMAL &&
                               !(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) &&
                               !IsIconic(window) && !IsZoomed(window);
    if (plainTopLevel && !StartedWithOwnShowCommand())
        ShowNormalErasingLater(window);
    else
        ShowWindow(window, command);
}

void EnableTaskWindows(const std::vector<HWND>& windows)
{
    for (HWND w : windows)
        if (IsWindow(w))
            EnableWindow(w, TRUE);
}

// The application a form belongs to: the one that made it (CreateForm),
// else the program's.
TApplication* ApplicationOf(TCustomForm* form)
{
    auto* owner = dynamic_cast<TApplication*>(form->Owner());
    return owner ? owner : Application;
}

} // namespace

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner)
{
    FCanvas = new TControlCanvas;
    FCanvas->SetControl(this);
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption |
                    csDoubleClicks);
    SetVisible(false);
    SetParentFont(false);
    SetBounds(100, 100, 320, 240);
    if (Screen)
        Screen->AddForm(this);
    if (auto* maker = dynamic_cast<TApplication*>(AOwner))
        maker->FormConstructing(this);
}

TCustomForm::~TCustomForm()
{
    if (!FDestroyed)
        BeforeDestruction();
    if (TApplication* application = ApplicationOf(this))
        application->FormDestroying(this);
    if (Screen)
        Screen->RemoveForm(this);
    if (FMenu && WindowHandle())
        ::SetMenu(WindowHandle(), nullptr);
    delete FCanvas;
    FCanvas = nullptr;
}

void TCustomForm::BeforeDestruction()
{
    if (FDestroyed)
        return;
    FDestroyed = true;
    Destroying();
    DoDestroy();
}

void TCustomForm::Loaded()
{
    TWinControl::Loaded();
    DoCreate();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FMenu) {
        if (WindowHandle())
            ::SetMenu(WindowHandle(), nullptr);
        FMenu = nullptr;
    }
}

// ---------------------------------------------------------------------------
// Events

void TCustomForm::DoCreate()
{
    if (FCreated)
        return;
    FCreated = true;
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::DoDestroy()
{
    if (OnDestroy)
        OnDestroy(this);
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action)
{
    if (OnClose)
        OnClose(this, action);
}

void TCustomForm::Activate()
{
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (OnDeactivate)
        OnDeactivate(this);
}

// ---------------------------------------------------------------------------
// Window

void TCustomForm::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    params.ExStyle = 0;
    if (Parent()) {
        params.Style |= WS_CHILD;
    } else {
        params.WndParent = Application ? Application->Handle() : nullptr;
        switch (FBorderStyle) {
        case TFormBorderStyle::bsNone:
            params.Style |= WS_POPUP;
            break;
        case TFormBorderStyle::bsSingle:
            params.Style |= WS_CAPTION | WS_BORDER;
            break;
        case TFormBorderStyle::bsSizeable:
            params.Style |= WS_CAPTION | WS_THICKFRAME;
            break;
        case TFormBorderStyle::bsDialog:
            params.Style |= WS_POPUP | WS_CAPTION;
            params.ExStyle |= WS_EX_DLGMODALFRAME;
            break;
        case TFormBorderStyle::bsToolWindow:
            params.Style |= WS_CAPTION;
            params.ExStyle |= WS_EX_TOOLWINDOW;
            break;
        case TFormBorderStyle::bsSizeToolWin:
            params.Style |= WS_CAPTION | WS_THICKFRAME;
            params.ExStyle |= WS_EX_TOOLWINDOW;
            break;
        }
        if (FBorderStyle != TFormBorderStyle::bsNone && (FBorderIcons & biSystemMenu)) {
            params.Style |= WS_SYSMENU;
            bool plain = FBorderStyle == TFormBorderStyle::bsSingle ||
                         FBorderStyle == TFormBorderStyle::bsSizeable;
            if (plain && (FBorderIcons & biMinimize))
                params.Style |= WS_MINIMIZEBOX;
            if (plain && (FBorderIcons & biMaximize))
                params.Style |= WS_MAXIMIZEBOX;
            if (FBorderStyle == TFormBorderStyle::bsDialog && (FBorderIcons & biHelp))
                params.ExStyle |= WS_EX_CONTEXTHELP;
        }
        if (FFormStyle == TFormStyle::fsStayOnTop)
            params.ExStyle |= WS_EX_TOPMOST;
    }
    if (!Enabled())
        params.Style |= WS_DISABLED;
    switch (FPosition) {
    case TPosition::poDefault:
        params.X = params.Y = params.Width = params.Height = CW_USEDEFAULT;
        break;
    case TPosition::poDefaultPosOnly:
        params.X = params.Y = CW_USEDEFAULT;
        break;
    case TPosition::poDefaultSizeOnly:
        params.Width = params.Height = CW_USEDEFAULT;
        break;
    default:
        break;
    }
    params.WindowClass.style = CS_DBLCLKS;
    params.WindowClass.hIcon = ProgramIcon();
    if (!FWindowClassName.empty())
        params.WinClassName = FWindowClassName;
}

void TCustomForm::CreateWnd()
{
    TWinControl::CreateWnd();
    if (FMenu)
        ::SetMenu(WindowHandle(), FMenu->Handle());
}

void TCustomForm::DestroyWnd()
{
    // The system would destroy an attached menu with the window.
    if (FMenu && WindowHandle())
        ::SetMenu(WindowHandle(), nullptr);
    TWinControl::DestroyWnd();
}

TRect TCustomForm::ClientRect()
{
    if (WindowHandle())
        return TWinControl::ClientRect();
    TCreateParams params;
    CreateParams(params);
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, params.Style, FMenu != nullptr, params.ExStyle);
    return TRect(0, 0, std::max<LONG>(Width() - (frame.right - frame.left), 0),
                 std::max<LONG>(Height() - (frame.bottom - frame.top), 0));
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value)
{
    SetWindowStyleProperty(FBorderStyle, value);
}

void TCustomForm::SetBorderIcons(TBorderIcons value)
{
    SetWindowStyleProperty(FBorderIcons, value);
}

void TCustomForm::SetFormStyle(TFormStyle value)
{
    if (value == FFormStyle)
        return;
    FFormStyle = value;
    if (WindowHandle())
        SetWindowPos(WindowHandle(),
                     value == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowClassName(const AnsiString& value)
{
    SetWindowStyleProperty(FWindowClassName, value);
}

TWindowState TCustomForm::WindowState() const
{
    HWND window = WindowHandle();
    if (!window || !IsWindowVisible(window))
        return FWindowState;
    if (IsIconic(window))
        return TWindowState::wsMinimized;
    if (IsZoomed(window))
        return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TCustomForm::SetWindowState(TWindowState value)
{
    FWindowState = value;
    HWND window = WindowHandle();
    if (!window || !IsWindowVisible(window))
        return;
    switch (value) {
    case TWindowState::wsNormal:
        ShowWindow(window, SW_RESTORE);
        break;
    case TWindowState::wsMinimized:
        ShowWindow(window, SW_MINIMIZE);
        break;
    case TWindowState::wsMaximized:
        ShowWindow(window, SW_MAXIMIZE);
        break;
    }
}

void TCustomForm::SetMenu(TMainMenu* value)
{
    if (value == FMenu)
        return;
    if (FMenu) {
        FMenu->SetWindowHandle(nullptr);
        FMenu->RemoveFreeNotification(this);
    }
    FMenu = value;
    if (FMenu) {
        FMenu->FreeNotification(this);
        if (WindowHandle())
            FMenu->SetWindowHandle(WindowHandle());
    }
    if (WindowHandle()) {
        ::SetMenu(WindowHandle(), FMenu ? FMenu->Handle() : nullptr);
        Realign();
    }
}

void TCustomForm::PaintWindow(HDC dc)
{
    if (!OnPaint)
        return;
    TCanvasDCScope paint(FCanvas, dc);
    OnPaint(this);
}

bool TCustomForm::Active() const
{
    return WindowHandle() && GetActiveWindow() == WindowHandle();
}

// ---------------------------------------------------------------------------
// Showing and closing

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::ApplyPosition()
{
    if (FPositionApplied)
        return;
    FPositionApplied = true;
    TRect area = Screen ? Screen->WorkAreaRect() : TRect(0, 0, 1024, 768);
    TCustomForm* around = nullptr;
    switch (FPosition) {
    case TPosition::poMainFormCenter:
        around = Application ? Application->MainForm() : nullptr;
        break;
    case TPosition::poOwnerFormCenter:
        around = dynamic_cast<TCustomForm*>(Owner());
        if (!around && Application)
            around = Application->MainForm();
        break;
    case TPosition::poScreenCenter:
    case TPosition::poDesktopCenter:
        break;
    default:
        return;
    }
    if (around && around != this && around->WindowHandle())
        area = around->BoundsRect();
    SetBounds(area.left + (area.Width() - Width()) / 2, area.top + (area.Height() - Height()) / 2,
              Width(), Height());
}

void TCustomForm::CMShowingChanged(TMessage&)
{
    HWND window = WindowHandle();
    if (!window)
        return;
    if (Visible()) {
        DoCreate();
        DoShow();
        ApplyPosition();
        int command = SW_SHOWNORMAL;
        if (FWindowState == TWindowState::wsMaximized)
            command = SW_SHOWMAXIMIZED;
        else if (FWindowState == TWindowState::wsMinimized)
            command = SW_SHOWMINIMIZED;
        if (!IsWindowVisible(window))
            ShowFormWindow(window, command);
    } else {
        DoHide();
        if (IsWindowVisible(window))
            ShowWindow(window, SW_HIDE);
    }
}

int TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || FModal)
        throw EInvalidOperation("Cannot make a visible window modal");
    if (GetCapture())
        SendMessageA(GetCapture(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    if (Application)
        Application->CancelHint();
    HWND activeBefore = GetActiveWindow();
    FModal = true;
    FModalResult = mrNone;
    std::vector<HWND> disabled = DisableTaskWindows(Handle());
    {
        TScopeExit hidden([this] {
            FModal = false;
            Hide();
        });
        {
            TScopeExit enabled([&disabled] { EnableTaskWindows(disabled); });
            RunModalLoop();
        }
        if (activeBefore && IsWindow(activeBefore))
            SetActiveWindow(activeBefore);
    }
    return FModalResult;
}

void TCustomForm::RunModalLoop()
{
    Show();
    SetForegroundWindow(WindowHandle());
    bool driverCalled = false;
    do {
        if (!driverCalled) {
            driverCalled = true;
            Seams().ModalShown(this);
        }
        if (FModalResult == mrNone && Application)
            Application->HandleMessage();
        if (Application && Application->Terminated())
            FModalResult = mrCancel;
        else if (FModalResult != mrNone)
            CloseModal();
    } while (FModalResult == mrNone);
}

void TCustomForm::CloseModal()
{
    TCloseAction action = TCloseAction::caNone;
    if (CloseQuery()) {
        action = TCloseAction::caHide;
        DoClose(action);
    }
    if (action == TCloseAction::caNone)
        FModalResult = mrNone;
    else if (action == TCloseAction::caFree)
        Release();
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = TCloseAction::caHide;
    DoClose(action);
    if (action == TCloseAction::caNone)
        return;
    TApplication* application = ApplicationOf(this);
    if (application && application->MainForm() == this) {
        application->Terminate();
        return;
    }
    switch (action) {
    case TCloseAction::caHide:
        Hide();
        break;
    case TCloseAction::caMinimize:
        SetWindowState(TWindowState::wsMinimized);
        break;
    case TCloseAction::caFree:
        Release();
        break;
    default:
        break;
    }
}

void TCustomForm::Release()
{
    if (TApplication* application = ApplicationOf(this))
        application->ReleaseForm(this);
}

// ---------------------------------------------------------------------------
// Focus

void TCustomForm::FocusControl(TWinControl* control)
{
    if (control && (control == this || !ContainsControl(control)))
        return;
    if (control && !control->CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = control;
    if (control && Active() && control->Handle() && GetFocus() != control->WindowHandle())
        ::SetFocus(control->WindowHandle());
}

void TCustomForm::SetFocusedControl(TWinControl* control)
{
    if (control == FFocusedControl || (control && !ContainsControl(control)))
        return;
    TWinControl* previous = FFocusedControl;
    FFocusedControl = control;
    if (control && control != this)
        FActiveControl = control;
    if (Screen)
        Screen->FocusChanged(this, FActiveControl);
    // Leave the controls that do not contain the new one, innermost first,
    // then enter those that did not contain the old one, outermost first.
    for (TWinControl* c = previous; c && c != this && !c->ContainsControl(control); c = c->Parent())
        c->Perform(CM_EXIT, 0, 0);
    std::vector<TWinControl*> entered;
    for (TWinControl* c = control; c && c != this && !(previous && c->ContainsControl(previous));
         c = c->Parent())
        entered.push_back(c);
    for (auto it = entered.rbegin(); it != entered.rend(); ++it)
        if (FFocusedControl == control)
            (*it)->Perform(CM_ENTER, 0, 0);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::ControlRemoving(TControl* control)
{
    auto within = [control](TWinControl* c) {
        for (TControl* p = c; p; p = p->Parent())
            if (p == control)
                return true;
        return false;
    };
    if (within(FActiveControl))
        FActiveControl = nullptr;
    if (within(FFocusedControl))
        FFocusedControl = nullptr;
}

void TCustomForm::FocusFirstControl()
{
    TWinControl* first = FirstFocusTarget();
    if (first && first->Handle())
        ::SetFocus(first->WindowHandle());
}

bool TCustomForm::RestoreActiveControlFocus()
{
    if (!FActiveControl || FActiveControl == this || !FActiveControl->CanFocus())
        return false;
    // The checks may have changed since the control last had the focus.
    TWinControl* target = FActiveControl->FocusTarget();
    if (!target->Handle())
        return false;
    ::SetFocus(target->WindowHandle());
    return true;
}

bool TCustomForm::IsShortCut(WORD key, TShiftState shift)
{
    bool handled = false;
    if (OnShortCut)
        OnShortCut(key, shift, handled);
    if (handled)
        return true;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TActionList*>(Components(i)))
            if (list->IsShortCut(key, shift))
                return true;
    return FMenu && FMenu->IsShortCut(key, shift);
}

void TCustomForm::UpdateActions()
{
    std::vector<TBasicAction*> updated;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TActionList*>(Components(i))) {
            list->UpdateActions();
            for (int a = 0; a < list->ActionCount(); ++a)
                updated.push_back(list->Actions(a));
        }
    auto alreadyUpdated = [&updated](TBasicAction* action) {
        return !action || std::find(updated.begin(), updated.end(), action) != updated.end();
    };
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(Components(i));
        if (control && control->Action() && !alreadyUpdated(control->Action())) {
            updated.push_back(control->Action());
            control->InitiateAction();
        }
    }
    if (FMenu)
        FMenu->UpdateItems();
}

// ---------------------------------------------------------------------------
// Messages

void TCustomForm::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_ACTIVATE:
        WMActivate(m);
        return;
    case WM_CLOSE:
        WMClose(m);
        return;
    case WM_GETMINMAXINFO:
        WMGetMinMaxInfo(m);
        return;
    case WM_SYSCOMMAND:
        WMSysCommand(m);
        return;
    case WM_INITMENUPOPUP:
        WMInitMenuPopup(m);
        return;
    case WM_QUERYENDSESSION:
        m.Result = CloseQuery() ? 1 : 0;
        return;
    case WM_SETFOCUS:
        if (RestoreActiveControlFocus())
            return;
        break;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(m);
        return;
    case CM_DIALOGKEY:
        CMDialogKey(m);
        return;
    }
    TWinControl::WndProc(m);
}

void TCustomForm::WMActivate(TMessage& m)
{
    DefaultHandler(m);
    if (LOWORD(m.WParam) == WA_INACTIVE) {
        Deactivate();
        return;
    }
    if (Screen)
        Screen->FormActivated(this);
    Activate();
    if (HIWORD(m.WParam)) // minimised
        return;
    if (!RestoreActiveControlFocus())
        FocusFirstControl();
}

void TCustomForm::WMClose(TMessage& m)
{
    Close();
    m.Result = 0;
}

void TCustomForm::WMGetMinMaxInfo(TMessage& m)
{
    DefaultHandler(m);
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    TSizeConstraints* c = Constraints();
    if (c->MinWidth() > 0)
        info->ptMinTrackSize.x = c->MinWidth();
    if (c->MinHeight() > 0)
        info->ptMinTrackSize.y = c->MinHeight();
    if (c->MaxWidth() > 0)
        info->ptMaxTrackSize.x = c->MaxWidth();
    if (c->MaxHeight() > 0)
        info->ptMaxTrackSize.y = c->MaxHeight();
    m.Result = 0;
}

void TCustomForm::WMSysCommand(TMessage& m)
{
    if ((m.WParam & 0xFFF0) == SC_KEYMENU && Application &&
        Application->SendAppSysCommand(m.WParam, m.LParam)) {
        m.Result = 0;
        return;
    }
    DefaultHandler(m);
}

void TCustomForm::WMInitMenuPopup(TMessage& m)
{
    if (!HIWORD(m.LParam))
        UpdateMenuPopup(reinterpret_cast<HMENU>(m.WParam));
    DefaultHandler(m);
}

void TCustomForm::CMDialogKey(TMessage& m)
{
    TShiftState shift = KeyDataToShiftState(m.LParam);
    if (!(shift & ssAlt)) {
        switch (m.WParam) {
        case VK_TAB:
            if (!(shift & ssCtrl)) {
                SelectNext(FActiveControl, !(shift & ssShift), true);
                m.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (FActiveControl && FActiveControl->Parent()) {
                FActiveControl->Parent()->SelectNext(
                    FActiveControl, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
                m.Result = 1;
                return;
            }
            break;
        }
    }
    TWinControl::WndProc(m);
}
