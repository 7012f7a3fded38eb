#include "support/ModalScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <exception>

namespace testing_support {

namespace {

ModalScript* tRunning = nullptr; // the script whose loop runs on this thread

BOOL CALLBACK CollectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadTopLevelWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string WindowClass(HWND window)
{
    char name[128] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

HWND MouseTarget(POINT screen)
{
    if (HWND capture = GetCapture())
        return capture;
    return WindowFromPoint(screen);
}

void PostMouse(UINT message, WPARAM keys, POINT screen)
{
    HWND target = MouseTarget(screen);
    if (!target)
        return;
    POINT client = screen;
    ScreenToClient(target, &client);
    PostMessageA(target, message, keys, MAKELPARAM(client.x, client.y));
}

LPARAM KeyData(WORD key, bool release)
{
    LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyA(key, 0)) << 16);
    if (release)
        data |= 0xC0000000;
    return data;
}

} // namespace

ModalScript::ModalScript(DWORD watchdogMs) : FWatchdogMs(watchdogMs) {}

ModalScript::~ModalScript()
{
    if (FTimer)
        KillTimer(nullptr, FTimer);
    if (tRunning == this)
        tRunning = nullptr;
}

ModalScript& ModalScript::Then(Step step)
{
    FSteps.push_back({std::move(step), nullptr, std::string()});
    return *this;
}

ModalScript& ModalScript::WaitUntil(std::function<bool()> condition, std::string what)
{
    FSteps.push_back({nullptr, std::move(condition), std::move(what)});
    return *this;
}

void ModalScript::Run(const std::function<void()>& loop)
{
    std::vector<HWND> before = ThreadTopLevelWindows();
    std::vector<HWND> visibleBefore;
    for (HWND window : before)
        if (IsWindowVisible(window))
            visibleBefore.push_back(window);
    FNext = 0;
    FWatchdogFired = false;
    FStartTick = GetTickCount();
    tRunning = this;
    FTimer = SetTimer(nullptr, 0, kTickMs, Tick);
    ASSERT_NE(FTimer, 0u) << "no thread timer for the script";
    std::exception_ptr raised;
    try {
        loop();
    } catch (...) {
        raised = std::current_exception();
    }
    KillTimer(nullptr, FTimer);
    FTimer = 0;
    tRunning = nullptr;
    CheckEndState(visibleBefore);
    if (raised)
        std::rethrow_exception(raised);
}

void ModalScript::CheckEndState(const std::vector<HWND>& visibleBefore)
{
    // The watchdog named the step it stopped at already.
    if (FNext < FSteps.size() && !FWatchdogFired) {
        const TStep& step = FSteps[FNext];
        ADD_FAILURE() << "the loop returned before step " << FNext + 1 << " of " << FSteps.size()
                      << (step.Condition ? " (waiting until " + step.What + ")" : std::string());
    }
    HWND capture = GetCapture();
    EXPECT_EQ(capture, nullptr) << "a window of class " << WindowClass(capture)
                                << " still holds the mouse capture";
    if (capture)
        ReleaseCapture();
    // Windows that showed already are the test's own; hidden ones may be
    // helpers of the class library.
    for (HWND window : ThreadTopLevelWindows())
        if (IsWindowVisible(window) &&
            std::find(visibleBefore.begin(), visibleBefore.end(), window) == visibleBefore.end())
            ADD_FAILURE() << "a window of class " << WindowClass(window)
                          << " is left showing after the loop";
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (!tRunning)
        return;
    try {
        tRunning->RunTick();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "a scripted step raised: " << e.what();
    } catch (...) {
        ADD_FAILURE() << "a scripted step raised an exception";
    }
}

void ModalScript::RunTick()
{
    if (GetTickCount() - FStartTick > FWatchdogMs) {
        if (!FWatchdogFired)
            ADD_FAILURE() << "watchdog: the modal loop still ran after " << FWatchdogMs
                          << " ms, at step " << FNext + 1 << " of " << FSteps.size()
                          << (FNext < FSteps.size() && FSteps[FNext].Condition
                                  ? " (waiting until " + FSteps[FNext].What + ")"
                                  : std::string());
        FWatchdogFired = true;
        if (HWND capture = GetCapture()) {
            PostMessageA(capture, WM_CANCELMODE, 0, 0);
            ReleaseCapture();
        }
        return;
    }
    if (FNext >= FSteps.size())
        return;
    TStep& step = FSteps[FNext];
    if (step.Condition) {
        if (step.Condition())
            ++FNext;
        return;
    }
    ++FNext;
    step.Action();
}

void ModalScript::MoveMouse(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    PostMouse(WM_MOUSEMOVE, 0, screen);
}

void ModalScript::PressButton(POINT screen, bool rightButton)
{
    PostMouse(rightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, rightButton ? MK_RBUTTON : MK_LBUTTON,
              screen);
}

void ModalScript::ReleaseButton(POINT screen, bool rightButton)
{
    PostMouse(rightButton ? WM_RBUTTONUP : WM_LBUTTONUP, 0, screen);
}

void ModalScript::Click(POINT screen, bool rightButton)
{
    MoveMouse(screen);
    PressButton(screen, rightButton);
    ReleaseButton(screen, rightButton);
}

HWND ModalScript::KeyTarget()
{
    if (HWND capture = GetCapture())
        return capture;
    if (HWND focus = GetFocus())
        return focus;
    return GetActiveWindow();
}

void ModalScript::PressKey(WORD key)
{
    HWND target = KeyTarget();
    PostMessageA(target, WM_KEYDOWN, key, KeyData(key, false));
    PostMessageA(target, WM_KEYUP, key, KeyData(key, true));
}

void ModalScript::TypeChar(char character)
{
    PostMessageA(KeyTarget(), WM_CHAR, static_cast<unsigned char>(character),
                 KeyData(VkKeyScanA(character) & 0xFF, false));
}

namespace {

void SendMouse(POINT screen, DWORD flags)
{
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    int width = std::max(GetSystemMetrics(SM_CXSCREEN) - 1, 1);
    int height = std::max(GetSystemMetrics(SM_CYSCREEN) - 1, 1);
    // The middle of the pixel, so the system's rounding back lands on it.
    input.mi.dx = MulDiv(screen.x * 2 + 1, 65535, width * 2);
    input.mi.dy = MulDiv(screen.y * 2 + 1, 65535, height * 2);
    SendInput(1, &input, sizeof(INPUT));
}

} // namespace

void ModalScript::RealMove(POINT screen)
{
    SendMouse(screen, 0);
}

void ModalScript::RealPress(POINT screen)
{
    SendMouse(screen, MOUSEEVENTF_LEFTDOWN);
}

void ModalScript::RealRelease(POINT screen)
{
    SendMouse(screen, MOUSEEVENTF_LEFTUP);
}

void ModalScript::RealKey(WORD key, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, 0));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(INPUT));
}

} // namespace testing_support
