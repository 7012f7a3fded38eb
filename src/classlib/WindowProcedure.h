// How windows find their controls.
//
// Every window of the library is tied to its control in the process, where
// FindControl looks it up without asking the window system. A window is
// created with the library's initial window procedure (InitWndProc) as its
// class procedure: at the window's first message it takes the control
// marked as being created (CreationControl, per thread), stores the window
// handle there, ties the two and installs the standard window procedure
// (StdWndProc), which hands every message to the control's MainWndProc. A
// child window gets its identifier when it is made (ChildWindowId). Layers
// that create windows themselves (wide windows) use the same pieces.
#pragma once

#include "Types.h"

#include <windows.h>

#include <mutex>
#include <unordered_map>

class TWinControl;
struct TCreateParams;

// What a window's procedure finds for its window on every message, kept in
// the program: a window property lives in the window system, and reading
// one is a round trip to it. Windows of any thread; the values not owned.
class TWindowTable
{
public:
    void Set(HWND window, void* value);
    void Remove(HWND window);
    // The value set for window, or nullptr.
    void* Find(HWND window) const;

private:
    mutable std::mutex FMutex;
    std::unordered_map<HWND, void*> FValues;
};

// The control whose window is being created, per thread.
TWinControl* CreationControl();
void SetCreationControl(TWinControl* control);
LRESULT CALLBACK InitWndProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wp, LPARAM lp);

// Ties window to control, or unties it. A window is untied at its last
// message (WM_NCDESTROY).
void TieWindow(HWND window, TWinControl* control);
void UntieWindow(HWND window);
// The control tied to window, or nullptr.
TWinControl* FindControl(HWND window);
// The control for window or the nearest parent window that has one (never
// the owner of a top-level window).
TWinControl* FindOwningControl(HWND window);

// The identifier for a child window about to be made with these styles
// (passed where CreateWindowEx takes a menu): one no other window of the
// library has had, so that a parent finds the child by it; none for a
// top-level window.
HMENU ChildWindowId(DWORD style);

// Registers the window class params describe under params.WinClassName
// with InitWndProc as its procedure (once per name; a second class of the
// same name over another system class gets a name of its own).
void RegisterControlClass(TCreateParams& params);
// A hidden window that holds the windows of controls without a parent
// window for a while, so that a parent change keeps the window.
HWND ParkingWindow();
