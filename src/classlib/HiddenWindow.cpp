#include "HiddenWindow.h"

#include "Application.h"

namespace {

const char* const kHiddenWindowClass = "ZandrelHiddenWindow";

LRESULT CALLBACK HiddenWindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!method)
        return DefWindowProcA(window, msg, wp, lp);
    TMessage message{msg, wp, lp, 0};
    try {
        (*method)(message);
    } catch (...) {
        HandleCallbackException(std::current_exception());
    }
    return message.Result;
}

void RegisterHiddenWindowClass()
{
    WNDCLASSA wc = {};
    if (GetClassInfoA(GetModuleHandleA(nullptr), kHiddenWindowClass, &wc))
        return;
    wc.lpfnWndProc = HiddenWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kHiddenWindowClass;
    RegisterClassA(&wc);
}

HWND MakeHiddenWindow(const TWndMethod& method, DWORD exStyle, DWORD style, HWND parent)
{
    RegisterHiddenWindowClass();
    HWND window = CreateWindowExA(exStyle, kHiddenWindowClass, "", style, 0, 0, 0, 0, parent,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window && method)
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(new TWndMethod(method)));
    return window;
}

} // namespace

HWND AllocateHWnd(const TWndMethod& method)
{
    return MakeHiddenWindow(method, WS_EX_TOOLWINDOW, WS_POPUP, nullptr);
}

// The message-only root belongs to another process: a child made or
// destroyed without this style would wait there for its WM_PARENTNOTIFY.
constexpr DWORD kMessageOnlyExStyle = WS_EX_NOPARENTNOTIFY;

HWND AllocateMessageHWnd(const TWndMethod& method)
{
    return MakeHiddenWindow(method, kMessageOnlyExStyle, WS_CHILD, HWND_MESSAGE);
}

HWND CreateMessageOnlyWindow(const char* className)
{
    return CreateWindowExA(kMessageOnlyExStyle, className, "", WS_CHILD, 0, 0, 0, 0, HWND_MESSAGE,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

void DeallocateHWnd(HWND window)
{
    if (!window)
        return;
    auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    delete method;
}

void DefaultHiddenWindowHandling(HWND window, TMessage& message)
{
    message.Result = DefWindowProcA(window, message.Msg, message.WParam, message.LParam);
}
