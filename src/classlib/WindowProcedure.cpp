#include "WindowProcedure.h"

#include "Application.h"
#include "Exceptions.h"
#include "WinControl.h"

#include <atomic>
#include <map>

namespace {

thread_local TWinControl* tCreationControl = nullptr; // not owned

// The default procedure each registered class name was registered with: a
// second control class of the same name over another system class gets a
// name of its own.
std::map<AnsiString, WNDPROC>& RegisteredClasses()
{
    static std::map<AnsiString, WNDPROC> classes;
    return classes;
}

// Never freed: windows may still go after static objects are gone.
TWindowTable& WindowTies()
{
    static auto* ties = new TWindowTable;
    return *ties;
}

} // namespace

void TWindowTable::Set(HWND window, void* value)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FValues[window] = value;
}

void TWindowTable::Remove(HWND window)
{
    std::lock_guard<std::mutex> lock(FMutex);
    FValues.erase(window);
}

void* TWindowTable::Find(HWND window) const
{
    std::lock_guard<std::mutex> lock(FMutex);
    auto it = FValues.find(window);
    return it == FValues.end() ? nullptr : it->second;
}

HWND ParkingWindow()
{
    static HWND window = nullptr;
    if (!window || !IsWindow(window))
        window = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    return window;
}

// ---------------------------------------------------------------------------
// Ties and window procedures

TWinControl* CreationControl()
{
    return tCreationControl;
}

void SetCreationControl(TWinControl* control)
{
    tCreationControl = control;
}

void TieWindow(HWND window, TWinControl* control)
{
    WindowTies().Set(window, control);
}

void UntieWindow(HWND window)
{
    WindowTies().Remove(window);
}

HMENU ChildWindowId(DWORD style)
{
    static std::atomic<UINT> last{0};
    if (!(style & WS_CHILD))
        return nullptr;
    // Identifiers stay positive: some notices carry them as ints.
    UINT id = (last.fetch_add(1) + 1) & 0x7FFFFFFF;
    return reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id ? id : 1));
}

TWinControl* FindControl(HWND window)
{
    return window ? static_cast<TWinControl*>(WindowTies().Find(window)) : nullptr;
}

TWinControl* FindOwningControl(HWND window)
{
    // Up through parents only: a top-level window's GetParent is its owner,
    // and a dialog owned by a form is not part of it.
    for (HWND w = window; w;) {
        if (TWinControl* control = FindControl(w))
            return control;
        if (!(GetWindowLongPtrA(w, GWL_STYLE) & WS_CHILD))
            break;
        w = GetParent(w);
    }
    return nullptr;
}

LRESULT CALLBACK InitWndProc(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    TWinControl* control = tCreationControl;
    tCreationControl = nullptr;
    bool unicode = IsWindowUnicode(window);
    if (!control)
        return unicode ? DefWindowProcW(window, msg, wp, lp) : DefWindowProcA(window, msg, wp, lp);
    control->SetWindowHandle(window);
    TieWindow(window, control);
    auto procedure = reinterpret_cast<LONG_PTR>(&StdWndProc);
    if (unicode)
        SetWindowLongPtrW(window, GWLP_WNDPROC, procedure);
    else
        SetWindowLongPtrA(window, GWLP_WNDPROC, procedure);
    return StdWndProc(window, msg, wp, lp);
}

LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    TWinControl* control = FindControl(window);
    if (!control) {
        return IsWindowUnicode(window) ? DefWindowProcW(window, msg, wp, lp)
                                       : DefWindowProcA(window, msg, wp, lp);
    }
    TMessage message{msg, wp, lp, 0};
    control->MainWndProc(message);
    // The last message: a handle the system hands out again is no
    // control's, whoever handled the message.
    if (msg == WM_NCDESTROY)
        UntieWindow(window);
    return message.Result;
}

void RegisterControlClass(TCreateParams& params)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDPROC defaultProc = params.WindowClass.lpfnWndProc;
    auto& classes = RegisteredClasses();
    auto known = classes.find(params.WinClassName);
    if (known != classes.end()) {
        if (known->second == defaultProc)
            return;
        params.WinClassName +=
            "." + (params.SubClassOf.empty() ? AnsiString("Own") : params.SubClassOf);
        if (classes.count(params.WinClassName))
            return;
    }
    WNDCLASSA wc = params.WindowClass;
    wc.hInstance = instance;
    wc.lpfnWndProc = InitWndProc;
    wc.lpszClassName = params.WinClassName.c_str();
    if (!RegisterClassA(&wc)) {
        WNDCLASSA existing = {};
        if (!GetClassInfoA(instance, wc.lpszClassName, &existing) ||
            existing.lpfnWndProc != InitWndProc)
            RaiseLastOSError();
    }
    classes[params.WinClassName] = defaultProc;
}
