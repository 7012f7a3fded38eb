// The program's entry until the main window stands: a window titled
// "Zandrel" that closes cleanly.
#include "classlib/Application.h"
#include "classlib/Exceptions.h"

#include <windows.h>

namespace {

LRESULT CALLBACK PlaceholderWindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_DESTROY) {
        Application->Terminate();
        return 0;
    }
    return DefWindowProcA(wnd, msg, wp, lp);
}

HWND CreatePlaceholderWindow(const AnsiString& title)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlaceholderWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "TFormVusk";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 620,
                           550, nullptr, nullptr, wc.hInstance, nullptr);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show)
{
    TApplication app(nullptr);
    app.SetTitle("Zandrel");
    HWND window = CreatePlaceholderWindow(app.Title());
    if (!window)
        return 1;
    ShowWindow(window, show);
    app.Run();
    return 0;
}
