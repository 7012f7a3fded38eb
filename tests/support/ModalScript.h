// Drives a modal loop that reads the message queue itself (a menu, a drag,
// a resize, an in-place edit) from inside the loop, and makes sure no such
// loop can hang a test.
//
// A windowless thread timer ticks every 20 ms; every loop of this kind
// dispatches the timer messages it does not know, so each tick runs inside
// the loop. Each tick runs one scripted step: a step moves the mouse and
// posts mouse messages, posts keys or characters, or checks what it sees
// (EXPECT_* is fine in a step; a step must not throw, and what it raises is
// reported as a failure). A waiting step repeats on every tick until its
// condition holds, which is how a test waits for a timer of the code under
// test (a submenu's delay) without sleeping.
//
// A watchdog ends a loop that runs too long (5 s unless the script says
// otherwise): it fails the test, posts WM_CANCELMODE to the capture window
// and releases the capture, on every tick until the loop returns. Behind it
// stands the test runner's own limit.
//
// Use:
//     ModalScript script;
//     script.Then([&] { ModalScript::MoveMouse(itemCentre); })
//           .WaitUntil([&] { return submenuOpen(); }, "the submenu opens")
//           .Then([] { ModalScript::PressKey(VK_ESCAPE); })
//           .Then([] { ModalScript::PressKey(VK_ESCAPE); });
//     script.Run([&] { menu->Popup(x, y); });
//     // assert on what the loop did
//
// Run checks afterwards, each a test failure: every step ran before the
// loop returned, the watchdog stayed quiet, no window holds the mouse
// capture, and no top-level window of the thread that was hidden before
// the run is left visible (a popup the loop forgot).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

class ModalScript
{
public:
    using Step = std::function<void()>;

    static constexpr DWORD kTickMs = 20;
    static constexpr DWORD kDefaultWatchdogMs = 5000;

    explicit ModalScript(DWORD watchdogMs = kDefaultWatchdogMs);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // A step that runs once, on a tick of its own.
    ModalScript& Then(Step step);
    // A step that waits: checked on every tick until it holds; what names
    // the wait in a failure.
    ModalScript& WaitUntil(std::function<bool()> condition, std::string what);

    // Runs loop (the call that enters the modal loop) with the script
    // ticking inside it, then stops the ticks and checks the end state.
    void Run(const std::function<void()>& loop);

    bool WatchdogFired() const { return FWatchdogFired; }
    size_t StepsRun() const { return FNext; }

    // --- Input for steps. Mouse messages go to the capture window, else to
    // the window under the point, in its client coordinates; keys go to the
    // capture window, else the focus, else the active window.

    // Puts the cursor at a screen point and posts WM_MOUSEMOVE there.
    static void MoveMouse(POINT screen);
    // Moves there, then posts a press and a release of the button.
    static void Click(POINT screen, bool rightButton = false);
    static void PressButton(POINT screen, bool rightButton = false);
    static void ReleaseButton(POINT screen, bool rightButton = false);
    // Posts WM_KEYDOWN and WM_KEYUP of a virtual key.
    static void PressKey(WORD key);
    // Posts WM_CHAR.
    static void TypeChar(char character);
    // Where keys go now.
    static HWND KeyTarget();

    // --- Input through the system's queue (SendInput), as a hand on the
    // mouse gives it: the key state follows, and mouse messages go to the
    // capture window with their screen point. Nothing is pumped here: the
    // loop under test reads it.
    static void RealMove(POINT screen);
    static void RealPress(POINT screen);
    static void RealRelease(POINT screen);
    static void RealKey(WORD key, bool down);

private:
    struct TStep
    {
        Step Action;
        std::function<bool()> Condition; // a waiting step's
        std::string What;
    };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void RunTick();
    void CheckEndState(const std::vector<HWND>& visibleBefore);

    std::vector<TStep> FSteps;
    size_t FNext = 0; // the step the next tick runs
    DWORD FWatchdogMs;
    DWORD FStartTick = 0;
    bool FWatchdogFired = false;
    UINT_PTR FTimer = 0;
};

} // namespace testing_support
