// Driving real windows from tests: pumping the application's loop (so that
// posted keys take the same pre-translation path as typed ones), holding
// modifier keys through the key-state seam, posting keys and clicks, and
// bringing a form to the foreground.
#pragma once

#include "classlib/Form.h"

#include <functional>
#include <initializer_list>
#include <vector>

namespace testing_support {

// Handles every queued message through the application's loop, and runs
// its idle step (the actions' update, the calls threads handed over) once the
// queue is empty, as the loop does before it waits.
void PumpMessages();
// Pumps until condition holds or timeoutMs passes, waiting for messages in
// between (never a fixed sleep); returns the condition.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// Reports these virtual keys (VK_SHIFT, VK_CONTROL, VK_MENU, VK_LBUTTON...)
// as held through the key-state seam while it lives.
class ScopedKeyState
{
public:
    explicit ScopedKeyState(std::initializer_list<int> heldKeys);
    ~ScopedKeyState();

private:
    std::vector<int> FHeld;
    std::function<SHORT(int)> FPrevious;
};

// Reports the mouse at a screen point through the cursor-position seam.
class ScopedCursorPos
{
public:
    explicit ScopedCursorPos(POINT screenPos);
    ScopedCursorPos(const ScopedCursorPos&) = delete;
    ScopedCursorPos& operator=(const ScopedCursorPos&) = delete;
    ~ScopedCursorPos();
    void Move(POINT screenPos) { FPos = screenPos; }

private:
    POINT FPos;
    std::function<POINT()> FPrevious;
};

// Posts a key press (down and up) to window with the modifiers held through
// the seam, and pumps until the queue is empty. Alt makes it a system key.
void PressKey(HWND window, WORD key, TShiftState shift = 0);
// Presses and releases a key through the system's input queue, with the
// modifier keys of shift held around it, as a hand on the keyboard does: the
// focused window hears it and the key-state seam reads the system's key
// state while the keys are handled. Then pumps.
void RealKeyPress(WORD key, TShiftState shift = 0);
// Presses Tab (Shift+Tab with ssShift) for real until form's active control
// is stop, at most steps times; each runs after every press. Returns the
// names of the controls reached, in order.
std::vector<AnsiString> WalkWithTab(TCustomForm* form, TWinControl* stop, int steps,
                                    TShiftState shift = 0,
                                    const std::function<void()>& each = nullptr);
// The same, failing the test at each control reached where state reads
// other than before the walk (a choice the Tab made).
std::vector<AnsiString> WalkWithTabKeeping(TCustomForm* form, TWinControl* stop, int steps,
                                           TShiftState shift,
                                           const std::function<std::vector<bool>()>& state);
// Posts a left click at a client point of window and pumps.
void ClickAt(HWND window, int x, int y);
// The same at the middle of a windowed control (a button's click).
void ClickCentre(TWinControl* control);
// Presses or releases the left button at a screen point through the
// system's input queue, as a hand on the mouse does: the message goes to the
// window there, or to the one holding the capture. Then pumps.
void RealButtonDown(POINT screenPos);
void RealButtonUp(POINT screenPos);
// Both, queued together, so a control that tracks the mouse inside its
// button-down message finds the button-up waiting; the keys of shift (Shift,
// Ctrl) are held through the same queue around them.
void RealClick(POINT screenPos, TShiftState shift = 0);
// The same with the right button.
void RealRightClick(POINT screenPos);
// Two clicks queued together: a double click, whatever the clock says.
void RealDoubleClick(POINT screenPos);
// Moves the mouse to a screen point through the system's input queue, as a
// hand does (the window there hears it move). Then pumps.
void RealMouseMove(POINT screenPos);
// Presses the left button at from, moves through each point of path and
// releases it at the last, all queued together as a hand's drag. Then pumps.
void RealDrag(POINT from, std::initializer_list<POINT> path);
// A client point of window in screen coordinates.
POINT ScreenPointOf(HWND window, int x, int y);
// Shows the form, brings it to the foreground and pumps; true when the
// focus is inside it afterwards.
bool ActivateForm(TCustomForm* form);
// The window with the keyboard focus.
HWND FocusedWindow();

} // namespace testing_support
