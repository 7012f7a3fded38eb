#include "UniControls.h"

#include "UniClasses.h"
#include "UniForms.h"
#include "UniSysUtils.h"

#include "classlib/HintWindow.h"
#include "classlib/WideText.h"
#include "classlib/WindowProcedure.h"

#include <algorithm>
#include <vector>

namespace {

const wchar_t* const kUnicodeClassSuffix = L".UnicodeClass";

// The control whose Unicode window MakeUnicodeWindow is creating.
thread_local TWinControl* tUniCreatingControl = nullptr; // not owned

// Every live trap, subclassed or pooled.
std::vector<TWinControlTrap*>& UniTraps()
{
    static std::vector<TWinControlTrap*> traps;
    return traps;
}

// The trap of each subclassed window, which its procedures find on every
// message. Never freed: windows may still go after static objects are gone.
TWindowTable& TrappedWindows()
{
    static auto* traps = new TWindowTable;
    return *traps;
}

TWinControlTrap* TrapOfWindow(HWND window)
{
    return static_cast<TWinControlTrap*>(TrappedWindows().Find(window));
}

HINSTANCE UniModuleInstance()
{
    return GetModuleHandleW(nullptr);
}

// The character the ANSI key-press handling gets for a typed wide one: its
// first byte in the ANSI code page.
unsigned char UniAnsiKeyFor(wchar_t c)
{
    const AnsiString ansi = WideToAnsi(WideString(1, c));
    return ansi.empty() ? 0 : static_cast<unsigned char>(ansi[0]);
}

WideString UniWindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return WideString();
    WideString text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::clamp(copied, 0, length)));
    return text;
}

} // namespace

// ---------------------------------------------------------------------------
// Creating Unicode windows

void AddUnicodeWindowClass(const TCreateParams& Params, WideString& WideClassName,
                           bool UseLibraryInitProc)
{
    WideClassName = AnsiToWide(Params.WinClassName) + kUnicodeClassSuffix;
    const WNDPROC procedure = UseLibraryInitProc ? InitWndProc : UnicodeClassFirstProc;
    const HINSTANCE instance = UniModuleInstance();
    WNDCLASSW existing = {};
    if (GetClassInfoW(instance, WideClassName.c_str(), &existing)) {
        if (existing.lpfnWndProc == procedure)
            return;
        if (!UnregisterClassW(WideClassName.c_str(), instance))
            RaiseLastOSError();
    }
    const WNDCLASSA& source = Params.WindowClass;
    WNDCLASSW wc = {};
    wc.style = source.style;
    wc.cbClsExtra = source.cbClsExtra;
    wc.cbWndExtra = source.cbWndExtra;
    wc.hIcon = source.hIcon;
    wc.hCursor = source.hCursor;
    wc.hbrBackground = source.hbrBackground;
    wc.hInstance = instance;
    wc.lpfnWndProc = procedure;
    WideString menuName;
    if (IS_INTRESOURCE(source.lpszMenuName)) {
        wc.lpszMenuName = reinterpret_cast<LPCWSTR>(source.lpszMenuName);
    } else {
        menuName = AnsiToWide(source.lpszMenuName);
        wc.lpszMenuName = menuName.c_str();
    }
    wc.lpszClassName = WideClassName.c_str();
    if (!RegisterClassW(&wc))
        RaiseLastOSError();
}

void MakeUnicodeWindow(TWinControl* Control, const TCreateParams& Params, bool UseLibraryInitProc)
{
    const WideString caption = ControlWideText(Control);
    WNDPROC defaultProc = DefWindowProcW;
    if (!Params.SubClassOf.empty()) {
        const WideString systemClass = AnsiToWide(Params.SubClassOf);
        WNDCLASSW system = {};
        if (GetClassInfoW(nullptr, systemClass.c_str(), &system) ||
            GetClassInfoW(UniModuleInstance(), systemClass.c_str(), &system))
            defaultProc = system.lpfnWndProc;
    }
    Control->SetDefWndProc(defaultProc);
    WideString className;
    AddUnicodeWindowClass(Params, className, UseLibraryInitProc);
    tUniCreatingControl = Control;
    const HWND window =
        CreateWindowExW(Params.ExStyle, className.c_str(), AnsiToWide(Params.Caption).c_str(),
                        Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                        Params.WndParent, ChildWindowId(Params.Style), UniModuleInstance(),
                        Params.Param);
    const DWORD error = GetLastError();
    tUniCreatingControl = nullptr;
    if (!window) {
        SetLastError(error);
        RaiseLastOSError();
    }
    Control->SetWindowHandle(window);
    // The library's procedure may have been set through an ANSI call, which
    // makes the window ANSI; setting it again through the wide call makes it
    // Unicode again.
    if (UseLibraryInitProc)
        SetWindowLongPtrW(window, GWLP_WNDPROC, GetWindowLongPtrW(window, GWLP_WNDPROC));
    SubClassUnicodeControl(Control, caption);
}

LRESULT CALLBACK UnicodeClassFirstProc(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    TWinControl* control = tUniCreatingControl;
    tUniCreatingControl = nullptr;
    if (!control)
        return DefWindowProcW(window, msg, wp, lp);
    if (!TWinControlTrap::Find(control))
        new TWinControlTrap(control);
    // Tied to its control as the library's own procedure ties its windows.
    control->SetWindowHandle(window);
    TieWindow(window, control);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StdWndProc));
    return CallWindowProcW(StdWndProc, window, msg, wp, lp);
}

void SubClassUnicodeControl(TWinControl* Control, const WideString& Caption)
{
    if (!IsWindowUnicode(Control->WindowHandle()))
        throw EUniInternalError("Internal Error: SubClassUnicodeControl.Control is not Unicode.");
    TWinControlTrap* trap = TWinControlTrap::Find(Control);
    if (!trap)
        trap = new TWinControlTrap(Control);
    trap->Subclass();
    SetControlWideText(Control, Caption);
}

// ---------------------------------------------------------------------------
// TWinControlTrap

TWinControlTrap::TWinControlTrap(TWinControl* control) : TComponent(nullptr), FControl(control)
{
    FControl->FreeNotification(this);
    UniTraps().push_back(this);
}

TWinControlTrap::~TWinControlTrap()
{
    if (FWindow)
        TrappedWindows().Remove(FWindow); // its procedure now passes all to the default
    auto& traps = UniTraps();
    traps.erase(std::remove(traps.begin(), traps.end(), this), traps.end());
}

TWinControlTrap* TWinControlTrap::Find(const TWinControl* control)
{
    for (TWinControlTrap* trap : UniTraps())
        if (trap->FControl == control && !trap->FFreeWhenIdle)
            return trap;
    return nullptr;
}

void TWinControlTrap::Subclass()
{
    const HWND window = FControl->WindowHandle();
    FWindow = window;
    TrappedWindows().Set(window, this);
    FPrevWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    FPrevDefWndProc = FControl->DefWndProc();
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrapWindowProc));
    FControl->SetDefWndProc(TrapDefaultProc);
    const TWndMethod method(this, &TWinControlTrap::WindowProcMethod);
    if (!(FControl->WindowProc() == method)) {
        FPrevWindowProc = FControl->WindowProc();
        FControl->SetWindowProc(method);
    }
}

void TWinControlTrap::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FControl)
        FreeWhenIdle();
}

void TWinControlTrap::FreeWhenIdle()
{
    if (FBusy > 0) {
        FFreeWhenIdle = true;
        return;
    }
    delete this;
}

LRESULT CALLBACK TWinControlTrap::TrapWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    TWinControlTrap* trap = TrapOfWindow(window);
    if (!trap)
        return DefWindowProcW(window, msg, wp, lp);
    const LRESULT result = trap->WindowProcedure(window, msg, wp, lp);
    // The last message: a handle the system hands out again is no trap's.
    if (msg == WM_NCDESTROY)
        TrappedWindows().Remove(window);
    return result;
}

LRESULT CALLBACK TWinControlTrap::TrapDefaultProc(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    TWinControlTrap* trap = TrapOfWindow(window);
    if (!trap)
        return DefWindowProcW(window, msg, wp, lp);
    return trap->DefaultProcedure(window, msg, wp, lp);
}

LRESULT TWinControlTrap::WindowProcedure(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    const WNDPROC next = FPrevWndProc;
    const TLastMessage outer = FLastMessage;
    ++FBusy;
    FLastMessage = {msg, wp, lp};
    // The library's procedure catches whatever the control raises.
    const LRESULT result = CallWindowProcW(next, window, msg, wp, lp);
    FLastMessage = outer;
    if (--FBusy == 0 && FFreeWhenIdle)
        delete this;
    return result;
}

LRESULT TWinControlTrap::DefaultProcedure(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_NOTIFYFORMAT:
        // Every window with a trap is Unicode.
        return NFR_UNICODE;
    case WM_CHAR:
        wp = TypedCharForDefault(wp);
        break;
    case WM_IME_CHAR:
        if (!PlatformIsXPOrLater)
            return SendMessageW(window, WM_CHAR, wp, lp);
        break;
    case WM_DESTROY: {
        const WNDPROC previous = FPrevDefWndProc;
        Unsubclass();
        return CallWindowProcW(previous, window, msg, wp, lp);
    }
    }
    return CallWindowProcW(FPrevDefWndProc, window, msg, wp, lp);
}

void TWinControlTrap::WindowProcMethod(TMessage& m)
{
    if (!FControl->HandleAllocated()) {
        FControl->WndProc(m);
        return;
    }
    switch (m.Msg) {
    case CM_HINTSHOW:
        if (auto* info = reinterpret_cast<THintInfo*>(m.LParam);
            info && info->HintWindowClass == CreateDefaultHintWindow)
            info->HintWindowClass = CreateUniHintWindow;
        break;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        // Sent through Perform with ANSI text: the system converts it on the
        // way to the Unicode window.
        if (!CameThroughWindowProc(m)) {
            m.Result = SendMessageA(FControl->WindowHandle(), m.Msg, m.WParam, m.LParam);
            return;
        }
        break;
    case WM_CHAR:
        PassTypedChar(m);
        return;
    }
    FPrevWindowProc(m);
}

bool TWinControlTrap::CameThroughWindowProc(const TMessage& m) const
{
    return FBusy > 0 && FLastMessage.Msg == m.Msg && FLastMessage.WParam == m.WParam &&
           FLastMessage.LParam == m.LParam;
}

void TWinControlTrap::PassTypedChar(TMessage& m)
{
    const bool outerTyping = FTyping;
    const wchar_t outerChar = FTypedChar;
    const unsigned char outerKey = FTypedAnsiKey;
    FTyping = true;
    FTypedChar = static_cast<wchar_t>(m.WParam);
    FTypedAnsiKey = UniAnsiKeyFor(FTypedChar);
    m.WParam = FTypedAnsiKey;
    FPrevWindowProc(m);
    FTyping = outerTyping;
    FTypedChar = outerChar;
    FTypedAnsiKey = outerKey;
}

WPARAM TWinControlTrap::TypedCharForDefault(WPARAM wp) const
{
    if (!FTyping)
        return wp;
    // The key-press handling kept the key: the typed wide character goes on;
    // it replaced it: the replacement, converted.
    if (wp == FTypedAnsiKey)
        return FTypedChar;
    const WideString replaced = AnsiToWide(AnsiString(1, static_cast<char>(wp & 0xFF)));
    return replaced.empty() ? wp : replaced[0];
}

void TWinControlTrap::Unsubclass()
{
    const HWND window = FWindow;
    const bool controlGoes = FControl->HasState(csDestroying);
    // Kept for the next window, as the ANSI caption keeps its conversion.
    if (!controlGoes)
        WideCaptionHelper(FControl)->Caption = UniWindowText(window);
    if (FControl->WindowProc() == TWndMethod(this, &TWinControlTrap::WindowProcMethod))
        FControl->SetWindowProc(FPrevWindowProc);
    FControl->SetDefWndProc(FPrevDefWndProc);
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == &TrapWindowProc)
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevWndProc));
    TrappedWindows().Remove(window);
    FWindow = nullptr;
    if (controlGoes)
        FreeWhenIdle();
}

// ---------------------------------------------------------------------------
// Wide text and hint

namespace {

TWinControl* UniWindowed(TControl* control)
{
    return dynamic_cast<TWinControl*>(control);
}

// The wide text kept beside the ANSI caption of a control without a
// Unicode window.
WideString UniKeptText(TControl* control)
{
    TWideCaptionHelper* helper = FindWideCaptionHelper(control);
    return helper ? ShadowedWideValue(helper->Caption, control->Text())
                  : AnsiToWide(control->Text());
}

} // namespace

WideString ControlWideText(TControl* Control)
{
    TWinControl* windowed = UniWindowed(Control);
    if (windowed && windowed->HandleAllocated()) {
        const HWND window = windowed->WindowHandle();
        return IsWindowUnicode(window) ? UniWindowText(window) : AnsiToWide(Control->Text());
    }
    return UniKeptText(Control);
}

void SetControlWideText(TControl* Control, const WideString& Text)
{
    TWinControl* windowed = UniWindowed(Control);
    if (!windowed) {
        TWideCaptionHelper* helper = WideCaptionHelper(Control);
        StoreShadowedWide(helper->Caption, Text, Control->Text(),
                          [Control](const AnsiString& ansi) { Control->SetText(ansi); });
        return;
    }
    if (!windowed->HandleAllocated()) {
        WideCaptionHelper(Control)->Caption = Text;
        Control->SetText(WideToAnsi(Text));
        return;
    }
    const HWND window = windowed->WindowHandle();
    if (!IsWindowUnicode(window)) {
        Control->SetText(WideToAnsi(Text));
        return;
    }
    if (Text == ControlWideText(Control))
        return;
    PlatformSetWindowText(window, Text);
    Control->Perform(CM_TEXTCHANGED, 0, 0);
}

WideString ControlWideHint(TControl* Control)
{
    TWideCaptionHelper* helper = FindWideCaptionHelper(Control);
    return helper ? ShadowedWideValue(helper->Hint, Control->Hint()) : AnsiToWide(Control->Hint());
}

void SetControlWideHint(TControl* Control, const WideString& Hint)
{
    StoreShadowedWide(WideCaptionHelper(Control)->Hint, Hint, Control->Hint(),
                      [Control](const AnsiString& ansi) { Control->SetHint(ansi); });
}

bool ControlWideCaptionSaved(TControl* Control)
{
    return !Control->ActionLink() || !Control->ActionLink()->IsCaptionLinked();
}

bool ControlWideHintSaved(TControl* Control)
{
    return !Control->ActionLink() || !Control->ActionLink()->IsHintLinked();
}
