#include "Application.h"

#include "Actions.h"
#include "DragManager.h"
#include "Exceptions.h"
#include "Form.h"
#include "HintWindow.h"
#include "Screen.h"
#include "Seams.h"
#include "Thread.h"

#include <algorithm>
#include <commctrl.h>
#include <cstdio>

TApplication* Application = nullptr;

namespace {

const wchar_t* const kAppWindowClass = L"TApplication";
constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;

LRESULT CALLBACK AppWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* application = reinterpret_cast<TApplication*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!application)
        return DefWindowProcW(wnd, msg, wp, lp);
    TMessage message{msg, wp, lp, 0};
    try {
        application->WndProc(message);
    } catch (...) {
        application->HandleException(std::current_exception());
    }
    return message.Result;
}

void InitCommonControlClasses()
{
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES |
                                                   ICC_BAR_CLASSES | ICC_TAB_CLASSES |
                                                   ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&init);
}

} // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    InitMainThread();
    InitCommonControlClasses();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = AppWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kAppWindowClass;
    wc.hIcon = ProgramIcon();
    RegisterClassW(&wc);
    // The application window is Unicode, so that wide characters reach the
    // program through the ANSI message loop.
    FHandle = CreateWindowExW(0, kAppWindowClass, L"",
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    if (FHandle)
        SetWindowLongPtrW(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    AnsiString exe = ExeName();
    auto slash = exe.find_last_of('\\');
    auto dot = exe.find_last_of('.');
    FTitle = exe.substr(slash == AnsiString::npos ? 0 : slash + 1);
    if (dot != AnsiString::npos && dot > slash)
        FTitle = exe.substr(slash + 1, dot - slash - 1);
    if (!Application)
        Application = this;
    if (!Screen)
        new TScreen(this);
}

TApplication::~TApplication()
{
    CancelHint();
    // The forms go first, while the screen and the window still exist.
    Destroying();
    DestroyComponents();
    delete FHintWindow;
    FHintWindow = nullptr;
    if (Application == this)
        Application = nullptr;
    if (FHandle) {
        SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
        DestroyWindow(FHandle);
    }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FMainForm)
        FMainForm = nullptr;
}

void TApplication::SetTitle(const AnsiString& value)
{
    FTitle = value;
    if (FHandle)
        SetWindowTextA(FHandle, value.c_str());
}

AnsiString TApplication::ExeName() const
{
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// ---------------------------------------------------------------------------
// The loop

void TApplication::Run()
{
    if (FMainForm && FShowMainForm && !FTerminated)
        FMainForm->Show();
    while (!FTerminated)
        HandleMessage();
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::ProcessMessagesAndIdle()
{
    ProcessMessages();
    Idle(MSG{});
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg)) {
        Idle(msg);
        if (!FTerminated)
            WaitMessage();
    }
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& msg)
{
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    try {
        bool handled = false;
        if (OnMessage)
            OnMessage(msg, handled);
        if (!handled && !PreProcessMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    } catch (...) {
        HandleException(std::current_exception());
    }
    return true;
}

bool TApplication::PreProcessMessage(MSG& msg)
{
    CancelHintOnInput(msg);
    if (IsKeyMsg(msg))
        return true;
    return FDialogHandle && IsDialogMessageA(FDialogHandle, &msg);
}

bool TApplication::IsKeyMsg(MSG& msg)
{
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
        break;
    default:
        return false;
    }
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        if (DragManagerSource()) {
            DragManagerEnd(false);
            return true;
        }
        // A control that holds the mouse (a splitter being dragged) cancels.
        if (TControl* captured = CaptureControl()) {
            captured->Perform(CM_CANCELMODE, 0, 0);
            SetCaptureControl(nullptr);
            return true;
        }
    }
    TWinControl* control = FindOwningControl(msg.hwnd);
    if (!control)
        return false;
    return control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

void TApplication::Idle(const MSG&)
{
    try {
        bool done = true;
        if (OnIdle)
            OnIdle(this, done);
        UpdateFormActions();
        CheckSynchronize();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void TApplication::UpdateFormActions()
{
    if (!Screen)
        return;
    std::vector<TCustomForm*> forms;
    for (int i = 0; i < Screen->FormCount(); ++i)
        forms.push_back(Screen->Forms(i));
    for (TCustomForm* form : forms) {
        if (!Screen->HasForm(form))
            continue;
        HWND window = form->WindowHandle();
        if (window && IsWindowVisible(window) && IsWindowEnabled(window))
            form->UpdateActions();
    }
}

// ---------------------------------------------------------------------------
// Forms

void TApplication::ReleaseForm(TCustomForm* form)
{
    PostMessageA(FHandle, CM_RELEASE, 0, reinterpret_cast<LPARAM>(form));
}

void TApplication::ReleaseQueuedForm(LPARAM data)
{
    auto* form = reinterpret_cast<TCustomForm*>(data);
    if (!Screen || !Screen->HasForm(form))
        return;
    FreeAndNil(form);
}

void TApplication::FormConstructing(TCustomForm* form)
{
    if (!FMainFormPending)
        return;
    FMainForm = form;
    FMainFormPending = false;
}

void TApplication::FormDestroying(TCustomForm* form)
{
    if (FMainForm == form)
        FMainForm = nullptr;
}

void TApplication::ControlDestroyed(TControl* control)
{
    if (FHintControl == control) {
        CancelHint();
        FHintControl = nullptr;
    }
}

// ---------------------------------------------------------------------------
// The application window

void TApplication::HookMainWindow(const TWindowHook& hook)
{
    if (std::find(FWindowHooks.begin(), FWindowHooks.end(), hook) == FWindowHooks.end())
        FWindowHooks.push_back(hook);
}

void TApplication::UnhookMainWindow(const TWindowHook& hook)
{
    auto it = std::find(FWindowHooks.begin(), FWindowHooks.end(), hook);
    if (it != FWindowHooks.end())
        FWindowHooks.erase(it);
}

void TApplication::WndProc(TMessage& m)
{
    std::vector<TWindowHook> hooks = FWindowHooks;
    for (const TWindowHook& hook : hooks) {
        if (std::find(FWindowHooks.begin(), FWindowHooks.end(), hook) == FWindowHooks.end())
            continue;
        bool handled = false;
        hook(m, handled);
        if (handled)
            return;
    }
    switch (m.Msg) {
    case CM_APPKEYDOWN:
        m.Result = IsShortCut(static_cast<WORD>(m.WParam), KeyDataToShiftState(m.LParam)) ? 1 : 0;
        return;
    case CM_APPSYSCOMMAND:
        m.Result = 0;
        return;
    case CM_ACTIONEXECUTE:
    case CM_ACTIONUPDATE:
        m.Result = DispatchToForms(m) ? 1 : 0;
        return;
    case CM_RELEASE:
        ReleaseQueuedForm(m.LParam);
        return;
    case WM_ACTIVATEAPP:
        FActive = m.WParam != 0;
        if (FActive) {
            if (OnActivate)
                OnActivate(this);
        } else {
            CancelHint();
            if (OnDeactivate)
                OnDeactivate(this);
        }
        break;
    case WM_TIMER:
        if (m.WParam == kHintShowTimer) {
            StopHintTimer(kHintShowTimer);
            ActivateHint(Seams().CursorPos());
            return;
        }
        if (m.WParam == kHintHideTimer) {
            CancelHint();
            return;
        }
        break;
    case WM_CLOSE:
        if (FMainForm)
            FMainForm->Close();
        return;
    }
    m.Result = DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam);
}

bool TApplication::DispatchToForms(TMessage& m)
{
    // The active form first, then the main form, then the other shown forms.
    std::vector<TCustomForm*> forms;
    if (Screen && Screen->ActiveForm())
        forms.push_back(Screen->ActiveForm());
    if (FMainForm)
        forms.push_back(FMainForm);
    for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form->WindowHandle() && IsWindowVisible(form->WindowHandle()))
            forms.push_back(form);
    }
    std::vector<TCustomForm*> asked;
    for (TCustomForm* form : forms) {
        if (std::find(asked.begin(), asked.end(), form) != asked.end() || !Screen->HasForm(form))
            continue;
        asked.push_back(form);
        if (form->Perform(m.Msg, m.WParam, m.LParam))
            return true;
    }
    return false;
}

bool TApplication::IsShortCut(WORD key, TShiftState shift)
{
    bool handled = false;
    if (OnShortCut)
        OnShortCut(key, shift, handled);
    if (handled)
        return true;
    return FMainForm && FMainForm != FShortCutDeclinedBy && FMainForm->WindowHandle() &&
           IsWindowEnabled(FMainForm->WindowHandle()) && FMainForm->IsShortCut(key, shift);
}

bool TApplication::SendAppKeyDown(WPARAM key, LPARAM keyData, TCustomForm* declinedBy)
{
    TCustomForm* previous = FShortCutDeclinedBy;
    FShortCutDeclinedBy = declinedBy;
    LRESULT result = SendMessageW(FHandle, CM_APPKEYDOWN, key, keyData);
    FShortCutDeclinedBy = previous;
    return result != 0;
}

bool TApplication::SendAppSysCommand(WPARAM command, LPARAM data)
{
    return SendMessageW(FHandle, CM_APPSYSCOMMAND, command, data) != 0;
}

bool TApplication::ExecuteAction(TBasicAction* action)
{
    bool handled = false;
    if (OnActionExecute)
        OnActionExecute(action, handled);
    return handled;
}

bool TApplication::UpdateAction(TBasicAction* action)
{
    bool handled = false;
    if (OnActionUpdate)
        OnActionUpdate(action, handled);
    return handled;
}

bool TApplication::DispatchActionExecute(TBasicAction* action)
{
    return SendMessageW(FHandle, CM_ACTIONEXECUTE, 0, reinterpret_cast<LPARAM>(action)) == 1;
}

// ---------------------------------------------------------------------------
// Hints

void TApplication::SetHint(const AnsiString& value)
{
    if (value == FHint)
        return;
    FHint = value;
    if (OnHint) {
        OnHint(this);
        return;
    }
    THintAction action(nullptr);
    action.SetHint(value);
    action.Execute();
}

void TApplication::SetShowHint(bool value)
{
    FShowHint = value;
    if (!value)
        CancelHint();
}

void TApplication::StartHintTimer(int milliseconds, UINT_PTR id)
{
    SetTimer(FHandle, id, static_cast<UINT>(std::max(milliseconds, 1)), nullptr);
}

void TApplication::StopHintTimer(UINT_PTR id)
{
    KillTimer(FHandle, id);
}

void TApplication::CancelHint()
{
    StopHintTimer(kHintShowTimer);
    StopHintTimer(kHintHideTimer);
    if (FHintWindow)
        FHintWindow->ReleaseHint();
}

void TApplication::CancelHintOnInput(const MSG& msg)
{
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_MOUSEWHEEL:
        CancelHint();
        break;
    }
}

void TApplication::MouseControlChanged(TControl* control)
{
    if (control == FHintControl)
        return;
    FHintControl = control;
    RestartHint();
}

void TApplication::ControlHintChanged(TControl* control)
{
    if (control == FHintControl)
        RestartHint();
}

void TApplication::RestartHint()
{
    CancelHint();
    SetHint(FHintControl ? GetLongHint(FHintControl->Hint()) : AnsiString());
    if (FShowHint && FHintControl && FHintControl->ShowHint() && !FHintControl->Hint().empty())
        StartHintTimer(FHintPause, kHintShowTimer);
}

void TApplication::ActivateHint(const TPoint& cursorPos)
{
    if (!FHintControl || !FShowHint)
        return;
    THintInfo info;
    info.HintControl = FHintControl;
    info.HintWindowClass = FHintWindowFactory ? FHintWindowFactory : CreateDefaultHintWindow;
    info.HintPos = TPoint(cursorPos.x, cursorPos.y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4);
    info.HintMaxWidth = Screen ? Screen->Width() / 2 : 400;
    info.HintColor = FHintColor;
    info.CursorRect = FHintControl->ClientRect();
    info.CursorPos = FHintControl->ScreenToClient(cursorPos);
    info.HideTimeout = FHintHidePause;
    info.HintStr = GetShortHint(FHintControl->Hint());
    auto* custom = dynamic_cast<TCustomAction*>(FHintControl->Action());
    if (FHintShortCuts && custom && custom->ShortCut() != scNone)
        info.HintStr += " (" + ShortCutToText(custom->ShortCut()) + ")";
    if (FHintControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0 ||
        info.HintStr.empty())
        return;
    if (!FHintWindow || FHintWindowFactory != info.HintWindowClass) {
        delete FHintWindow;
        FHintWindowFactory = info.HintWindowClass;
        FHintWindow = FHintWindowFactory(nullptr);
    }
    FHintWindow->SetColor(info.HintColor);
    TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr);
    FHintWindow->ActivateHint(Bounds(info.HintPos.x, info.HintPos.y, r.Width(), r.Height()),
                              info.HintStr);
    if (info.HideTimeout > 0)
        StartHintTimer(info.HideTimeout, kHintHideTimer);
}

// ---------------------------------------------------------------------------
// Exceptions and messages

bool TApplication::HelpCommand(UINT command, ULONG_PTR data)
{
    bool handled = false;
    if (OnHelp)
        OnHelp(command, data, handled);
    return handled;
}

void TApplication::HandleException(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return;
    } catch (...) {
    }
    if (FHandlingException)
        return;
    FHandlingException = true;
    try {
        if (OnException)
            OnException(this, error);
        else
            ShowException(ExceptionMessage(error));
    } catch (...) {
        std::fprintf(stderr, "exception while reporting an exception: %s\n",
                     ExceptionMessage(std::current_exception()).c_str());
    }
    FHandlingException = false;
}

void TApplication::ShowException(const AnsiString& message)
{
    MessageBox(message, FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const AnsiString& text, const AnsiString& caption, UINT flags)
{
    HWND owner = GetActiveWindow();
    return SeamMessageBox(owner, text, caption.empty() ? FTitle : caption, flags);
}

HICON ProgramIcon()
{
    static const HICON icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    return icon;
}

bool RunningUnderWine()
{
    static const bool wine = [] {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}

void HandleCallbackException(std::exception_ptr error)
{
    try {
        if (!Application) {
            std::fprintf(stderr, "unhandled exception: %s\n", ExceptionMessage(error).c_str());
            return;
        }
        if (TThread::IsMainThread())
            Application->HandleException(error);
        else
            TThread::Synchronize([error] { Application->HandleException(error); });
    } catch (...) {
        std::fprintf(stderr, "unhandled exception: %s\n", ExceptionMessage(error).c_str());
    }
}
