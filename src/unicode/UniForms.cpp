#include "UniForms.h"

#include "UniActnList.h"
#include "UniClasses.h"
#include "UniMenus.h"
#include "UniSysUtils.h"

#include "classlib/Actions.h"
#include "classlib/Application.h"
#include "classlib/Seams.h"
#include "classlib/WideText.h"

#include <typeinfo>

TUniApplication* UniApplication = nullptr;

namespace {

HHOOK gUniMessageHook = nullptr; // the main thread's get-message hook

} // namespace

// ---------------------------------------------------------------------------
// TUniApplication

TUniApplication::TUniApplication(TComponent* AOwner) : TComponent(AOwner)
{
    Application->HookMainWindow(TWindowHook(this, &TUniApplication::ApplicationWindowHook));
}

TUniApplication::~TUniApplication()
{
    if (Application)
        Application->UnhookMainWindow(TWindowHook(this, &TUniApplication::ApplicationWindowHook));
}

WideString TUniApplication::Title()
{
    return ShadowedWideValue(FTitle, Application->Title());
}

void TUniApplication::SetTitle(const WideString& value)
{
    StoreShadowedWide(FTitle, value, Application->Title(),
                      [](const AnsiString& ansi) { Application->SetTitle(ansi); });
    if (Application->Handle())
        SetWindowTextW(Application->Handle(), Title().c_str());
}

WideString TUniApplication::Hint()
{
    return ShadowedWideValue(FHint, Application->Hint());
}

void TUniApplication::SetHint(const WideString& value)
{
    StoreShadowedWide(FHint, value, Application->Hint(),
                      [](const AnsiString& ansi) { Application->SetHint(ansi); });
}

bool TUniApplication::ProcessMessage(MSG& msg)
{
    // 128 and up: the ANSI loop would give characters beyond ASCII their
    // best fit in the code page ("é" as "e"), or "?".
    if (msg.message != WM_CHAR || msg.wParam < 128 || !msg.hwnd || !IsWindowUnicode(msg.hwnd))
        return false;
    if (Application->Handle() && !IsWindowUnicode(Application->Handle()))
        return false;
    bool handled = false;
    if (Application->OnMessage)
        Application->OnMessage(msg, handled);
    Application->CancelHint();
    if (handled)
        return true;
    if (const HWND dialog = Application->DialogHandle()) {
        const BOOL taken = IsWindowUnicode(dialog) ? IsDialogMessageW(dialog, &msg)
                                                   : IsDialogMessageA(dialog, &msg);
        if (taken)
            return true;
    }
    DispatchMessageW(&msg);
    return true;
}

void TUniApplication::ApplicationWindowHook(TMessage& m, bool& handled)
{
    switch (m.Msg) {
    case WM_WININICHANGE:
        FSettingChangeTick = SeamTickCount();
        break;
    case CM_ACTIONEXECUTE:
        handled = AnswerHintAction(m);
        break;
    }
}

bool TUniApplication::AnswerHintAction(TMessage& m)
{
    // A plain hint action for the application's hint: the status bars get
    // the wide one instead.
    auto* action = reinterpret_cast<TBasicAction*>(m.LParam);
    if (!action || typeid(*action) != typeid(THintAction))
        return false;
    if (static_cast<THintAction*>(action)->Hint() != Application->Hint())
        return false;
    TUniHintAction wide(nullptr);
    wide.SetHint(Hint());
    m.Result = wide.Execute() ? 1 : 0;
    return true;
}

// ---------------------------------------------------------------------------
// The message hook

LRESULT CALLBACK UniMessageFilter(int code, WPARAM wp, LPARAM lp)
{
    if (code == HC_ACTION && wp == PM_REMOVE && UniApplication && lp) {
        auto* msg = reinterpret_cast<MSG*>(lp);
        try {
            // Taken: the library's loop gets nothing to do.
            if (UniApplication->ProcessMessage(*msg)) {
                msg->message = WM_NULL;
                msg->wParam = 0;
                msg->lParam = 0;
            }
        } catch (...) {
            HandleCallbackException(std::current_exception());
        }
    }
    return CallNextHookEx(gUniMessageHook, code, wp, lp);
}

void UniHookMessages()
{
    if (gUniMessageHook)
        return;
    gUniMessageHook =
        SetWindowsHookExW(WH_GETMESSAGE, UniMessageFilter, nullptr, GetCurrentThreadId());
    if (!gUniMessageHook)
        RaiseLastOSError();
}

void UniUnhookMessages()
{
    // At shutdown nothing can be done about a failure: it is ignored.
    if (gUniMessageHook)
        UnhookWindowsHookEx(gUniMessageHook);
    gUniMessageHook = nullptr;
}

// ---------------------------------------------------------------------------
// TUniForm

const TClassInfo& TUniForm::StaticClassInfo()
{
    using F = TUniForm;
    static const TPropInfo props[] = {
        WideStringProperty<F, &F::GetCaption, &F::SetCaption>(
            "Caption", [](TPersistent* o) { return ControlWideCaptionSaved(static_cast<F*>(o)); }),
        WideStringProperty<F, &F::GetHint, &F::SetHint>(
            "Hint", [](TPersistent* o) { return ControlWideHintSaved(static_cast<F*>(o)); }),
    };
    static const TClassInfo info{.Name = "TUniForm", .Props = props};
    return info;
}

void TUniForm::DefineProperties(TFiler& Filer)
{
    TForm::DefineProperties(Filer);
    DeclareWideStreamProps(Filer, this);
}

void TUniForm::CreateWindowHandle(const TCreateParams& params)
{
    MakeUnicodeWindow(this, params, false);
}

// ---------------------------------------------------------------------------
// TUniCustomHintWindow

THintWindow* CreateUniHintWindow(TControl* owner)
{
    return new TUniCustomHintWindow(owner);
}

void TUniCustomHintWindow::CreateParams(TCreateParams& params)
{
    THintWindow::CreateParams(params);
    if (PlatformIsXPOrLater)
        params.WindowClass.style |= CS_DROPSHADOW;
}

void TUniCustomHintWindow::CreateWindowHandle(const TCreateParams& params)
{
    MakeUnicodeWindow(this, params, false);
}

namespace {

// The wide text for the hint of the control under the mouse.
WideString UniHintWindowText(const AnsiString& caption)
{
    TControl* control = MouseControl();
    if (!control)
        return AnsiToWide(caption);
    auto* action = dynamic_cast<TCustomAction*>(control->Action());
    return WideHintText(caption, ControlWideHint(control), GetShortHint(control->Hint()),
                        Application && Application->HintShortCuts(),
                        action ? action->ShortCut() : scNone);
}

} // namespace

void TUniCustomHintWindow::ActivateHint(const TRect& rect, const AnsiString& hint)
{
    THintWindow::ActivateHint(rect, hint);
    SetControlWideText(this, UniHintWindowText(hint));
}

void TUniCustomHintWindow::DrawHintText(HDC dc, const AnsiString& hint, RECT& rect, UINT format)
{
    const WideString text = UniHintWindowText(hint);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

WideString WideShortHint(const WideString& hint)
{
    return hint.substr(0, hint.find(L'|'));
}

WideString WideHintText(const AnsiString& caption, const WideString& wideHint,
                        const AnsiString& ansiHint, bool hintShortCuts, TShortCut shortCut)
{
    const WideString shortHint = WideShortHint(wideHint);
    if (WideToAnsi(shortHint) == caption)
        return shortHint;
    if (hintShortCuts && shortCut != scNone &&
        caption == ansiHint + " (" + ShortCutToText(shortCut) + ")")
        return shortHint + L" (" + WideShortCutToText(shortCut) + L")";
    return AnsiToWide(caption);
}
