// Per-thread system hooks shared by any number of registered procedures.
//
// A procedure registers for kinds of events; the thread gets the
// call-window-procedure hook (activation, application activation, position
// changes, the focus), the CBT hook (a window about to be destroyed) or the
// get-message hook (a message retrieved) while some registration needs it.
// Each hook passes every event on to the next hook.
#pragma once

#include <windows.h>

enum class TBarHookEventKind : BYTE
{
    WindowActivated = 0,  // WM_ACTIVATE
    AppActivated = 1,     // WM_ACTIVATEAPP
    WindowPosChanged = 2, // WM_WINDOWPOSCHANGED
    WindowDestroying = 3, // a window is about to be destroyed
    MessageRetrieved = 4, // a message left the queue (window is null)
    FocusTaken = 5,       // WM_SETFOCUS: window has just taken the focus
};

// A set of kinds: bit n for kind n.
using TBarHookEventKinds = unsigned;
constexpr TBarHookEventKinds BarHookKind(TBarHookEventKind kind)
{
    return 1u << static_cast<unsigned>(kind);
}

using TBarHookProc = void (*)(TBarHookEventKind kind, HWND window, WPARAM wp, LPARAM lp);

// Registers proc for kinds (adding them to an earlier registration of the
// same procedure) and installs the hooks they need on this thread.
void RegisterThreadHook(TBarHookProc proc, TBarHookEventKinds kinds);
// Removes proc; a hook nobody needs any more is removed.
void UnregisterThreadHook(TBarHookProc proc);
// Removes every hook and registration of this thread (shutdown).
void RemoveThreadHooks();
// Whether this thread has the hook that serves kind installed.
bool ThreadHookInstalled(TBarHookEventKind kind);
