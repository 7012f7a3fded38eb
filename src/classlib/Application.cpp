#include "Application.h"

#include "Exceptions.h"
#include "Seams.h"
#include "Thread.h"

#include <cstdio>

TApplication* Application = nullptr;

namespace {

const wchar_t* const kAppWindowClass = L"TApplication";

LRESULT CALLBACK AppWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcW(wnd, msg, wp, lp);
}

} // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    InitMainThread();
    WNDCLASSW wc = {};
    wc.lpfnWndProc = AppWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kAppWindowClass;
    wc.hIcon = LoadIconW(wc.hInstance, L"MAINICON");
    RegisterClassW(&wc);
    // The application window is Unicode, so that wide characters reach the
    // program through the ANSI message loop.
    FHandle = CreateWindowExW(0, kAppWindowClass, L"", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS |
                                                           WS_SYSMENU | WS_MINIMIZEBOX,
                              0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    AnsiString exe = ExeName();
    auto slash = exe.find_last_of('\\');
    auto dot = exe.find_last_of('.');
    FTitle = exe.substr(slash == AnsiString::npos ? 0 : slash + 1);
    if (dot != AnsiString::npos && dot > slash)
        FTitle = exe.substr(slash + 1, dot - slash - 1);
    if (!Application)
        Application = this;
}

TApplication::~TApplication()
{
    if (Application == this)
        Application = nullptr;
    if (FHandle)
        DestroyWindow(FHandle);
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

void TApplication::Run()
{
    while (!FTerminated)
        HandleMessage();
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
    }
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

bool TApplication::PreProcessMessage(MSG&)
{
    return false;
}

void TApplication::Idle(const MSG&)
{
    try {
        bool done = true;
        if (OnIdle)
            OnIdle(this, done);
        CheckSynchronize();
    } catch (...) {
        HandleException(std::current_exception());
    }
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
