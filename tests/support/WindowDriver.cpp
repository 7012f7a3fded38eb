#include "support/WindowDriver.h"

#include "classlib/Application.h"
#include "classlib/Seams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace testing_support {

namespace {

// Rounds of handling and idling one pump makes at most: a window that keeps
// queueing (a repaint that asks for another) must not hold the test.
constexpr int kMaxIdleRounds = 8;

bool MessageQueued()
{
    MSG msg;
    return PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) != FALSE;
}

} // namespace

void PumpMessages()
{
    // The program's loop idles each time the queue runs empty and handles at
    // once what the idle step queued (a repaint of what it enabled).
    for (int round = 0; round < kMaxIdleRounds; ++round) {
        Application->ProcessMessagesAndIdle();
        if (!MessageQueued())
            return;
    }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return condition();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(timeoutMs - elapsed, 50),
                                  QS_ALLINPUT);
    }
}

ScopedKeyState::ScopedKeyState(std::initializer_list<int> heldKeys)
    : FHeld(heldKeys), FPrevious(Seams().KeyState)
{
    std::vector<int> held = FHeld;
    auto previous = FPrevious;
    Seams().KeyState = [held, previous](int key) -> SHORT {
        if (std::find(held.begin(), held.end(), key) != held.end())
            return static_cast<SHORT>(0x8000);
        return previous ? previous(key) : 0;
    };
}

ScopedKeyState::~ScopedKeyState()
{
    Seams().KeyState = FPrevious;
}

ScopedCursorPos::ScopedCursorPos(POINT screenPos) : FPos(screenPos), FPrevious(Seams().CursorPos)
{
    Seams().CursorPos = [this] { return FPos; };
}

ScopedCursorPos::~ScopedCursorPos()
{
    Seams().CursorPos = FPrevious;
}

namespace {

LPARAM KeyData(WORD key, bool alt, bool up)
{
    LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC) & 0xFF) << 16);
    if (alt)
        data |= 1 << 29;
    if (up)
        data |= (1 << 30) | (1u << 31);
    return data;
}

} // namespace

void PressKey(HWND window, WORD key, TShiftState shift)
{
    std::vector<int> held;
    if (shift & ssShift)
        held.push_back(VK_SHIFT);
    if (shift & ssCtrl)
        held.push_back(VK_CONTROL);
    if (shift & ssAlt)
        held.push_back(VK_MENU);
    bool alt = (shift & ssAlt) != 0;
    UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
    UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
    auto previous = Seams().KeyState;
    Seams().KeyState = [held, previous](int k) -> SHORT {
        if (std::find(held.begin(), held.end(), k) != held.end())
            return static_cast<SHORT>(0x8000);
        return previous ? previous(k) : 0;
    };
    PostMessageA(window, down, key, KeyData(key, alt, false));
    PostMessageA(window, up, key, KeyData(key, alt, true));
    PumpMessages();
    Seams().KeyState = previous;
}

void ClickAt(HWND window, int x, int y)
{
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PumpMessages();
}

void ClickCentre(TWinControl* control)
{
    ClickAt(control->Handle(), control->Width() / 2, control->Height() / 2);
}

namespace {

INPUT KeyInput(WORD key, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

// The inputs between the presses of the modifier keys of shift and their
// releases, all queued together; then pumps.
void SendHeld(TShiftState shift, const std::vector<INPUT>& held)
{
    std::vector<WORD> keys;
    if (shift & ssShift)
        keys.push_back(VK_SHIFT);
    if (shift & ssCtrl)
        keys.push_back(VK_CONTROL);
    if (shift & ssAlt)
        keys.push_back(VK_MENU);
    std::vector<INPUT> inputs;
    for (WORD key : keys)
        inputs.push_back(KeyInput(key, 0));
    inputs.insert(inputs.end(), held.begin(), held.end());
    for (WORD key : keys)
        inputs.push_back(KeyInput(key, KEYEVENTF_KEYUP));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    PumpMessages();
}

void SendButtons(POINT screenPos, std::initializer_list<DWORD> buttons, TShiftState shift = 0)
{
    SetCursorPos(screenPos.x, screenPos.y);
    std::vector<INPUT> inputs;
    for (DWORD flags : buttons) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        inputs.push_back(input);
    }
    SendHeld(shift, inputs);
}

} // namespace

void RealKeyPress(WORD key, TShiftState shift)
{
    auto previous = Seams().KeyState;
    Seams().KeyState = [](int k) { return GetKeyState(k); };
    SendHeld(shift, {KeyInput(key, 0), KeyInput(key, KEYEVENTF_KEYUP)});
    Seams().KeyState = previous;
}

std::vector<AnsiString> WalkWithTab(TCustomForm* form, TWinControl* stop, int steps,
                                    TShiftState shift, const std::function<void()>& each)
{
    std::vector<AnsiString> reached;
    while (static_cast<int>(reached.size()) < steps &&
           (reached.empty() || form->ActiveControl() != stop)) {
        RealKeyPress(VK_TAB, shift);
        reached.push_back(form->ActiveControl() ? form->ActiveControl()->Name() : "");
        if (each)
            each();
    }
    return reached;
}

std::vector<AnsiString> WalkWithTabKeeping(TCustomForm* form, TWinControl* stop, int steps,
                                           TShiftState shift,
                                           const std::function<std::vector<bool>()>& state)
{
    const std::vector<bool> before = state();
    return WalkWithTab(form, stop, steps, shift, [&] {
        EXPECT_EQ(state(), before) << "Tab to "
                                   << (form->ActiveControl() ? form->ActiveControl()->Name() : "");
    });
}

void RealButtonDown(POINT screenPos)
{
    SendButtons(screenPos, {MOUSEEVENTF_LEFTDOWN});
}

void RealButtonUp(POINT screenPos)
{
    SendButtons(screenPos, {MOUSEEVENTF_LEFTUP});
}

void RealClick(POINT screenPos, TShiftState shift)
{
    SendButtons(screenPos, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}, shift);
}

void RealRightClick(POINT screenPos)
{
    SendButtons(screenPos, {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
}

void RealDoubleClick(POINT screenPos)
{
    SendButtons(screenPos, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                            MOUSEEVENTF_LEFTUP});
}

namespace {

INPUT MouseMoveInput(POINT screenPos)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    move.mi.dx = MulDiv(screenPos.x, 65536, width) + 1;
    move.mi.dy = MulDiv(screenPos.y, 65536, height) + 1;
    return move;
}

} // namespace

void RealMouseMove(POINT screenPos)
{
    INPUT move = MouseMoveInput(screenPos);
    SendInput(1, &move, sizeof(INPUT));
    PumpMessages();
}

void RealDrag(POINT from, std::initializer_list<POINT> path)
{
    SetCursorPos(from.x, from.y);
    std::vector<INPUT> inputs(1);
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    for (POINT p : path)
        inputs.push_back(MouseMoveInput(p));
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    inputs.push_back(up);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    PumpMessages();
}

POINT ScreenPointOf(HWND window, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(window, &p);
    return p;
}

bool ActivateForm(TCustomForm* form)
{
    form->Show();
    const HWND window = form->Handle();
    // Without a window manager the X server maps a window in its own time,
    // and a busy machine may take a while: the request for the foreground is
    // made again until the window is active.
    PumpUntil(
        [window] {
            if (GetActiveWindow() == window)
                return true;
            SetForegroundWindow(window);
            SetActiveWindow(window);
            return false;
        },
        10000);
    HWND focus = GetFocus();
    return focus && (focus == form->WindowHandle() || IsChild(form->WindowHandle(), focus));
}

HWND FocusedWindow()
{
    return GetFocus();
}

} // namespace testing_support
