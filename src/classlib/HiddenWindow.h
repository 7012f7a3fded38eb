// Hidden utility windows for objects that are not controls (timers, the
// drag manager, theme listeners): AllocateHWnd makes a hidden top-level
// window whose messages go to a method of the object. It is not a
// message-only window, so it also receives broadcasts (WM_SYSCOLORCHANGE,
// WM_SETTINGCHANGE, WM_ACTIVATEAPP).
//
// An exception raised by the method reaches Application->HandleException;
// what the method leaves unanswered (Result untouched and no handling) is
// not passed anywhere: the method calls DefWindowProc itself when it wants
// the default.
#pragma once

#include "ControlMessages.h"
#include "Event.h"

#include <windows.h>

using TWndMethod = TEvent<TMessage&>;

// The window is made on the calling thread and must be freed there.
HWND AllocateHWnd(const TWndMethod& method);
// The same as a message-only window: it receives no broadcasts, and the
// window system makes much less for it (for objects that only set timers
// and post to themselves). Freed with DeallocateHWnd.
HWND AllocateMessageHWnd(const TWndMethod& method);
void DeallocateHWnd(HWND window);
// A message-only window of a registered class, for the posted messages and
// timers of its class's procedure. It is made a child of the message-only
// root: a window without the child style is sized against the monitors
// when it is made, which the window system answers at a cost. It tells the
// root nothing of its making or going (WS_EX_NOPARENTNOTIFY).
HWND CreateMessageOnlyWindow(const char* className);
// Answers a message of a hidden window with the system's default handling.
void DefaultHiddenWindowHandling(HWND window, TMessage& message);
